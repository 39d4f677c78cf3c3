#pragma once

#include <QObject>
#include <QPointer>
#include <QWindow>
#include <functional>

class QWidget;

// Tells whether a person can see a top-level window: shown, not minimised, and
// exposed by the windowing system (not hidden in the tray, not on another
// workspace, not covered whole). Follows the window's own show, hide, state
// and expose events and reports each change. A window is taken as seen until
// its events say otherwise. Lives on the user-interface thread with its window.
class WindowSight : public QObject {
public:
    explicit WindowSight(QWidget& window);

    std::function<void(bool seen)> WhenChanged;
    bool Seen() const { return seen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update();

    QWidget& window_;
    // The native window whose expose events are followed; made when the window is first shown.
    QPointer<QWindow> handle_;
    bool seen_ = true;
};
