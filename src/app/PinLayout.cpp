#include "app/PinLayout.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QWidget>
#include <cmath>

namespace {

// The font the layouts were designed for: letters 6 units wide on average, lines 13 high.
constexpr double kDesignLetterWidth = 6.0;
constexpr double kDesignLineHeight = 13.0;

int Scale(int units, double zoom)
{
    return static_cast<int>(std::lround(units * zoom));
}

} // namespace

Span PlacePin(const Pin& pin, int length, double zoom)
{
    switch (pin.kind) {
    case Pin::StartSize:
        return {Scale(pin.a, zoom), Scale(pin.b, zoom)};
    case Pin::EndSize: {
        const int size = Scale(pin.b, zoom);
        return {length - Scale(pin.a, zoom) - size, size};
    }
    case Pin::Both:
    default: {
        const int pos = Scale(pin.a, zoom);
        return {pos, std::max(0, length - Scale(pin.b, zoom) - pos)};
    }
    }
}

QSizeF LayoutZoom()
{
    const QFontMetricsF metrics(QApplication::font());
    const QString alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const double letter = metrics.horizontalAdvance(alphabet) / alphabet.size();
    // Never smaller than designed: the button faces are drawn at fixed pixel sizes.
    return QSizeF(std::max(1.0, letter / kDesignLetterWidth), std::max(1.0, metrics.height() / kDesignLineHeight));
}

QSize ZoomSize(QSize design, QSizeF zoom)
{
    return QSize(Scale(design.width(), zoom.width()), Scale(design.height(), zoom.height()));
}

PinLayout::~PinLayout()
{
    for (Item& i : items_)
        delete i.item;
}

void PinLayout::Add(QWidget& widget, Pin horizontal, Pin vertical)
{
    addChildWidget(&widget);
    items_.push_back({new QWidgetItem(&widget), horizontal, vertical});
    invalidate();
}

void PinLayout::addItem(QLayoutItem* item)
{
    // Items added without pins fill the area.
    items_.push_back({item, Pin::Stretch(0, 0), Pin::Stretch(0, 0)});
}

QLayoutItem* PinLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? items_[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* PinLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = items_[static_cast<size_t>(index)].item;
    items_.erase(items_.begin() + index);
    return item;
}

void PinLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    for (const Item& i : items_) {
        const Span x = PlacePin(i.horizontal, rect.width(), zoom_.width());
        const Span y = PlacePin(i.vertical, rect.height(), zoom_.height());
        const QRect r(rect.x() + x.pos, rect.y() + y.pos, x.size, y.size);
        // Widgets get exactly their pinned rectangle; an item would bend it to the size policy.
        if (QWidget* w = i.item->widget())
            w->setGeometry(r);
        else
            i.item->setGeometry(r);
    }
}
