#include "library/MusicAdder.h"

#include <filesystem>
#include <utility>

#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "library/MusicFiles.h"
#include "library/ScanFolder.h"
#include "library/SkippedSummary.h"
#include "library/TrackInserter.h"
#include "library/TrackTags.h"
#include "playback/AudioEngine.h"
#include "playlists/Playlist.h"
#include "ui/GridCtrl.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"
#include "ui/WaitCursor.h"

namespace {

// Releases a tag-reading stream however AddTrack leaves.
class OpenedStream {
public:
    OpenedStream(AudioEngine& engine, const String& path) : engine_(engine), handle_(engine.OpenStream(path)) {}
    ~OpenedStream() { engine_.ReleaseStream(handle_); }
    OpenedStream(const OpenedStream&) = delete;
    OpenedStream& operator=(const OpenedStream&) = delete;

    explicit operator bool() const { return bool(handle_); }
    AudioEngine::SoundHandle Get() const { return handle_; }

private:
    AudioEngine& engine_;
    AudioEngine::SoundHandle handle_;
};

}  // namespace

MusicAdder::MusicAdder(AudioEngine& engine, std::function<GridCtrl&()> currentTracks,
                       std::function<Value()> currentListId)
    : engine_(engine), currentTracks_(std::move(currentTracks)), currentListId_(std::move(currentListId))
{
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
    // Inserting needs a cursor row; without one the file is appended rather than lost.
    const bool inserting = !append && g.IsCursor();
    if (inserting)
        g.DoInsert();
    else
        g.DoAppend();
    const int row = g.GetCursor();
    if (row < 0)
        return;
    g.Get(row, TRACK_FILE) = path;

    OpenedStream stream(engine_, path);
    if (stream) {
        const TrackFields track = ReadTrackFields(engine_, stream.Get(), path);
        g.Get(row, TRACK_TITLE) = track.title;
        g.Get(row, TRACK_ARTIST) = track.artist;
        g.Get(row, TRACK_ALBUM) = track.album;
        g.Get(row, TRACK_LENGTH) = track.length;
        const Value list = currentListId_();
        g.Get(row, TRACK_ID) = trackInserter_ ? trackInserter_->Insert(list, row, track) : StoreTrack(list, row, track);
    }
    // The engine has shown why a file could not be opened; its row keeps only the path.
    rowRepaint_.RowAdded(g, row, inserting);
}

void MusicAdder::RunAdd(const std::function<void()>& add)
{
    SqlSession* session = SQL.GetSession();
    SqlTransaction transaction(session);
    {
        WaitCursor wait;
        TrackInserter inserter(session);
        trackInserter_ = &inserter;
        add();
        trackInserter_ = nullptr;
    }
    transaction.Commit();
}

bool MusicAdder::AppendsAnyway(bool append)
{
    return append || !currentTracks_().IsCursor();
}

void MusicAdder::AddFiles(bool append)
{
    if (!fileSelector_.ExecuteOpen(Translate("Select music file")))
        return;
    append = AppendsAnyway(append);
    RunAdd([&] {
        for (const String& path : fileSelector_.Get())
            AddTrack(append, path);
    });
}

void MusicAdder::AddFolder(bool append)
{
    if (!folderSelector_.ExecuteSelectDir(Translate("Select music folder")))
        return;
    ScanFolders(AppendsAnyway(append), folderSelector_.Get());
}

void MusicAdder::ScanFolders(bool append, const std::vector<String>& folders)
{
    RunAdd([&] {
        for (const String& folder : folders)
            ScanFolder(append, folder);
    });
}

void MusicAdder::AddPaths(const std::vector<String>& paths, bool append)
{
    append = AppendsAnyway(append);
    SkippedSummary skipped;
    RunAdd([&] {
        for (const String& path : paths) {
            std::error_code error;
            if (std::filesystem::is_directory(path, error))
                ScanFolder(append, path);
            else if (PlaylistFormatOf(path) != PlaylistFormat::Unknown)
                AddPlaylistEntries(append, path, skipped);
            else
                AddTrack(append, path);
        }
    });
    skipped.Show("Some entries were not added:");
}

void MusicAdder::AddPlaylistEntries(bool append, const String& path, SkippedSummary& skipped)
{
    const PlaylistFile playlist = ReadPlaylist(path, [](const std::string& entry) { return IsMusicFile(entry); });
    if (!playlist.ok)
        skipped.Add(TranslateShown(playlist.error));
    for (const PlaylistEntry& entry : playlist.entries)
        AddTrack(append, entry.path);
    for (const PlaylistProblem& problem : playlist.problems)
        skipped.AddEntry(PathLastComponent(path), problem.entry, problem.reason);
}

void MusicAdder::ScanFolder(bool append, const String& dir)
{
    ::ScanFolder(dir, [&](const String& path) { AddTrack(append, path); });
}
