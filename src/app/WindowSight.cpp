#include "app/WindowSight.h"

#include <QEvent>
#include <QWidget>

WindowSight::WindowSight(QWidget& window) : window_(window)
{
    window_.installEventFilter(this);
}

bool WindowSight::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
    case QEvent::Expose:
        // The window's state is already updated when these arrive.
        if (watched == &window_ || watched == handle_)
            Update();
        break;
    default:
        break;
    }
    return false;
}

void WindowSight::Update()
{
    if (QWindow* handle = window_.windowHandle(); handle != handle_) {
        if (handle_)
            handle_->removeEventFilter(this);
        handle_ = handle;
        if (handle_)
            handle_->installEventFilter(this);
    }
    const bool seen = window_.isVisible() && !window_.isMinimized() && handle_ && handle_->isExposed();
    if (seen == seen_)
        return;
    seen_ = seen;
    if (WhenChanged)
        WhenChanged(seen_);
}
