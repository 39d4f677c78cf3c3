#include "playback/ProgressButton.h"

#include <QMouseEvent>
#include <QPaintEvent>
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

// A glyph's ink may reach a little beyond its advance.
constexpr int kInkMargin = 3;

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
    // Unseen, the bar only notes that it must be painted when shown again.
    if (!pacer_.OnScreen()) {
        value = v;
        caption_ = {};
        pacer_.Request();
        return;
    }
    // The bar shows the value through its fill end and its two-decimal
    // caption; a change that moves neither leaves the same picture.
    const int w = width();
    const int pFrom = FillEnd(w, value);
    const int pTo = FillEnd(w, v);
    QRect changed;
    if (pFrom != pTo)
        changed = QRect(QPoint(std::min(pFrom, pTo), 1), QPoint(std::max(pFrom, pTo) - 1, height() - 2));
    const Shown was =
        caption_.valid && caption_.label == label && caption_.size == size() ? caption_ : Measure(ValueText(value));
    std::string text = ValueText(v);
    if (text != was.text) {
        caption_ = Measure(std::move(text));
        changed |= ChangedPart(was, caption_);
    } else {
        caption_ = was;
    }
    value = v;
    if (!changed.isEmpty())
        pacer_.Request(changed);
}

QString ProgressButton::Caption(float v) const { return QString::fromUtf8(label + " : " + ValueText(v)); }

ProgressButton::Shown ProgressButton::Measure(std::string text)
{
    Shown shown;
    shown.valid = true;
    shown.text = std::move(text);
    shown.label = label;
    shown.size = size();
    const int textWidth = CaptionWidth(shown.text);
    const int textHeight = widths_.Height(font(), logicalDpiY());
    shown.rect = QRect((width() - textWidth) / 2 - kInkMargin, (height() - textHeight) / 2,
                       textWidth + 2 * kInkMargin, textHeight);
    return shown;
}

int ProgressButton::CaptionWidth(const std::string& number)
{
    return widths_(font(), logicalDpiY(), QString::fromUtf8(label + " : " + number));
}

QRect ProgressButton::ChangedPart(const Shown& was, const Shown& now)
{
    // A caption that keeps its place and length changes only where its
    // characters differ (the last digits, mostly): only they are painted,
    // with the margin where the ink of a neighbour may reach into them.
    if (was.rect != now.rect || was.text.size() != now.text.size())
        return was.rect | now.rect;
    std::size_t first = 0;
    while (was.text[first] == now.text[first])
        ++first;
    std::size_t last = now.text.size() - 1;
    while (was.text[last] == now.text[last])
        --last;
    // Both captions place their characters alike up to first, and again from
    // last on, when the widths before those points agree.
    const int textLeft = now.rect.left() + kInkMargin;
    const int from = CaptionWidth(now.text.substr(0, first));
    const int to = CaptionWidth(now.text.substr(0, last + 1));
    if (from != CaptionWidth(was.text.substr(0, first)) || to != CaptionWidth(was.text.substr(0, last + 1)))
        return was.rect | now.rect;
    return QRect(textLeft + from - kInkMargin, now.rect.top(), to - from + 2 * kInkMargin, now.rect.height());
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
    caption_ = {};
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
    caption_ = {};
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

void ProgressButton::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    paintRect_ = event->rect();
    Paint(painter);
    paintRect_ = QRect();
}


void ProgressButton::Paint(QPainter& painter)
{
    const int w = width();
    const int h = height();
    DrawBlackFrame(painter, w, h);

    const int p = FillEnd(w, value);
    if (gradient) {
        // One rectangle per column: only the columns the paint asks for.
        const QRect asked = paintRect_.isEmpty() ? rect() : paintRect_;
        const int last = std::min(p, asked.right() + 1);
        for (int i = std::max(1, asked.left()); i < last; ++i)
            FillArea(painter, i, 1, i + 1, h - 1, Blend(gradientColor, fillColor, (256 * i) / (w - 1)));
    } else {
        FillArea(painter, 1, 1, p, h - 1, fillColor);
    }
    if (p < w - 1)
        FillArea(painter, p, 1, w - 1, h - 1, kPaleFieldColor);

    const QString caption = Caption(value);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int dpi = painter.device()->logicalDpiY();
    const int textWidth = widths_(painter.font(), dpi, caption);
    widths_.Draw(painter, (w - textWidth) / 2, (h - widths_.Height(painter.font(), dpi)) / 2, caption);
}
