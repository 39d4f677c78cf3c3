#pragma once

#include <type_traits>
#include <vector>

#include "core/Value.h"

// Builds SQL statement texts from identifiers and values. Values become
// literals: numbers as digits, texts in single quotes with each quote doubled,
// and a Null value or an empty text as NULL.

// The dialect literals are formatted for when none is given; binding the default
// cursor to a session sets it to the session's dialect.
void SetDefaultDialect(int dialect);
int GetDefaultDialect();

// `value` as an SQL literal.
String SqlFormat(const Value& value, int dialect);
String SqlFormat(const Value& value);

// A table or column name.
class SqlId {
public:
    explicit SqlId(String name) : name_(std::move(name)) {}
    const String& ToString() const { return name_; }

private:
    String name_;
};

// A fragment of SQL text with the precedence of its outermost operator.
class SqlVal {
public:
    enum Precedence { kCompare = 50, kAtom = 100 };

    SqlVal(const SqlId& id) : text_(id.ToString()) {}
    // Any value becomes its literal (see SqlFormat). A bool is refused: it is
    // almost always a comparison of two Values written where a condition was meant.
    template <class T>
        requires(std::is_constructible_v<Value, const T&> && !std::is_same_v<T, bool>)
    SqlVal(const T& value) : text_(SqlFormat(Value(value)))
    {
    }
    // Raw SQL text with its precedence.
    static SqlVal Raw(String text, int precedence) { return SqlVal(std::move(text), precedence); }

    const String& ToString() const { return text_; }
    int GetPrecedence() const { return precedence_; }
    bool IsNullLiteral() const { return text_ == "NULL"; }
    // The text, in parentheses when its precedence is lower than `precedence`.
    String Operand(int precedence) const;

private:
    SqlVal(String text, int precedence) : text_(std::move(text)), precedence_(precedence) {}

    String text_;
    int precedence_ = kAtom;
};

// Equality: "a = b"; against the NULL literal "a is NULL"; NULL against NULL
// gives the always-true "0=0".
SqlVal operator==(const SqlVal& a, const SqlVal& b);

// The always-true "0=0" and always-false "0!=0".
SqlVal SqlBool(bool value);

// Items joined by ", ".
class SqlSet {
public:
    template <class... T>
    explicit SqlSet(const T&... items) : items_{SqlVal(items)...}
    {
    }

    String ToString() const;

private:
    std::vector<SqlVal> items_;
};

// A finished statement text; executing an empty one runs "null".
class SqlStatement {
public:
    const String& ToString() const { return text_; }

protected:
    // Appends " where " + condition, unless the condition is empty or always true.
    void AppendWhere(const SqlVal& condition);

    String text_;
};

// "select <columns> from <table> [where <condition>] [order by <columns>]"
class SqlSelect : public SqlStatement {
public:
    template <class... T>
    explicit SqlSelect(const T&... columns)
    {
        text_ = "select " + SqlSet(columns...).ToString();
    }

    SqlSelect& From(const SqlId& table);
    SqlSelect& Where(const SqlVal& condition);
    template <class... T>
    SqlSelect& OrderBy(const T&... columns)
    {
        text_ += " order by " + SqlSet(columns...).ToString();
        return *this;
    }
};

// "insert into <table>(<columns>) values (<values>)"; add pairs with operator().
class SqlInsert : public SqlStatement {
public:
    explicit SqlInsert(const SqlId& table) : table_(table.ToString()) { Build(); }
    SqlInsert& operator()(const SqlId& column, const SqlVal& value);

private:
    void Build();

    String table_;
    String columns_;
    String values_;
};

// "update <table> set <column> = <value>, ... [where <condition>]"; add pairs with operator().
class SqlUpdate : public SqlStatement {
public:
    explicit SqlUpdate(const SqlId& table) : head_("update " + table.ToString() + " set ") { Build(); }
    SqlUpdate& operator()(const SqlId& column, const SqlVal& value);
    SqlUpdate& Where(const SqlVal& condition);

private:
    void Build();

    String head_;
    String assignments_;
    SqlVal where_ = SqlBool(true);
};

// "delete from <table> [where <condition>]"
class SqlDelete : public SqlStatement {
public:
    explicit SqlDelete(const SqlId& table) { text_ = "delete from " + table.ToString(); }
    SqlDelete& Where(const SqlVal& condition);
};
