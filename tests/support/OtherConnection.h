#pragma once

#include <sqlite3.h>
#include <string>
#include <utility>

#include <gtest/gtest.h>

// Another program's connection to a database file, opened on first use: what
// it runs ("BEGIN EXCLUSIVE", say) is what the program under test meets.
class OtherConnection {
public:
    explicit OtherConnection(std::string path) : path_(std::move(path)) {}
    ~OtherConnection() { Close(); }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;

    void Run(const char* statement)
    {
        if (!db_)
            sqlite3_open(path_.c_str(), &db_);
        ASSERT_EQ(sqlite3_exec(db_, statement, nullptr, nullptr, nullptr), SQLITE_OK) << statement;
    }
    // Closing ends a transaction left open, so a failed test leaves no lock behind.
    void Close()
    {
        sqlite3_close(db_);
        db_ = nullptr;
    }

private:
    std::string path_;
    sqlite3* db_ = nullptr;
};
