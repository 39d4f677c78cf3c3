#include "library/BackgroundAdd.h"

#include <algorithm>

#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "library/LibraryGrids.h"
#include "library/MusicFiles.h"
#include "library/TrackTags.h"
#include "library/TrackInserter.h"
#include "ui/GridCtrl.h"

namespace {

using Clock = std::chrono::steady_clock;

// Results taken from the pool at once, and the longest the event loop is kept
// from running by taking them (a batch being stored may add to that).
constexpr std::size_t kTakeAtOnce = 128;
constexpr auto kSlice = std::chrono::milliseconds(8);
constexpr auto kFrame = std::chrono::milliseconds(16);

Value TextOrNull(const std::string& text) { return text.empty() ? Value() : Value(text); }

// A row of a batch: stored at `pos`, shown once the batch is committed.
struct Stored {
    int pos;
    std::vector<Value> cells;
    String path;
};

// The grid's keys once the batch's rows are placed one by one at their positions.
// The positions only grow: rows at the end come first, then every further row
// goes to the same place, above the one before it.
std::vector<Value> DisplayAfter(GridCtrl& grid, const std::vector<Stored>& batch)
{
    std::vector<Value> keys;
    keys.reserve(static_cast<size_t>(grid.GetCount()) + batch.size());
    for (int row = 0; row < grid.GetCount(); ++row)
        keys.push_back(grid.Get(row, TRACK_ID));
    size_t next = 0;
    for (; next < batch.size() && batch[next].pos >= static_cast<int>(keys.size()); ++next)
        keys.push_back(batch[next].cells[TRACK_ID]);
    if (next < batch.size()) {
        std::vector<Value> above;
        for (size_t i = batch.size(); i-- > next;)
            above.push_back(batch[i].cells[TRACK_ID]);
        keys.insert(keys.begin() + batch[next].pos, above.begin(), above.end());
    }
    return keys;
}

} // namespace

TrackFields TrackFieldsOf(const String& path, const AudioEngine::FileCheck& probed)
{
    TrackFields track;
    track.file = path;
    String title = TrimRight(probed.title);
    track.title = title.empty() ? FileTitle(path) : std::move(title);
    track.artist = TextOrNull(probed.artist);
    track.album = TextOrNull(probed.album);
    track.length = static_cast<int>(std::clamp<long long>(probed.lengthMs, 0, INT32_MAX));
    track.year = YearFromTag(probed.year > 0 ? Value(probed.year) : Value());
    track.genre = TextOrNull(TrimBoth(probed.genre));
    track.track = TrackNumberFromTag(probed.track > 0 ? Value(probed.track) : Value());
    return track;
}

std::vector<Value> TrackRow(const Value& id, const TrackFields& track)
{
    return {id, track.file, track.title, track.artist, track.album, track.length};
}

BackgroundAdd::BackgroundAdd()
{
    flushTimer_.setSingleShot(true);
    QObject::connect(&flushTimer_, &QTimer::timeout, &context_, [this] { Drain(); });
    // Pool threads: post to the user-interface thread, never wait for it.
    pool_.WhenReady = [this] { QMetaObject::invokeMethod(&context_, [this] { Drain(); }, Qt::QueuedConnection); };
}

BackgroundAdd::~BackgroundAdd() { Stop(); }

const GridCtrl* BackgroundAdd::Target() const { return job_ ? job_->request.grid : nullptr; }

void BackgroundAdd::Queue(Request request)
{
    queued_.push_back(std::move(request));
    StartNext();
}

void BackgroundAdd::StartNext()
{
    while (!job_ && !queued_.empty()) {
        Request request = std::move(queued_.front());
        queued_.pop_front();
        if (!request.grid || !request.source)
            continue;
        GridCtrl& grid = *request.grid;
        Job job;
        // Inserting needs a cursor row: into an empty playlist the files are appended.
        job.append = request.append || !grid.IsCursor();
        job.insertAt = job.append ? -1 : grid.GetCursor();
        job.expectedCursor = grid.GetCursor();
        job.inserter = std::make_unique<TrackInserter>(SQL.GetSession());
        job.outcome.singleFile = request.singleFile;
        PathSource source = std::move(request.source);
        job.request = std::move(request);
        job_ = std::move(job);
        progress_ = {};
        lastFlush_ = Clock::now();
        pool_.Start(std::move(source));
        ReportProgress(true);
    }
    if (!job_ && WhenIdle)
        WhenIdle();
}

