#include "ui/ProgressLine.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QKeyEvent>

#include "ui/Translate.h"

ProgressLine::ProgressLine(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    label_.setTextFormat(Qt::PlainText);
    // A long path must not widen the window: its start gives way, the count and the name stay.
    label_.setMinimumWidth(1);
    label_.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label_.installEventFilter(this);
    cancel_.setText(QString::fromUtf8(Translate("Cancel")));
    cancel_.installEventFilter(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 1, 1);
    layout->setSpacing(4);
    layout->addWidget(&label_, 1);
    layout->addWidget(&cancel_);
    QObject::connect(&cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
}

void ProgressLine::SetText(const std::string& fixed, const std::string& detail)
{
    const QString newFixed = QString::fromStdString(fixed);
    const QString newDetail = QString::fromStdString(detail);
    if (newFixed == fixed_ && newDetail == detail_)
        return;
    fixed_ = newFixed;
    detail_ = newDetail;
    Elide();
}

void ProgressLine::Elide()
{
    const QFontMetrics metrics = label_.fontMetrics();
    const int room = std::max(0, label_.width() - metrics.horizontalAdvance(fixed_));
    const QString shown = fixed_ + metrics.elidedText(detail_, Qt::ElideLeft, room);
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
    if (watched == &label_ && event->type() == QEvent::Resize)
        Elide();
    if (watched == &cancel_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
