// In-place editing, new rows, removal and moving rows by command.

#include <QWidget>

#include "ui/GridCtrl.h"

namespace {

// Makes a row the grid's current row for the length of an owner callback.
class CurrentRowScope {
public:
    CurrentRowScope(int& current, int row) : current_(current), saved_(current) { current_ = row; }
    ~CurrentRowScope() { current_ = saved_; }
    CurrentRowScope(const CurrentRowScope&) = delete;
    CurrentRowScope& operator=(const CurrentRowScope&) = delete;

private:
    int& current_;
    int saved_;
};

}  // namespace

// ---- Editing

bool GridCtrl::BeginEdit(int row)
{
    if (!model_.IsRow(row))
        return false;
    int first = -1;
    for (int i = 0; i < GetColumnCount(); ++i)
        if (columns_[i].IsEditable() && !columns_[i].hidden_) {
            first = i;
            break;
        }
    if (first < 0)
        return false;
    editRow_ = row;
    editColumn_ = first;
    ScrollToRow(row);
    for (int i = 0; i < GetColumnCount(); ++i) {
        const GridColumn& column = columns_[i];
        if (!column.IsEditable() || column.hidden_)
            continue;
        QWidget* editor = column.editor_.widget;
        if (editor->parentWidget() != viewport())
            editor->setParent(viewport());
        editor->installEventFilter(this);
        if (column.editor_.load)
            column.editor_.load(model_.Cell(row, i));
    }
    PlaceEditors();
    for (int i = 0; i < GetColumnCount(); ++i)
        if (columns_[i].IsEditable() && !columns_[i].hidden_)
            columns_[i].editor_.widget->show();
    columns_[first].editor_.widget->setFocus();
    return true;
}

void GridCtrl::PlaceEditors()
{
    if (!IsEditing())
        return;
    for (int i = 0; i < GetColumnCount(); ++i) {
        const GridColumn& column = columns_[i];
        if (!column.IsEditable())
            continue;
        if (column.hidden_) {
            column.editor_.widget->hide();
            continue;
        }
        column.editor_.widget->setGeometry(GetCellRect(editRow_, i));
    }
}

void GridCtrl::HideEditors()
{
    bool hadFocus = false;
    for (const GridColumn& column : columns_) {
        QWidget* editor = column.editor_.widget;
        if (!editor)
            continue;
        hadFocus = hadFocus || editor->hasFocus();
        editor->hide();
    }
    // The keyboard stays with the grid rather than wandering off to the next control.
    if (hadFocus)
        setFocus();
    editColumn_ = -1;
}

bool GridCtrl::StartEdit()
{
    if (IsEditing())
        AcceptEdit();
    return IsCursor() && BeginEdit(cursorRow_);
}

bool GridCtrl::AcceptEdit()
{
    if (!IsEditing())
        return false;
    const int row = editRow_;
    for (int i = 0; i < GetColumnCount(); ++i) {
        const GridColumn& column = columns_[i];
        if (column.IsEditable() && !column.hidden_ && column.editor_.store)
            model_.Cell(row, i) = column.editor_.store();
    }
    editRow_ = -1;
    HideEditors();
    {
        const CurrentRowScope scope(currentRow_, row);
        if (IsNewRow()) {
            Run(WhenInsertRow);
            inserted_ = appended_ = false;
        }
        else
            Run(WhenUpdateRow);
    }
    RefreshRow(row);
    return true;
}

void GridCtrl::CancelEdit()
{
    if (!IsEditing())
        return;
    const int row = editRow_;
    editRow_ = -1;
    HideEditors();
    const bool removeRow = IsNewRow() && settings_.removeNewRowOnCancel;
    inserted_ = appended_ = false;
    if (removeRow && !(settings_.keepLastRow && GetCount() == 1))
        RemoveRows({row}, false);
    else
        RefreshRow(row);
}

bool GridCtrl::FocusNextEditor(bool forward)
{
    std::vector<int> editable;
    for (int i = 0; i < GetColumnCount(); ++i)
        if (columns_[i].IsEditable() && !columns_[i].hidden_)
            editable.push_back(i);
    if (editable.empty())
        return false;
    const auto at = std::find(editable.begin(), editable.end(), editColumn_);
    int index = at == editable.end() ? 0 : int(at - editable.begin());
    const int count = int(editable.size());
    index = (index + (forward ? 1 : count - 1)) % count;
    editColumn_ = editable[index];
    columns_[editColumn_].editor_.widget->setFocus();
    return true;
}