void BackgroundAdd::Drain()
{
    if (!job_)
        return;
    const auto start = Clock::now();
    for (;;) {
        std::vector<ProbedPath> ready = pool_.TakeReady(kTakeAtOnce);
        for (ProbedPath& item : ready) {
            ++progress_.handled;
            progress_.path = item.path;
            waiting_.push_back(std::move(item));
        }
        if (waiting_.size() >= kBatchFiles)
            Flush();
        if (ready.size() < kTakeAtOnce || Clock::now() - start >= kSlice)
            break;  // the pool calls again when more is ready
    }
    if (pool_.Finished()) {
        Flush();
        Finish(false);
        return;
    }
    const auto sinceFlush = Clock::now() - lastFlush_;
    if (!waiting_.empty() && sinceFlush >= kBatchTime)
        Flush();
    else if (!waiting_.empty() && !flushTimer_.isActive())
        flushTimer_.start(std::chrono::duration_cast<std::chrono::milliseconds>(kBatchTime - sinceFlush));
    ReportProgress(false);
}

void BackgroundAdd::Flush()
{
    lastFlush_ = Clock::now();
    flushTimer_.stop();
    if (waiting_.empty() || !job_)
        return;
    Job& job = *job_;
    GridCtrl& grid = *job.request.grid;
    const bool follow = grid.GetCursor() == job.expectedCursor;
    std::vector<ProbedPath> batch = std::move(waiting_);
    waiting_.clear();

    // Rows are placed only once their batch is committed, so the grid never shows
    // a track that is not stored.
    SqlSession* session = SQL.GetSession();
    auto notStored = [&] {
        const String error = session ? session->GetLastError() : String();
        return "not stored: " + (error.empty() ? String("no library database") : error);
    };
    SqlTransaction transaction(session);
    std::vector<AddFailure> failures;
    std::vector<Stored> stored;
    for (ProbedPath& item : batch) {
        if (!item.probed.Playable()) {
            failures.push_back({std::move(item.path), std::move(item.probed.reason)});
            continue;
        }
        const TrackFields track = TrackFieldsOf(item.path, item.probed);
        const int count = grid.GetCount() + static_cast<int>(stored.size());
        const int pos = job.append ? count : std::min(job.insertAt, count);
        const Value id = job.inserter->Insert(job.request.list, pos, track);
        if (id.IsNull())
            failures.push_back({std::move(item.path), notStored()});
        else
            stored.push_back({pos, TrackRow(id, track), std::move(item.path)});
    }
    std::function<void()> orderStored = [] {};
    if (!stored.empty() && WriteOrder) {
        std::vector<std::pair<Value, int>> inserted;
        inserted.reserve(stored.size());
        for (const Stored& row : stored)
            inserted.emplace_back(row.cells[TRACK_ID], row.pos);
        orderStored = WriteOrder(grid, DisplayAfter(grid, stored), inserted);
    }
    if (!stored.empty() && (!orderStored || !transaction.Commit())) {
        for (Stored& row : stored)
            failures.push_back({std::move(row.path), notStored()});
        stored.clear();
    }
    if (!stored.empty())
        orderStored();
    int lastRow = -1;
    for (Stored& row : stored)
        lastRow = grid.InsertRow(row.pos, std::move(row.cells));
    job.outcome.added += stored.size();
    for (AddFailure& failure : failures)
        job.outcome.failures.push_back(std::move(failure));
    // A file-by-file add leaves the cursor on the newest row; the user moving it away wins.
    if (follow && lastRow >= 0 && grid.SetCursor(lastRow))
        job.expectedCursor = lastRow;
}

void BackgroundAdd::Finish(bool cancelled)
{
    AddOutcome outcome = std::move(job_->outcome);
    outcome.cancelled = cancelled;
    const std::function<void()> whenDone = std::move(job_->request.whenDone);
    DropJob();
    // The next add starts before the message, which waits for the user.
    StartNext();
    if (whenDone)
        whenDone();
    if (WhenFinished)
        WhenFinished(outcome);
}

void BackgroundAdd::DropJob()
{
    pool_.Cancel();
    job_.reset();
    waiting_.clear();
    flushTimer_.stop();
}

void BackgroundAdd::CancelCurrent()
{
    if (!job_)
        return;
    // Results not yet stored were never shown either: they are simply dropped.
    pool_.Cancel();
    waiting_.clear();
    Finish(true);
}

void BackgroundAdd::Forget(const GridCtrl& grid)
{
    std::erase_if(queued_, [&](const Request& request) { return request.grid == &grid; });
    if (job_ && job_->request.grid == &grid) {
        DropJob();
        StartNext();
    }
}

void BackgroundAdd::Stop()
{
    queued_.clear();
    if (job_)
        DropJob();
}

void BackgroundAdd::ReportProgress(bool force)
{
    const auto now = Clock::now();
    if (!job_ || (!force && now - lastProgress_ < kFrame))
        return;
    lastProgress_ = now;
    progress_.found = std::max(pool_.Found(), progress_.handled);
    if (WhenProgress)
        WhenProgress(progress_);
}
