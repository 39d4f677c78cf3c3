#pragma once

#include <unordered_map>
#include <vector>

#include "data/SqlSession.h"

struct sqlite3;
struct sqlite3_stmt;

// Runs statements on one SQLite handle. Every distinct text is prepared once
// and kept until the connection is destroyed or the cache's texts reach
// kCacheLimit characters together, when the whole cache is finalized.
class Sqlite3Connection : public SqlConnection {
public:
    static constexpr size_t kCacheLimit = 1000000;

    Sqlite3Connection(SqlSession& session, sqlite3* db) : SqlConnection(session), db_(db) {}
    ~Sqlite3Connection() override;

    bool Execute() override;
    bool Prepare() override;
    bool Fetch() override;
    Value GetColumn(int i) const override;
    void Cancel() override;

    // Finalizes every cached statement (logging each) and empties the cache.
    void FlushStatements();
    size_t CachedCount() const { return cache_.size(); }

private:
    struct Cached {
        String text;
        sqlite3_stmt* statement;
        int parameterCount;
    };

    // The cached entry for the text, prepared on first use; null on failure.
    const Cached* Compile(const String& text);
    void Bind(sqlite3_stmt* statement, int position, const Value& value);
    void RecordColumns();
    String ErrorMessage() const;

    sqlite3* db_;
    sqlite3_stmt* current_ = nullptr;
    String currentText_;
    bool gotFirstRow_ = false;
    bool gotRowData_ = false;
    std::unordered_map<String, size_t> index_;
    std::vector<Cached> cache_;
    size_t cachedLength_ = 0;
};
