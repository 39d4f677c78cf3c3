// Adding music files and folders to the current playlist, and removing tracks.

#include "app/Player.h"
#include "data/Sql.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "library/MusicFiles.h"
#include "library/ScanFolder.h"
#include "library/TrackInserter.h"
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

} // namespace

void Player::AddTrack(bool append, const String& path)
{
    GridCtrl& g = CurrentTrackList();
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

    OpenedStream stream(engine, path);
    if (stream) {
        String title = TrimRight(engine.GetTag(stream.Get(), "TITLE").ToString());
        if (title.empty())
            title = FileTitle(path);
        TrackFields track;
        track.file = path;
        track.title = std::move(title);
        track.artist = engine.GetTag(stream.Get(), "ARTIST");
        track.album = engine.GetTag(stream.Get(), "ALBUM");
        track.length = static_cast<int>(engine.GetLengthMs(stream.Get()));
        g.Get(row, TRACK_TITLE) = track.title;
        g.Get(row, TRACK_ARTIST) = track.artist;
        g.Get(row, TRACK_ALBUM) = track.album;
        g.Get(row, TRACK_LENGTH) = track.length;
        const Value& list = ListGrid.Get(ListGrid.GetCursor(), LIST_ID);
        g.Get(row, TRACK_ID) = trackInserter_ ? trackInserter_->Insert(list, row, track) : StoreTrack(list, row, track);
    }
    // The engine has shown why a file could not be opened; its row keeps only the path.
    rowRepaint_.RowAdded(g, row, inserting);
}

void Player::RunAdd(const std::function<void()>& add)
{
    SqlSession* session = SQL.GetSession();
    if (session)
        session->Begin();
    {
        WaitCursor wait;
        TrackInserter inserter(session);
        trackInserter_ = &inserter;
        add();
        trackInserter_ = nullptr;
    }
    if (session)
        session->Commit();
}

void Player::AddFiles(bool append)
{
    if (!fileSelector.ExecuteOpen("Select music file"))
        return;
    // Inserting needs a cursor row: into an empty playlist the files are appended.
    append = append || !CurrentTrackList().IsCursor();
    RunAdd([&] {
        for (const String& path : fileSelector.Get())
            AddTrack(append, path);
    });
}

void Player::AddFolder(bool append)
{
    if (!folderSelector.ExecuteSelectDir("Select music folder"))
        return;
    append = append || !CurrentTrackList().IsCursor();
    RunAdd([&] {
        for (const String& folder : folderSelector.Get())
            ScanFolder(append, folder);
    });
}

void Player::ScanFolder(bool append, const String& dir)
{
    ::ScanFolder(dir, [&](const String& path) { AddTrack(append, path); });
}

void Player::TrackRemoving()
{
    GridCtrl& g = CurrentTrackList();
    SqlSession* session = SQL.GetSession();
    if (session && g.IsRemovingFirst())
        session->Begin();
    const Value id = g.Get(TRACK_ID);
    // A row whose file could not be opened was never stored.
    if (!id.IsNull())
        RemoveTrack(id);
    if (!id.IsNull() && id.ToInt() == PlayingId)
        StopPlayback();
    if (session && g.IsRemovingLast())
        session->Commit();
}
