#include "library/PlaylistFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "library/Library.h"
#include "library/LibraryGrids.h"
#include "library/MusicFiles.h"
#include "library/SkippedSummary.h"
#include "playback/TrackColumns.h"
#include "playlists/Playlist.h"
#include "ui/GridCtrl.h"
#include "ui/Prompt.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxFileNameBytes = 200;

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string CutUtf8(std::string text, size_t limit)
{
    if (text.size() <= limit)
        return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.erase(end);
    return text;
}

std::string CellText(GridCtrl& grid, int row, int column)
{
    const Value& cell = grid.Get(row, column);
    return cell.IsNull() ? std::string() : cell.ToString();
}

// The rows of a track grid in display order, as a playlist file holds them.
std::vector<PlaylistEntry> EntriesOf(GridCtrl& tracks)
{
    std::vector<PlaylistEntry> entries;
    for (int row = 0; row < tracks.GetCount(); ++row) {
        PlaylistEntry entry;
        entry.path = CellText(tracks, row, TRACK_FILE);
        if (entry.path.empty())
            continue;
        entry.title = CellText(tracks, row, TRACK_TITLE);
        entry.artist = CellText(tracks, row, TRACK_ARTIST);
        entry.album = CellText(tracks, row, TRACK_ALBUM);
        const Value& length = tracks.Get(row, TRACK_LENGTH);
        entry.lengthMs = length.IsNull() ? -1 : length.ToInt64();
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool Exists(const std::string& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// The playlist files directly in a folder, by name.
std::vector<String> PlaylistFilesIn(const String& folder, std::string* error)
{
    std::vector<String> files;
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && PlaylistFormatOf(it->path().string()) != PlaylistFormat::Unknown)
            files.push_back(it->path().string());
    }
    if (code)
        *error = Fill(Translate("The folder %s cannot be read: %s."), {folder, code.message()});
    std::sort(files.begin(), files.end());
    return files;
}

// 0 replaces, 1 keeps the file; with `forAll`, 2 replaces this and every later one.
int AskReplace(const std::string& path, bool forAll)
{
    std::vector<std::string> buttons = {Translate("Yes"), Translate("No")};
    if (forAll)
        buttons.push_back(Translate("Yes to all"));
    return Question(Fill(Translate("The file %s already exists. Replace it?"), {path}), buttons, 1);
}

}  // namespace

String ExportFileName(const String& playlistName, std::vector<String>& taken)
{
    String name;
    for (char c : TrimBoth(playlistName)) {
        const auto byte = static_cast<unsigned char>(c);
        name += byte < 0x20 || byte == 0x7F || c == '/' || c == '\\' ? '_' : c;
    }
    name = CutUtf8(name, kMaxFileNameBytes);
    if (name.find_first_not_of('.') == String::npos)  // empty, "." or ".."
        name = "Playlist";
    String unique = name;
    for (int n = 2; std::find(taken.begin(), taken.end(), Lower(unique)) != taken.end(); ++n)
        unique = name + " (" + std::to_string(n) + ")";
    taken.push_back(Lower(unique));
    return unique;
}

PlaylistFiles::PlaylistFiles(Library& library) : library_(library)
{
    loadSelector_.Types(PlaylistFileTypes());
    loadSelector_.Multi();
    saveSelector_.Types(PlaylistFileTypes());
}

void PlaylistFiles::Load()
{
    if (loadSelector_.ExecuteOpen(Translate("Load playlists")))
        LoadFiles(loadSelector_.Get());
}

void PlaylistFiles::Import()
{
    if (!importSelector_.ExecuteSelectDir(Translate("Import playlists from folder")))
        return;
    const String folder = importSelector_[0];
    std::string error;
    const std::vector<String> files = PlaylistFilesIn(folder, &error);
    if (!error.empty())
        Exclamation(error);
    else if (files.empty())
        Exclamation(Fill(Translate("The folder %s holds no playlist file (.m3u, .m3u8, .pls or .xspf)."), {folder}));
    else
        LoadFiles(files);
}

void PlaylistFiles::LoadFiles(const std::vector<String>& files)
{
    SkippedSummary skipped;
    for (const String& file : files) {
        const PlaylistFile playlist = ReadPlaylist(file, [](const std::string& path) { return IsMusicFile(path); });
        if (!playlist.ok) {
            skipped.Add(TranslateShown(playlist.error));
            continue;
        }
        // A refusal is told once; the files after it would only be refused again.
        if (!library_.AppendList(FileTitle(file)))
            break;
        for (const PlaylistProblem& problem : playlist.problems)
            skipped.AddEntry(PathLastComponent(file), problem.entry, problem.reason);

        std::vector<String> paths;
        paths.reserve(playlist.entries.size());
        for (const PlaylistEntry& entry : playlist.entries)
            paths.push_back(entry.path);
        if (!paths.empty())
            library_.AddPaths(paths, true);
    }
    skipped.Show("Some entries were not added:");
}

void PlaylistFiles::SaveAs()
{
    if (!saveSelector_.ExecuteSave(Translate("Save playlist as")))
        return;
    String path = saveSelector_[0];
    if (PlaylistFormatOf(path) == PlaylistFormat::Unknown) {
        path += ".m3u8";
        // The selector asked about the name as typed, not about this one.
        if (Exists(path) && AskReplace(path, false) != 0)
            return;
    }
    const WriteResult result = WritePlaylist(path, EntriesOf(library_.CurrentTrackList()));
    if (!result.ok)
        Exclamation(TranslateShown(result.error));
}

void PlaylistFiles::Export()
{
    if (!exportSelector_.ExecuteSelectDir(Translate("Export playlists to folder")))
        return;
    const String folder = exportSelector_[0];
    GridCtrl& lists = library_.ListGrid;
    const auto& trackLists = library_.TrackLists();
    std::vector<String> taken;
    bool replaceAll = false;
    SkippedSummary failed;
    for (int row = 0; row < lists.GetCount(); ++row) {
        const int id = lists.GetRowId(row);
        if (id < 0 || id >= static_cast<int>(trackLists.size()))
            continue;
        const String name = ExportFileName(lists.Get(row, LIST_NAME).ToString(), taken);
        const String path = (fs::path(folder) / (name + ".m3u8")).string();
        if (!replaceAll && Exists(path)) {
            const int answer = AskReplace(path, true);
            if (answer == 1)
                continue;
            replaceAll = answer == 2;
        }
        const WriteResult result = WritePlaylist(path, EntriesOf(*trackLists[static_cast<size_t>(id)]));
        if (!result.ok)
            failed.Add(TranslateShown(result.error));
    }
    failed.Show("Some playlists were not exported:");
}
