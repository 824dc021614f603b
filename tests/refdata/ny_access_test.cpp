// NyAccess over SQLite: opening, the three result forms, table maintenance, transactions, the
// refusal of a text that would run a second statement, the rewrite of Access statement forms,
// and the connection cache (one connection per file whatever the letter case of its path, one
// "ADO ERR!" per file that cannot be opened).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/module_state.h"
#include "host/dialog.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_sql_dialect.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// A fresh database file made with sqlite3 directly, independent of the code under test.
class NyAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (dir_.path() / "t.mdb").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    const char* setup =
        "CREATE TABLE [光源] ([光源名称] TEXT, [光源型号] TEXT, [功率] INTEGER, [光通量] INTEGER,"
        " [生产厂家] TEXT);"
        "INSERT INTO [光源] VALUES ('荧光灯','T8',36,3350,'');"
        "INSERT INTO [光源] VALUES ('荧光灯','T8',18,1350,NULL);"
        "INSERT INTO [光源] VALUES ('白炽灯','PZ',60,730,'通用');"
        "INSERT INTO [光源] VALUES ('LED','T8-600',9,1000,'');"
        "INSERT INTO [光源] VALUES ('金属卤化物灯','MH',70,5600,'');"
        "CREATE TABLE [照度标准模板] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT,"
        " [照度] INTEGER);"
        "INSERT INTO [照度标准模板] ([场所名称],[照度]) VALUES ('样板',1);"
        "INSERT INTO [照度标准模板] ([场所名称],[照度]) VALUES ('样板2',2);";
    ASSERT_EQ(sqlite3_exec(db, setup, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    ASSERT_TRUE(access_.InitADOServer(path_));
  }

  // Row count of a table, read with sqlite3 directly.
  int CountRows(const std::string& table) {
    sqlite3* db = nullptr;
    sqlite3_open(path_.c_str(), &db);
    sqlite3_stmt* st = nullptr;
    int n = -1;
    std::string sql = "SELECT count(*) FROM \"" + table + "\"";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      n = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
  }

  nytest::TempDir dir_;
  std::string path_;
  NyAccess access_;
};

