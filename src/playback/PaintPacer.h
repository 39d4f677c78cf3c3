#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QRegion>

class QWidget;

// Paces the repaints of a display whose value is set far more often than a
// person can see it change (the playback tick sets it a hundred times a
// second). Requests are gathered and handed to the widget at most once per
// interval, from within a request when that interval has passed, so a
// steadily set display costs no event-loop pass of its own: the paint is
// made there and then, not posted. A request that
// is still waiting when the requests stop is handed over by a timer that each
// request pushes back, so it fires only then. While the window is hidden or
// minimised nothing is handed over; what waits is repainted when it is shown.
// Lives on the user-interface thread with its widget.
class PaintPacer : public QObject {
public:
    static constexpr int kIntervalMs = 33;

    explicit PaintPacer(QWidget* widget);

    // Asks for the widget's rect to be repainted (the whole widget when empty).
    void Request(const QRect& rect = QRect());
    // Repaints at once whatever waits and anything in rect, pace or not.
    void Now(const QRect& rect = QRect());

    // Whether a person can see the widget: shown, in a window that is neither
    // minimised nor hidden from the screen.
    bool OnScreen() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void Flush();

    QWidget* widget_;
    QRegion pending_;
    QElapsedTimer sinceFlush_;
    QBasicTimer trailing_;
};
