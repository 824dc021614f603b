// NyAccess over SQLite: opening, the three result forms, table maintenance, transactions, and
// the refusal of a text that would run a second statement.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/dialog.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
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
}

TEST_F(NyAccessTest, SortsTextLikeAccessAndKeepsNumbersNumeric) {
  std::vector<std::string> v;
  access_.GetSelData(v, kSelectLampKindsSorted);
  EXPECT_EQ(v, (std::vector<std::string>{"LED", "白炽灯", "金属卤化物灯", "荧光灯", "荧光灯"}));
  access_.GetSelData(v, "SELECT [功率] FROM [光源] ORDER BY [功率]");
  EXPECT_EQ(v, (std::vector<std::string>{"9", "18", "36", "60", "70"}));
  access_.GetSelData(v, kSelectLampKindsGrouped);
  EXPECT_EQ(v, (std::vector<std::string>{"LED", "白炽灯", "金属卤化物灯", "荧光灯"}));
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

}  // namespace
