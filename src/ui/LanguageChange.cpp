#include "ui/LanguageChange.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

class LanguageListener : public QObject {
public:
    LanguageListener(QWidget& widget, std::function<void()> whenChanged)
        : QObject(&widget), whenChanged_(std::move(whenChanged))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange && watched == parent() && whenChanged_)
            whenChanged_();
        return false;  // the widget and its children still get the event
    }

private:
    std::function<void()> whenChanged_;
};

}  // namespace

void AnnounceLanguageChange()
{
    // A listener may create or destroy windows; only those alive when it is their turn hear it.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget>& window : windows)
        if (window) {
            QEvent event(QEvent::LanguageChange);
            QCoreApplication::sendEvent(window, &event);
        }
}

void WatchLanguage(QWidget& widget, std::function<void()> whenChanged)
{
    new LanguageListener(widget, std::move(whenChanged));
}
