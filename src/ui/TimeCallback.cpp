#include "ui/TimeCallback.h"

#include <QObject>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {

// The timer of one callback, a child of its window so that it dies with it.
class CallbackTimer : public QTimer {
public:
    CallbackTimer(QObject* window, int id) : QTimer(window), id_(id) {}

    int Id() const { return id_; }
    bool IsAlive() const { return alive_; }

    // Stops the timer for good. The object itself is deleted later, because
    // the callback that kills it may be running from its own timeout.
    void Retire()
    {
        alive_ = false;
        stop();
        deleteLater();
    }

private:
    int id_;
    bool alive_ = true;
};

CallbackTimer* FindLive(QObject* window, int id)
{
    if (!window)
        return nullptr;
    for (QTimer* timer : window->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
        auto* callback = dynamic_cast<CallbackTimer*>(timer);
        if (callback && callback->IsAlive() && callback->Id() == id)
            return callback;
    }
    return nullptr;
}

}  // namespace

void SetTimeCallback(QObject* window, int id, int periodMs, std::function<void()> fn)
{
    if (!window || !fn)
        return;
    KillTimeCallback(window, id);

    auto* timer = new CallbackTimer(window, id);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(std::max(periodMs, 0));
    // The function is shared so that a run keeps it alive even when the
    // callback replaces or kills itself.
    auto shared = std::make_shared<std::function<void()>>(std::move(fn));
    QObject::connect(timer, &QTimer::timeout, timer, [timer, shared] {
        if (!timer->IsAlive())
            return;
        const auto keep = shared;
        (*keep)();
    });
    timer->start();
}

void KillTimeCallback(QObject* window, int id)
{
    if (CallbackTimer* timer = FindLive(window, id))
        timer->Retire();
}

void KillTimeCallbacks(QObject* window)
{
    if (!window)
        return;
    for (QTimer* timer : window->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
        auto* callback = dynamic_cast<CallbackTimer*>(timer);
        if (callback && callback->IsAlive())
            callback->Retire();
    }
}

bool ExistsTimeCallback(QObject* window, int id)
{
    return FindLive(window, id) != nullptr;
}
