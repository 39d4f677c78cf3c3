#include "app/Language.h"
#include "app/Player.h"
#include "app/ReplayGainChoice.h"
#include "data/Sql.h"
#include "ui/Prompt.h"
#include "ui/Translate.h"

// The menu bar and its drop-downs. Texts are looked up each time a menu is
// built, so the drop-downs follow the language; the bar's own entries are
// rebuilt when the language changes (Player::Retranslate).

void Player::MainMenu(Bar& bar)
{
    bar.Sub(Translate("Files"), [this](Bar& b) { FilesMenu(b); });
    bar.Sub(Translate("Playback"), [this](Bar& b) { PlaybackMenu(b); });
    bar.Sub(Translate("Language"), [this](Bar& b) { LanguageMenu(b); });
}

void Player::FilesMenu(Bar& bar)
{
    PlaylistFiles& playlists = library.PlaylistCommands();
    bar.Add(Translate("Load"), [&playlists] { playlists.Load(); });
    bar.Add(Translate("Save as"), [&playlists] { playlists.SaveAs(); });
    bar.Separator();
    bar.Add(Translate("Import"), [&playlists] { playlists.Import(); });
    bar.Add(Translate("Export"), [&playlists] { playlists.Export(); });
    bar.Separator();
    bar.Add(Translate("Exit"), [this] { Close(); });
}

void Player::LanguageMenu(Bar& bar)
{
    // Each language is named in itself, so a user who cannot read the current one
    // still finds their own. The chosen one is checked; before any choice neither is.
    const LanguageChoice chosen = CurrentLanguageChoice();
    auto entry = [&](const char* name, LanguageChoice choice) {
        BarItem& item = bar.Add(name, [this, choice] { ChooseLanguage(choice); });
        if (chosen != LanguageChoice::None)
            item.Check(chosen == choice);
    };
    entry("English", LanguageChoice::English);
    entry("Polski", LanguageChoice::Polish);
}

void Player::ChooseLanguage(LanguageChoice choice)
{
    SwitchLanguage(choice);
    SqlSession* session = SQL.GetSession();
    if (!session || !StoreLanguageChoice(*session, choice))
        Exclamation(Translate("The language could not be saved in the library database; "
                              "it stays chosen until the program ends."));
}

void Player::PlaybackMenu(Bar& bar)
{
    const ReplayGainMode chosen = playback.GetReplayGainMode();
    auto entry = [&](const char* text, ReplayGainMode mode) {
        bar.Add(Translate(text), [this, mode] { ChooseReplayGain(mode); }).Radio(chosen == mode);
    };
    entry("ReplayGain: Off", ReplayGainMode::Off);
    entry("ReplayGain: Track", ReplayGainMode::Track);
    entry("ReplayGain: Album", ReplayGainMode::Album);
    entry("ReplayGain: Automatic", ReplayGainMode::Automatic);
}

void Player::ChooseReplayGain(ReplayGainMode mode)
{
    playback.SetReplayGainMode(mode);
    SqlSession* session = SQL.GetSession();
    if (!session || !StoreReplayGainMode(*session, mode))
        Exclamation(Translate("The ReplayGain choice could not be saved in the library database; "
                              "it stays chosen until the program ends."));
}
