// Painting of the grid: the caption row, then only the data rows that the dirty area touches.

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>

#include "ui/GridCtrl.h"

namespace {

const QColor kWhite(255, 255, 255);
const QColor kAlternate(242, 242, 242);
const QColor kText(0, 0, 0);
const QColor kCaptionFill(236, 236, 236);
const QColor kCaptionLine(160, 160, 160);
const QColor kGridLine(216, 216, 216);
const QColor kCursorFill(51, 102, 204);
const QColor kCursorText(255, 255, 255);
const QColor kSelectedFill(184, 207, 245);
const QColor kMarker(0, 0, 0);
const QColor kSortMark(90, 90, 90);
const QColor kFoundFill(255, 225, 90);
constexpr int kSortMarkWidth = 9;

Qt::Alignment HorzFlags(int code)
{
    switch (code) {
    case ALIGN_RIGHT: return Qt::AlignRight;
    case ALIGN_CENTER: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

Qt::Alignment VertFlags(int code)
{
    switch (code) {
    case ALIGN_LEFT: return Qt::AlignTop;  // "left" of the vertical code reads as the top edge
    case ALIGN_BOTTOM: return Qt::AlignBottom;
    default: return Qt::AlignVCenter;
    }
}

}  // namespace

void GridCtrl::paintEvent(QPaintEvent* event)
{
    painting_ = true;
    updatePending_ = false;
    SyncLayout();
    QPainter painter(viewport());
    PaintRows(painter, event->rect());
    if (event->rect().top() < DataTop())
        PaintCaption(painter);
    PaintDropMarker(painter);
    painting_ = false;
}

void GridCtrl::PaintCaption(QPainter& painter)
{
    const int width = viewport()->width();
    painter.fillRect(0, 0, width, kCaptionHeight, kCaptionFill);
    painter.setPen(kCaptionLine);
    painter.drawLine(0, kCaptionHeight - 1, width - 1, kCaptionHeight - 1);
    if (GetFixedWidth() > 0)
        painter.drawLine(GetFixedWidth() - 1, 0, GetFixedWidth() - 1, kCaptionHeight - 1);
    painter.setFont(font());
    for (int i = 0; i < GetColumnCount(); ++i) {
        const GridColumn& column = columns_[i];
        if (column.hidden_ || column.pixelWidth_ <= 0)
            continue;
        const QRect rect(column.x_, 0, column.pixelWidth_, kCaptionHeight - 1);
        painter.setPen(kCaptionLine);
        painter.drawLine(rect.right(), 0, rect.right(), rect.bottom());
        QRect text = rect.adjusted(3, 0, -4, 0);
        PaintSortMark(painter, i, text);
        painter.setPen(kText);
        const QString caption = painter.fontMetrics().elidedText(QString::fromStdString(column.caption_),
                                                                 Qt::ElideRight, text.width());
        painter.drawText(text, int(HorzFlags(column.horzAlign_) | Qt::AlignVCenter), caption);
    }
}

void GridCtrl::PaintSortMark(QPainter& painter, int index, QRect& text)
{
    const GridColumn& column = columns_[index];
    if (column.sort_ == 0 || text.width() < 2 * kSortMarkWidth)
        return;
    // A triangle at the right: pointing up for ascending, down for descending; with
    // several keys, the key's place in the order stands before it.
    const int right = text.right();
    const int mid = kCaptionHeight / 2;
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
            const int width = painter.fontMetrics().horizontalAdvance(number);
            painter.setPen(kSortMark);
            painter.drawText(QRect(text.right() - width + 1, 0, width, kCaptionHeight - 1), Qt::AlignCenter, number);
            text.setRight(text.right() - width - 2);
        }
    }
}

void GridCtrl::PaintRows(QPainter& painter, const QRect& dirty)
{
    const int width = viewport()->width();
    const int bottom = std::min(dirty.bottom() + 1, viewport()->height());
    const int scroll = ScrollPos();
    int row = model_.RowAtY(std::max(dirty.top() - DataTop(), 0) + scroll);
    int end = DataTop();  // lower edge of what the rows covered
    for (; row >= 0; row = model_.NextVisible(row + 1, 1)) {
        const int top = DataTop() + model_.GetPos(row) - scroll;
        if (top >= bottom)
            break;
        PaintRow(painter, row, top);
        end = top + model_.Item(row).Extent();
    }
    // Below the last row the area stays plain.
    if (end < bottom)
        painter.fillRect(0, std::max(end, DataTop()), width, bottom - std::max(end, DataTop()), kWhite);
}

