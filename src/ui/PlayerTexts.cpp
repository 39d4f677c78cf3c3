// The program's own texts and their translations.
#include "ui/PlayerTexts.h"

namespace {

constexpr uint32_t kId = kTranslationIdentifier;

const TranslationEntry kPlayerTexts[] = {
    // Menu bar.
    {kId, "Files"},
    {kPolishLanguage, "Pliki"},
    {kId, "Load"},
    {kPolishLanguage, "Wczytaj"},
    {kId, "Save as"},
    {kPolishLanguage, "Zapisz jako"},
    {kId, "Import"},
    {kPolishLanguage, "Importuj"},
    {kId, "Export"},
    {kPolishLanguage, "Eksportuj"},
    {kId, "Exit"},
    {kPolishLanguage, "Zakończ"},
    {kId, "Language"},
    {kPolishLanguage, "Język"},
    {kId, "Playback"},
    {kPolishLanguage, "Odtwarzanie"},
    // The loudness correction; ReplayGain is the name of the tags, left as it is.
    {kId, "ReplayGain: Off"},
    {kPolishLanguage, "ReplayGain: wyłączone"},
    {kId, "ReplayGain: Track"},
    {kPolishLanguage, "ReplayGain: według utworu"},
    {kId, "ReplayGain: Album"},
    {kPolishLanguage, "ReplayGain: według albumu"},
    {kId, "ReplayGain: Automatic"},
    {kPolishLanguage, "ReplayGain: automatycznie"},
    // Context menus of the grids. A bare "Insert" is the grid's own text, always
    // translated; the program's entry has a context of its own.
    {kId, "Add"},
    {kPolishLanguage, "Dodaj"},
    {kId, "Add folder"},
    {kPolishLanguage, "Dodaj folder"},
    {kId, "menu\vInsert"},
    {kPolishLanguage, "Wstaw"},
    {kId, "Insert folder"},
    {kPolishLanguage, "Wstaw folder"},
    {kId, "Change name"},
    {kPolishLanguage, "Zmień nazwę"},
    {kId, "Add files"},
    {kPolishLanguage, "Dodaj pliki"},
    {kId, "Insert files"},
    {kPolishLanguage, "Wstaw pliki"},
    // The window's controls and the grids' captions.
    {kId, "To tray"},
    {kPolishLanguage, "Schowaj"},
    {kId, "Position"},
    {kPolishLanguage, "Pozycja"},
    {kId, "Volume"},
    {kPolishLanguage, "Głośność"},
    {kId, "Playlists"},
    {kPolishLanguage, "Playlisty"},
    {kId, "Title"},
    {kPolishLanguage, "Tytuł"},
    {kId, "Artist"},
    {kPolishLanguage, "Wykonawca"},
    {kId, "Album"},
    {kPolishLanguage, "Album"},
    {kId, "Length"},
    {kPolishLanguage, "Długość"},
    // Selectors and prompts.
    {kId, "Select music file"},
    {kPolishLanguage, "Wybierz pliki muzyczne"},
    {kId, "Select music folder"},
    {kPolishLanguage, "Wybierz folder z muzyką"},
    {kId, "The language could not be saved in the library database; it stays chosen until the program ends."},
    {kPolishLanguage, "Nie udało się zapisać wyboru języka w bazie biblioteki; obowiązuje do zamknięcia programu."},
    {kId, "The ReplayGain choice could not be saved in the library database; it stays chosen until the program ends."},
    {kPolishLanguage, "Nie udało się zapisać ustawienia ReplayGain w bazie biblioteki; obowiązuje do zamknięcia programu."},
    {kId, "Music files"},
    {kPolishLanguage, "Pliki muzyczne"},
    {kId, "MP3 and MP2"},
    {kPolishLanguage, "MP3 i MP2"},
    {kId, "Ogg, Opus and Speex"},
    {kPolishLanguage, "Ogg, Opus i Speex"},
    {kId, "AAC and ALAC"},
    {kPolishLanguage, "AAC i ALAC"},
    {kId, "WAV and AIFF"},
    {kPolishLanguage, "WAV i AIFF"},
    {kId, "WMA and ASF"},
    {kPolishLanguage, "WMA i ASF"},
    {kId, "Other"},
    {kPolishLanguage, "Inne"},
    {kId, "All files"},
    {kPolishLanguage, "Wszystkie pliki"},
    {kId, "OK"},
    {kPolishLanguage, "OK"},
    // The notification-area icon's menu.
    {kId, "tray\vPlay/Pause"},
    {kPolishLanguage, "Odtwórz/Wstrzymaj"},
    {kId, "tray\vStop"},
    {kPolishLanguage, "Zatrzymaj"},
    {kId, "tray\vPrevious"},
    {kPolishLanguage, "Poprzedni"},
    {kId, "tray\vNext"},
    {kPolishLanguage, "Następny"},
    {kId, "tray\vShow"},
    {kPolishLanguage, "Pokaż okno"},
    {kId, "tray\vExit"},
    {kPolishLanguage, "Zakończ"},
    // Files from the command line, a drop or a playlist file.
    {kId, "Some entries were not added:"},
    {kPolishLanguage, "Nie dodano niektórych pozycji:"},
    {kId, "Some playlists were not exported:"},
    {kPolishLanguage, "Nie wyeksportowano niektórych playlist:"},
    {kId, "… and %d more."},
    {kPolishLanguage, "… i jeszcze %d."},
    {kId, "The player is already running on this library but does not answer.\n"},
    {kPolishLanguage, "Odtwarzacz jest już uruchomiony z tą biblioteką, ale nie odpowiada.\n"},
    // The grid's pop-up while rows are dragged. "wierszy: %d" reads right for any count.
    {kId, "Moving row %d before row %d"},
    {kPolishLanguage, "Przenoszenie wiersza %d przed wiersz %d"},
    {kId, "Moving selection (%d row) before row %d"},
    {kPolishLanguage, "Przenoszenie zaznaczenia (%d wiersz) przed wiersz %d"},
    {kId, "Moving selection (%d rows) before row %d"},
    {kPolishLanguage, "Przenoszenie zaznaczenia (wierszy: %d) przed wiersz %d"},
    {0, nullptr},
};

}  // namespace

const TranslationEntry* PlayerTexts() { return kPlayerTexts; }

// Registered before the main body runs, switched off; Translate.cpp names this
// flag so the table is linked in.
extern const bool kPlayerTextsRegistered;
const bool kPlayerTextsRegistered = RegisterTranslationModule(kPlayerTexts, false);
