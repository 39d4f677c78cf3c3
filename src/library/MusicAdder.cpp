#include "library/MusicAdder.h"

#include <utility>

#include "library/LibraryDb.h"
#include "library/ScanFolder.h"
#include "ui/GridCtrl.h"
#include "ui/Prompt.h"

namespace {

// Hands the chosen files to the readers in the order they were chosen.
PathSource FileSource(std::vector<String> files)
{
    return [files = std::move(files)](const std::function<bool(ProbedPath&&)>& push) {
        for (const String& path : files)
            if (!push(ProbedPath{path, {}}))
                return;
    };
}

// Walks the folders on the readers' scan thread, handing on the files and what could not be read.
PathSource FolderSource(std::vector<String> folders)
{
    return [folders = std::move(folders)](const std::function<bool(ProbedPath&&)>& push) {
        ScanVisitor visitor;
        visitor.file = [&](const String& path) { return push(ProbedPath{path, {}}); };
        visitor.problem = [&](const String& path, const String& reason) {
            ProbedPath item{path, {}};
            item.probed.problem = AudioEngine::FileProblem::Unreadable;
            item.probed.reason = reason;
            return push(std::move(item));
        };
        for (const String& folder : folders)
            if (!ScanFolder(folder, visitor))
                return;
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
    fileSelector_.Type("Music (*.mp3 *.mp2 *.ogg *.wma *.wav *.asf)", "*.mp3 *.mp2 *.ogg *.wma *.wav *.asf");
    fileSelector_.Multi();
    folderSelector_.Multi();
}

void MusicAdder::AddTrack(bool append, const String& path)
{
    GridCtrl& g = currentTracks_();
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

void MusicAdder::RunAdd(bool append, PathSource source, const String& singleFile)
{
    BackgroundAdd::Request request;
    request.grid = &currentTracks_();
    request.list = currentListId_();
    request.append = append;
    request.source = std::move(source);
    request.singleFile = singleFile;
    adds_.Queue(std::move(request));
}

void MusicAdder::AddFiles(bool append)
{
    if (!fileSelector_.ExecuteOpen("Select music file"))
        return;
    const std::vector<String>& files = fileSelector_.Get();
    RunAdd(append, FileSource(files), files.size() == 1 ? files[0] : String());
}

void MusicAdder::AddFolder(bool append)
{
    if (!folderSelector_.ExecuteSelectDir("Select music folder"))
        return;
    ScanFolders(append, folderSelector_.Get());
}

void MusicAdder::ScanFolders(bool append, const std::vector<String>& folders)
{
    RunAdd(append, FolderSource(folders));
}

void MusicAdder::ScanFolder(bool append, const String& dir)
{
    ScanFolders(append, {dir});
}