void GridCtrl::PaintRow(QPainter& painter, int row, int top)
{
    const int width = viewport()->width();
    const int height = model_.Item(row).Extent();
    const GridRowStyle* style = model_.GetStyle(row);
    const bool isCursor = row == cursorRow_;
    const bool isSelected = model_.IsSelected(row);

    QColor fill = settings_.alternatingRows && row % 2 == 1 ? kAlternate : kWhite;
    QColor text = kText;
    const bool ownFill = style && style->background;
    if (ownFill)
        fill = *style->background;
    else if (isCursor) {
        fill = kCursorFill;
        text = kCursorText;
    }
    else if (isSelected)
        fill = kSelectedFill;
    if (style && style->foreground)
        text = *style->foreground;

    const int fixed = GetFixedWidth();
    painter.fillRect(fixed, top, width - fixed, height, fill);
    if (fixed > 0) {
        painter.fillRect(0, top, fixed, height, kCaptionFill);
        painter.setPen(kCaptionLine);
        painter.drawLine(fixed - 1, top, fixed - 1, top + height - 1);
        if (isCursor) {
            // A small arrow pointing at the cursor row.
            const int mid = top + height / 2;
            const QPoint arrow[3] = {QPoint(1, mid - 3), QPoint(std::max(fixed - 3, 2), mid), QPoint(1, mid + 3)};
            painter.setPen(Qt::NoPen);
            painter.setBrush(kMarker);
            painter.drawPolygon(arrow, 3);
            painter.setBrush(Qt::NoBrush);
        }
    }

    painter.setFont(style && style->font ? *style->font : font());
    for (int i = 0; i < GetColumnCount(); ++i) {
        const GridColumn& column = columns_[i];
        if (column.hidden_ || column.pixelWidth_ <= 0)
            continue;
        const QRect cell(column.x_, top, column.pixelWidth_, height);
        painter.setPen(text);
        const GridRowItem& item = model_.Item(row);
        const bool found = settings_.searchHighlight && item.IsFound() && item.foundColumn == i;
        PaintCellText(painter, cell, column, model_.Cell(row, i), found ? &item : nullptr);
        painter.setPen(kGridLine);
        if (settings_.horzGrid)
            painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
        if (settings_.vertGrid)
            painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
    }

    // A row with its own background still shows that it holds the cursor or is selected.
    if (ownFill && (isCursor || isSelected)) {
        painter.setPen(QPen(isCursor ? kCursorFill : kSelectedFill.darker(130), 2));
        painter.drawRect(QRect(fixed + 1, top + 1, width - fixed - 2, height - 2));
    }
}

void GridCtrl::PaintCellText(QPainter& painter, const QRect& rect, const GridColumn& column, const Value& value,
                             const GridRowItem* found)
{
    if (value.IsVoid() && !column.convert_)
        return;
    const String shown = column.Format(value);
    if (shown.empty())
        return;
    const QRect area = rect.adjusted(3, 0, -3, -1);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString elided = metrics.elidedText(QString::fromStdString(shown), Qt::ElideRight, area.width());
    const Qt::Alignment flags = HorzFlags(column.horzAlign_) | VertFlags(column.vertAlign_);
    if (found && found->foundEnd <= shown.size() && found->foundStart < found->foundEnd) {
        // The matched text gets a marker-pen fill behind it, where the text will stand.
        const QRect bounds = metrics.boundingRect(area, int(flags), elided);
        const int from = metrics.horizontalAdvance(QString::fromUtf8(shown.data(), found->foundStart));
        const int to = metrics.horizontalAdvance(QString::fromUtf8(shown.data(), found->foundEnd));
        const QRect mark(bounds.left() + from, area.top() + 1, to - from, area.height() - 1);
        painter.fillRect(mark.intersected(area), kFoundFill);
        if (painter.pen().color() != kText)
            painter.setPen(kText);  // light cursor text would vanish on the fill
    }
    painter.drawText(area, int(flags), elided);
}
