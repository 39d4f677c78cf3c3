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

void GridSearch::PrepareTexts(const std::vector<int>& columns)
{
    const std::size_t rows = std::size_t(grid_.model_.GetCount());
    // Other columns searched, or mostly texts of rows gone or changed: all are made afresh.
    if (columns != textColumns_ || staleBytes_ > texts_.size() / 2 + 65536) {
        textColumns_ = columns;
        rowTexts_.assign(rows, RowText());
        texts_.clear();
        staleBytes_ = 0;
    }
    for (std::size_t id = rows; id < rowTexts_.size(); ++id)
        staleBytes_ += rowTexts_[id].size;
    rowTexts_.resize(rows);
    textEnds_.resize(rows * columns.size());
}

std::string_view GridSearch::RowTexts(int row, const uint32_t*& ends)
{
    // Read-only access: it leaves the row's revision as it is.
    const GridModel& model = grid_.model_;
    const std::size_t id = std::size_t(model.GetId(row));
    RowText& text = rowTexts_[id];
    uint32_t* columnEnds = textEnds_.data() + id * textColumns_.size();
    if (text.revision != model.Revision(row)) {
        // Ids move up when rows above are removed: a slot then holds another row's texts,
        // whose revision differs, so they are made again here.
        staleBytes_ += text.size;
        text.offset = texts_.size();
        for (std::size_t i = 0; i < textColumns_.size(); ++i) {
            const GridColumn& column = grid_.columns_[textColumns_[i]];
            const Value& value = model.Cell(row, textColumns_[i]);
            if (column.GetConvert() || (value.Kind() != ValueKind::String && !value.IsVoid()))
                texts_ += column.Format(value);
            else if (value.Kind() == ValueKind::String)
                texts_ += value.GetString();
            columnEnds[i] = uint32_t(texts_.size() - text.offset);
        }
        text.size = texts_.size() - text.offset;
        text.revision = model.Revision(row);
    }
    ends = columnEnds;
    return std::string_view(texts_).substr(text.offset, text.size);
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
    std::vector<int> shown;
    for (int i = 0; i < grid_.GetColumnCount(); ++i)
        if (!grid_.columns_[i].IsHidden())
            shown.push_back(i);
    PrepareTexts(shown);
    const std::size_t columns = shown.size();

    String folded;
    String scratch;
    std::vector<uint32_t> foldedEnds(columns);
    const int count = model.GetCount();
    for (int row = 0; row < count; ++row) {
        const uint32_t* ends = nullptr;
        const std::string_view texts = RowTexts(row, ends);
        std::string_view haystack = texts;
        const uint32_t* haystackEnds = ends;
        if (fold) {
            // Each cell is folded on its own, as its text would be alone.
            folded.clear();
            for (std::size_t i = 0, from = 0; i < columns; from = ends[i++]) {
                AppendFoldedCase(texts.substr(from, ends[i] - from), folded);
                foldedEnds[i] = uint32_t(folded.size());
            }
            haystack = folded;
            haystackEnds = foldedEnds.data();
        }
        // The first hit that lies within one cell: the cells' texts follow each other,
        // so it is in the first cell that holds the text, at its first place there.
        int match = -1;
        std::size_t at = 0;
        for (std::size_t from = 0; columns > 0 && (at = haystack.find(needle, from)) != std::string_view::npos;
             from = at + 1) {
            std::size_t i = 0;
            while (i + 1 < columns && haystackEnds[i] <= at)
                ++i;
            if (at + needle.size() <= haystackEnds[i]) {
                match = int(i);
                break;
            }
        }
        const bool found = match >= 0;
        if (found) {
            const std::size_t cellStart = match == 0 ? 0 : haystackEnds[match - 1];
            std::size_t start = at - cellStart;
            std::size_t end = start + needle.size();
            if (fold && ranges) {
                const std::size_t from = match == 0 ? 0 : ends[match - 1];
                const std::string_view cell = texts.substr(from, ends[match] - from);
                end = OriginalOffset(cell, end, scratch);
                start = OriginalOffset(cell, start, scratch);
            }
            model.SetFound(row, shown[std::size_t(match)], start, end);
        }
        else
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
