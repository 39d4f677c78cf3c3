#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "core/Value.h"
#include "library/LibraryDb.h"

class Sqlite3Session;
class TrackInserter;

// One batch of an add as the database takes it: in one transaction, the rows'
// inserts and the positions they shift.
struct TrackBatch {
    struct Row {
        int pos = 0;  // the POS its insert stores
        TrackFields track;
    };
    Value list;  // the LISTS.ID every row goes to
    std::vector<Row> rows;
    // (POS, key) pairs to write after the inserts. A key made by NewRowKey(k)
    // stands for the k-th row of this batch, which has no IDPL before its insert.
    std::vector<std::pair<int, Value>> positions;
};

// Stand-in keys for a batch's rows until they are stored; stored keys are row
// ids, never negative, so the two cannot meet.
Value NewRowKey(std::size_t k);
// k for a stand-in key, -1 for any other key.
long long NewRowIndex(const Value& key);

// What became of a batch.
struct StoredBatch {
    bool stored = false;
    std::vector<Value> ids;  // each row's IDPL, in order, once stored
    String error;            // why not, in plain words
    bool busy = false;       // not stored because a lock on the file was held too long
};

// Why a batch was not stored when the window's own connection held the
// library the whole time the writer waited for it.
inline constexpr char kBusyWithOwnChange[] = "another change in this window kept the library busy";

// Stores a batch in one transaction: all of it or, on any failure, nothing.
StoredBatch StoreBatch(SqlSession& session, TrackInserter& inserter, const TrackBatch& batch);

// Stores the batches of adds on a thread of its own, through a connection of
// its own to the library file, so that a commit waiting for the disk never
// holds up the window. One batch is in hand at a time: the owner hands over
// the next once it has taken the result of the last. The window's own writes
// go through the other connection; SQLite's lock keeps the two apart, and a
// write of the window waits at most for the one batch in hand. A batch the
// window's connection holds up is tried again until the window lets go: both
// are ours, and only another program's lock is reported as such.
//
// Threads: every public function belongs to the owner's thread (the
// user-interface thread); WhenStored is called on the writer thread. A
// session that is no file (an in-memory database) cannot be shared: its
// batches are stored at once, on the owner's thread, when handed over.
class TrackWriter {
public:
    TrackWriter();
    // Lets the batch in hand end (committed or rolled back) and joins the thread.
    ~TrackWriter();
    TrackWriter(const TrackWriter&) = delete;
    TrackWriter& operator=(const TrackWriter&) = delete;

    // Hands over a batch for the library `session` is open on. Only when not Busy.
    void Store(SqlSession& session, TrackBatch batch);
    // A batch was handed over and its result not taken yet.
    bool Busy() const { return busy_; }
    // The result of the batch handed over: at once when it is ready, otherwise
    // nothing, or, with `wait`, once it is (a commit, never longer).
    std::optional<StoredBatch> Take(bool wait);

    // Once a result is ready, on the thread that stored it. Must not block.
    std::function<void()> WhenStored;

private:
    struct Target {
        String file;
        int busyTimeoutMs = 0;
        bool logErrors = false;
        const Sqlite3Session* window = nullptr;  // the owner's connection to the same file
    };

    void Loop();
    // Writer thread: stores the batch, waiting for the window's own connection to let go of the file.
    StoredBatch StoreWaitingForWindow(const Target& target, SqlSession& session, const TrackBatch& batch);
    // Writer thread: the connection for `target`, opened again when the file changed.
    SqlSession* Connect(const Target& target);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::pair<Target, TrackBatch>> next_;  // handed over, not yet started
    std::optional<StoredBatch> result_;                   // finished, not yet taken
    bool stopping_ = false;
    bool ownerWaits_ = false;  // the owner is in Take(true): its connection cannot let go meanwhile
    bool busy_ = false;  // owner's thread only

    // Writer thread only.
    std::unique_ptr<Sqlite3Session> session_;
    std::unique_ptr<TrackInserter> inserter_;

    std::thread thread_;  // last: started once everything above exists
};