// ---- New rows

void GridCtrl::AddNewRow(bool insert, bool edit)
{
    if (insert && !IsCursor())
        return;
    // A pending edit is accepted before the new row's mark is set, so that mark
    // cannot be mistaken for the edited row's.
    AcceptEdit();
    if (insert && !IsCursor())
        return;
    (insert ? inserted_ : appended_) = true;
    const int row = insert ? model_.Insert(cursorRow_) : model_.Append();
    viewport()->update();
    MoveCursor(row, true);
    const bool editing = edit && BeginEdit(row);
    Run(WhenNewRow);
    // Without an edit nothing would ever clear the mark again.
    if (!editing)
        inserted_ = appended_ = false;
}

void GridCtrl::DoInsert() { AddNewRow(true, true); }

void GridCtrl::DoAppend() { AddNewRow(false, true); }

void GridCtrl::DoAppendNoEdit() { AddNewRow(false, false); }

// ---- Removal

bool GridCtrl::CanRemove() const
{
    if (!IsCursor())
        return false;
    if (!settings_.keepLastRow)
        return true;
    // Keeping the last row also refuses a selection that covers every row.
    return GetCount() > 1 && GetSelectedCount() < GetCount();
}

void GridCtrl::DoRemove()
{
    if (removing_)
        return;
    if (settings_.keepLastRow && (GetCount() == 1 || GetSelectedCount() == GetCount()))
        return;
    if (!IsCursor() && GetSelectedCount() == 0)
        return;
    AcceptEdit();
    if (GetSelectedCount() > 0)
        RemoveRows(model_.GetSelected(), true);
    else if (IsCursor() && !model_.IsHidden(cursorRow_))  // never a row the search hid
        RemoveRows({cursorRow_}, false);
}

void GridCtrl::RemoveRows(const std::vector<int>& rows, bool marks)
{
    if (rows.empty())
        return;
    removing_ = true;
    const int oldCursor = cursorRow_;
    const int topmost = rows.front();
    bool cursorRemoved = oldCursor < 0;
    int removedAbove = 0;
    const int last = int(rows.size()) - 1;
    for (int j = 0; j <= last; ++j) {
        const int row = rows[j] - j;  // the rows above were removed already
        if (!model_.IsRow(row))
            break;
        if (marks) {
            removingFirst_ = j == 0;
            removingLast_ = j == last;
        }
        const int countBefore = GetCount();
        {
            const CurrentRowScope scope(currentRow_, row);
            Run(WhenRemoveRow);
        }
        // An owner that changed the rows itself has made the remaining indexes meaningless.
        if (GetCount() != countBefore)
            break;
        model_.Remove(row);
        if (rows[j] == oldCursor)
            cursorRemoved = true;
        else if (rows[j] < oldCursor)
            ++removedAbove;
    }
    removingFirst_ = removingLast_ = false;
    removing_ = false;

    if (GetCount() == 0) {
        cursorRow_ = -1;
        anchorRow_ = -1;
        viewport()->update();
        return;
    }
    int target;
    if (!cursorRemoved)
        target = oldCursor - removedAbove;
    else if (marks)
        target = topmost - 1;
    else
        target = oldCursor;
    cursorRow_ = ClampRow(target);
    anchorRow_ = cursorRow_;
    ScrollToRow(cursorRow_);
    viewport()->update();
    // The cursor row is another one now (or has a new stable id): the owner re-reads it.
    NotifyCursor();
}

// ---- Moving rows by command

void GridCtrl::MoveRows(int step)
{
    if (IsEditing())
        return;
    if (GetSelectedCount() == 0) {
        const int target = cursorRow_ + step;
        if (!IsCursor() || !model_.IsRow(target))
            return;
        model_.Swap(cursorRow_, target);
        cursorRow_ = target;
        anchorRow_ = target;
        ScrollToRow(target);
        viewport()->update();
        return;
    }
    std::vector<int> rows = model_.GetSelected();
    if (step > 0)
        std::reverse(rows.begin(), rows.end());
    for (int row : rows) {
        const int target = row + step;
        if (!model_.IsRow(target))
            break;
        model_.Swap(row, target);
        // The cursor stays on its row wherever that row goes.
        if (cursorRow_ == row)
            cursorRow_ = target;
        else if (cursorRow_ == target)
            cursorRow_ = row;
    }
    ScrollToRow(cursorRow_);
    viewport()->update();
}
