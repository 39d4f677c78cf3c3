#include "library/TrackWriter.h"

#include <chrono>

#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "data/Sqlite3Session.h"
#include "library/TrackInserter.h"

Value NewRowKey(std::size_t k)
{
    return -1 - static_cast<int>(k);
}

long long NewRowIndex(const Value& key)
{
    if (key.IsNull())
        return -1;
    const long long value = key.ToInt64();
    return value < 0 ? -1 - value : -1;
}

StoredBatch StoreBatch(SqlSession& session, TrackInserter& inserter, const TrackBatch& batch)
{
    StoredBatch result;
    result.ids.reserve(batch.rows.size());
    SqlTransaction transaction(session);
    bool ok = transaction.IsOpen();
    for (size_t i = 0; ok && i < batch.rows.size(); ++i) {
        Value id = inserter.Insert(batch.list, batch.rows[i].pos, batch.rows[i].track);
        ok = !id.IsNull();
        result.ids.push_back(std::move(id));
    }
    if (ok && !batch.positions.empty()) {
        Sql cursor(session);
        cursor.SetStatement(LibrarySql::SaveTrackPos);
        for (const auto& [pos, key] : batch.positions) {
            const long long row = NewRowIndex(key);
            const Value& entry = row >= 0 ? result.ids[static_cast<size_t>(row)] : key;
            if (!(ok = cursor.Execute(pos, entry, batch.list)))
                break;
        }
    }
    if (ok && transaction.Commit()) {
        result.stored = true;
        return result;
    }
    // Read before the rollback, which keeps this error anyway.
    result.error = session.DescribeLastError();
    result.busy = session.GetLastErrorKind() == SqlErrorKind::Busy;
    result.ids.clear();
    return result;
}

TrackWriter::TrackWriter() : thread_([this] { Loop(); }) {}

TrackWriter::~TrackWriter()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        next_.reset();  // a batch not begun is simply not stored; its rows were never shown
    }
    changed_.notify_all();
    thread_.join();
}

void TrackWriter::Store(SqlSession& session, TrackBatch batch)
{
    busy_ = true;
    const auto* file = dynamic_cast<const Sqlite3Session*>(&session);
    const bool shared = file && !file->GetFileName().empty() && file->GetFileName() != ":memory:";
    if (!shared) {
        TrackInserter inserter(&session);
        StoredBatch stored = StoreBatch(session, inserter, batch);
        {
            std::lock_guard lock(mutex_);
            result_ = std::move(stored);
        }
        if (WhenStored)
            WhenStored();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        next_.emplace(Target{file->GetFileName(), file->GetBusyTimeout(), session.LogsErrors(), file},
                      std::move(batch));
    }
    changed_.notify_all();
}

std::optional<StoredBatch> TrackWriter::Take(bool wait)
{
    std::unique_lock lock(mutex_);
    if (wait && busy_) {
        ownerWaits_ = true;
        changed_.wait(lock, [this] { return result_.has_value(); });
        ownerWaits_ = false;
    }
    std::optional<StoredBatch> taken = std::move(result_);
    result_.reset();
    if (taken)
        busy_ = false;
    return taken;
}

SqlSession* TrackWriter::Connect(const Target& target)
{
    if (!session_ || session_->GetFileName() != target.file || !session_->IsOpen()) {
        inserter_.reset();
        session_ = std::make_unique<Sqlite3Session>();
        session_->SetBusyTimeout(target.busyTimeoutMs);
        if (!session_->Open(target.file)) {
            session_.reset();
            return nullptr;
        }
        inserter_ = std::make_unique<TrackInserter>(session_.get());
    }
    session_->SetBusyTimeout(target.busyTimeoutMs);
    session_->LogErrors(target.logErrors);
    return session_.get();
}

StoredBatch TrackWriter::StoreWaitingForWindow(const Target& target, SqlSession& session, const TrackBatch& batch)
{
    // The window's holds are short (one user action), so they are waited out
    // a moment at a time rather than for a whole busy timeout.
    constexpr auto kPause = std::chrono::milliseconds(5);
    StoredBatch stored = StoreBatch(session, *inserter_, batch);
    bool checkedAgain = false;
    while (!stored.stored && stored.busy) {
        if (!target.window->HoldsLock()) {
            // The window may have let go just now; once more, then it is another program.
            if (checkedAgain)
                break;
            checkedAgain = true;
        } else {
            std::unique_lock lock(mutex_);
            // Waiting for us, the window cannot let go: stop rather than hold both up.
            if (ownerWaits_ || stopping_) {
                stored.error = kBusyWithOwnChange;
                break;
            }
            changed_.wait_for(lock, kPause);
        }
        stored = StoreBatch(session, *inserter_, batch);
    }
    return stored;
}

void TrackWriter::Loop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || next_.has_value(); });
        if (stopping_)
            break;
        auto [target, batch] = std::move(*next_);
        next_.reset();
        lock.unlock();
        StoredBatch stored;
        if (SqlSession* session = Connect(target))
            stored = StoreWaitingForWindow(target, *session, batch);
        else
            stored.error = "the library file cannot be opened";
        lock.lock();
        result_ = std::move(stored);
        lock.unlock();
        changed_.notify_all();
        if (WhenStored)
            WhenStored();
        lock.lock();
    }
    // The connection goes with the thread that used it.
    inserter_.reset();
    session_.reset();
}
