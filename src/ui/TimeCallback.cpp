#include "ui/TimeCallback.h"

#include <QBasicTimer>
#include <QObject>
#include <QTimerEvent>
#include <algorithm>
#include <map>
#include <memory>

namespace {

// Periods this long may be served late by a few percent, so the event loop can
// serve them in the same wake-up as other timers.
constexpr int kCoarsePeriodMs = 100;

// The callbacks of one window: a child of the window, so that they die with
// it. Each is a bare timer whose event calls the function directly, with no
// signal in between; the 10 ms playback tick is one of them.
class WindowCallbacks : public QObject {
public:
    explicit WindowCallbacks(QObject* window) : QObject(window) {}

    void Set(int id, int periodMs, std::function<void()> fn)
    {
        Kill(id);
        auto& entry = entries_[id];
        // Shared so that a run keeps the function alive even when the callback replaces or kills itself.
        entry.fn = std::make_shared<std::function<void()>>(std::move(fn));
        entry.timer.start(periodMs, periodMs >= kCoarsePeriodMs ? Qt::CoarseTimer : Qt::PreciseTimer, this);
    }
    void Kill(int id) { entries_.erase(id); }
    void KillAll() { entries_.clear(); }
    bool Exists(int id) const { return entries_.count(id) != 0; }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        for (auto& [id, entry] : entries_) {
            if (entry.timer.timerId() == event->timerId()) {
                const auto keep = entry.fn;  // the entry may go while the function runs
                (*keep)();
                return;
            }
        }
    }

private:
    struct Entry {
        QBasicTimer timer;  // stops when the entry goes
        std::shared_ptr<std::function<void()>> fn;
    };
    std::map<int, Entry> entries_;
};

WindowCallbacks* Find(QObject* window)
{
    if (!window)
        return nullptr;
    for (QObject* child : window->children())
        if (auto* callbacks = dynamic_cast<WindowCallbacks*>(child))
            return callbacks;
    return nullptr;
}

}  // namespace

void SetTimeCallback(QObject* window, int id, int periodMs, std::function<void()> fn)
{
    if (!window || !fn)
        return;
    WindowCallbacks* callbacks = Find(window);
    if (!callbacks)
        callbacks = new WindowCallbacks(window);
    callbacks->Set(id, std::max(periodMs, 0), std::move(fn));
}

void KillTimeCallback(QObject* window, int id)
{
    if (WindowCallbacks* callbacks = Find(window))
        callbacks->Kill(id);
}

void KillTimeCallbacks(QObject* window)
{
    if (WindowCallbacks* callbacks = Find(window))
        callbacks->KillAll();
}

bool ExistsTimeCallback(QObject* window, int id)
{
    const WindowCallbacks* callbacks = Find(window);
    return callbacks && callbacks->Exists(id);
}
