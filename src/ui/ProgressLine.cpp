#include "ui/ProgressLine.h"

#include <QHBoxLayout>
#include <QKeyEvent>

ProgressLine::ProgressLine(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    label_.setTextFormat(Qt::PlainText);
    // A long path must not widen the window; it is cut on the left, where it matters least.
    label_.setMinimumWidth(1);
    label_.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    cancel_.setText("Cancel");
    cancel_.installEventFilter(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 1, 1);
    layout->setSpacing(4);
    layout->addWidget(&label_, 1);
    layout->addWidget(&cancel_);
    QObject::connect(&cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
}

void ProgressLine::SetText(const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (label_.text() != shown)
        label_.setText(shown);
}

void ProgressLine::Cancel()
{
    if (WhenCancel)
        WhenCancel();
}

void ProgressLine::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        return;
    }
    QFrame::keyPressEvent(event);
}

bool ProgressLine::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &cancel_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
