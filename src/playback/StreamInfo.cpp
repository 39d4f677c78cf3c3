#include "playback/StreamInfo.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QPaintEvent>
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

StreamInfo::StreamInfo(QWidget* parent) : QWidget(parent), font_(PanelFont())
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    titleText_ = QString::fromUtf8(title);
    timeText_ = QString::fromUtf8(time);
    titleWidth_ = TextWidth(titleText_);
    timeWidth_ = TextWidth(timeText_);
    textHeight_ = QFontMetrics(font_).height();
}

// The panel font has a pixel size, so its widths are the same on every device.
int StreamInfo::TextWidth(const QString& text)
{
    return widths_(font_, 0, text);
}

StreamInfo::~StreamInfo() = default;

void StreamInfo::SetTitle(const String& text)
{
    if (text != title) {
        title = text;
        titleText_ = QString::fromUtf8(title);
        titleWidth_ = TextWidth(titleText_);
    }
    idle = false;
    pacer_.Now();
}

void StreamInfo::SetTime(const String& text)
{
    const bool wasIdle = idle;
    const int oldWidth = timeWidth_;
    if (text != time) {
        time = text;
        timeText_ = QString::fromUtf8(time);
        timeWidth_ = TextWidth(timeText_);
    }
    idle = false;
    if (wasIdle) {
        pacer_.Now();
        return;
    }
    if (timeWidth_ != oldWidth) {
        pacer_.Request();
        return;
    }
    // The separator stays where it is, so only the time box changes: from
    // right of the separator to the edge, the frame included, where the
    // text's ink may reach.
    const int s = Separator(timeWidth_);
    pacer_.Request(QRect(s + 1, 0, width() - s - 1, height()));
}

void StreamInfo::Clear()
{
    if (title != kIdleTitle) {
        title = kIdleTitle;
        titleText_ = QString::fromUtf8(title);
        titleWidth_ = TextWidth(titleText_);
    }
    idle = true;
    pacer_.Now();
}

void StreamInfo::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    paintRect_ = event->rect();
    Paint(painter);
    paintRect_ = QRect();
}

void StreamInfo::Paint(QPainter& painter)
{
    const int w = width();
    const int h = height();
    DrawBlackFrame(painter, w, h);

    painter.setFont(font_);
    painter.setPen(palette().color(QPalette::WindowText));
    const int textHeight = textHeight_;

    if (idle) {
        FillArea(painter, 1, 1, w - 1, h - 1, kPaleFieldColor);
        if (w - 10 > 0) {
            painter.setClipRect(5, 0, w - 10, h);
            DrawTextTopLeft(painter, (w - titleWidth_) / 2, (h - textHeight) / 2, titleText_);
        }
        return;
    }

    const int s = Separator(timeWidth_);

    // A panel narrower than its time box keeps its frame: nothing is filled left of it.
    const int box = std::max(s, 1);
    FillArea(painter, 1, 1, s, h - 1, kPaleFieldColor);
    FillArea(painter, box, 1, w - 1, h - 1, kTimeBoxColor);
    FillArea(painter, box, 1, box + 1, h - 1, QColor(0, 0, 0));

    // A long title is cut at the separator's margin, never shortened.
    // (A panel too narrow for any title field draws none.) When only the
    // time box is repainted, the title is not drawn at all.
    const QRect titleClip(5, 0, s - 10, h);
    if (s - 10 > 0 && (paintRect_.isEmpty() || paintRect_.intersects(titleClip))) {
        painter.setClipRect(titleClip);
        DrawTextTopLeft(painter, 5, (h - textHeight) / 2 + 1, titleText_);
    }

    const int timeX = w - timeWidth_ - 5;
    painter.setClipRect(QRect(timeX, 0, w - 5, h).intersected(QRect(1, 1, w - 2, h - 2)));
    timeGlyphs_.Draw(painter, timeX, (h - textHeight) / 2 + 1, timeText_);
}
