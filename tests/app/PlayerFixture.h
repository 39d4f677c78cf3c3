#pragma once

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "app/Player.h"
#include "support/LibraryFixture.h"

// The window over a library database in a temporary folder, bound to the
// default cursor, as the program has it when the window is built.
class PlayerTest : public LibraryFixture {
protected:
    // Runs the window, does `during` once its loop runs, and returns the run's
    // code; a fault that leaves the window open ends the run with -1.
    static int RunWhile(Player& player, std::function<void()> during)
    {
        QTimer::singleShot(0, &player, during);
        QTimer::singleShot(3000, &player, [&player] { player.Break(-1); });
        return player.Run();
    }

    // Sets what a record keeps of the window: placed 100 x 60 over its minimum
    // size, the splitter at 3500, volume 25 and "/music" as the folder selector's folder.
    static void Arrange(Player& player)
    {
        player.show();
        player.setGeometry(30, 40, player.width() + 100, player.height() + 60);
        player.splitter.SetPos(3500);
        player.Engine().SetVolume(25.0f);
        player.Folders().ActiveDir("/music");
    }
    // Checks that a window loaded from a record of Arrange() shows all of it.
    static void ExpectArranged(Player& loaded)
    {
        EXPECT_EQ(loaded.splitter.GetPos(), 3500);
        EXPECT_NEAR(loaded.Engine().GetVolume(), 25.0f, 0.01);
        EXPECT_NEAR(loaded.volume.Get(), 25.0f, 0.01);
        EXPECT_EQ(loaded.Folders().GetActiveDir(), "/music");
        loaded.show();
        EXPECT_EQ(loaded.geometry().size(), QSize(loaded.minimumWidth() + 100, loaded.minimumHeight() + 60));
    }

    static std::string Record(Player& player)
    {
        Stream s = Stream::ForStoring();
        player.Serialize(s);
        return s.Data();
    }

    // One text block of a record, as the serialisation writes it.
    static std::string Block(String text)
    {
        Stream s = Stream::ForStoring();
        s % text;
        return s.Data();
    }
};
