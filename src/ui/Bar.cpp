#include "ui/Bar.h"

#include <cstdio>

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPoint>

namespace {

const char* NamedKey(KeyCode base)
{
    switch (base) {
    case K_BACKSPACE: return "Backspace";
    case K_TAB: return "Tab";
    case K_ENTER: return "Enter";
    case K_ESCAPE: return "Esc";
    case K_SPACE: return "Space";
    case K_PAGEUP: return "Page Up";
    case K_PAGEDOWN: return "Page Down";
    case K_END: return "End";
    case K_HOME: return "Home";
    case K_LEFT: return "Left";
    case K_UP: return "Up";
    case K_RIGHT: return "Right";
    case K_DOWN: return "Down";
    case K_INSERT: return "Insert";
    case K_DELETE: return "Delete";
    default: return nullptr;
    }
}

std::string BaseKeyName(KeyCode base)
{
    if (const char* name = NamedKey(base))
        return name;
    if (base >= K_F1 && base < K_F1 + 12)
        return "F" + std::to_string(base - K_F1 + 1);
    if (base >= K_DELTA) {
        const KeyCode vk = base - K_DELTA;
        if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
            return std::string(1, char(vk));
    }
    if (base > 0x20 && base < 0x7F)
        return std::string(1, char(base));
    return {};
}

KeyCode BaseKeyFromQt(int key)
{
    switch (key) {
    case Qt::Key_Backspace: return K_BACKSPACE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return K_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return K_ENTER;
    case Qt::Key_Escape: return K_ESCAPE;
    case Qt::Key_Space: return K_SPACE;
    case Qt::Key_PageUp: return K_PAGEUP;
    case Qt::Key_PageDown: return K_PAGEDOWN;
    case Qt::Key_End: return K_END;
    case Qt::Key_Home: return K_HOME;
    case Qt::Key_Left: return K_LEFT;
    case Qt::Key_Up: return K_UP;
    case Qt::Key_Right: return K_RIGHT;
    case Qt::Key_Down: return K_DOWN;
    case Qt::Key_Insert: return K_INSERT;
    case Qt::Key_Delete: return K_DELETE;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return K_F1 + KeyCode(key - Qt::Key_F1);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return K_DELTA + KeyCode(key);  // Qt's codes for these are their ASCII letters
    return 0;
}

QString MenuText(const BarItem& item)
{
    QString text = QString::fromStdString(item.GetText());
    if (item.GetKey())
        text += '\t' + QString::fromStdString(KeyDesc(item.GetKey()));
    return text;
}

void AddSubMenu(QMenu& parent, const BarItem& item);

// The entries a builder adds; none without a builder.
Bar Built(const Bar::Builder& builder)
{
    Bar bar;
    if (builder)
        builder(bar);
    return bar;
}

void FillFromBar(QMenu& menu, const Bar& bar)
{
    QActionGroup* choice = nullptr;  // the radio entries met in a row so far
    for (const BarItem& item : bar.Items()) {
        if (!item.IsRadio())
            choice = nullptr;
        if (item.IsGap() || item.IsCtrl())
            continue;
        if (item.IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        if (item.IsSubMenu()) {
            AddSubMenu(menu, item);
            continue;
        }
        // The key is only shown: the owner decides when keys run, so no Qt shortcut.
        QAction* action = menu.addAction(MenuText(item));
        action->setEnabled(item.IsEnabled());
        action->setCheckable(item.IsCheckable());
        action->setChecked(item.IsChecked());
        if (item.IsRadio()) {
            if (!choice)
                choice = new QActionGroup(&menu);  // the menu owns it
            choice->addAction(action);
        }
        if (!item.GetHelp().empty())
            action->setStatusTip(QString::fromStdString(item.GetHelp()));
        if (!item.GetTip().empty()) {
            action->setToolTip(QString::fromStdString(item.GetTip()));
            menu.setToolTipsVisible(true);
        }
        if (item.GetAction())
            QObject::connect(action, &QAction::triggered, action, [run = item.GetAction()] { run(); });
    }
}

// The sub-menu's entries are built afresh whenever it is about to open.
QMenu* MakeLazyMenu(QWidget* parent, const QString& title, const Bar::Builder& builder)
{
    QMenu* sub = new QMenu(title, parent);
    QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, builder] { FillMenu(*sub, builder); });
    return sub;
}

void AddSubMenu(QMenu& parent, const BarItem& item)
{
    QMenu* sub = MakeLazyMenu(&parent, QString::fromStdString(item.GetText()), item.GetSubMenu());
    parent.addMenu(sub)->setEnabled(item.IsEnabled());
}

bool Search(const Bar::Builder& builder, KeyCode key, BarItem* found, int depth)
{
    // A builder that nests itself must not hang the key lookup.
    if (!builder || depth > 16)
        return false;
    Bar bar;
    builder(bar);
    for (const BarItem& item : bar.Items()) {
        if (item.IsSeparator() || item.IsGap() || item.IsCtrl())
            continue;
        if (item.IsSubMenu()) {
            if (item.IsEnabled() && Search(item.GetSubMenu(), key, found, depth + 1))
                return true;
            continue;
        }
        if (item.GetKey() == key) {
            *found = item;
            return true;
        }
    }
    return false;
}

}  // namespace

