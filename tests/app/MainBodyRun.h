#pragma once

// Running the whole main body in a test: the user closing the window once it
// runs (after an optional look at it), prompts recorded and answered, and the
// library file read back without the program's own layer.

#include <QApplication>
#include <QTimer>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

#include "app/Player.h"
#include "support/TempDir.h"
#include "ui/Prompt.h"

// Closes the player as soon as its window runs, as the user would; `look`
// runs first, with the running window.
class CloseWhenRunning {
public:
    explicit CloseWhenRunning(std::function<void(Player&)> look = {}) : look_(std::move(look))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* player = dynamic_cast<Player*>(w); player && player->IsRunning() && !busy_) {
                    busy_ = true;
                    if (look_)
                        look_(*player);
                    ++closed;
                    player->Close();
                    busy_ = false;
                }
        });
        timer_.start(20);
    }
    int closed = 0;

private:
    std::function<void(Player&)> look_;
    QTimer timer_;
    bool busy_ = false;
};

// Records the prompts instead of showing them; questions get `answer`.
struct PromptLog {
    explicit PromptLog(PromptAnswer answer = {})
        : previousAnswer(SetPromptAnswer(std::move(answer)))
    {
    }
    ~PromptLog()
    {
        SetPromptHandler(previous);
        SetPromptAnswer(previousAnswer);
    }
    std::vector<PromptRequest> shown;
    PromptHandler previous = SetPromptHandler([this](const PromptRequest& r) { shown.push_back(r); });
    PromptAnswer previousAnswer;
};

// The rows of a query on the file at path, each row's cells joined by "|";
// the file is opened read-only and never created.
inline std::vector<std::string> ReadBack(const std::string& path, const char* query)
{
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, query, -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                std::string row;
                for (int i = 0; i < sqlite3_column_count(st); ++i) {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                    row += (i ? "|" : "") + std::string(text ? text : "<null>");
                }
                rows.push_back(row);
            }
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return rows;
}

inline std::vector<std::string> Tables(const std::string& path)
{
    return ReadBack(path, "select name from sqlite_master where type = 'table' order by name");
}

inline std::string Folder(const TempDir& dir)
{
    return dir.Path().string() + "/";
}

// The names a grid column shows, top to bottom.
inline std::vector<std::string> Shown(GridCtrl& grid, int column)
{
    std::vector<std::string> texts;
    for (int row = 0; row < grid.GetCount(); ++row)
        texts.push_back(grid.Get(row, column).ToString());
    return texts;
}
