// The caption row: sorting by caption clicks, the caption painting and dragging of
// column and row borders. Sorting moves row items only; the store and its stable
// ids stay, so sorting by nothing returns the order of addition.

#include "ui/GridHeader.h"

#include <algorithm>

#include <QPainter>

#include "ui/GridColours.h"
#include "ui/GridPrivate.h"
#include "ui/ValueCompare.h"

using namespace GridColours;

namespace {
constexpr int kSortMarkWidth = 9;
constexpr int kBorderReach = 2;  // how near a border the pointer must be to resize
constexpr int kMinColumnWidth = 6;
}  // namespace

// ---- Sorting

void GridHeader::CycleSort(int column, bool add)
{
    GridColumn& clicked = grid_.columns_[column];
    const int state = (clicked.sort_ + 1) % 3;
    if (add && grid_.settings_.multiSorting) {
        const auto at = std::find(sortKeys_.begin(), sortKeys_.end(), column);
        if (state == 0 && at != sortKeys_.end())
            sortKeys_.erase(at);
        else if (state != 0 && at == sortKeys_.end())
            sortKeys_.push_back(column);
    }
    else {
        for (GridColumn& other : grid_.columns_)
            other.sort_ = 0;
        sortKeys_.clear();
        if (state != 0)
            sortKeys_.push_back(column);
    }
    clicked.sort_ = state;
}

bool GridHeader::Resort()
{
    // The edited row's index would go stale under it.
    grid_.AcceptEdit();
    const GridModel& model = grid_.model_;
    const int count = model.GetCount();
    if (count == 0)
        return false;
    std::vector<int> order(size_t(count), 0);
    if (sortKeys_.empty()) {
        // Stable ids are a permutation of 0..count-1: each row goes straight to its place.
        for (int row = 0; row < count; ++row)
            order[size_t(model.GetId(row))] = row;
        return grid_.ApplyOrder(order);
    }
    struct Key {
        int column;
        bool descending;
    };
    std::vector<Key> keys;
    for (int column : sortKeys_)
        keys.push_back({column, grid_.columns_[column].sort_ == 2});
    // Each row is reached through one pointer (to its key cell, or with several keys to
    // its first cell), so comparing does not go through the display list and the store.
    const bool single = keys.size() == 1;
    const int offset = single ? keys[0].column : 0;
    using Entry = std::pair<const Value*, int>;
    std::vector<Entry> rows;
    rows.reserve(size_t(count));
    for (int row = 0; row < count; ++row)
        rows.emplace_back(&model.Cell(row, offset), row);
    if (single && !keys[0].descending)
        std::sort(rows.begin(), rows.end(),
                  [](const Entry& a, const Entry& b) { return StdValueCompare(*a.first, *b.first) < 0; });
    else if (single)
        std::sort(rows.begin(), rows.end(),
                  [](const Entry& a, const Entry& b) { return StdValueCompare(*a.first, *b.first) > 0; });
    else
        std::sort(rows.begin(), rows.end(), [&keys](const Entry& a, const Entry& b) {
            for (const Key& key : keys) {
                const int result = StdValueCompare(a.first[key.column], b.first[key.column]);
                if (result != 0)
                    return key.descending ? result > 0 : result < 0;
            }
            return false;
        });
    for (int i = 0; i < count; ++i)
        order[size_t(i)] = rows[size_t(i)].second;
    return grid_.ApplyOrder(order);
}

// ---- Mouse

bool GridHeader::Press(const QPoint& pos)
{
    const int column = ColumnBorderAt(pos);
    if (column >= 0) {
        resizing_ = Resize::Column;
        resizeIndex_ = column;
        resizeStart_ = grid_.columns_[column].pixelWidth_;
    }
    else if (const int row = RowBorderAt(pos); row >= 0) {
        resizing_ = Resize::Row;
        resizeIndex_ = row;
        resizeStart_ = grid_.model_.Item(row).height;
    }
    else if (pos.y() < grid_.DataTop()) {
        captionPress_ = grid_.ColumnAtPoint(pos);  // sorts on release, unless it turned into something else
        return true;
    }
    else
        return false;
    resizeFrom_ = pos;
    return true;
}