std::string KeyDesc(KeyCode key)
{
    if (key == 0)
        return {};
    std::string text;
    if (key & K_CTRL)
        text += "Ctrl+";
    if (key & K_ALT)
        text += "Alt+";
    if (key & K_SHIFT)
        text += "Shift+";
    const KeyCode base = key & ~K_MODIFIERS;
    std::string name = BaseKeyName(base);
    if (name.empty()) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "#%X", unsigned(base));
        name = hex;
    }
    return text + name;
}

KeyCode KeyFromEvent(const QKeyEvent& event)
{
    const KeyCode base = BaseKeyFromQt(event.key());
    if (base == 0)
        return 0;
    KeyCode key = base;
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & Qt::ControlModifier)
        key |= K_CTRL;
    if (mods & Qt::AltModifier)
        key |= K_ALT;
    if ((mods & Qt::ShiftModifier) || event.key() == Qt::Key_Backtab)
        key |= K_SHIFT;
    return key;
}

BarItem& Bar::Add(std::string text, std::function<void()> action)
{
    BarItem& item = items_.emplace_back();
    item.text_ = std::move(text);
    item.action_ = std::move(action);
    return item;
}

BarItem& Bar::Add(bool enabled, std::string text, std::function<void()> action)
{
    return Add(std::move(text), std::move(action)).Enable(enabled);
}

void Bar::Separator()
{
    // Leading and doubled separators would only draw empty lines.
    if (items_.empty() || items_.back().separator_)
        return;
    items_.emplace_back().separator_ = true;
}

BarItem& Bar::Sub(std::string text, Builder builder)
{
    BarItem& item = items_.emplace_back();
    item.text_ = std::move(text);
    item.sub_ = std::move(builder);
    if (!item.sub_)
        item.sub_ = [](Bar&) {};
    return item;
}

void Bar::Gap(int width)
{
    if (width == 0 || width < kGapToEnd)
        return;
    items_.emplace_back().gap_ = width;
}

BarItem& Bar::AddCtrl(QWidget& ctrl, int width, int height)
{
    BarItem& item = items_.emplace_back();
    item.ctrl_ = &ctrl;
    item.ctrlWidth_ = width;
    item.ctrlHeight_ = height;
    return item;
}

BarItem& Bar::Sub(bool enabled, std::string text, Builder builder)
{
    return Sub(std::move(text), std::move(builder)).Enable(enabled);
}

void FillMenu(QMenu& menu, const Bar::Builder& builder)
{
    menu.clear();
    FillFromBar(menu, Built(builder));
}

void FillMenuBar(QMenuBar& menuBar, const Bar::Builder& builder)
{
    // A bar filled again (the language changed) drops the drop-downs it made before;
    // later, as one of them may be running the entry that asked for this.
    for (QAction* action : menuBar.actions())
        if (QMenu* menu = action->menu(); menu && menu->parent() == &menuBar)
            menu->deleteLater();
    menuBar.clear();
    const Bar bar = Built(builder);
    for (const BarItem& item : bar.Items()) {
        if (item.IsSeparator() || item.IsGap() || item.IsCtrl())
            continue;
        if (item.IsSubMenu()) {
            QMenu* sub = MakeLazyMenu(&menuBar, QString::fromStdString(item.GetText()), item.GetSubMenu());
            menuBar.addMenu(sub)->setEnabled(item.IsEnabled());
            continue;
        }
        QAction* action = menuBar.addAction(QString::fromStdString(item.GetText()));
        action->setEnabled(item.IsEnabled());
        if (item.GetAction())
            QObject::connect(action, &QAction::triggered, action, [run = item.GetAction()] { run(); });
    }
}

void PopUpMenu(const Bar::Builder& builder, const QPoint& globalPos)
{
    QMenu menu;
    FillMenu(menu, builder);
    if (menu.isEmpty())
        return;
    menu.exec(globalPos);
}

bool FindKey(const Bar::Builder& builder, KeyCode key, BarItem* found)
{
    if (key == 0)
        return false;
    BarItem scratch;
    return Search(builder, key, found ? found : &scratch, 0);
}

bool RunKey(const Bar::Builder& builder, KeyCode key)
{
    BarItem item;
    if (!FindKey(builder, key, &item) || !item.IsEnabled())
        return false;
    if (item.GetAction())
        item.GetAction()();
    return true;
}
