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

class GridCtrl;
class TrackInserter;

// What a track stores of a probed file: its tags, the title falling back to the file title.
TrackFields TrackFieldsOf(const String& path, const AudioEngine::FileCheck& probed);
// A track grid row's cells, in TrackColumn order.
std::vector<Value> TrackRow(const Value& id, const TrackFields& track);

// Adds music to track grids without holding up the window. A ProbePool reads
// the files on every core; their results come back here in order and are placed
// into the target grid and stored in batches, each batch in one transaction
// that is committed before the event loop runs again. The rows end up where a
// file-by-file add would have put them: appended in order, or each inserted at
// the cursor row's position (so a batch shows in reverse above that row).
//
// Everything here belongs to the user-interface thread; the only other threads
// are the pool's, which reach this object through a queued call.
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
    // Ends every add without a message, for closing the window.
    void Stop();
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

    // Inside a batch's transaction, after its inserts: writes the positions the
    // batch changes. `display` is the grid's keys in the order the batch leaves
    // them; `inserted` the batch's new keys with the POS each insert stored.
    // Gives what to run once the transaction is committed, or an empty function
    // when a position could not be written (the batch is then not stored).
    // Unset: only the inserts are stored.
    using OrderWriter = std::function<std::function<void()>(
        GridCtrl& grid, std::vector<Value> display, const std::vector<std::pair<Value, int>>& inserted)>;
    OrderWriter WriteOrder;

    // Wakes the loop every time this many files or this much time is waiting to be stored.
    static constexpr std::size_t kBatchFiles = 500;
    static constexpr std::chrono::milliseconds kBatchTime{250};

private:
    struct Job {
        Request request;
        bool append = true;
        int insertAt = -1;
        // Where the cursor is when the user has not moved it since the add last put it there.
        int expectedCursor = -1;
        std::unique_ptr<TrackInserter> inserter;
        AddOutcome outcome;
    };

    void StartNext();
    // Takes the results the pool has ready, stores a batch when one is due.
    void Drain();
    // Places and stores the waiting results in one transaction.
    void Flush();
    void Finish(bool cancelled);
    void ReportProgress(bool force);
    void DropJob();

    std::deque<Request> queued_;
    std::optional<Job> job_;
    std::vector<ProbedPath> waiting_;  // taken from the pool, not yet stored
    Progress progress_;
    std::chrono::steady_clock::time_point lastFlush_;
    std::chrono::steady_clock::time_point lastProgress_;

    QObject context_;   // receives the pool's wake-ups; queued calls die with it
    QTimer flushTimer_;  // stores a waiting batch when no further result arrives
    ProbePool pool_;     // last, so its threads are joined before the rest goes
};
