// In-place editing, new rows and removal of rows.

#include "ui/GridEditSession.h"

#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

#include <QWidget>

#include "ui/GridPrivate.h"

namespace {

// Counts marked stable ids below a given one in logarithmic time, so that the id of each
// row of a large removal can be told as it will be once the rows before it are gone.
class IdCounter {
public:
    explicit IdCounter(int size) : tree_(size_t(size) + 1, 0) {}
    void Mark(int id)
    {
        for (size_t i = size_t(id) + 1; i < tree_.size(); i += i & (~i + 1))
            ++tree_[i];
    }
    int CountBelow(int id) const
    {
        int count = 0;
        for (size_t i = size_t(id); i > 0; i -= i & (~i + 1))
            count += tree_[i];
        return count;
    }

private:
    std::vector<int> tree_;
};

}  // namespace

bool GridEditSession::IsEditor(const QObject* object) const
{
    for (int i = 0; i < grid_.GetColumnCount(); ++i)
        if (object && grid_.GetColumn(i).GetEditor().widget == object)
            return true;
    return false;
}

int GridEditSession::CellRow() const { return callback_.cell >= 0 ? callback_.cell : editRow_; }

int GridEditSession::CurrentRow(bool byId) const
{
    if (callback_.cell >= 0)
        return byId ? callback_.id : callback_.shown;
    if (editRow_ < 0)
        return -1;
    return byId ? grid_.model_.GetId(editRow_) : editRow_;
}

// ---- Editing

std::vector<int> GridEditSession::EditableColumns() const
{
    std::vector<int> editable;
    for (int i = 0; i < grid_.GetColumnCount(); ++i)
        if (grid_.GetColumn(i).IsEditable() && !grid_.GetColumn(i).IsHidden())
            editable.push_back(i);
    return editable;
}

bool GridEditSession::Begin(int row)
{
    GridModel& model = grid_.model_;
    if (!model.IsRow(row))
        return false;
    const std::vector<int> editable = EditableColumns();
    if (editable.empty())
        return false;
    editRow_ = row;
    editColumn_ = editable.front();
    grid_.ScrollToRow(row);
    for (int i : editable) {
        const GridEditor& editor = grid_.GetColumn(i).GetEditor();
        if (editor.widget->parentWidget() != grid_.viewport())
            editor.widget->setParent(grid_.viewport());
        editor.widget->installEventFilter(&grid_);
        if (editor.load)
            editor.load(model.Cell(row, i));
    }
    PlaceEditors();
    for (int i : editable)
        grid_.GetColumn(i).GetEditor().widget->show();
    grid_.GetColumn(editColumn_).GetEditor().widget->setFocus();
    return true;
}

void GridEditSession::PlaceEditors()
{
    if (!IsEditing())
        return;
    for (int i = 0; i < grid_.GetColumnCount(); ++i) {
        const GridColumn& column = grid_.GetColumn(i);
        if (!column.IsEditable())
            continue;
        if (column.IsHidden())
            column.GetEditor().widget->hide();
        else
            column.GetEditor().widget->setGeometry(grid_.GetCellRect(editRow_, i));
    }
}

void GridEditSession::HideEditors()
{
    bool hadFocus = false;
    for (int i = 0; i < grid_.GetColumnCount(); ++i) {
        QWidget* editor = grid_.GetColumn(i).GetEditor().widget;
        if (!editor)
            continue;
        hadFocus = hadFocus || editor->hasFocus();
        editor->hide();
    }
    // The keyboard stays with the grid rather than wandering off to the next control.
    if (hadFocus)
        grid_.setFocus();
    editColumn_ = -1;
}

bool GridEditSession::Accept()
{
    if (!IsEditing())
        return false;
    GridModel& model = grid_.model_;
    const int row = editRow_;
    std::vector<std::pair<int, Value>> before;
    for (int i = 0; i < grid_.GetColumnCount(); ++i) {
        const GridColumn& column = grid_.GetColumn(i);
        if (column.IsEditable() && !column.IsHidden() && column.GetEditor().store) {
            before.emplace_back(i, model.Cell(row, i));
            model.Cell(row, i) = column.GetEditor().store();
        }
    }
    editRow_ = -1;
    HideEditors();
    const bool newRow = inserted_ || appended_;
    revertEdit_ = false;
    {
        const CallbackScope scope(callback_, {row, row, model.GetId(row)});
        GridCtrl::Run(newRow ? grid_.WhenInsertRow : grid_.WhenUpdateRow);
        inserted_ = appended_ = false;
    }
    const bool revert = std::exchange(revertEdit_, false);
    if (revert && newRow && model.IsRow(row)) {
        RemoveRows({row}, false);
        return true;
    }
    if (revert && model.IsRow(row))
        for (auto& [column, value] : before)
            model.Cell(row, column) = std::move(value);
    grid_.RefreshRow(row);
    return true;
}

void GridEditSession::Cancel()
{
    if (!IsEditing())
        return;
    const int row = editRow_;
    editRow_ = -1;
    HideEditors();
    const bool removeRow = (inserted_ || appended_) && grid_.settings_.removeNewRowOnCancel;
    inserted_ = appended_ = false;
    if (removeRow && !(grid_.settings_.keepLastRow && grid_.GetCount() == 1))
        RemoveRows({row}, false);
    else
        grid_.RefreshRow(row);
}

