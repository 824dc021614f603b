// The rewrite of Access statement forms for SQLite, form by form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ny_sql_dialect.h"

namespace {

struct DialectCase {
  const char* access;
  const char* sqlite;
};

class DialectForms : public ::testing::TestWithParam<DialectCase> {};

TEST_P(DialectForms, Rewrites) { EXPECT_EQ(ToSqliteDialect(GetParam().access), GetParam().sqlite); }

INSTANTIATE_TEST_SUITE_P(
    Statements, DialectForms,
    ::testing::Values(
        // DELETE * FROM loses the star, any spacing and letter case.
        DialectCase{"DELETE * FROM [光源] WHERE [功率] = 36",
                    "DELETE FROM [光源] WHERE [功率] = 36"},
        DialectCase{"delete   *   from [t]", "delete from [t]"},
        DialectCase{"DELETE * FROM [%s]", "DELETE FROM [%s]"},
        DialectCase{"DELETE FROM [t]", "DELETE FROM [t]"},
        // Text in quotes is never touched.
        DialectCase{"SELECT * FROM [t] WHERE [a] = 'DELETE * FROM x'",
                    "SELECT * FROM [t] WHERE [a] = 'DELETE * FROM x'"},
        DialectCase{"SELECT [a] FROM [t] WHERE [b] = 'ORDER BY [c]'",
                    "SELECT [a] FROM [t] WHERE [b] = 'ORDER BY [c]'"},
        // Ordering and grouping terms get the code-page collation.
        DialectCase{"SELECT [光源名称] FROM [光源] ORDER BY [光源名称]",
                    "SELECT [光源名称] FROM [光源] ORDER BY [光源名称] COLLATE GBK"},
        DialectCase{"SELECT [场所名称] FROM [%s] ORDER BY ID ",
                    "SELECT [场所名称] FROM [%s] ORDER BY ID COLLATE GBK "},
        DialectCase{"SELECT [利用系数] FROM [t] ORDER BY [有效顶棚反射比],[墙反射比],[室空间比]",
                    "SELECT [利用系数] FROM [t] ORDER BY [有效顶棚反射比] COLLATE GBK,[墙反射比] "
                    "COLLATE GBK,[室空间比] COLLATE GBK"},
        DialectCase{"SELECT [a] FROM [t] ORDER BY [a] DESC, [b] ASC",
                    "SELECT [a] FROM [t] ORDER BY [a] COLLATE GBK DESC, [b] COLLATE GBK ASC"},
        DialectCase{"SELECT [a] FROM [t] ORDER BY [a] COLLATE NOCASE",
                    "SELECT [a] FROM [t] ORDER BY [a] COLLATE NOCASE"},
        DialectCase{"SELECT [生产厂家] FROM [光源] WHERE [光源名称] = '%s' group by [生产厂家]",
                    "SELECT [生产厂家] FROM [光源] WHERE [光源名称] = '%s' group by [生产厂家] "
                    "COLLATE GBK"},
        DialectCase{"SELECT [a] FROM [t] GROUP BY [a] ORDER BY [a]",
                    "SELECT [a] FROM [t] GROUP BY [a] COLLATE GBK ORDER BY [a] COLLATE GBK"},
        // Everything else stays as written: brackets, '%s'AND, <>, tabs, double blanks.
        DialectCase{"SELECT [功率] FROM [光源] WHERE [光源名称] = 'x'AND [光源型号] = 'y'",
                    "SELECT [功率] FROM [光源] WHERE [光源名称] = 'x'AND [光源型号] = 'y'"},
        DialectCase{"SELECT * FROM [灯具型号] WHERE  [生产厂家] <> ''",
                    "SELECT * FROM [灯具型号] WHERE  [生产厂家] <> ''"},
        DialectCase{"INSERT INTO [t]\t\t\t\t\t(a,b) values ('it''s',2)",
                    "INSERT INTO [t]\t\t\t\t\t(a,b) values ('it''s',2)"},
        DialectCase{"select [3] from [古斯位置指数] where [H_R] = 12",
                    "select [3] from [古斯位置指数] where [H_R] = 12"},
        // A doubled "]" is part of the name: SQLite gets it double-quoted.
        DialectCase{"SELECT [a] FROM [t]] AS [u] ORDER BY [a]",
                    "SELECT [a] FROM \"t] AS [u\" ORDER BY [a] COLLATE GBK"},
        DialectCase{"", ""}));

struct SelectIntoCase {
  const char* text;
  bool matches;
  const char* new_table;
  const char* template_table;
};

class SelectIntoForms : public ::testing::TestWithParam<SelectIntoCase> {};

TEST_P(SelectIntoForms, Parses) {
  const auto& c = GetParam();
  auto r = ParseSelectInto(c.text);
  ASSERT_EQ(r.has_value(), c.matches) << c.text;
  if (r) {
    EXPECT_EQ(r->new_table, c.new_table);
    EXPECT_EQ(r->template_table, c.template_table);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Statements, SelectIntoForms,
    ::testing::Values(
        SelectIntoCase{"select * into [体育建筑] from [照度标准模板]", true, "体育建筑",
                       "照度标准模板"},
        SelectIntoCase{"SELECT * INTO new_t FROM tmpl;", true, "new_t", "tmpl"},
        SelectIntoCase{"  select  *  into  [门厅(普通)]  from  [照度标准模板] ", true,
                       "门厅(普通)", "照度标准模板"},
        SelectIntoCase{"select * into [a]]b] from [y]", true, "a]b", "y"},
        SelectIntoCase{"select [a] into [x] from [y]", false, "", ""},
        SelectIntoCase{"select * from [照度标准模板]", false, "", ""},
        SelectIntoCase{"select * into [x] from [y] where 1", false, "", ""},
        SelectIntoCase{"select * into 'x' from [y]", false, "", ""},
        SelectIntoCase{"select * into [] from [y]", false, "", ""}));

TEST(GbkCollation, OrdersHanziByPinyinAndAsciiFirst) {
  // Pinyin order: bai, gao, jin (金 before 紧), lu, ying; ASCII before any hanzi.
  std::vector<std::string> expected = {"LED",          "白炽灯",       "高压钠灯", "金属卤化物灯",
                                       "紧凑型荧光灯", "卤钨灯",       "荧光灯"};
  std::vector<std::string> v = {"荧光灯", "卤钨灯", "紧凑型荧光灯", "LED",
                                "金属卤化物灯", "高压钠灯", "白炽灯"};
  std::sort(v.begin(), v.end(),
            [](const std::string& a, const std::string& b) { return CompareGbk(a, b) < 0; });
  EXPECT_EQ(v, expected);
  EXPECT_EQ(CompareGbk("灯", "灯"), 0);
  EXPECT_LT(CompareGbk("灯", "灯具"), 0);
  EXPECT_GT(CompareGbk("灯具", "灯"), 0);
}

}  // namespace
