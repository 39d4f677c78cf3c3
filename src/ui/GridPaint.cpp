// Painting of the grid: only the data rows that the dirty area touches, then the caption row.

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>

#include "ui/GridColours.h"
#include "ui/GridPrivate.h"

using namespace GridColours;

void GridCtrl::paintEvent(QPaintEvent* event)
{
    d_->painting = true;
    d_->updatePending = false;
    SyncLayout();
    QPainter painter(viewport());
    PaintRows(painter, event->rect());
    if (event->rect().top() < DataTop())
        d_->header.Paint(painter);
    d_->drag.PaintMarker(painter);
    d_->painting = false;
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
    const bool isCursor = row == d_->cursorRow;
    const bool isSelected = model_.IsSelected(row);

    // Rows alternate by where they are shown, so a search leaves the stripes intact.
    QColor fill = settings_.alternatingRows && model_.IsShownOdd(row) ? kAlternate : kWhite;
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

    // A row with its own background still shows that it holds the cursor or is selected. The
    // frame goes under the text: an accent on a capital letter reaches into it.
    if (ownFill && (isCursor || isSelected)) {
        painter.setPen(QPen(isCursor ? kCursorFill : kSelectedFill.darker(130), 2));
        painter.drawRect(QRect(fixed + 1, top + 1, width - fixed - 2, height - 2));
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
    const Qt::Alignment flags = GridHorzFlags(column.horzAlign_) | GridVertFlags(column.vertAlign_);
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