bool GridHeader::Move(const QPoint& pos)
{
    if (resizing_ == Resize::Column)
        ResizeColumn(resizeIndex_, resizeStart_ + pos.x() - resizeFrom_.x());
    else if (resizing_ == Resize::Row)
        grid_.SetRowHeight(resizeIndex_, resizeStart_ + pos.y() - resizeFrom_.y());
    return resizing_ != Resize::None;
}

bool GridHeader::Release(const QPoint& pos, Qt::KeyboardModifiers modifiers)
{
    const int caption = captionPress_;
    captionPress_ = -1;
    if (resizing_ != Resize::None) {
        resizing_ = Resize::None;
        return true;
    }
    if (caption < 0 || pos.y() >= grid_.DataTop() || grid_.ColumnAtPoint(pos) != caption)
        return false;
    if (grid_.settings_.sorting)
        grid_.SortByCaption(caption, modifiers & Qt::ControlModifier);
    return true;
}

Qt::CursorShape GridHeader::HoverShape(const QPoint& pos)
{
    if (ColumnBorderAt(pos) >= 0)
        return Qt::SplitHCursor;
    if (RowBorderAt(pos) >= 0)
        return Qt::SplitVCursor;
    return Qt::ArrowCursor;
}

// ---- Borders

int GridHeader::NextVisibleColumn(int column) const
{
    for (int i = column + 1; i < grid_.GetColumnCount(); ++i)
        if (!grid_.columns_[i].hidden_)
            return i;
    return -1;
}

int GridHeader::ColumnBorderAt(const QPoint& pos) const
{
    const GridSettings& settings = grid_.settings_;
    const bool inCaption = pos.y() < grid_.DataTop();
    if (inCaption ? !settings.resizingCols : !(settings.resizingFromCells && pos.x() >= grid_.GetFixedWidth()))
        return -1;
    // Only borders between two visible columns move: the last one is the grid's edge.
    for (int i = 0; i < grid_.GetColumnCount(); ++i) {
        const GridColumn& column = grid_.columns_[i];
        if (column.hidden_ || NextVisibleColumn(i) < 0)
            continue;
        if (std::abs(pos.x() - (column.x_ + column.pixelWidth_)) <= kBorderReach)
            return i;
    }
    return -1;
}

int GridHeader::RowBorderAt(const QPoint& pos)
{
    const GridSettings& settings = grid_.settings_;
    if (!settings.resizingRows || !settings.indicator || pos.x() >= grid_.GetFixedWidth() ||
        pos.y() < grid_.DataTop())
        return -1;
    const int row = grid_.RowAtPoint(pos);
    if (row < 0)
        return -1;
    GridModel& model = grid_.model_;
    const int top = grid_.DataTop() + model.GetPos(row) - grid_.ScrollPos();
    const int bottom = top + model.Item(row).Extent();
    if (bottom - pos.y() <= kBorderReach + 1)
        return row;
    if (pos.y() - top <= kBorderReach)
        return model.NextVisible(row - 1, -1);  // the lower edge of the row above
    return -1;
}

