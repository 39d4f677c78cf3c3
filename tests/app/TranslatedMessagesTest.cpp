// With "Polski" picked, every message, question, button and selector title the
// program shows on its failure paths is Polish. Each case drives one path as the
// user would; a text someone forgot to translate shows up as English words.

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "PlayerFixture.h"
#include "app/Language.h"
#include "library/LibraryGrids.h"
#include "library/MusicFixtures.h"
#include "playback/TrackColumns.h"
#include "support/OtherConnection.h"

namespace fs = std::filesystem;

namespace {

// Words of English sentences that none of the Polish texts uses.
const std::set<std::string> kEnglishWords = {
    "the",  "could", "not",  "is",    "was",    "cannot", "be",      "and",     "or",    "has",   "are",
    "it",   "files", "library", "playlists", "entries", "track", "quit",
    "retry", "yes",  "no",   "replace", "start",  "new",   "error",  "found",   "some",  "added", "must",
};

// The English words of a text, empty for a Polish one.
std::string EnglishWordsIn(const std::string& text)
{
    std::string found, word;
    for (size_t i = 0; i <= text.size(); ++i) {
        const auto c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
        if (std::isalpha(c) || c >= 0x80) {  // a Polish letter is part of its word
            word += static_cast<char>(std::tolower(c));
            continue;
        }
        if (kEnglishWords.count(word))
            found += " " + word;
        word.clear();
    }
    return found;
}

class TranslatedMessagesTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        session.SetBusyTimeout(50);
        SetLanguageChoice(LanguageChoice::Polish);
        previousAnswer = SetPromptAnswer([](const PromptRequest& request) {
            return static_cast<int>(request.buttons.size()) - 1;  // the last button: No, Quit, Yes to all
        });
    }
    void TearDown() override
    {
        SetPromptAnswer(previousAnswer);
        other.Close();
        SetLanguageChoice(LanguageChoice::None);
        PlayerTest::TearDown();
    }

    // The English words of a shown text, leaving out the test folder's random name.
    std::string English(std::string text) const
    {
        const std::string folder = dir.Path().string();
        for (size_t at = text.find(folder); at != std::string::npos; at = text.find(folder))
            text.erase(at, folder.size());
        return EnglishWordsIn(text);
    }

    // The Files menu's entry at `index` (0 Load, 1 Save as, 3 Import, 4 Export).
    static void ChooseFiles(Player& player, size_t index)
    {
        Bar files;
        player.FilesMenu(files);
        ASSERT_LT(index, files.Items().size());
        files.Items()[index].GetAction()();
    }

    using Paths = std::vector<std::string>;

    std::string Write(const std::string& name, const std::string& text)
    {
        const fs::path path = dir.Path() / "lists" / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    OtherConnection other{dir.File("QuillonPlayer.db3")};
    PromptAnswer previousAnswer;
};

struct MessageCase {
    const char* name;
    std::function<void(Player&)> act;
};

}  // namespace

TEST_F(TranslatedMessagesTest, EveryFailurePathSpeaksPolish)
{
    using music_fixtures::MakeMp3;
    const std::vector<MessageCase> cases = {
        {"locked library: new playlist, deleted tracks",
         [this](Player& player) {
             player.AddTrack(true, MakeMp3(dir.Path() / "m" / "a.mp3", "Alpha"));
             player.AddTrack(true, MakeMp3(dir.Path() / "m" / "b.mp3", "Beta"));
             other.Run("BEGIN EXCLUSIVE");
             player.ListGrid.DoAppend();
             player.NameEditor.setText("Jazz");
             player.ListGrid.AcceptEdit();
             player.ListGrid.SetCursor(0);
             GridCtrl& tracks = player.CurrentTrackList();
             tracks.SetCursor(0);
             tracks.DoRemove();
             tracks.SelectAll();
             tracks.DoRemove();
             other.Run("COMMIT");
         }},
        {"a track that cannot be opened",
         [this](Player& player) { player.AddTrack(true, dir.File("missing.mp3")); }},
        {"load: empty, foreign and half-broken playlists",
         [this](Player& player) {
             Answer(Paths{Write("empty.m3u", ""), Write("foreign.xspf", "<playlist xmlns=\"urn:other\"/>"),
                       Write("broken.pls", "[playlist]\nFile1=gone.mp3\nFile4=x.mp3\nNumberOfEntries=3\n"),
                       Write("odd.m3u8", "http://radio/stream.mp3\n.\nlists.txt\n")});
             ChooseFiles(player, 0);
         }},
        {"save as: over an existing file, then onto a folder",
         [this](Player& player) {
             Write("kept.m3u8", "#EXTM3U\n");
             Answer(Paths{(dir.Path() / "lists" / "kept").string()});
             ChooseFiles(player, 1);
             fs::create_directories(dir.Path() / "lists" / "taken.m3u8");
             Answer(Paths{(dir.Path() / "lists" / "taken.m3u8").string()});
             ChooseFiles(player, 1);
         }},
        {"import: a folder without playlists",
         [this](Player& player) {
             fs::create_directories(dir.Path() / "nothing");
             Answer(Paths{(dir.Path() / "nothing").string()});
             ChooseFiles(player, 3);
         }},
        {"export: over an existing file",
         [this](Player& player) {
             fs::create_directories(dir.Path() / "out" / "Playlista 1.m3u8");  // a folder takes the name
             Answer(Paths{(dir.Path() / "out").string()});
             ChooseFiles(player, 4);
         }},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.name);
        promptRequests.clear();
        requests.clear();
        {
            Player player;
            c.act(player);
        }
        EXPECT_FALSE(promptRequests.empty()) << "the case showed no message";
        for (const PromptRequest& request : promptRequests) {
            EXPECT_EQ(English(request.text), "") << request.text;
            EXPECT_EQ(EnglishWordsIn(request.title), "") << request.title;
            for (const std::string& button : request.buttons)
                EXPECT_EQ(EnglishWordsIn(button), "") << button;
        }
        for (const FileSelectRequest& selector : requests) {
            EXPECT_EQ(EnglishWordsIn(selector.title), "") << selector.title;
            for (const auto& type : selector.types)
                EXPECT_EQ(EnglishWordsIn(type.first), "") << type.first;
        }
    }
}

TEST_F(TranslatedMessagesTest, PiecesOfAMessageAreTranslatedWhereTheyAreShown)
{
    // The cause comes from the data layer and the reasons from the playlist
    // reader, both in English; the message puts them together in Polish.
    {
        Player player;
        other.Run("BEGIN EXCLUSIVE");
        player.ListGrid.DoAppend();
        player.NameEditor.setText("Jazz");
        player.ListGrid.AcceptEdit();
        other.Run("COMMIT");
    }
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Nie udało się utworzyć playlisty \"Jazz\": biblioteka jest zablokowana przez inny program.");

    prompts.clear();
    {
        Player player;
        Answer(Paths{Write("two.pls", "[playlist]\nFile1=gone.mp3\nFile4=x.mp3\nNumberOfEntries=3\n"),
                Write("none.m3u", "")});
        ChooseFiles(player, 0);
    }
    ASSERT_EQ(prompts.size(), 1u);
    const std::string none = (dir.Path() / "lists" / "none.m3u").string();
    EXPECT_EQ(prompts[0], "Nie dodano niektórych pozycji:\n"
                          "two.pls: x.mp3 — File4 wykracza poza NumberOfEntries=3\n"
                          "two.pls: gone.mp3 — nie znaleziono pliku\n"
                          "Nie można odczytać playlisty " + none + ": plik jest pusty.");
}