TEST_F(NyAccessTest, OpensOnlyExistingDatabases) {
  NyAccess a;
  std::string missing = (dir_.path() / "missing.mdb").string();
  EXPECT_EQ(a.InitADOServer(missing), 0);
  EXPECT_FALSE(fs::exists(missing)) << "opening must never create a file";

  // Text, an empty file (which SQLite would take for an empty database) and a database
  // without tables are refused and left as they were.
  std::string no_tables = (dir_.path() / "no_tables.mdb").string();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(no_tables.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE x(a); DROP TABLE x;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  for (const char* content : {"this is not a database, just some text that is long enough", ""}) {
    std::string file = (dir_.path() / "file.mdb").string();
    std::ofstream(file) << content;
    EXPECT_EQ(a.InitADOServer(file), 0) << content;
    EXPECT_EQ(fs::file_size(file), std::string(content).size());
  }
  EXPECT_EQ(a.InitADOServer(no_tables), 0);
  EXPECT_FALSE(a.is_open());
}

TEST_F(NyAccessTest, ProgramsSharingAFileWaitForEachOther) {
  // Another program holds the file locked for a while: opening and writing wait for it.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::atomic<int> written{0};
  std::vector<std::thread> programs;
  for (int i = 0; i < 4; ++i)
    programs.emplace_back([&] {
      NyAccess p;
      written += p.InitADOServer(path_) && p.BeginTrans() && p.CommitTrans() &&
                 p.ExecuteSQL(FormatSql(kInsertLamp, "z", "z", 1, 1, ""));
    });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  for (auto& t : programs) t.join();
  EXPECT_EQ(written, 4);
  EXPECT_EQ(CountRows("光源"), 5 + 4);
}

TEST_F(NyAccessTest, SelectsIntoStringArrayRowAfterRow) {
  std::vector<std::string> v;
  EXPECT_EQ(access_.GetSelData(v, "SELECT [功率],[生产厂家] FROM [光源] WHERE [光源名称] = "
                                  "'荧光灯' ORDER BY [功率]"),
            2);
  EXPECT_EQ(v, (std::vector<std::string>{"18", "", "36", ""}));  // NULL reads as ""
  EXPECT_EQ(access_.GetSelData(v, "SELECT [功率] FROM [光源] WHERE [光源名称] = 'x'"), 0);
  EXPECT_TRUE(v.empty());
  EXPECT_EQ(access_.GetSelData(v, "SELECT [nope] FROM [光源]"), 0);
  EXPECT_FALSE(access_.last_error().empty());
  // Numbers stay numeric under the code-page collation (text order: the catalogue's reads).
  access_.GetSelData(v, "SELECT [功率] FROM [光源] ORDER BY [功率]");
  EXPECT_EQ(v, (std::vector<std::string>{"9", "18", "36", "60", "70"}));
}

TEST_F(NyAccessTest, SelectsIntoTableAndControls) {
  NyStTable t;
  EXPECT_EQ(access_.GetSelData(t, "SELECT [光源名称],[功率] FROM [光源] WHERE [功率] > 30 "
                                  "ORDER BY [功率]"),
            3);
  EXPECT_EQ(t.GetTableLogicSize(), 3);
  std::vector<std::string> row;
  ASSERT_TRUE(t.GetValueRecord(row, 2));
  EXPECT_EQ(row, (std::vector<std::string>{"金属卤化物灯", "70"}));
  EXPECT_FALSE(t.GetValueRecord(row, 3));
  EXPECT_TRUE(row.empty());

  nyhost::WindowSystem ws;
  nyhost::DialogTemplate tpl;
  tpl.id = 1;
  tpl.controls = {{5, nyhost::ControlKind::kList}, {6, nyhost::ControlKind::kDropList}};
  nyhost::Dialog dlg(ws, tpl, nullptr, nullptr, false);
  dlg.AddString(6, "全部");
  EXPECT_EQ(access_.GetSelData(dlg, 6, "SELECT [光源型号] FROM [光源] WHERE [功率] < 20 ORDER BY "
                                       "[功率]"),
            2);
  // Appended after what the caller put first.
  EXPECT_EQ(dlg.GetCount(6), 3);
  EXPECT_EQ(dlg.GetItemText(6, 0), "全部");
  EXPECT_EQ(dlg.GetItemText(6, 1), "T8-600");
  EXPECT_EQ(access_.GetSelData(dlg, 5, "SELECT [光源名称],[光源型号],[生产厂家] FROM [光源] "
                                       "WHERE [功率] = 60"),
            1);
  EXPECT_EQ(NyAccess::SplitItem(dlg.GetItemText(5, 0)),
            (std::vector<std::string>{"白炽灯", "PZ", "通用"}));
}

TEST_F(NyAccessTest, RefusesASecondStatementAndLeavesTheDataAlone) {
  // A value with a stray quote, formatted the way the statements format values.
  std::string value = "x'; DROP TABLE [光源]; --";
  std::string sql = "SELECT * FROM [光源] WHERE [光源名称] = '" + value + "'";
  std::vector<std::string> v;
  EXPECT_EQ(access_.GetSelData(v, sql), 0);
  EXPECT_EQ(access_.ExecuteSQL("DELETE * FROM [光源] WHERE [光源名称] = '" + value + "'"), 0);
  EXPECT_EQ(access_.ExecuteSQL("UPDATE [光源] SET [功率] = 1; DELETE FROM [光源]"), 0);
  EXPECT_EQ(CountRows("光源"), 5);
  EXPECT_EQ(access_.IsTableInDatabase("光源", "TABLE"), 1);
  std::vector<std::string> powers;
  access_.GetSelData(powers, "SELECT [功率] FROM [光源] WHERE [功率] = 1");
  EXPECT_TRUE(powers.empty()) << "the first statement of a refused text must not run either";

  // FormatSql refuses a quoted text value before it reaches the database.
  EXPECT_EQ(FormatSql(kDeleteLamp, value, "T8", 36), "");
  EXPECT_EQ(access_.ExecuteSQL(FormatSql(kDeleteLamp, "荧光灯'", "T8", 36)), 0);
  EXPECT_EQ(CountRows("光源"), 5);
  EXPECT_EQ(access_.ExecuteSQL("INSERT INTO [nope] (a) values (1)"), 0);
  EXPECT_EQ(access_.ExecuteSQL(""), 0);
  // A trailing semicolon and blanks are one statement.
  EXPECT_EQ(access_.GetSelData(v, "SELECT [功率] FROM [光源] WHERE [功率] = 9 ;  \n"), 1);
}

TEST_F(NyAccessTest, CreatesTablesAndCopiesTemplatesWithTheirKey) {
  EXPECT_EQ(access_.IsTableInDatabase("配光", "TABLE"), 0);
  std::vector<NyStTableField> fields = {{"角度", "int"}, {"光强A", "int"}, {"利用系数", "float"}};
  ASSERT_EQ(access_.CreateTable("配光", fields), 1);
  EXPECT_EQ(access_.IsTableInDatabase("配光", "TABLE"), 1);
  EXPECT_EQ(access_.CreateTable("配光", fields), 0) << "an existing table is not created again";
  ASSERT_EQ(access_.ExecuteSQL("INSERT INTO [配光] (角度,光强A,利用系数) values (5,7,0.5)"), 1);
  std::vector<std::string> v;
  access_.GetSelData(v, "SELECT typeof([角度]), typeof([利用系数]) FROM [配光]");
  EXPECT_EQ(v, (std::vector<std::string>{"integer", "real"}));

  // select * into: a copy keeping rows and the autonumber key, which continues after the rows.
  ASSERT_EQ(access_.ExecuteSQL(FormatSql(kCreateCategoryTableFromTemplate, "体育建筑")), 1);
  EXPECT_EQ(CountRows("体育建筑"), 2);
  ASSERT_EQ(access_.ExecuteSQL("INSERT INTO [体育建筑] (场所名称,照度) values ('体育馆',300)"), 1);
  access_.GetSelData(v, "SELECT ID FROM [体育建筑] WHERE [场所名称] = '体育馆'");
  EXPECT_EQ(v, (std::vector<std::string>{"3"}));
  EXPECT_EQ(access_.CreateTableFromTemplet("体育建筑", "照度标准模板"), 0);
  EXPECT_EQ(access_.CreateTableFromTemplet("新表", "没有的模板"), 0);
  EXPECT_EQ(access_.IsTableInDatabase("新表", "TABLE"), 0);
  // Names with brackets, blanks and quotes are table names like any other.
  ASSERT_EQ(access_.CreateTableFromTemplet("门厅(普通) \"A\"", "照度标准模板"), 1);
  EXPECT_EQ(CountRows("门厅(普通) \"\"A\"\""), 2);

  EXPECT_EQ(access_.DeleteTable("体育建筑"), 1);
  EXPECT_EQ(access_.IsTableInDatabase("体育建筑", "TABLE"), 0);
  EXPECT_EQ(access_.DeleteTable("体育建筑"), 0);
}

TEST_F(NyAccessTest, TransactionsCommitOrRollBackTogether) {
  ASSERT_EQ(access_.BeginTrans(), 1);
  EXPECT_TRUE(access_.in_transaction());
  EXPECT_EQ(access_.BeginTrans(), 0) << "no nested BEGIN";
  access_.ExecuteSQL(FormatSql(kInsertLamp, "卤钨灯", "LZG", 50, 850, ""));
  access_.ExecuteSQL(FormatSql(kInsertLamp, "卤钨灯", "LZG", 100, 1800, ""));
  ASSERT_EQ(access_.RollbackTrans(), 1);
  EXPECT_EQ(CountRows("光源"), 5);

  ASSERT_EQ(access_.BeginTrans(), 1);
  access_.ExecuteSQL(FormatSql(kInsertLamp, "卤钨灯", "LZG", 50, 850, ""));
  ASSERT_EQ(access_.CommitTrans(), 1);
  EXPECT_FALSE(access_.in_transaction());
  EXPECT_EQ(CountRows("光源"), 6);
}

TEST_F(NyAccessTest, ClosedConnectionDoesNothing) {
  access_.CloseAll();
  std::vector<std::string> v;
  EXPECT_EQ(access_.GetSelData(v, kSelectLampKindsSorted), 0);
  EXPECT_EQ(access_.ExecuteSQL("DELETE FROM [光源]"), 0);
  EXPECT_EQ(access_.IsTableInDatabase("光源"), 0);
  EXPECT_EQ(CountRows("光源"), 5);
}

// Access statement forms as SQLite gets them (null: unchanged).
TEST(SqlDialect, RewritesAccessFormsForSqlite) {
  const std::pair<const char*, const char*> cases[] = {
      // DELETE * FROM loses the star, any spacing and letter case.
      {"DELETE * FROM [光源] WHERE [功率] = 36", "DELETE FROM [光源] WHERE [功率] = 36"},
      {"delete   *   from [t]", "delete from [t]"},
      {"DELETE * FROM [%s]", "DELETE FROM [%s]"},
      {"DELETE FROM [t]", nullptr},
      // Text in quotes is never touched.
      {"SELECT * FROM [t] WHERE [a] = 'DELETE * FROM x'", nullptr},
      {"SELECT [a] FROM [t] WHERE [b] = 'ORDER BY [c]'", nullptr},
      // Ordering and grouping terms get the code-page collation.
      {"SELECT [光源名称] FROM [光源] ORDER BY [光源名称]",
       "SELECT [光源名称] FROM [光源] ORDER BY [光源名称] COLLATE GBK"},
      {"SELECT [场所名称] FROM [%s] ORDER BY ID ",
       "SELECT [场所名称] FROM [%s] ORDER BY ID COLLATE GBK "},
      {"SELECT [利用系数] FROM [t] ORDER BY [有效顶棚反射比],[墙反射比],[室空间比]",
       "SELECT [利用系数] FROM [t] ORDER BY [有效顶棚反射比] COLLATE GBK,[墙反射比] "
       "COLLATE GBK,[室空间比] COLLATE GBK"},
      {"SELECT [a] FROM [t] ORDER BY [a] DESC, [b] ASC",
       "SELECT [a] FROM [t] ORDER BY [a] COLLATE GBK DESC, [b] COLLATE GBK ASC"},
      {"SELECT [a] FROM [t] ORDER BY [a] COLLATE NOCASE", nullptr},
      {"SELECT [生产厂家] FROM [光源] WHERE [光源名称] = '%s' group by [生产厂家]",
       "SELECT [生产厂家] FROM [光源] WHERE [光源名称] = '%s' group by [生产厂家] COLLATE GBK"},
      {"SELECT [a] FROM [t] GROUP BY [a] ORDER BY [a]",
       "SELECT [a] FROM [t] GROUP BY [a] COLLATE GBK ORDER BY [a] COLLATE GBK"},
      // Everything else stays as written: brackets, '%s'AND, <>, tabs, double blanks.
      {"SELECT [功率] FROM [光源] WHERE [光源名称] = 'x'AND [光源型号] = 'y'", nullptr},
      {"SELECT * FROM [灯具型号] WHERE  [生产厂家] <> ''", nullptr},
      {"INSERT INTO [t]\t\t\t\t\t(a,b) values ('it''s',2)", nullptr},
      {"select [3] from [古斯位置指数] where [H_R] = 12", nullptr},
      // A doubled "]" is part of the name: SQLite gets it double-quoted.
      {"SELECT [a] FROM [t]] AS [u] ORDER BY [a]",
       "SELECT [a] FROM \"t] AS [u\" ORDER BY [a] COLLATE GBK"},
      {"", nullptr},
  };
  for (const auto& [access, sqlite] : cases)
    EXPECT_EQ(ToSqliteDialect(access), sqlite ? sqlite : access) << access;
  // Names equal up to a prefix order the shorter first (the full order is the catalogue's).
  EXPECT_EQ(CompareGbk("灯", "灯"), 0);
  EXPECT_LT(CompareGbk("灯", "灯具"), 0);
  EXPECT_GT(CompareGbk("灯具", "灯"), 0);
}

TEST(SqlDialect, ParsesSelectInto) {
  struct Case {
    const char* text;
    const char *new_table, *template_table;  // null: not a copy of a table
  } cases[] = {
      {"select * into [体育建筑] from [照度标准模板]", "体育建筑", "照度标准模板"},
      {"SELECT * INTO new_t FROM tmpl;", "new_t", "tmpl"},
      {"  select  *  into  [门厅(普通)]  from  [照度标准模板] ", "门厅(普通)", "照度标准模板"},
      {"select * into [a]]b] from [y]", "a]b", "y"},
      {"select [a] into [x] from [y]", nullptr, nullptr},
      {"select * from [照度标准模板]", nullptr, nullptr},
      {"select * into [x] from [y] where 1", nullptr, nullptr},
      {"select * into 'x' from [y]", nullptr, nullptr},
      {"select * into [] from [y]", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    auto r = ParseSelectInto(c.text);
    ASSERT_EQ(r.has_value(), c.new_table != nullptr) << c.text;
    if (r) {
      EXPECT_EQ(r->new_table + "|" + r->template_table,
                std::string(c.new_table) + "|" + c.template_table);
    }
  }
}

class ReferenceDbTest : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    LoadModule();
  }
  int AdoErrors() const {
    return static_cast<int>(std::count_if(windows.message_log.begin(), windows.message_log.end(),
                                          [](const std::string& m) {
                                            return m.find("ADO ERR!") != std::string::npos;
                                          }));
  }
};

