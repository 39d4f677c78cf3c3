// Searching the rows for the find field's text: hiding the rows without a match
// and remembering where each match lies for highlighting.

#include "ui/GridSearch.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "core/TextSearch.h"
#include "ui/GridPrivate.h"

namespace {

// The byte offset in `text` at which case folding has produced `folded` bytes, so a
// match found in the folded text can be highlighted in the original one.
size_t OriginalOffset(std::string_view text, size_t folded, String& scratch)
{
    size_t pos = 0;
    size_t produced = 0;
    while (pos < text.size() && produced < folded) {
        size_t next = pos + 1;
        while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
            ++next;
        scratch.clear();
        AppendFoldedCase(text.substr(pos, next - pos), scratch);
        produced += scratch.size();
        pos = next;
    }
    return pos;
}

}  // namespace

GridSearch::~GridSearch()
{
    // Deleted before the grid's own state goes; the filter comes off first, so no
    // event of the dying field (already no longer a line editor) reaches the grid.
    if (field_) {
        field_->removeEventFilter(&grid_);
        delete field_.data();
    }
}

QLineEdit& GridSearch::Field()
{
    if (!field_) {
        field_ = new QLineEdit(&grid_);
        field_->hide();
        QObject::connect(field_, &QLineEdit::textChanged, &grid_, [this] {
            if (grid_.settings_.immediateSearch)
                Run(Text());
        });
        field_->installEventFilter(&grid_);
    }
    return *field_;
}

bool GridSearch::IsField(const QObject* object) const { return object && object == field_.data(); }

String GridSearch::Text() const { return field_ ? field_->text().toStdString() : String(); }

bool GridSearch::FieldEvent(QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const KeyCode key = KeyFromEvent(*static_cast<QKeyEvent*>(event));
    if (key != K_ENTER && key != K_ESCAPE)
        return false;
    // Taking the override keeps window shortcuts from claiming the key; it then
    // arrives here as a key press.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    // Enter searches and goes no further: the grid's own Enter would play or edit the
    // cursor row. Escape never reaches the window, which would close on it.
    if (key == K_ENTER)
        Run(Text());
    else {
        field_->clear();  // with immediate search on this has searched already
        ShowAllRows();
        grid_.setFocus(Qt::OtherFocusReason);
    }
    return true;
}

std::string_view GridSearch::ShownText(const SearchedColumn& searched, int row, String& buffer)
{
    const Value& value = grid_.model_.Cell(row, searched.index);
    if (!searched.kept) {
        // A view of the stored text: the common case neither copies nor allocates.
        if (value.Kind() == ValueKind::String)
            return value.GetString();
        if (value.IsVoid())
            return {};
        buffer = searched.column->Format(value);
        return buffer;
    }
    // Converters can be slow (formatting numbers), and a search runs on every key:
    // each cell's text is made once and kept for as long as the value stays.
    Converted& entry = (*searched.kept)[size_t(grid_.model_.GetId(row))];
    if (!entry.made || !(entry.source == value)) {
        entry.source = value;
        entry.text = searched.column->Format(value);
        entry.made = true;
    }
    return entry.text;
}

void GridSearch::Run(const String& text)
{
    if (text.empty()) {
        ShowAllRows();
        return;
    }
    GridModel& model = grid_.model_;
    const GridSettings& settings = grid_.settings_;
    const bool fold = !settings.searchCaseSensitive;
    const bool hide = settings.searchHideRows;
    // Ranges are only worked out when they will be drawn: mapping folded offsets back costs.
    const bool ranges = settings.searchHighlight;
    const String needle = fold ? FoldCase(text) : text;
    converted_.resize(size_t(grid_.GetColumnCount()));
    std::vector<SearchedColumn> shown;
    for (int i = 0; i < grid_.GetColumnCount(); ++i) {
        const GridColumn& column = grid_.columns_[i];
        if (column.IsHidden())
            continue;
        std::vector<Converted>* kept = nullptr;
        if (column.GetConvert()) {
            kept = &converted_[size_t(i)];
            kept->resize(size_t(model.GetCount()));  // indexed by stable id
        }
        shown.push_back({i, &column, kept});
    }

    String buffer;
    String folded;
    String scratch;
    const int count = model.GetCount();
    for (int row = 0; row < count; ++row) {
        bool found = false;
        for (const SearchedColumn& searched : shown) {
            const std::string_view cell = ShownText(searched, row, buffer);
            size_t at;
            if (fold) {
                folded.clear();
                AppendFoldedCase(cell, folded);
                at = folded.find(needle);
            }
            else
                at = cell.find(needle);
            if (at == std::string_view::npos)
                continue;
            size_t start = at;
            size_t end = at + needle.size();
            if (fold && ranges) {
                start = OriginalOffset(cell, at, scratch);
                end = OriginalOffset(cell, at + needle.size(), scratch);
            }
            model.SetFound(row, searched.index, start, end);
            found = true;
            break;
        }
        if (!found)
            model.ClearFound(row);
        if (hide)
            model.SetHidden(row, !found);
    }
    active_ = true;
    if (hide)
        LeaveHiddenCursorRow();
    grid_.SyncLayout();
    grid_.viewport()->update();
    grid_.d_->edit.PlaceEditors();
}

void GridSearch::LeaveHiddenCursorRow()
{
    // A cursor on a row the search hid would let Delete or Enter act on a row
    // the user cannot see; it moves to the first row still shown.
    const int cursor = grid_.GetCursor();
    if (cursor < 0 || !grid_.model_.IsHidden(cursor))
        return;
    const int first = grid_.model_.NextVisible(0, 1);
    if (first >= 0)
        grid_.SetCursor(first);
}

void GridSearch::ShowAllRows()
{
    GridModel& model = grid_.model_;
    for (int row = 0; row < model.GetCount(); ++row) {
        model.SetHidden(row, false);
        model.ClearFound(row);
    }
    active_ = false;
    grid_.SyncLayout();
    grid_.viewport()->update();
    grid_.d_->edit.PlaceEditors();
}
