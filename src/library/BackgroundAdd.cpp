#include "library/BackgroundAdd.h"

#include <algorithm>
#include <iterator>

#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "library/LibraryGrids.h"
#include "library/MusicFiles.h"
#include "library/TrackTags.h"
#include "ui/GridCtrl.h"

namespace {

using Clock = std::chrono::steady_clock;

// Results taken from the pool at once, and the longest the event loop is kept
// from running by taking them (a batch being stored may add to that).
constexpr std::size_t kTakeAtOnce = 128;
constexpr auto kSlice = std::chrono::milliseconds(8);
constexpr auto kFrame = std::chrono::milliseconds(16);

Value TextOrNull(const std::string& text) { return text.empty() ? Value() : Value(text); }

// The grid's keys once the batch's rows are placed one by one at their positions.
// The positions only grow: rows at the end come first, then every further row
// goes to the same place, above the one before it.
template <class Row>
std::vector<Value> DisplayAfter(GridCtrl& grid, const std::vector<Row>& batch)
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

// The row holding `key`, looked for first at `near`; -1 when it is gone.
int FindKey(GridCtrl& grid, const Value& key, int near)
{
    if (near >= 0 && near < grid.GetCount() && grid.Get(near, TRACK_ID) == key)
        return near;
    for (int row = 0; row < grid.GetCount(); ++row)
        if (grid.Get(row, TRACK_ID) == key)
            return row;
    return -1;
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
    // The writer's thread, likewise, once a batch is stored or refused.
    writer_.WhenStored = pool_.WhenReady;
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
    if (pending_)
        if (std::optional<StoredBatch> result = writer_.Take(false)) {
            Place(std::move(*result));
            // The next batch is made on a later turn, so the event loop runs between the two.
            QMetaObject::invokeMethod(&context_, [this] { Drain(); }, Qt::QueuedConnection);
            ReportProgress(false);
            return;
        }
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
        // With a batch at the writer, its result calls again; meanwhile the
        // progress shows every file handled.
        if (pending_)
            ReportProgress(true);
        else
            Finish(false);
        return;
    }
    const auto sinceFlush = Clock::now() - lastFlush_;
    if (!waiting_.empty() && sinceFlush >= kBatchTime)
        Flush();
    else if (!waiting_.empty() && !pending_ && !flushTimer_.isActive())
        flushTimer_.start(std::chrono::duration_cast<std::chrono::milliseconds>(kBatchTime - sinceFlush));
    ReportProgress(false);
}

void BackgroundAdd::Flush()
{
    if (waiting_.empty() || !job_ || pending_)
        return;
    lastFlush_ = Clock::now();
    flushTimer_.stop();
    Job& job = *job_;
    GridCtrl& grid = *job.request.grid;
    // At most a batch's worth at once, however much waited while the writer was busy.
    std::vector<ProbedPath> batch;
    if (waiting_.size() <= kBatchFiles) {
        batch = std::move(waiting_);
        waiting_.clear();
    } else {
        batch.assign(std::make_move_iterator(waiting_.begin()),
                     std::make_move_iterator(waiting_.begin() + static_cast<std::ptrdiff_t>(kBatchFiles)));
        waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(kBatchFiles));
    }

    TrackBatch stored;
    stored.list = job.request.list;
    Pending pending;
    for (ProbedPath& item : batch) {
        if (!item.probed.Playable()) {
            job.outcome.failures.push_back({std::move(item.path), std::move(item.probed.reason)});
            continue;
        }
        TrackFields track = TrackFieldsOf(item.path, item.probed);
        const int count = grid.GetCount() + static_cast<int>(pending.rows.size());
        const int pos = job.append ? count : std::min(job.insertAt, count);
        pending.rows.push_back({pos, TrackRow(NewRowKey(pending.rows.size()), track), std::move(item.path)});
        stored.rows.push_back({pos, std::move(track)});
    }
    if (pending.rows.empty())
        return;
    SqlSession* session = SQL.GetSession();
    if (!session) {
        for (Pending::Row& row : pending.rows)
            job.outcome.failures.push_back({std::move(row.path), "not stored: no library database"});
        return;
    }
    // Where the rows go is told by the row they go above, in case the user
    // moves or deletes rows before they are placed.
    pending.count = grid.GetCount();
    pending.from = pending.count;
    if (!job.append && job.insertAt < grid.GetCount()) {
        pending.from = job.insertAt;
        pending.anchor = grid.Get(job.insertAt, TRACK_ID);
    }
    pending.display = DisplayAfter(grid, pending.rows);
    if (PlanOrder) {
        std::vector<std::pair<Value, int>> inserted;
        inserted.reserve(pending.rows.size());
        for (const Pending::Row& row : pending.rows)
            inserted.emplace_back(row.cells[TRACK_ID], row.pos);
        OrderPlan plan = PlanOrder(grid, pending.display, inserted);
        for (int i : plan.changed)
            stored.positions.emplace_back(i, pending.display[static_cast<size_t>(i)]);
        pending.whenStored = std::move(plan.whenStored);
    }
    pending_ = std::move(pending);
    writer_.Store(*session, std::move(stored));
}

void BackgroundAdd::Place(StoredBatch result)
{
    Pending pending = std::move(*pending_);
    pending_.reset();
    if (!job_)
        return;
    Job& job = *job_;
    if (!result.stored) {
        // Never shown, so nothing to take back: the summary says why they are missing.
        const String reason = "not stored: " + result.error;
        for (Pending::Row& row : pending.rows)
            job.outcome.failures.push_back({std::move(row.path), reason});
        return;
    }
    for (Value& key : pending.display)
        if (const long long k = NewRowIndex(key); k >= 0)
            key = result.ids[static_cast<size_t>(k)];
    if (pending.whenStored)
        pending.whenStored(pending.display, result.ids);

    GridCtrl& grid = *job.request.grid;
    int now = grid.GetCount();
    if (!pending.anchor.IsNull()) {
        const int anchor = FindKey(grid, pending.anchor, pending.from);
        now = anchor >= 0 ? anchor : std::max(0, pending.from - (pending.count - grid.GetCount()));
    }
    const int shift = now - pending.from;
    const bool follow = grid.GetCursor() == job.expectedCursor;
    int lastRow = -1;
    for (size_t k = 0; k < pending.rows.size(); ++k) {
        Pending::Row& row = pending.rows[k];
        row.cells[TRACK_ID] = result.ids[k];
        lastRow = grid.InsertRow(std::clamp(row.pos + shift, 0, grid.GetCount()), std::move(row.cells));
    }
    job.outcome.added += pending.rows.size();
    // A file-by-file add leaves the cursor on the newest row; the user moving it away wins.
    if (follow && lastRow >= 0 && grid.SetCursor(lastRow))
        job.expectedCursor = lastRow;
}

void BackgroundAdd::Settle()
{
    if (pending_)
        if (std::optional<StoredBatch> result = writer_.Take(true))
            Place(std::move(*result));
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
    // A batch with the writer ends (stored or not) before anything else is handed over.
    if (pending_) {
        writer_.Take(true);
        pending_.reset();
    }
    pool_.Cancel();
    job_.reset();
    waiting_.clear();
    flushTimer_.stop();
}

void BackgroundAdd::CancelCurrent()
{
    if (!job_)
        return;
    // The batch with the writer is kept or refused as a whole; results not yet
    // handed over were never shown either, and are simply dropped.
    Settle();
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
    if (job_) {
        Settle();
        DropJob();
    }
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
