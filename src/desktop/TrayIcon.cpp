#include "desktop/TrayIcon.h"

#include <QWidget>

namespace {

const QString kProgramName = QStringLiteral("Quillon Player");

void AddEntry(QMenu& menu, const QString& text, const std::function<void()>& action)
{
    QObject::connect(menu.addAction(text), &QAction::triggered, &menu, [action] {
        if (action)
            action();
    });
}

}  // namespace

TrayIcon::TrayIcon(QWidget& window, QIcon icon, Actions actions)
    : isTrayAvailable([] { return QSystemTrayIcon::isSystemTrayAvailable(); }), window_(window),
      iconImage_(std::move(icon)), actions_(std::move(actions)), toolTip_(kProgramName)
{
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::Create()
{
    if (icon_)
        return;
    menu_ = std::make_unique<QMenu>();
    AddEntry(*menu_, QStringLiteral("Play/Pause"), actions_.playPause);
    AddEntry(*menu_, QStringLiteral("Stop"), actions_.stop);
    AddEntry(*menu_, QStringLiteral("Previous"), actions_.previous);
    AddEntry(*menu_, QStringLiteral("Next"), actions_.next);
    menu_->addSeparator();
    AddEntry(*menu_, QStringLiteral("Show"), [this] { ShowWindow(); });
    AddEntry(*menu_, QStringLiteral("Exit"), [this] {
        // A hidden window keeps its placement, so it is saved as it was last shown.
        icon_->hide();
        if (actions_.exit)
            actions_.exit();
    });

    icon_ = std::make_unique<QSystemTrayIcon>(iconImage_);
    icon_->setContextMenu(menu_.get());
    icon_->setToolTip(toolTip_);
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, menu_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                             ShowWindow();
                     });
}

bool TrayIcon::HideWindow()
{
    if (!isTrayAvailable || !isTrayAvailable()) {
        window_.showMinimized();
        return false;
    }
    Create();
    icon_->show();
    window_.hide();
    return true;
}

void TrayIcon::ShowWindow()
{
    if (window_.isMinimized())
        window_.showNormal();
    else
        window_.show();
    window_.raise();
    window_.activateWindow();
    if (icon_)
        icon_->hide();
}

void TrayIcon::SetPlayingTitle(const QString& title)
{
    toolTip_ = title.isEmpty() ? kProgramName : title + QStringLiteral(" — ") + kProgramName;
    if (icon_)
        icon_->setToolTip(toolTip_);
}