TEST_F(ReferenceDbTest, PathsDifferingInCaseShareOneConnection) {
  std::string path = Module().DataFolder + "ZirIrodoDot.mdb";
  NyAccess* a = GetDbConnection(path);
  ASSERT_NE(a, nullptr);
  std::string upper = path;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  EXPECT_EQ(GetDbConnection(upper), a);
  EXPECT_EQ(ZirIrodoDotDb(), a);
  EXPECT_EQ(Module().DbConnectionCache.size(), 1u);
  EXPECT_EQ(AdoErrors(), 0);
  std::vector<std::string> v;
  EXPECT_EQ(a->GetSelData(v, FormatSql(kSelectCurveByModel, "TD-150")), 1);
}

TEST_F(ReferenceDbTest, AFileThatCannotBeOpenedIsReportedOnce) {
  struct Case {
    const char* file;
    const char* content;  // null: no file
  } cases[] = {{"missing.mdb", nullptr}, {"empty.mdb", ""}};
  for (Case c : cases) {
    SCOPED_TRACE(c.file);
    std::string path = Module().DataFolder + c.file;
    if (c.content) std::ofstream(path) << c.content;
    int before = AdoErrors();
    EXPECT_EQ(GetDbConnection(path), nullptr);
    EXPECT_EQ(AdoErrors(), before + 1);
    EXPECT_EQ(GetDbConnection(path), nullptr);
    EXPECT_EQ(AdoErrors(), before + 1) << "the failure is remembered, not shown again";
    EXPECT_EQ(fs::exists(path), c.content != nullptr) << "no file is created";
    if (c.content) {
      EXPECT_EQ(fs::file_size(path), std::string(c.content).size()) << "left as it was";
    }
  }
  EXPECT_EQ(windows.message_log.back(), "[岚序软件] ADO ERR!");
}

