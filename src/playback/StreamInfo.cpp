#include "playback/StreamInfo.h"

#include <QFont>
#include <QPainter>

#include "playback/DisplayDrawing.h"

namespace {

// Arial is asked for by name; the font configuration maps it to a
// metric-compatible sans-serif face where Arial itself is not installed.
QFont PanelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(18);
    font.setBold(false);
    return font;
}

const QColor kTimeBoxColor(200, 200, 240);

}  // namespace

StreamInfo::StreamInfo(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

StreamInfo::~StreamInfo() = default;

void StreamInfo::SetTitle(const String& text)
{
    title = text;
    idle = false;
    update();
}

void StreamInfo::SetTime(const String& text)
{
    time = text;
    idle = false;
    update();
}

void StreamInfo::Clear()
{
    title = kIdleTitle;
    idle = true;
    update();
}

void StreamInfo::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void StreamInfo::Paint(QPainter& painter)
{
    const int w = width();
    const int h = height();
    DrawBlackFrame(painter, w, h);

    painter.setFont(PanelFont());
    painter.setPen(palette().color(QPalette::WindowText));
    const QString titleText = QString::fromUtf8(title);
    const QSize t1 = TextExtent(painter, titleText);

    if (idle) {
        FillArea(painter, 1, 1, w - 1, h - 1, kPaleFieldColor);
        if (w - 10 > 0) {
            painter.setClipRect(5, 0, w - 10, h);
            DrawTextTopLeft(painter, (w - t1.width()) / 2, (h - t1.height()) / 2, titleText);
        }
        return;
    }

    const QString timeText = QString::fromUtf8(time);
    const QSize t2 = TextExtent(painter, timeText);
    const int s = w - t2.width() - 10;

    FillArea(painter, 1, 1, s, h - 1, kPaleFieldColor);
    FillArea(painter, s, 1, w - 1, h - 1, kTimeBoxColor);
    FillArea(painter, s, 1, s + 1, h - 1, QColor(0, 0, 0));

    // A long title is cut at the separator's margin, never shortened.
    // (A panel too narrow for any title field draws none.)
    if (s - 10 > 0) {
        painter.setClipRect(5, 0, s - 10, h);
        DrawTextTopLeft(painter, 5, (h - t1.height()) / 2 + 1, titleText);
    }

    const int timeX = w - t2.width() - 5;
    painter.setClipRect(timeX, 0, w - 5, h);
    DrawTextTopLeft(painter, timeX, (h - t2.height()) / 2 + 1, timeText);
}
