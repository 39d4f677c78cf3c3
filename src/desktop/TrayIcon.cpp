#include "desktop/TrayIcon.h"

#include <QWidget>

#include "ui/LanguageChange.h"
#include "ui/Translate.h"

namespace {

const QString kProgramName = QStringLiteral("Quillon Player");

// The entry's text is looked up again whenever the language changes.
void AddEntry(QMenu& menu, const char* identifier, const std::function<void()>& action)
{
    QAction* entry = menu.addAction(QString::fromUtf8(Translate(identifier)));
    entry->setData(QByteArray(identifier));
    QObject::connect(entry, &QAction::triggered, &menu, [action] {
        if (action)
            action();
    });
}

void Retranslate(QMenu& menu)
{
    for (QAction* entry : menu.actions())
        if (!entry->isSeparator())
            entry->setText(QString::fromUtf8(Translate(entry->data().toByteArray().constData())));
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
    AddEntry(*menu_, "tray\vPlay/Pause", actions_.playPause);
    AddEntry(*menu_, "tray\vStop", actions_.stop);
    AddEntry(*menu_, "tray\vPrevious", actions_.previous);
    AddEntry(*menu_, "tray\vNext", actions_.next);
    menu_->addSeparator();
    AddEntry(*menu_, "tray\vShow", [this] { ShowWindow(); });
    AddEntry(*menu_, "tray\vExit", [this] {
        // A hidden window keeps its placement, so it is saved as it was last shown.
        icon_->hide();
        if (actions_.exit)
            actions_.exit();
    });

    // The menu is a window of its own, so it hears a language switch even while hidden.
    WatchLanguage(*menu_, [menu = menu_.get()] { Retranslate(*menu); });

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
