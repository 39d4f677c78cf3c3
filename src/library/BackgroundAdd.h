#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QObject>
#include <QTimer>

#include "core/Value.h"
#include "library/AddSummary.h"
#include "library/LibraryDb.h"
#include "library/ProbePool.h"
#include "library/TrackWriter.h"

class GridCtrl;

// What a track stores of a probed file: its tags, the title falling back to the file title.
TrackFields TrackFieldsOf(const String& path, const AudioEngine::FileCheck& probed);
// A track grid row's cells, in TrackColumn order.
std::vector<Value> TrackRow(const Value& id, const TrackFields& track);

// Adds music to track grids without holding up the window. A ProbePool reads
// the files on every core; their results come back here in order and are
// stored in batches by a TrackWriter, each batch in one transaction on the
// writer's thread. A batch's rows are placed into the target grid once it is
// stored, so the grid never shows a track that is not; a batch the database
// refuses is listed in the add's summary. The rows end up where a
// file-by-file add would have put them: appended in order, or each inserted
// at the cursor row's position (so a batch shows in reverse above that row).
//
// Everything here belongs to the user-interface thread; the pool's threads and
// the writer's reach this object through queued calls. One batch is with the
// writer at a time, and the next is made once its result is placed, so each
// batch is planned against the grid as stored.
class BackgroundAdd {
public:
    struct Request {
        GridCtrl* grid = nullptr;  // the playlist's track grid
        Value list;                // its LISTS.ID
        bool append = true;        // false: insert at the cursor row when the add starts (append without one)
        PathSource source;
        String singleFile;         // set when the user chose exactly this file
        std::function<void()> whenDone;  // once the add has ended, cancelled or not; not when forgotten
    };
    struct Progress {
        std::size_t handled = 0;
        std::size_t found = 0;
        String path;  // the last file handled
    };

    BackgroundAdd();
    // Stops any add: what was stored stays, nothing else is stored.
    ~BackgroundAdd();
    BackgroundAdd(const BackgroundAdd&) = delete;
    BackgroundAdd& operator=(const BackgroundAdd&) = delete;

    // Starts the add now, or after those queued before it.
    void Queue(Request request);
    // Ends the running add; its stored rows stay. Queued adds go on.
    void CancelCurrent();
    // The grid is about to be destroyed: its adds end without a word.
    void Forget(const GridCtrl& grid);
    // Ends every add without a message, for closing the window; a batch
    // already with the writer is waited for and placed first.
    void Stop();
    // Waits for the batch with the writer, if any, and places its rows. A
    // write of the window's own that concerns the target grid's rows or
    // playlist settles first, so it comes after the batch in the database
    // and sees the batch's rows in the grid.
    void Settle();
    bool Busy() const { return job_.has_value(); }
    // The grid the running add fills; null when none runs.
    const GridCtrl* Target() const;

    // At most once per display frame while an add runs.
    std::function<void(const Progress&)> WhenProgress;
    // Once no add runs or waits any more.
    std::function<void()> WhenIdle;
    // At the end of each add, cancelled or not; MakeAddReport tells what to say.
    // The owner of the adds sets it; the window leaves it alone.
    std::function<void(const AddOutcome&)> WhenFinished;

    // Plans the positions a batch shifts, which its transaction writes after
    // its inserts. `tail` is the grid's keys from display index `from` on (the
    // first position the batch takes; the rows above keep theirs) in the order
    // the batch leaves them, with the batch's own rows under their NewRowKey
    // stand-ins; `inserted` the batch's rows (by those keys) with the POS each
    // insert stores. Unset: only the inserts are stored.
    struct OrderPlan {
        std::vector<int> changed;  // the display indexes whose POS is written
        // Once the batch is stored, with `tail` now holding the new keys, and
        // those keys (`ids`) in the order of `inserted`.
        std::function<void(const std::vector<Value>& tail, const std::vector<Value>& ids)> whenStored;
    };
    using OrderPlanner = std::function<OrderPlan(GridCtrl& grid, const std::vector<Value>& tail, std::size_t from,
                                                 const std::vector<std::pair<Value, int>>& inserted)>;
    OrderPlanner PlanOrder;

    // Wakes the loop every time this many files or this much time is waiting to be stored.
    static constexpr std::size_t kBatchFiles = 500;
    static constexpr std::chrono::milliseconds kBatchTime{250};

private:
    struct Job {
        Request request;
        bool append = true;
        int insertAt = -1;
        // The row an insert placed last: the next batch goes above it, wherever
        // the user's removals have moved it since.
        Value newest;
        // Where the cursor is when the user has not moved it since the add last put it there.
        int expectedCursor = -1;
        AddOutcome outcome;
    };
    // A batch with the writer, then, once stored, being placed a slice per
    // turn of the event loop: its rows as they will be shown.
    struct Pending {
        struct Row {
            int pos;
            std::vector<Value> cells;
            String path;
        };
        std::vector<Row> rows;
        // The grid's rows when the batch was made, and the row the batch goes
        // above (Null: none) with its index then; else the count.
        int count = 0;
        Value anchor;
        int from = 0;
        // The grid's keys from index tailFrom on once the batch is placed.
        std::size_t tailFrom = 0;
        std::vector<Value> tail;
        std::function<void(const std::vector<Value>&, const std::vector<Value>&)> whenStored;
        bool stored = false;     // the writer's result came: the rows have their keys
        std::size_t placed = 0;  // rows already in the grid
    };

    void StartNext();
    // Takes the results the pool has ready, stores a batch when one is due.
    void Drain();
    // Hands the waiting results to the writer as one batch, unless one is there already.
    void Flush();
    // Takes the writer's result: a stored batch is then placed, a refused one
    // listed as not stored.
    void Receive(StoredBatch result);
    // Places the stored batch's rows until `until`, or all of them.
    void Place(std::optional<std::chrono::steady_clock::time_point> until);
    void Finish(bool cancelled);
    void ReportProgress(bool force);
    void DropJob();

    std::deque<Request> queued_;
    std::optional<Job> job_;
    // A result taken from the pool, made ready for a batch as it arrives, so
    // making a batch only works out positions.
    struct Waiting {
        String path;
        bool playable = false;
        String reason;             // why not playable
        TrackFields track;         // what is stored, when playable
        std::vector<Value> cells;  // the row as shown, its key not yet known
    };
    std::deque<Waiting> waiting_;  // taken from the pool, not yet stored
    std::optional<Pending> pending_;   // with the writer, or stored and not yet all placed
    Progress progress_;
    std::chrono::steady_clock::time_point lastFlush_;
    std::chrono::steady_clock::time_point lastProgress_;

    QObject context_;   // receives the pool's wake-ups; queued calls die with it
    QTimer flushTimer_;  // stores a waiting batch when no further result arrives
    TrackWriter writer_;  // after context_, which it posts to
    ProbePool pool_;      // last, so its threads are joined before the rest goes
};
