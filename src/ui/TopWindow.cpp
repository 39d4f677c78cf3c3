#include "ui/TopWindow.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>

TopWindow::TopWindow()
    : QWidget(nullptr, Qt::Window), client_(new QWidget(this))
{
    ArrangeFrames();
}

TopWindow::~TopWindow()
{
    if (loop_)
        loop_->exit(IDCANCEL);
}

void TopWindow::Title(const String& title)
{
    setWindowTitle(QString::fromStdString(title));
}

String TopWindow::GetTitle() const
{
    return windowTitle().toStdString();
}

void TopWindow::Icon(const QImage& small, const QImage& large)
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(small));
    icon.addPixmap(QPixmap::fromImage(large));
    setWindowIcon(icon);
}

void TopWindow::MinSize(QSize size)
{
    setMinimumSize(size);
}

void TopWindow::Sizeable(bool sizeable)
{
    if (sizeable)
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    else
        setMaximumSize(size());
}

void TopWindow::MinimizeBox(bool on)
{
    setWindowFlag(Qt::WindowMinimizeButtonHint, on);
}

void TopWindow::MaximizeBox(bool on)
{
    setWindowFlag(Qt::WindowMaximizeButtonHint, on);
}

void TopWindow::AddMenuBar(QMenuBar* menuBar)
{
    delete menuBar_;
    menuBar_ = menuBar;
    menuBar_->setParent(this);
    menuBar_->show();
    ArrangeFrames();
}

void TopWindow::CancelButton(QAbstractButton* button)
{
    cancel_ = button;
    if (cancel_)
        QObject::connect(cancel_, &QAbstractButton::clicked, this, [this] { Close(); });
}

int TopWindow::Run()
{
    QEventLoop loop;
    loop_ = &loop;
    show();
    activateWindow();
    const int code = loop.exec();
    loop_ = nullptr;
    hide();
    return code;
}

void TopWindow::Break(int code)
{
    if (loop_)
        loop_->exit(code);
}

void TopWindow::Close()
{
    if (loop_)
        Break(cancel_ ? IDCANCEL : IDOK);
    else
        hide();
}

void TopWindow::keyPressEvent(QKeyEvent* event)
{
    // Reaches the window only when the focused control did not take the key.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancel_ &&
        cancel_->isEnabled()) {
        cancel_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TopWindow::closeEvent(QCloseEvent* event)
{
    // The close box takes the same path as every other way of closing.
    event->ignore();
    Close();
}

void TopWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ArrangeFrames();
}

void TopWindow::ArrangeFrames()
{
    int top = 0;
    if (menuBar_) {
        top = menuBar_->heightForWidth(width());
        if (top <= 0)
            top = menuBar_->sizeHint().height();
        menuBar_->setGeometry(0, 0, width(), top);
    }
    client_->setGeometry(0, top, width(), std::max(0, height() - top));
}

void TopWindow::SerializePlacement(Stream& s)
{
    constexpr int32_t kLargest = 1 << 20;
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    int32_t x = normal.x(), y = normal.y(), w = normal.width(), h = normal.height();
    bool maximized = windowState().testFlag(Qt::WindowMaximized);
    s % x % y % w % h % maximized;
    if (!s.IsLoading() || s.IsError())
        return;
    if (w <= 0 || h <= 0 || w > kLargest || h > kLargest || std::abs(x) > kLargest || std::abs(y) > kLargest) {
        s.SetError();
        return;
    }
    const QRect rect(x, y, w, h);
    if (QGuiApplication::screenAt(rect.center()))
        setGeometry(rect);
    else
        resize(rect.size());
    setWindowState(maximized ? Qt::WindowMaximized : Qt::WindowNoState);
}
