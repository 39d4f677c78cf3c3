#include "app/Player.h"

// The menu bar and its drop-downs. The language is fixed at start-up, so its
// entries do nothing.

void Player::MainMenu(Bar& bar)
{
    bar.Sub("Files", [this](Bar& b) { FilesMenu(b); });
    bar.Sub("Language", [this](Bar& b) { LanguageMenu(b); });
}

void Player::FilesMenu(Bar& bar)
{
    PlaylistFiles& playlists = library.PlaylistCommands();
    bar.Add("Load", [&playlists] { playlists.Load(); });
    bar.Add("Save as", [&playlists] { playlists.SaveAs(); });
    bar.Separator();
    bar.Add("Import", [&playlists] { playlists.Import(); });
    bar.Add("Export", [&playlists] { playlists.Export(); });
    bar.Separator();
    bar.Add("Exit", [this] { Close(); });
}

void Player::LanguageMenu(Bar& bar)
{
    bar.Add("English");
    bar.Add("Polski");
}
