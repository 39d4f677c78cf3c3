#include "ui/GridPopUp.h"

#include <QPainter>

namespace {
const QColor kFill(255, 255, 225);
const QColor kBorder(120, 120, 120);
constexpr int kPadX = 4;
}  // namespace

GridPopUp::GridPopUp() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void GridPopUp::ShowAt(const QString& text, const QPoint& globalTopLeft)
{
    if (text != text_) {
        text_ = text;
        const QFontMetrics metrics(font());
        resize(metrics.horizontalAdvance(text_) + 2 * kPadX, metrics.height() + 6);
        update();
    }
    move(globalTopLeft);
    if (!isVisible())
        show();
}

void GridPopUp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kFill);
    painter.setPen(kBorder);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(rect().adjusted(kPadX, 0, -kPadX, 0), Qt::AlignLeft | Qt::AlignVCenter, text_);
}
