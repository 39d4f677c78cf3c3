#include "app/Splitter.h"

#include <QResizeEvent>

static const char* const kPadName = "SplitterPad";

Splitter::Splitter()
    : QSplitter(Qt::Horizontal)
{
    setChildrenCollapsible(false);
    // The user's drag moves the stored position.
    QObject::connect(this, &QSplitter::splitterMoved, this, [this](int, int) {
        if (applying_)
            return;
        const QList<int> s = sizes();
        const int total = s.size() == 2 ? s[0] + s[1] : 0;
        if (total > 0)
            pos_ = static_cast<int>(static_cast<long long>(s[0]) * kScale / total);
    });
}

void Splitter::SetPane(int pane, QWidget& widget)
{
    if (pane < 0 || pane > 1 || this->widget(pane) == &widget)
        return;
    while (count() < pane) {
        auto* pad = new QWidget;  // keeps pane 1 on the right while pane 0 is still empty
        pad->setObjectName(kPadName);
        addWidget(pad);
    }
    if (pane < count()) {
        QWidget* old = replaceWidget(pane, &widget);
        if (old && old->objectName() == kPadName) {
            delete old;
        } else if (old) {
            old->hide();
            old->setParent(nullptr);
        }
    } else {
        addWidget(&widget);
    }
    widget.show();
    ApplyPos();
}

void Splitter::SetPos(int pos)
{
    pos_ = std::clamp(pos, 0, static_cast<int>(kScale));
    ApplyPos();
}

void Splitter::Serialize(Stream& s)
{
    int32_t pos = pos_;
    s % pos;
    if (!s.IsLoading() || s.IsError())
        return;
    if (pos < 0 || pos > kScale) {
        s.SetError();
        return;
    }
    SetPos(pos);
}

void Splitter::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    ApplyPos();
}

void Splitter::ApplyPos()
{
    if (count() != 2)
        return;
    const int total = std::max(0, width() - handleWidth());
    const int left = static_cast<int>(static_cast<long long>(total) * pos_ / kScale);
    applying_ = true;
    setSizes({left, total - left});
    applying_ = false;
}
