#include "playback/PaintPacer.h"

#include <QEvent>
#include <QTimerEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace {

// Longer than the tick's period, so the timer of a display set every tick
// is always pushed back before it fires.
constexpr int kQuietMs = 15;

}  // namespace

PaintPacer::PaintPacer(QWidget* widget) : QObject(widget), widget_(widget)
{
    widget_->installEventFilter(this);
}

bool PaintPacer::OnScreen() const
{
    if (!widget_->isVisible())
        return false;
    const QWidget* top = widget_->window();
    if (top->isMinimized())
        return false;
    const QWindow* handle = top->windowHandle();
    return handle && handle->isExposed();
}

void PaintPacer::Request(const QRect& rect)
{
    if (rect.isEmpty())
        pending_ = widget_->rect();  // covers anything else waiting
    else
        pending_ += rect;
    if (!OnScreen()) {
        trailing_.stop();
        return;
    }
    if (!sinceFlush_.isValid() || sinceFlush_.elapsed() >= kIntervalMs) {
        Flush();
        return;
    }
    const int wait = std::max(kIntervalMs - static_cast<int>(sinceFlush_.elapsed()), kQuietMs);
    trailing_.start(wait, Qt::PreciseTimer, this);
}

void PaintPacer::Now(const QRect& rect)
{
    pending_ += rect.isEmpty() ? widget_->rect() : rect;
    Flush();
}

void PaintPacer::Flush()
{
    trailing_.stop();
    if (pending_.isEmpty())
        return;
    const QRegion region = std::exchange(pending_, QRegion());
    sinceFlush_.restart();
    // On screen the paint is made now, within the change that asked for it,
    // rather than posted for another turn of the event loop.
    if (OnScreen())
        widget_->repaint(region);
    else
        widget_->update(region);
}

void PaintPacer::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != trailing_.timerId())
        return;
    trailing_.stop();
    if (!OnScreen())
        return;
    const qint64 left = kIntervalMs - sinceFlush_.elapsed();
    if (left > 0)
        trailing_.start(static_cast<int>(left), Qt::PreciseTimer, this);
    else
        Flush();
}

bool PaintPacer::eventFilter(QObject* watched, QEvent* event)
{
    // Back from minimised: what changed meanwhile is shown now. (A paint
    // event does not clear what waits: it may be a rendering into an image.)
    if (watched == widget_ && event->type() == QEvent::Show && !pending_.isEmpty())
        Flush();
    return false;
}