void GridEditSession::Drop()
{
    if (IsEditing()) {
        editRow_ = -1;
        HideEditors();
    }
    inserted_ = appended_ = false;
}

bool GridEditSession::FocusNextEditor(bool forward)
{
    const std::vector<int> editable = EditableColumns();
    if (editable.empty())
        return false;
    const auto at = std::find(editable.begin(), editable.end(), editColumn_);
    int index = at == editable.end() ? 0 : int(at - editable.begin());
    const int count = int(editable.size());
    index = (index + (forward ? 1 : count - 1)) % count;
    editColumn_ = editable[index];
    grid_.GetColumn(editColumn_).GetEditor().widget->setFocus();
    return true;
}

// ---- New rows

void GridEditSession::AddNewRow(bool insert, bool edit)
{
    if (insert && !grid_.IsCursor())
        return;
    // A pending edit is accepted before the new row's mark is set, so that mark
    // cannot be mistaken for the edited row's.
    Accept();
    if (insert && !grid_.IsCursor())
        return;
    (insert ? inserted_ : appended_) = true;
    GridModel& model = grid_.model_;
    const int row = insert ? model.Insert(grid_.d_->cursorRow) : model.Append();
    grid_.viewport()->update();
    grid_.MoveCursor(row, true);
    const bool editing = edit && Begin(row);
    GridCtrl::Run(grid_.WhenNewRow);
    // Without an edit nothing would ever clear the mark again.
    if (!editing)
        inserted_ = appended_ = false;
}

// ---- Removal

void GridEditSession::Remove()
{
    if (removing_)
        return;
    const int count = grid_.GetCount();
    const int selected = grid_.GetSelectedCount();
    if (grid_.settings_.keepLastRow && (count == 1 || selected == count))
        return;
    if (!grid_.IsCursor() && selected == 0)
        return;
    Accept();
    if (grid_.GetSelectedCount() > 0)
        RemoveRows(grid_.model_.GetSelected(), true);
    else if (grid_.IsCursor() && !grid_.model_.IsHidden(grid_.d_->cursorRow))  // never a row the search hid
        RemoveRows({grid_.d_->cursorRow}, false);
}

void GridEditSession::RemoveRows(const std::vector<int>& rows, bool marks)
{
    if (rows.empty())
        return;
    GridModel& model = grid_.model_;
    removing_ = true;
    const int oldCursor = grid_.d_->cursorRow;
    const int countBefore = model.GetCount();
    bool cursorRemoved = oldCursor < 0;
    int removedAbove = 0;
    // Every callback sees its row as if the rows before it were gone already; the rows
    // themselves leave together afterwards, in one pass over the store.
    IdCounter removedIds(countBefore);
    std::vector<int> done;
    done.reserve(rows.size());
    bool ownerChangedRows = false;
    const int last = int(rows.size()) - 1;
    for (int j = 0; j <= last; ++j) {
        const int row = rows[size_t(j)];
        if (!model.IsRow(row))
            break;
        if (marks) {
            removingFirst_ = j == 0;
            removingLast_ = j == last;
        }
        const int id = model.GetId(row);
        keepRemovedRow_ = false;
        {
            const CallbackScope scope(callback_, {row, row - j, id - removedIds.CountBelow(id)});
            GridCtrl::Run(grid_.WhenRemoveRow);
        }
        if (std::exchange(keepRemovedRow_, false))
            break;
        if (model.GetCount() != countBefore) {
            ownerChangedRows = true;
            break;
        }
        removedIds.Mark(id);
        done.push_back(row);
        if (row == oldCursor)
            cursorRemoved = true;
        else if (row < oldCursor)
            ++removedAbove;
    }
    removingFirst_ = removingLast_ = false;
    if (ownerChangedRows) {
        // The owner changed the rows itself: the indexes may name other rows now, so the
        // rows already told of are found again by their cells.
        std::unordered_set<const Value*> told;
        for (int row : done)
            if (const Value* cells = model.CellsOf(row))
                told.insert(cells);
        done.clear();
        for (int row = 0; row < model.GetCount() && !told.empty(); ++row)
            if (told.count(model.CellsOf(row)))
                done.push_back(row);
    }
    model.RemoveRows(done);
    removing_ = false;
    PlaceCursorAfterRemoval(oldCursor, rows.front(), cursorRemoved, removedAbove, marks);
}

void GridEditSession::PlaceCursorAfterRemoval(int oldCursor, int topmost, bool cursorRemoved, int removedAbove,
                                              bool marks)
{
    GridCtrl::Private& d = *grid_.d_;
    if (grid_.GetCount() == 0) {
        d.cursorRow = -1;
        d.anchorRow = -1;
        grid_.viewport()->update();
        return;
    }
    int target;
    if (!cursorRemoved)
        target = oldCursor - removedAbove;
    else if (marks)
        target = topmost - 1;
    else
        target = oldCursor;
    d.cursorRow = grid_.ClampRow(target);
    d.anchorRow = d.cursorRow;
    grid_.ScrollToRow(d.cursorRow);
    grid_.viewport()->update();
    // The cursor row is another one now (or has a new stable id): the owner re-reads it.
    grid_.NotifyCursor();
}
