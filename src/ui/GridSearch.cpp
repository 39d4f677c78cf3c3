// Searching the rows for the find field's text: hiding the rows without a match
// and remembering where each match lies for highlighting.

#include <QLineEdit>

#include "core/TextSearch.h"
#include "ui/GridCtrl.h"

namespace {

// The text a cell shows: a view of the stored text when no conversion is needed,
// so the common case neither copies nor allocates.
std::string_view ShownText(const GridColumn& column, const Value& value, String& buffer)
{
    if (!column.GetConvert() && value.Kind() == ValueKind::String)
        return value.GetString();
    if (value.IsVoid() && !column.GetConvert())
        return {};
    buffer = column.Format(value);
    return buffer;
}

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

void GridCtrl::SetFindText(const String& text) { GetFindField().setText(QString::fromStdString(text)); }

String GridCtrl::GetFindText() const { return findField_ ? findField_->text().toStdString() : String(); }

void GridCtrl::DoFind() { RunSearch(GetFindText()); }

bool GridCtrl::GetFound(int row, int* column, int* start, int* end) const
{
    if (!model_.IsRow(row) || !model_.Item(row).IsFound())
        return false;
    const GridRowItem& item = model_.Item(row);
    if (column)
        *column = item.foundColumn == GridRowItem::kNoColumn ? -1 : item.foundColumn;
    if (start)
        *start = item.foundStart;
    if (end)
        *end = item.foundEnd;
    return true;
}

void GridCtrl::RunSearch(const String& text)
{
    if (text.empty()) {
        ShowAllRows();
        return;
    }
    const bool fold = !settings_.searchCaseSensitive;
    const bool hide = settings_.searchHideRows;
    // Ranges are only worked out when they will be drawn: mapping folded offsets back costs.
    const bool ranges = settings_.searchHighlight;
    const String needle = fold ? FoldCase(text) : text;
    std::vector<int> shown;
    for (int i = 0; i < GetColumnCount(); ++i)
        if (!columns_[i].hidden_)
            shown.push_back(i);

    String buffer;
    String folded;
    String scratch;
    const int count = GetCount();
    for (int row = 0; row < count; ++row) {
        bool found = false;
        for (int column : shown) {
            const std::string_view cell = ShownText(columns_[column], model_.Cell(row, column), buffer);
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
            model_.SetFound(row, column, start, end);
            found = true;
            break;
        }
        if (!found)
            model_.ClearFound(row);
        if (hide)
            model_.SetHidden(row, !found);
    }
    searchActive_ = true;
    if (hide)
        LeaveHiddenCursorRow();
    SyncLayout();
    viewport()->update();
    PlaceEditors();
}

void GridCtrl::LeaveHiddenCursorRow()
{
    // A cursor on a row the search hid would let Delete or Enter act on a row
    // the user cannot see; it moves to the first row still shown.
    const int cursor = GetCursor();
    if (cursor < 0 || !model_.IsHidden(cursor))
        return;
    for (int row = 0; row < GetCount(); ++row)
        if (!model_.IsHidden(row)) {
            SetCursor(row);
            return;
        }
}

void GridCtrl::ShowAllRows()
{
    for (int row = 0; row < GetCount(); ++row) {
        model_.SetHidden(row, false);
        model_.ClearFound(row);
    }
    searchActive_ = false;
    SyncLayout();
    viewport()->update();
    PlaceEditors();
}

void GridCtrl::ToggleImmediateSearch() { settings_.immediateSearch = !settings_.immediateSearch; }

void GridCtrl::ToggleSearchHideRows()
{
    settings_.searchHideRows = !settings_.searchHideRows;
    if (settings_.searchHideRows) {
        DoFind();
        return;
    }
    for (int row = 0; row < GetCount(); ++row)
        model_.SetHidden(row, false);
    SyncLayout();
    viewport()->update();
}

void GridCtrl::ToggleSearchHighlight()
{
    settings_.searchHighlight = !settings_.searchHighlight;
    if (settings_.searchHighlight) {
        DoFind();  // the ranges to draw are worked out by the search
        return;
    }
    for (int row = 0; row < GetCount(); ++row)
        model_.ClearFound(row);
    viewport()->update();
}

void GridCtrl::ToggleSearchCaseSensitive()
{
    settings_.searchCaseSensitive = !settings_.searchCaseSensitive;
    DoFind();
}
