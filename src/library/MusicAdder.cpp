#include "library/MusicAdder.h"

#include <filesystem>
#include <utility>

#include "library/LibraryDb.h"
#include "library/ScanFolder.h"
#include "library/MusicFiles.h"
#include "playlists/Playlist.h"
#include "ui/GridCtrl.h"
#include "ui/Prompt.h"
#include "ui/Translate.h"

namespace {

// Hands on a playlist file's entries in order, and what it could not name
// (a missing file, a stream) as left out, with the reason.
bool PushPlaylistEntries(const String& list, const ScanVisitor& visitor)
{
    const PlaylistFile playlist = ReadPlaylist(list, [](const std::string& entry) { return IsMusicFile(entry); });
    if (!playlist.ok)
        return visitor.problem(list, playlist.error);
    for (const PlaylistEntry& entry : playlist.entries)
        if (!visitor.file(entry.path))
            return false;
    for (const PlaylistProblem& problem : playlist.problems)
        if (!visitor.problem(PathLastComponent(list) + ": " + problem.entry, problem.reason))
            return false;
    return true;
}

// Walks the chosen files, folders and playlist files on the readers' scan
// thread, in the order given: a file is handed on as it is, a folder is scanned
// depth first, a playlist file gives its entries. What cannot be read is handed
// on with its reason.
PathSource EntriesSource(std::vector<String> paths)
{
    return [paths = std::move(paths)](const std::function<bool(ProbedPath&&)>& push) {
        ScanVisitor visitor;
        visitor.file = [&](const String& path) { return push(ProbedPath{path, {}}); };
        visitor.problem = [&](const String& path, const String& reason) {
            ProbedPath item{path, {}};
            item.probed.problem = AudioEngine::FileProblem::Unreadable;
            item.probed.reason = reason;
            return push(std::move(item));
        };
        for (const String& path : paths) {
            std::error_code error;
            bool goOn = true;
            if (std::filesystem::is_directory(path, error))
                goOn = ScanFolder(path, visitor);
            else if (PlaylistFormatOf(path) != PlaylistFormat::Unknown)
                goOn = PushPlaylistEntries(path, visitor);
            else
                goOn = visitor.file(path);
            if (!goOn)
                return;
        }
    };
}

}  // namespace

MusicAdder::MusicAdder(std::function<GridCtrl&()> currentTracks, std::function<Value()> currentListId)
    : currentTracks_(std::move(currentTracks)), currentListId_(std::move(currentListId))
{
    // One message at the end of an add, and only when something was left out.
    adds_.WhenFinished = [](const AddOutcome& outcome) {
        const AddReport report = MakeAddReport(outcome);
        if (!report.text.empty())
            PromptDetails(report.text, report.details);
    };
}

void MusicAdder::SetupSelectors()
{
    fileSelector_.Types(MusicFileTypes());
    fileSelector_.Multi();
    folderSelector_.Multi();
}

void MusicAdder::AddTrack(bool append, const String& path)
{
    GridCtrl& g = currentTracks_();
    // The row's position is taken from the grid: a batch on its way into it comes first.
    if (adds_.Target() == &g)
        adds_.Settle();
    const AudioEngine::FileCheck probed = AudioEngine::CheckFile(path);
    if (!probed.Playable()) {
        AddOutcome outcome;
        outcome.failures.push_back({path, probed.reason});
        outcome.singleFile = path;
        PromptOK(MakeAddReport(outcome).text);
        return;
    }
    // Inserting needs a cursor row; without one the file is appended rather than lost.
    const int row = !append && g.IsCursor() ? g.GetCursor() : g.GetCount();
    const TrackFields track = TrackFieldsOf(path, probed);
    const Value id = StoreTrack(currentListId_(), row, track);
    if (id.IsNull())
        return;  // a row is never shown as stored when it is not
    g.SetCursor(g.InsertRow(row, TrackRow(id, track)));
}

void MusicAdder::RunAdd(bool append, PathSource source, const String& singleFile, std::function<void()> whenDone)
{
    BackgroundAdd::Request request;
    request.grid = &currentTracks_();
    request.list = currentListId_();
    request.append = append;
    request.source = std::move(source);
    request.singleFile = singleFile;
    request.whenDone = std::move(whenDone);
    adds_.Queue(std::move(request));
}

void MusicAdder::AddFiles(bool append)
{
    if (!fileSelector_.ExecuteOpen(Translate("Select music file")))
        return;
    const std::vector<String>& files = fileSelector_.Get();
    RunAdd(append, EntriesSource(files), files.size() == 1 ? files[0] : String());
}

void MusicAdder::AddFolder(bool append)
{
    if (!folderSelector_.ExecuteSelectDir(Translate("Select music folder")))
        return;
    ScanFolders(append, folderSelector_.Get());
}

void MusicAdder::ScanFolders(bool append, const std::vector<String>& folders)
{
    RunAdd(append, EntriesSource(folders));
}

void MusicAdder::AddPaths(const std::vector<String>& paths, bool append, std::function<void()> whenDone)
{
    RunAdd(append, EntriesSource(paths), {}, std::move(whenDone));
}

void MusicAdder::ScanFolder(bool append, const String& dir)
{
    ScanFolders(append, {dir});
}
