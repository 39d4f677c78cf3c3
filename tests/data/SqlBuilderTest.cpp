#include <gtest/gtest.h>

#include "data/SqlBuilder.h"

TEST(SqlFormatTest, LiteralsOfEachKind)
{
    EXPECT_EQ(SqlFormat("O'Brien"), "'O''Brien'");
    EXPECT_EQ(SqlFormat(String()), "NULL");
    EXPECT_EQ(SqlFormat(Value()), "NULL");
    EXPECT_EQ(SqlFormat(42), "42");
    EXPECT_EQ(SqlFormat(INT_NULL), "NULL");
    EXPECT_EQ(SqlFormat(int64_t{5000000000}), "5000000000");
    EXPECT_EQ(SqlFormat(0.1), "0.1");
    EXPECT_EQ(SqlFormat(DOUBLE_NULL), "NULL");
    EXPECT_EQ(SqlFormat(L"d'Arc"), "'d''Arc'");
    EXPECT_EQ(SqlFormat(Date{2007, 3, 5}), "'2007-03-05'");
    EXPECT_EQ(SqlFormat(Date{}), "NULL");
    EXPECT_EQ(SqlFormat(Time{2007, 3, 5, 4, 5, 6}), "'2007-03-05 04:05:06'");
}

TEST(SqlBuilderTest, ComparisonsFollowTheNullRules)
{
    const SqlId a("A");
    EXPECT_EQ((a == 3).ToString(), "A = 3");
    EXPECT_EQ((a == String()).ToString(), "A is NULL");
    EXPECT_EQ((Value() == a).ToString(), "A is NULL");
    EXPECT_EQ((SqlVal(Value()) == SqlVal(String())).ToString(), "0=0");
    EXPECT_EQ(SqlBool(false).ToString(), "0!=0");
}

TEST(SqlBuilderTest, StatementsAndTheirWhereClauses)
{
    const SqlId t("T"), a("A"), b("B");
    EXPECT_EQ(SqlSelect(a, b).From(t).Where(a == 1).OrderBy(b).ToString(), "select A, B from T where A = 1 order by B");
    EXPECT_EQ(SqlSelect(a).From(t).Where(SqlVal(Value()) == SqlVal(Value())).ToString(), "select A from T");
    EXPECT_EQ(SqlSelect(a).From(t).Where(SqlBool(true)).ToString(), "select A from T");
    EXPECT_EQ(SqlInsert(t)(a, "x")(b, Value()).ToString(), "insert into T(A, B) values ('x', NULL)");
    EXPECT_EQ(SqlUpdate(t)(a, 1)(b, "it's").Where(a == 2).ToString(), "update T set A = 1, B = 'it''s' where A = 2");
    EXPECT_EQ(SqlDelete(t).Where(b == String()).ToString(), "delete from T where B is NULL");
    EXPECT_EQ(SqlDelete(t).ToString(), "delete from T");
}
