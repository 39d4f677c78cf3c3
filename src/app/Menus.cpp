#include "app/Player.h"

// The menu bar and its drop-downs. Only "Exit" does something: there is no
// playlist file format to load, save, import or export, and the language is
// fixed at start-up.

void Player::MainMenu(Bar& bar)
{
    bar.Sub("Files", [this](Bar& b) { FilesMenu(b); });
    bar.Sub("Language", [this](Bar& b) { LanguageMenu(b); });
}

void Player::FilesMenu(Bar& bar)
{
    bar.Add("Load");
    bar.Add("Save as");
    bar.Separator();
    bar.Add("Import");
    bar.Add("Export");
    bar.Separator();
    bar.Add("Exit", [this] { Close(); });
}

void Player::LanguageMenu(Bar& bar)
{
    bar.Add("English");
    bar.Add("Polski");
}
