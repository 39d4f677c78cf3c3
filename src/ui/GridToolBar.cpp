#include "ui/GridToolBar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {

constexpr int kButtonSize = 22;
constexpr int kIconSize = 16;
const QColor kLine(160, 160, 160);

QWidget* MakeButton(const BarItem& item, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);  // the keyboard stays with the grid
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setToolTip(QString::fromStdString(item.GetText()));
    if (item.GetImage()) {
        button->setIcon(QIcon(QPixmap::fromImage(*item.GetImage())));
        button->setIconSize(QSize(kIconSize, kIconSize));
    }
    else {
        button->setText(QString::fromStdString(item.GetText()));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setMinimumWidth(kButtonSize);
        button->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    button->setEnabled(item.IsEnabled());
    if (item.GetAction())
        QObject::connect(button, &QToolButton::clicked, button, [run = item.GetAction()] { run(); });
    return button;
}

QWidget* MakeSeparator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedSize(8, kButtonSize - 4);
    return line;
}

}  // namespace

GridToolBar::GridToolBar(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this))
{
    layout_->setContentsMargins(2, 3, 2, 2);
    layout_->setSpacing(0);
}

void GridToolBar::SetLineOnTop(bool top)
{
    lineOnTop_ = top;
    layout_->setContentsMargins(2, top ? 3 : 2, 2, top ? 2 : 3);
    update();
}

void GridToolBar::Build(const Bar::Builder& builder)
{
    // A control that is dropped from the new build must not linger where it stood.
    for (const QPointer<QWidget>& widget : widgets_)
        if (widget)
            widget->hide();
    while (QLayoutItem* item = layout_->takeAt(0))
        delete item;
    for (const QPointer<QWidget>& widget : made_)
        if (widget)
            widget->deleteLater();  // a button may be running the action that caused the rebuild
    made_.clear();
    widgets_.clear();

    bar_ = Bar();
    if (builder)
        builder(bar_);
    for (const BarItem& item : bar_.Items()) {
        QWidget* widget = nullptr;
        if (item.IsGap()) {
            if (item.GetGapWidth() == Bar::kGapToEnd)
                layout_->addStretch(1);
            else
                layout_->addSpacing(item.GetGapWidth());
        }
        else if (item.IsSeparator()) {
            made_.push_back(MakeSeparator(this));
            layout_->addWidget(made_.back(), 0, Qt::AlignVCenter);
        }
        else if (item.IsCtrl()) {
            widget = item.GetCtrl();
            if (widget->parentWidget() != this)
                widget->setParent(this);
            widget->setFixedSize(item.GetCtrlWidth(), item.GetCtrlHeight());
            layout_->addWidget(widget, 0, Qt::AlignVCenter);
            widget->show();
        }
        else {
            widget = MakeButton(item, this);
            made_.push_back(widget);
            layout_->addWidget(widget, 0, Qt::AlignVCenter);
        }
        widgets_.emplace_back(widget);
    }
    // Without a stretching gap the buttons stay at the start.
    layout_->addStretch(0);
    // Shown now, not by the layout's queued call: a toolbar rebuilt while it is on
    // screen is measured at once, and hidden buttons would not count.
    for (const QPointer<QWidget>& widget : made_)
        widget->show();
    layout_->activate();
}

QWidget* GridToolBar::GetWidget(int i) const
{
    return i >= 0 && i < int(widgets_.size()) ? widgets_[size_t(i)].data() : nullptr;
}

void GridToolBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(kLine);
    const int y = lineOnTop_ ? 0 : height() - 1;
    painter.drawLine(0, y, width() - 1, y);
}
