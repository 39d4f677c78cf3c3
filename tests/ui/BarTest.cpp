#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <gtest/gtest.h>

#include "ui/Bar.h"

TEST(BarKeys, DescribesModifiersInFixedOrderWithFullNames)
{
    EXPECT_EQ(KeyDesc(K_INSERT), "Insert");
    EXPECT_EQ(KeyDesc(K_CTRL | K_INSERT), "Ctrl+Insert");
    EXPECT_EQ(KeyDesc(K_ALT | K_INSERT), "Alt+Insert");
    EXPECT_EQ(KeyDesc(K_SHIFT | K_ALT | K_CTRL | K_INSERT), "Ctrl+Alt+Shift+Insert");
    EXPECT_EQ(KeyDesc(K_DELETE), "Delete");
    EXPECT_EQ(KeyDesc(K_CTRL | K_UP), "Ctrl+Up");
    EXPECT_EQ(KeyDesc(K_CTRL | K_KEY('a')), "Ctrl+A");
    EXPECT_EQ(KeyDesc(K_ENTER), "Enter");
    EXPECT_EQ(KeyDesc(K_F1 + 11), "F12");
    EXPECT_EQ(KeyDesc(0), "");
    // The codes the player's menus are written with.
    EXPECT_EQ(K_INSERT, 0x1002Du);
    EXPECT_EQ(K_CTRL | K_INSERT, 0x3002Du);
    EXPECT_EQ(K_ALT | K_INSERT, 0x9002Du);
    EXPECT_EQ(K_CTRL | K_ALT | K_INSERT, 0xB002Du);
}

TEST(BarKeys, ReadsKeyEvents)
{
    QKeyEvent ctrlAltInsert(QEvent::KeyPress, Qt::Key_Insert, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(KeyFromEvent(ctrlAltInsert), K_CTRL | K_ALT | K_INSERT);
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(KeyFromEvent(ctrlA), K_CTRL | K_KEY('A'));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(KeyFromEvent(enter), K_ENTER);
    QKeyEvent backTab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(KeyFromEvent(backTab), K_SHIFT | K_TAB);
    QKeyEvent shiftOnly(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(KeyFromEvent(shiftOnly), 0u);
}

namespace {

struct Recorder {
    std::vector<std::string> ran;
    Bar::Builder Builder(bool deleteEnabled)
    {
        return [this, deleteEnabled](Bar& bar) {
            bar.Add("Add", [this] { ran.push_back("Add"); }).Key(K_INSERT);
            bar.Separator();
            bar.Add(deleteEnabled, "Delete", [this] { ran.push_back("Delete"); }).Key(K_DELETE).Help("Delete it.");
            bar.Sub("More", [this](Bar& sub) {
                sub.Add("Deep", [this] { ran.push_back("Deep"); }).Key(K_CTRL | K_KEY('D'));
                sub.Add("Ticked", {}).Check(true);
            });
        };
    }
};

}  // namespace

TEST(BarLookup, RunsEnabledEntriesByKeyIncludingSubMenus)
{
    Recorder r;
    EXPECT_TRUE(RunKey(r.Builder(true), K_INSERT));
    EXPECT_TRUE(RunKey(r.Builder(true), K_DELETE));
    EXPECT_TRUE(RunKey(r.Builder(true), K_CTRL | K_KEY('D')));
    EXPECT_EQ(r.ran, (std::vector<std::string>{"Add", "Delete", "Deep"}));

    // A disabled entry is found but does not run; an unknown key finds nothing.
    BarItem found;
    EXPECT_TRUE(FindKey(r.Builder(false), K_DELETE, &found));
    EXPECT_FALSE(found.IsEnabled());
    EXPECT_EQ(found.GetHelp(), "Delete it.");
    EXPECT_FALSE(RunKey(r.Builder(false), K_DELETE));
    EXPECT_FALSE(RunKey(r.Builder(true), K_CTRL | K_DELETE));
    EXPECT_FALSE(RunKey({}, K_DELETE));
    EXPECT_EQ(r.ran.size(), 3u);
}

TEST(BarLookup, SelfNestingBuilderDoesNotHang)
{
    std::function<void(Bar&)> loop = [&loop](Bar& bar) { bar.Sub("Again", loop); };
    EXPECT_FALSE(RunKey(loop, K_DELETE));
}

TEST(BarMenu, FillsQtMenuWithKeysStatesAndLazySubMenus)
{
    Recorder r;
    QMenu menu;
    FillMenu(menu, r.Builder(false));
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "Add\tInsert");
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), "Delete\tDelete");
    EXPECT_FALSE(actions[2]->isEnabled());
    EXPECT_EQ(actions[2]->statusTip(), "Delete it.");
    // No Qt shortcut: the owner alone decides when keys run.
    EXPECT_TRUE(actions[0]->shortcut().isEmpty());

    actions[0]->trigger();
    EXPECT_EQ(r.ran, std::vector<std::string>{"Add"});

    QMenu* sub = actions[3]->menu();
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->actions().isEmpty());  // built when it opens
    emit sub->aboutToShow();
    ASSERT_EQ(sub->actions().size(), 2);
    EXPECT_EQ(sub->actions()[0]->text(), "Deep\tCtrl+D");
    EXPECT_TRUE(sub->actions()[1]->isChecked());
}

TEST(BarMenu, SkipsLeadingAndDoubledSeparators)
{
    Bar bar;
    bar.Separator();
    bar.Add("A");
    bar.Separator();
    bar.Separator();
    bar.Add("B");
    ASSERT_EQ(bar.Items().size(), 3u);
    EXPECT_TRUE(bar.Items()[1].IsSeparator());
}