TEST_F(ReferenceDbTest, DatabaseFileNamesCompareWithoutRegardToCase) {
  fs::rename(Module().DataFolder + "NyData.mdb", Module().DataFolder + "NYDATA.mdb");
  UnloadModule();
  LoadModule();  // seeds the user folder again
  EXPECT_EQ(DataFile(kNyDataDb), Module().DataFolder + "NYDATA.mdb");
  std::vector<std::string> v;
  EXPECT_GT(NyDataDb() ? NyDataDb()->GetSelData(v, kSelectLampKindsGrouped) : 0, 0);
  EXPECT_FALSE(fs::exists(Module().DataFolder + "NyData.mdb")) << "never a second file";
}

TEST_F(ReferenceDbTest, ClosingEmptiesTheCacheAndTheNextRequestReopens) {
  std::string path = Module().DataFolder + "gone.mdb";
  EXPECT_EQ(GetDbConnection(path), nullptr);
  ASSERT_NE(NyDataDb(), nullptr);
  EXPECT_EQ(Module().DbConnectionCache.size(), 2u);
  CloseAllConnections();
  EXPECT_TRUE(Module().DbConnectionCache.empty());
  // The file has appeared meanwhile: it is tried again after the cache was emptied.
  fs::copy_file(Module().DataFolder + "plane.mdb", path);
  NyAccess* db = GetDbConnection(path);
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(db->IsTableInDatabase("平面设备表", "TABLE"), 1);
  EXPECT_NE(NyDataDb(), nullptr);
}

}  // namespace