bool GridHeader::ResizeColumn(int column, int pixels)
{
    std::deque<GridColumn>& columns = grid_.columns_;
    if (column < 0 || column >= grid_.GetColumnCount() || columns[column].hidden_)
        return false;
    const int next = NextVisibleColumn(column);
    if (next < 0)
        return false;
    grid_.SyncLayout();
    // The weights become the present pixel widths, so the border lands where asked and
    // later changes of the grid's width still scale every column alike. Hidden columns
    // are scaled the same way, keeping their share for when they are shown again.
    long weights = 0;
    long available = 0;
    for (const GridColumn& c : columns)
        if (!c.hidden_) {
            weights += c.GetWeight();
            available += c.pixelWidth_;
        }
    if (weights <= 0 || available <= 0)
        return false;
    const int pair = columns[column].pixelWidth_ + columns[next].pixelWidth_;
    if (pair < 2 * kMinColumnWidth)
        return false;
    for (GridColumn& c : columns) {
        if (!c.hidden_)
            c.width_ = std::max(c.pixelWidth_, 1);
        else if (c.width_ > 0)
            c.width_ = std::max(int(c.width_ * available / weights), 1);
    }
    const int width = std::clamp(pixels, kMinColumnWidth, pair - kMinColumnWidth);
    columns[column].width_ = width;
    columns[next].width_ = pair - width;
    grid_.Changed();
    grid_.SyncLayout();
    grid_.d_->edit.PlaceEditors();
    return true;
}

// ---- Painting

void GridHeader::Paint(QPainter& painter)
{
    const int height = GridCtrl::kCaptionHeight;
    const int width = grid_.viewport()->width();
    const int fixed = grid_.GetFixedWidth();
    painter.fillRect(0, 0, width, height, kCaptionFill);
    painter.setPen(kCaptionLine);
    painter.drawLine(0, height - 1, width - 1, height - 1);
    if (fixed > 0)
        painter.drawLine(fixed - 1, 0, fixed - 1, height - 1);
    painter.setFont(grid_.font());
    for (int i = 0; i < grid_.GetColumnCount(); ++i) {
        const GridColumn& column = grid_.columns_[i];
        if (column.hidden_ || column.pixelWidth_ <= 0)
            continue;
        const QRect rect(column.x_, 0, column.pixelWidth_, height - 1);
        painter.setPen(kCaptionLine);
        painter.drawLine(rect.right(), 0, rect.right(), rect.bottom());
        QRect text = rect.adjusted(3, 0, -4, 0);
        PaintSortMark(painter, i, text);
        painter.setPen(kText);
        const QString caption = painter.fontMetrics().elidedText(QString::fromStdString(column.caption_),
                                                                 Qt::ElideRight, text.width());
        painter.drawText(text, int(GridHorzFlags(column.horzAlign_) | Qt::AlignVCenter), caption);
    }
}

void GridHeader::PaintSortMark(QPainter& painter, int index, QRect& text)
{
    const GridColumn& column = grid_.columns_[index];
    if (column.sort_ == 0 || text.width() < 2 * kSortMarkWidth)
        return;
    // A triangle at the right: pointing up for ascending, down for descending; with
    // several keys, the key's place in the order stands before it.
    const int height = GridCtrl::kCaptionHeight;
    const int right = text.right();
    const int mid = height / 2;
    const int left = right - kSortMarkWidth + 1;
    const bool up = column.sort_ == 1;
    const QPoint tip(left + kSortMarkWidth / 2, up ? mid - 3 : mid + 3);
    const QPoint base[2] = {QPoint(left, up ? mid + 2 : mid - 2), QPoint(right, up ? mid + 2 : mid - 2)};
    const QPoint triangle[3] = {tip, base[0], base[1]};
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSortMark);
    painter.drawPolygon(triangle, 3);
    painter.setBrush(Qt::NoBrush);
    text.setRight(left - 3);
    if (sortKeys_.size() > 1) {
        const auto at = std::find(sortKeys_.begin(), sortKeys_.end(), index);
        if (at != sortKeys_.end()) {
            const QString number = QString::number(int(at - sortKeys_.begin()) + 1);
            const int numberWidth = painter.fontMetrics().horizontalAdvance(number);
            painter.setPen(kSortMark);
            painter.drawText(QRect(text.right() - numberWidth + 1, 0, numberWidth, height - 1), Qt::AlignCenter,
                             number);
            text.setRight(text.right() - numberWidth - 2);
        }
    }
}
