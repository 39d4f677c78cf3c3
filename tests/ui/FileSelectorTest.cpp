#include <gtest/gtest.h>

#include "ui/FileSelector.h"

namespace {

// Installs a handler for the test's lifetime and records what it was asked.
struct ScriptedSelector {
    std::vector<FileSelectRequest> asked;
    FileSelectAnswer answer;
    int chooseType = -1;
    FileSelectHandler previous;

    ScriptedSelector()
    {
        previous = SetFileSelectHandler([this](FileSelectRequest& r) {
            asked.push_back(r);
            if (chooseType >= 0)
                r.activeType = chooseType;
            return answer;
        });
    }
    ~ScriptedSelector() { SetFileSelectHandler(previous); }
};

// A selector's state as the configuration stores it.
template <class Selector>
std::string Record(Selector& selector)
{
    Stream out = Stream::ForStoring();
    selector.Serialize(out);
    return out.Data();
}

// Loads a stored state into a selector; false when the selector refuses it.
template <class Selector>
bool Load(Selector& selector, const std::string& record)
{
    Stream in = Stream::ForLoading(record);
    selector.Serialize(in);
    return !in.IsError();
}

} // namespace

TEST(FileSelector, RunsWithItsSettingsAndRemembersTheFolderAndType)
{
    ScriptedSelector script;
    FileSelector files;
    files.Type("Music (*.mp3 *.ogg)", "*.mp3 *.ogg").Type("All", "*").Multi();
    files.ActiveDir("/start");
    script.answer = std::vector<String>{"/music/a b/x.mp3", "/music/a b/y.ogg"};
    script.chooseType = 1;

    ASSERT_TRUE(files.ExecuteOpen("Select music file"));
    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0].kind, FileSelectRequest::OpenFiles);
    EXPECT_EQ(script.asked[0].title, "Select music file");
    EXPECT_EQ(script.asked[0].folder, "/start");
    EXPECT_TRUE(script.asked[0].multi);
    EXPECT_EQ(script.asked[0].types.size(), 2u);
    EXPECT_EQ(files.GetCount(), 2);
    EXPECT_EQ(files[1], "/music/a b/y.ogg");
    EXPECT_EQ(files.GetActiveDir(), "/music/a b");
    EXPECT_EQ(files.GetActiveType(), 1);

    const std::string record = Record(files);
    FileSelector restored;
    restored.Type("Music (*.mp3 *.ogg)", "*.mp3 *.ogg").Type("All", "*");
    EXPECT_TRUE(Load(restored, record));
    EXPECT_EQ(restored.GetActiveDir(), "/music/a b");
    EXPECT_EQ(restored.GetActiveType(), 1);

    // A selector with fewer types rejects the stored type and keeps its state.
    FileSelector narrow;
    narrow.Type("Music", "*.mp3");
    EXPECT_FALSE(Load(narrow, record));
    EXPECT_EQ(narrow.GetActiveDir(), "");
}

TEST(FileSelector, CancelChangesNothing)
{
    ScriptedSelector script;
    FileSelector files;
    files.ActiveDir("/kept");
    script.answer = std::vector<String>{"/a/one.mp3"};
    ASSERT_TRUE(files.ExecuteOpen("t"));
    script.answer = std::nullopt;
    EXPECT_FALSE(files.ExecuteOpen("t"));
    EXPECT_EQ(files.GetCount(), 1);
    EXPECT_EQ(files.GetActiveDir(), "/a");

    FolderSelector folders;
    folders.ActiveDir("/kept");
    EXPECT_FALSE(folders.ExecuteSelectDir("Select music folder"));
    EXPECT_EQ(folders.GetActiveDir(), "/kept");
    EXPECT_EQ(folders.GetCount(), 0);
}

TEST(FolderSelector, ChoosesAFolderAndRemembersIt)
{
    ScriptedSelector script;
    FolderSelector folders;
    folders.Multi();
    script.answer = std::vector<String>{"/music/Zażółć"};
    ASSERT_TRUE(folders.ExecuteSelectDir("Select music folder"));
    EXPECT_EQ(script.asked.at(0).kind, FileSelectRequest::SelectFolder);
    EXPECT_EQ(folders[0], "/music/Zażółć");

    const std::string record = Record(folders);
    FolderSelector restored;
    EXPECT_TRUE(Load(restored, record));
    EXPECT_EQ(restored.GetActiveDir(), "/music/Zażółć");
    FolderSelector untouched;
    EXPECT_FALSE(Load(untouched, record.substr(0, 6)));
    EXPECT_EQ(untouched.GetActiveDir(), "");
}

TEST(FileSelector, SavingAsksForOneFileOfTheTypesAndRemembersWhereAndWhich)
{
    ScriptedSelector script;
    FileSelector files;
    files.Type("Old", "*.old").Multi();
    files.Types({{"Playlists", "*.m3u8 *.pls"}, {"All files", "*"}});
    script.answer = std::vector<String>{"/lists/mine.pls"};
    script.chooseType = 1;
    ASSERT_TRUE(files.ExecuteSave("Save playlist"));
    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0].kind, FileSelectRequest::SaveFile);
    EXPECT_FALSE(script.asked[0].multi);
    ASSERT_EQ(script.asked[0].types.size(), 2u);
    EXPECT_EQ(script.asked[0].types[0].first, "Playlists");
    EXPECT_EQ(files[0], "/lists/mine.pls");
    EXPECT_EQ(files.GetActiveDir(), "/lists");
    EXPECT_EQ(files.GetActiveType(), 1);

    // A shorter list of types drops a chosen type it does not have.
    files.Types({{"Music files", "*.mp3"}});
    EXPECT_EQ(files.GetActiveType(), 0);
}
