#include "playback/ProgressButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <string>

#include "playback/DisplayDrawing.h"
#include "playback/Percent.h"

namespace {

// c1 + floor((c2 - c1) * a / 256) per component, with a = alpha + alpha / 128,
// so that alpha 256 reaches c2 exactly. The shift floors negative products.
int BlendComponent(int c1, int c2, int alpha)
{
    const int a = alpha + alpha / 128;
    return c1 + (((c2 - c1) * a) >> 8);
}

QColor Blend(const QColor& c1, const QColor& c2, int alpha)
{
    return QColor(BlendComponent(c1.red(), c2.red(), alpha),
                  BlendComponent(c1.green(), c2.green(), alpha),
                  BlendComponent(c1.blue(), c2.blue(), alpha));
}

// The column where the fill ends: w * value * 0.01 in single precision,
// truncated, kept within 1..w-1. Values outside any int (or NaN) are limited
// before the conversion, which would otherwise be undefined.
int FillEnd(int w, float value)
{
    const float f = PercentOf(w, value);
    int p;
    if (f >= static_cast<float>(w))
        p = w;
    else if (!(f >= 1.0f))
        p = 1;
    else
        p = static_cast<int>(f);
    if (p < 1)
        p = 1;
    if (p > w - 1)
        p = w - 1;
    return p;
}

// The value as the caption shows it.
std::string ValueText(float value)
{
    char number[64];
    std::snprintf(number, sizeof number, "%.2f %%", static_cast<double>(value));
    return number;
}

}  // namespace

ProgressButton::ProgressButton(QWidget* parent) : QWidget(parent)
{
    // A bar is operated by the mouse only; it must not take keys such as
    // Escape away from the window.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ProgressButton::~ProgressButton() = default;

void ProgressButton::Set(float v)
{
    // The bar shows the value through its fill end and its two-decimal
    // caption; a change that moves neither leaves the same picture.
    const bool same = FillEnd(width(), v) == FillEnd(width(), value) && ValueText(v) == ValueText(value);
    value = v;
    if (!same)
        update();
}

void ProgressButton::Action()
{
    if (WhenAction)
        WhenAction();
}

float ProgressButton::ValueAt(int x) const
{
    const int w = width();
    if (w <= 0)
        return 0.0f;
    return static_cast<float>(x * 100) / static_cast<float>(w);
}

void ProgressButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    value = ValueAt(event->position().toPoint().x());
    update();
    capture = true;
    if (live)
        Action();
}

void ProgressButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!capture)
        return;
    value = std::clamp(ValueAt(event->position().toPoint().x()), 0.0f, 100.0f);
    update();
    if (live)
        Action();
}

void ProgressButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !capture) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    capture = false;
    if (!live)
        Action();
}

void ProgressButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}


void ProgressButton::Paint(QPainter& painter)
{
    const int w = width();
    const int h = height();
    DrawBlackFrame(painter, w, h);

    const int p = FillEnd(w, value);
    if (gradient) {
        for (int i = 1; i < p; ++i)
            FillArea(painter, i, 1, i + 1, h - 1, Blend(gradientColor, fillColor, (256 * i) / (w - 1)));
    } else {
        FillArea(painter, 1, 1, p, h - 1, fillColor);
    }
    if (p < w - 1)
        FillArea(painter, p, 1, w - 1, h - 1, kPaleFieldColor);

    const QString caption = QString::fromUtf8(label + " : " + ValueText(value));
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int textWidth = widths_(painter.font(), painter.device()->logicalDpiY(), caption);
    DrawTextTopLeft(painter, (w - textWidth) / 2, (h - painter.fontMetrics().height()) / 2, caption);
}
