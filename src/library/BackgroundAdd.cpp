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

// Results taken from the pool, or stored rows placed into the grid, in one
// turn of the event loop, and the longest the loop is kept from running by
// taking them or placing them.
constexpr std::size_t kRowsPerTurn = 128;
constexpr auto kSlice = std::chrono::milliseconds(4);
constexpr auto kFrame = std::chrono::milliseconds(16);

Value TextOrNull(const std::string& text) { return text.empty() ? Value() : Value(text); }

// The grid's keys from the batch's first position on, once its rows are placed
// one by one at their positions. The positions only grow: rows at the end come
// first, then every further row goes to the same place, above the one before it.
template <class Row>
std::vector<Value> TailAfter(GridCtrl& grid, const std::vector<Row>& batch)
{
    const int from = batch.front().pos;
    std::vector<Value> keys;
    keys.reserve(static_cast<size_t>(grid.GetCount() - from) + batch.size());
    for (int row = from; row < grid.GetCount(); ++row)
        keys.push_back(grid.Get(row, TRACK_ID));
    size_t next = 0;
    for (; next < batch.size() && batch[next].pos - from >= static_cast<int>(keys.size()); ++next)
        keys.push_back(batch[next].cells[TRACK_ID]);
    if (next < batch.size()) {
        std::vector<Value> above;
        for (size_t i = batch.size(); i-- > next;)
            above.push_back(batch[i].cells[TRACK_ID]);
        keys.insert(keys.begin() + (batch[next].pos - from), above.begin(), above.end());
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
    bool placing = false;
    if (pending_ && !pending_->stored)
        if (std::optional<StoredBatch> result = writer_.Take(false)) {
            Receive(std::move(*result));
            placing = true;
        }
    if (pending_ && pending_->stored) {
        Place(Clock::now() + kSlice);
        placing = true;
    }
    if (placing) {
        // The rest of the batch, and then the next one, come on later turns, so
        // the event loop runs between slices.
        QMetaObject::invokeMethod(&context_, [this] { Drain(); }, Qt::QueuedConnection);
        ReportProgress(false);
        return;
    }
    const auto start = Clock::now();
    for (;;) {
        std::vector<ProbedPath> ready = pool_.TakeReady(kRowsPerTurn);
        for (ProbedPath& item : ready) {
            ++progress_.handled;
            progress_.path = item.path;
            Waiting& next = waiting_.emplace_back();
            next.playable = item.probed.Playable();
            if (next.playable) {
                next.track = TrackFieldsOf(item.path, item.probed);
                next.cells = TrackRow(Value(), next.track);
            } else {
                next.reason = std::move(item.probed.reason);
            }
            next.path = std::move(item.path);
        }
        if (waiting_.size() >= kBatchFiles)
            Flush();
        if (ready.size() < kRowsPerTurn || Clock::now() - start >= kSlice)
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
    if (!job.append && !job.newest.IsNull())
        if (const int at = FindKey(grid, job.newest, job.insertAt); at >= 0)
            job.insertAt = at;
    // At most a batch's worth at once, however much waited while the writer was busy.
    const size_t take = std::min(waiting_.size(), kBatchFiles);
    TrackBatch stored;
    stored.list = job.request.list;
    Pending pending;
    pending.rows.reserve(take);
    stored.rows.reserve(take);
    for (size_t i = 0; i < take; ++i) {
        Waiting item = std::move(waiting_.front());
        waiting_.pop_front();
        if (!item.playable) {
            job.outcome.failures.push_back({std::move(item.path), std::move(item.reason)});
            continue;
        }
        const int count = grid.GetCount() + static_cast<int>(pending.rows.size());
        const int pos = job.append ? count : std::min(job.insertAt, count);
        item.cells[TRACK_ID] = NewRowKey(pending.rows.size());
        pending.rows.push_back({pos, std::move(item.cells), std::move(item.path)});
        stored.rows.push_back({pos, std::move(item.track)});
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
    pending.tailFrom = static_cast<size_t>(pending.rows.front().pos);
    pending.tail = TailAfter(grid, pending.rows);
    if (PlanOrder) {
        std::vector<std::pair<Value, int>> inserted;
        inserted.reserve(pending.rows.size());
        for (const Pending::Row& row : pending.rows)
            inserted.emplace_back(row.cells[TRACK_ID], row.pos);
        OrderPlan plan = PlanOrder(grid, pending.tail, pending.tailFrom, inserted);
        for (int i : plan.changed)
            stored.positions.emplace_back(i, pending.tail[static_cast<size_t>(i) - pending.tailFrom]);
        pending.whenStored = std::move(plan.whenStored);
    }
    pending_ = std::move(pending);
    writer_.Store(*session, std::move(stored));
}

void BackgroundAdd::Receive(StoredBatch result)
{
    if (!job_) {
        pending_.reset();
        return;
    }
    Pending& pending = *pending_;
    if (!result.stored) {
        // Never shown, so nothing to take back: the summary says why they are missing.
        const String reason = "not stored: " + result.error;
        for (Pending::Row& row : pending.rows)
            job_->outcome.failures.push_back({std::move(row.path), reason});
        pending_.reset();
        return;
    }
    for (Value& key : pending.tail)
        if (const long long k = NewRowIndex(key); k >= 0)
            key = result.ids[static_cast<size_t>(k)];
    if (pending.whenStored)
        pending.whenStored(pending.tail, result.ids);
    for (size_t k = 0; k < pending.rows.size(); ++k)
        pending.rows[k].cells[TRACK_ID] = std::move(result.ids[k]);
    pending.stored = true;
}

void BackgroundAdd::Place(std::optional<Clock::time_point> until)
{
    Pending& pending = *pending_;
    Job& job = *job_;
    GridCtrl& grid = *job.request.grid;
    // Where the batch goes is found again for every slice, as the user may
    // have removed rows meanwhile. The rows placed so far sit above the
    // anchor, or at the end.
    const int placed = static_cast<int>(pending.placed);
    int now = grid.GetCount() - placed;
    if (!pending.anchor.IsNull()) {
        const int anchor = FindKey(grid, pending.anchor, pending.from + placed);
        now = anchor >= 0 ? anchor - placed : std::max(0, pending.from - (pending.count - now));
    }
    const int shift = now - pending.from;
    const bool follow = grid.GetCursor() == job.expectedCursor;
    int lastRow = -1;
    // The clock is read every few rows: one row costs microseconds.
    constexpr size_t kRowsPerLook = 16;
    const size_t first = pending.placed;
    for (size_t k = first; k < pending.rows.size(); ++k) {
        const size_t done = k - first;
        if (until && (done == kRowsPerTurn || (done > 0 && done % kRowsPerLook == 0 && Clock::now() >= *until)))
            break;
        Pending::Row& row = pending.rows[k];
        lastRow = grid.InsertRow(std::clamp(row.pos + shift, 0, grid.GetCount()), std::move(row.cells));
        ++job.outcome.added;
        ++pending.placed;
    }
    if (!job.append && lastRow >= 0)
        job.newest = grid.Get(lastRow, TRACK_ID);
    // A file-by-file add leaves the cursor on the newest row; the user moving it away wins.
    if (follow && lastRow >= 0 && grid.SetCursor(lastRow))
        job.expectedCursor = lastRow;
    if (pending.placed == pending.rows.size())
        pending_.reset();
}

void BackgroundAdd::Settle()
{
    if (pending_ && !pending_->stored)
        if (std::optional<StoredBatch> result = writer_.Take(true))
            Receive(std::move(*result));
    if (pending_ && pending_->stored && job_)
        Place(std::nullopt);
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
        if (!pending_->stored)
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
