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
