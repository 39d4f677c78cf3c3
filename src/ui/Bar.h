#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

class QImage;
class QMenu;
class QMenuBar;
class QPoint;
class QKeyEvent;
class QWidget;

// Key codes: a virtual-key number plus K_DELTA, with K_CTRL, K_SHIFT and K_ALT
// added for the modifiers. Enter, Esc, Tab and Backspace are plain characters.
using KeyCode = uint32_t;

inline constexpr KeyCode K_DELTA = 0x10000;
inline constexpr KeyCode K_CTRL = 0x20000;
inline constexpr KeyCode K_SHIFT = 0x40000;
inline constexpr KeyCode K_ALT = 0x80000;
inline constexpr KeyCode K_MODIFIERS = K_CTRL | K_SHIFT | K_ALT;

inline constexpr KeyCode K_BACKSPACE = 0x08;
inline constexpr KeyCode K_TAB = 0x09;
inline constexpr KeyCode K_ENTER = 0x0D;
inline constexpr KeyCode K_ESCAPE = 0x1B;
inline constexpr KeyCode K_SPACE = 0x20;

inline constexpr KeyCode K_PAGEUP = K_DELTA + 0x21;
inline constexpr KeyCode K_PAGEDOWN = K_DELTA + 0x22;
inline constexpr KeyCode K_END = K_DELTA + 0x23;
inline constexpr KeyCode K_HOME = K_DELTA + 0x24;
inline constexpr KeyCode K_LEFT = K_DELTA + 0x25;
inline constexpr KeyCode K_UP = K_DELTA + 0x26;
inline constexpr KeyCode K_RIGHT = K_DELTA + 0x27;
inline constexpr KeyCode K_DOWN = K_DELTA + 0x28;
inline constexpr KeyCode K_INSERT = K_DELTA + 0x2D;
inline constexpr KeyCode K_DELETE = K_DELTA + 0x2E;
inline constexpr KeyCode K_F1 = K_DELTA + 0x70;  // F1..F12 follow in order

// A letter or digit key: K_KEY('A'), K_KEY('7').
constexpr KeyCode K_KEY(char c) { return K_DELTA + KeyCode(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); }

// "Ctrl+Alt+Shift+Insert": modifiers in that order, full key names. Empty for 0.
std::string KeyDesc(KeyCode key);

// The code of a key press, 0 for keys that have none (lone modifiers, unknown keys).
KeyCode KeyFromEvent(const QKeyEvent& event);

// One menu entry as a builder adds it. The setters return the entry so that
// they chain: bar.Add("Delete", action).Key(K_DELETE).Enable(n > 1).Help(...).
class BarItem {
public:
    BarItem& Key(KeyCode key) { key_ = key; return *this; }
    BarItem& Enable(bool enabled = true) { enabled_ = enabled; return *this; }
    BarItem& Check(bool checked) { checkable_ = true; checked_ = checked; return *this; }
    // One of a choice: neighbouring radio entries show as a group of which one is marked.
    BarItem& Radio(bool checked) { radio_ = true; return Check(checked); }
    BarItem& Help(std::string text) { help_ = std::move(text); return *this; }
    // Shown when the pointer rests on a menu entry, also a disabled one: why it is off.
    BarItem& Tip(std::string text) { tip_ = std::move(text); return *this; }
    // A toolbar shows the image with the text as its tooltip; menus ignore the image.
    // The image must outlive the bar (named images live for the whole run).
    BarItem& Image(const QImage& image) { image_ = &image; return *this; }

    const std::string& GetText() const { return text_; }
    KeyCode GetKey() const { return key_; }
    bool IsEnabled() const { return enabled_; }
    bool IsCheckable() const { return checkable_; }
    bool IsChecked() const { return checked_; }
    bool IsRadio() const { return radio_; }
    const std::string& GetHelp() const { return help_; }
    const std::string& GetTip() const { return tip_; }
    bool IsSeparator() const { return separator_; }
    bool IsSubMenu() const { return bool(sub_); }
    const QImage* GetImage() const { return image_; }
    // Toolbar-only entries: empty space and embedded controls. Menus skip them.
    bool IsGap() const { return gap_ != 0; }
    // The gap's width in pixels, or kGapToEnd for one that pushes the rest to the far end.
    int GetGapWidth() const { return gap_; }
    bool IsCtrl() const { return ctrl_ != nullptr; }
    QWidget* GetCtrl() const { return ctrl_; }
    int GetCtrlWidth() const { return ctrlWidth_; }
    int GetCtrlHeight() const { return ctrlHeight_; }
    const std::function<void()>& GetAction() const { return action_; }
    const std::function<void(class Bar&)>& GetSubMenu() const { return sub_; }

private:
    friend class Bar;
    std::string text_;
    std::string tip_;
    KeyCode key_ = 0;
    bool enabled_ = true;
    bool checkable_ = false;
    bool checked_ = false;
    bool radio_ = false;
    bool separator_ = false;
    int gap_ = 0;
    QWidget* ctrl_ = nullptr;
    int ctrlWidth_ = 0;
    int ctrlHeight_ = 0;
    const QImage* image_ = nullptr;
    std::string help_;
    std::function<void()> action_;
    std::function<void(Bar&)> sub_;
};

// A menu being built. Builders only add to it; what happens with the entries
// (a pop-up menu, a menu bar, a key lookup) is decided by whoever runs them.
class Bar {
public:
    using Builder = std::function<void(Bar&)>;
    static constexpr int kGapToEnd = -1;

    BarItem& Add(std::string text, std::function<void()> action = {});
    BarItem& Add(bool enabled, std::string text, std::function<void()> action = {});
    void Separator();
    // A sub-menu whose entries the builder adds each time it is shown or searched.
    BarItem& Sub(std::string text, Builder builder);
    BarItem& Sub(bool enabled, std::string text, Builder builder);
    // Toolbar space: a fixed gap, or (kGapToEnd) one that takes all the room left over.
    void Gap(int width);
    void GapToEnd() { Gap(kGapToEnd); }
    // A control placed in a toolbar at a fixed size; the caller keeps owning it.
    BarItem& AddCtrl(QWidget& ctrl, int width, int height);

    const std::deque<BarItem>& Items() const { return items_; }
    bool IsEmpty() const { return items_.empty(); }

private:
    std::deque<BarItem> items_;  // deque: references to added entries stay valid
};

// Builds a Qt pop-up menu from a builder; sub-menus are rebuilt each time they open.
void FillMenu(QMenu& menu, const Bar::Builder& builder);
// Fills a menu bar once; each top-level sub-menu is rebuilt every time it opens.
void FillMenuBar(QMenuBar& menuBar, const Bar::Builder& builder);
// Builds a pop-up menu and runs it at the given global position until it closes.
void PopUpMenu(const Bar::Builder& builder, const QPoint& globalPos);

// Runs the builder (and its sub-menus') and looks for an entry carrying the key.
// When one is found and enabled its action runs and the result is true.
bool RunKey(const Bar::Builder& builder, KeyCode key);
// The entry carrying the key, copied out of a fresh build; none when absent.
bool FindKey(const Bar::Builder& builder, KeyCode key, BarItem* found);
