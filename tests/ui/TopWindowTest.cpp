#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui/TopWindow.h"

namespace {

// Runs the window, does `during` once its loop is running, and returns the run's code.
// A fallback timer ends a run that `during` failed to end, so a fault cannot hang the test.
int RunWhile(TopWindow& w, std::function<void()> during)
{
    QTimer::singleShot(0, &w, during);
    QTimer::singleShot(2000, &w, [&w] { w.Break(-1); });
    return w.Run();
}

struct WindowWithCancel : TopWindow {
    QPushButton* cancel = new QPushButton("Exit", &Client());
    QLineEdit* edit = new QLineEdit(&Client());
    WindowWithCancel()
    {
        CancelButton(cancel);
        resize(300, 200);
    }
};

} // namespace

TEST(TopWindow, EveryWayOfClosingEndsTheRunWithCancel)
{
    WindowWithCancel w;
    EXPECT_EQ(RunWhile(w, [&] { w.cancel->click(); }), TopWindow::IDCANCEL);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(RunWhile(w, [&] { QTest::keyClick(&w, Qt::Key_Escape); }), TopWindow::IDCANCEL);
    EXPECT_EQ(RunWhile(w, [&] { w.Close(); }), TopWindow::IDCANCEL);
    EXPECT_EQ(RunWhile(w, [&] { w.close(); }), TopWindow::IDCANCEL);  // the close box
    EXPECT_FALSE(w.IsRunning());
}

TEST(TopWindow, EscapeFromAFocusedControlThatIgnoresItClosesButEnterDoesNot)
{
    WindowWithCancel w;
    int code = RunWhile(w, [&] {
        w.edit->setFocus();
        QTest::keyClick(w.edit, Qt::Key_Return);
        QTest::keyClick(w.cancel, Qt::Key_Enter);
        QTimer::singleShot(50, &w, [&] { w.Break(TopWindow::IDOK); });
    });
    EXPECT_EQ(code, TopWindow::IDOK);
    code = RunWhile(w, [&] { QTest::keyClick(w.edit, Qt::Key_Escape); });
    EXPECT_EQ(code, TopWindow::IDCANCEL);
}

TEST(TopWindow, MenuBarTakesItsHeightFromTheClientArea)
{
    TopWindow w;
    w.MinSize(QSize(200, 150));
    w.resize(200, 150);
    w.show();  // a hidden window is laid out only when it is shown
    EXPECT_EQ(w.Client().height(), 150);
    auto* bar = new QMenuBar;
    bar->addMenu("Files");
    w.AddMenuBar(bar);
    EXPECT_EQ(w.minimumSize(), QSize(200, 150));
    EXPECT_GT(bar->height(), 0);
    EXPECT_EQ(w.Client().y(), bar->height());
    EXPECT_EQ(w.Client().height(), 150 - bar->height());
    EXPECT_EQ(w.Client().width(), 200);
}

TEST(TopWindow, PlacementRoundTripsAndRejectsImpossibleRectangles)
{
    TopWindow a;
    a.setGeometry(40, 50, 320, 240);
    Stream out = Stream::ForStoring();
    a.SerializePlacement(out);

    TopWindow b;
    b.resize(100, 100);
    Stream in = Stream::ForLoading(out.Data());
    b.SerializePlacement(in);
    EXPECT_FALSE(in.IsError());
    EXPECT_EQ(b.geometry(), QRect(40, 50, 320, 240));

    Stream bad = Stream::ForStoring();
    int32_t x = 0, y = 0, width = -5, height = 100;
    bool maximized = false;
    bad % x % y % width % height % maximized;
    Stream badIn = Stream::ForLoading(bad.Data());
    b.SerializePlacement(badIn);
    EXPECT_TRUE(badIn.IsError());
    EXPECT_EQ(b.geometry().size(), QSize(320, 240));
}

TEST(TopWindow, OffScreenPlacementKeepsOnlyTheSize)
{
    TopWindow a;
    a.setGeometry(40, 50, 320, 240);
    Stream out = Stream::ForStoring();
    int32_t x = 500000, y = 500000, width = 330, height = 250;
    bool maximized = false;
    out % x % y % width % height % maximized;
    Stream in = Stream::ForLoading(out.Data());
    a.SerializePlacement(in);
    EXPECT_FALSE(in.IsError());
    EXPECT_EQ(a.size(), QSize(330, 250));
    EXPECT_LT(a.x(), 100000);
}
