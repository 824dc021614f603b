// Import of Access reference databases: table copy (through a stand-in source), the checks on
// files and tables, and a real Jet file when one can be fetched.
#include "refdata/mdb_import.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "host/text_codec.h"
#include "support/ny_access.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using nytest::ReadAll;
using V = std::vector<std::string>;

// Tables held in memory, read as an Access file would be.
class FakeSource : public ImportTableSource {
 public:
  struct Table {
    std::vector<ImportColumn> columns;
    std::vector<std::vector<ImportValue>> rows;
  };
  std::vector<std::pair<std::string, Table>> tables;
  std::string unreadable;

  std::vector<std::string> TableNames() override {
    V names;
    for (const auto& t : tables) names.push_back(t.first);
    return names;
  }
  bool ReadTable(const std::string& name, std::vector<ImportColumn>& columns,
                 const std::function<bool(const std::vector<ImportValue>&)>& row,
                 std::string& error) override {
    if (name == unreadable) {
      error = "damaged";
      return false;
    }
    for (const auto& t : tables) {
      if (t.first != name) continue;
      columns = t.second.columns;
      for (const auto& r : t.second.rows)
        if (!row(r)) return false;
      return true;
    }
    error = "no such table";
    return false;
  }
};

V Query(const std::string& path, const std::string& sql) {
  NyAccess db;
  V v;
  if (db.InitADOServer(path)) db.GetSelData(v, sql);
  return v;
}

TEST(MdbImport, CopiesTablesWithTypesKeysAndNulls) {
  FakeSource s;
  s.tables.push_back({"照度标准",
                      {{{"ID", ImportColumnKind::kInteger, true}, {"场所", ImportColumnKind::kText}},
                       {{"1", "居住建筑"}, {"3", "办公建筑"}}}});
  s.tables.push_back({"光源",
                      {{{"光源名称", ImportColumnKind::kText}, {"功率", ImportColumnKind::kInteger},
                        {"距高比", ImportColumnKind::kReal}, {"图", ImportColumnKind::kBlob}},
                       {{"荧光灯", "36", "1.25", std::nullopt}, {"", std::nullopt, "0.5", std::nullopt}}}});
  s.tables.push_back({"空表", {{{"a", ImportColumnKind::kText}}, {}}});
  nytest::TempDir dir;
  std::string path = (dir.path() / "out.db").string();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  std::string error;
  ASSERT_TRUE(CopyTables(s, db, error)) << error;
  sqlite3_close(db);

  EXPECT_EQ(Query(path, "SELECT typeof([功率]), typeof([距高比]), [光源名称] FROM [光源] WHERE "
                        "[功率] = 36"),
            (V{"integer", "real", "荧光灯"}));
  EXPECT_EQ(Query(path, "SELECT typeof([功率]), [光源名称] = '' FROM [光源] WHERE [距高比] = 0.5"),
            (V{"null", "1"}));
  EXPECT_EQ(Query(path, "SELECT count(*) FROM [空表]"), (V{"0"}));
  // The autonumber column stays the key and goes on counting after the imported rows.
  NyAccess a;
  ASSERT_TRUE(a.InitADOServer(path));
  ASSERT_TRUE(a.ExecuteSQL("INSERT INTO [照度标准] (场所) values ('新')"));
  V v;
  a.GetSelData(v, "SELECT ID FROM [照度标准] WHERE [场所] = '新'");
  EXPECT_EQ(v, (V{"4"}));
}

TEST(MdbImport, AnUnreadableTableLeavesNothingHalfDone) {
  FakeSource s;
  s.tables.push_back({"平面设备表",
                      {{{"种类", ImportColumnKind::kText}, {"类型", ImportColumnKind::kText}},
                       {{"灯具", "ZM9"}, {std::nullopt, "QT9"}}}});
  s.tables.push_back({"坏表", {{{"a", ImportColumnKind::kText}}, {}}});
  s.unreadable = "坏表";
  nytest::TempDir dir;
  std::string target = (dir.path() / "plane.mdb").string();
  std::ofstream(target) << "old";
  std::string report;
  EXPECT_FALSE(ImportDatabase(s, "plane.mdb", target, report));
  EXPECT_NE(report.find("坏表"), std::string::npos);
  EXPECT_EQ(ReadAll(target), "old");
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(MdbImport, MissingRequiredTablesAreNamedAndNothingIsReplaced) {
  struct Case {
    const char* database;
    V tables;
    V missing;
  } cases[] = {
      {"NyData.mdb", {"光源", "灯具型号", "物体反射率"}, {"照度标准", "照度标准模板"}},
      {"ZirIrodoDot.mdb", {"灯具型号"}, {"默认光源", "古斯位置指数"}},
      {"PLANE.MDB", {"别的表"}, {"平面设备表"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.database);
    FakeSource s;
    for (const auto& t : c.tables) s.tables.push_back({t, {{{"x", ImportColumnKind::kText}}, {}}});
    nytest::TempDir dir;
    std::string target = (dir.path() / c.database).string();
    std::ofstream(target) << "previous import";
    std::string report;
    EXPECT_FALSE(ImportDatabase(s, c.database, target, report));
    for (const auto& m : c.missing) EXPECT_NE(report.find("[" + m + "]"), std::string::npos) << m;
    EXPECT_EQ(ReadAll(target), "previous import");
  }
}

TEST(MdbImport, ReplacesTheTargetAndNamesTablesTheDataRefersTo) {
  FakeSource s;
  auto text = [](const char* n) { return ImportColumn{n, ImportColumnKind::kText}; };
  s.tables.push_back({"灯具型号",
                      {{text("光源名称"), text("灯具型号"), text("生产厂家"), text("配光曲线表")},
                       {{"LED", "A", "", "有的曲线"}, {"LED", "B", "", "缺的曲线"}}}});
  s.tables.push_back({"有的曲线", {{text("角度")}, {}}});
  s.tables.push_back({"默认光源", {{text("灯具名称"), text("配光曲线表")}, {}}});
  s.tables.push_back({"古斯位置指数", {{text("H_R")}, {}}});
  nytest::TempDir dir;
  std::string target = (dir.path() / "ZirIrodoDot.mdb").string();
  std::ofstream(target) << "previous";
  std::string report;
  ASSERT_TRUE(ImportDatabase(s, "ZirIrodoDot.mdb", target, report)) << report;
  EXPECT_NE(report.find("[缺的曲线]"), std::string::npos);
  EXPECT_EQ(report.find("[有的曲线]"), std::string::npos);
  EXPECT_EQ(Query(target, "SELECT [配光曲线表] FROM [灯具型号] WHERE [灯具型号] = 'A'"),
            (V{"有的曲线"}));
}

TEST(MdbImport, FolderAndFileProblemsAreReported) {
  nytest::TempDir data;
  std::string report;
  EXPECT_EQ(ImportMdbFolder((data.path() / "nowhere").string(), data.str(), report), 2);
  EXPECT_NE(report.find("nowhere"), std::string::npos);

  nytest::TempDir empty;
  report.clear();
  EXPECT_EQ(ImportMdbFolder(empty.str(), data.str(), report), 2);

  nytest::TempDir src;
  std::ofstream(src.path() / "nydata.MDB") << std::string(4096, 'q');
  std::ofstream(data.path() / "NyData.mdb") << "kept";
  report.clear();
  EXPECT_EQ(ImportMdbFolder(src.str(), data.str(), report), 1);
  EXPECT_NE(report.find("nydata.MDB"), std::string::npos);
  EXPECT_NE(report.find("不是 Access (Jet) 数据库文件"), std::string::npos);
  EXPECT_EQ(ReadAll(data.path() / "NyData.mdb"), "kept");

  std::string error;
  EXPECT_EQ(OpenJetDatabase((src.path() / "none.mdb").string(), error), nullptr);
  EXPECT_EQ(error, "文件不存在");
}

class ImportCommand : public nytest::HostFixture {};

TEST_F(ImportCommand, ExportedEntryReportsIntoTheCallersBuffer) {
  LoadModule();
  char message[256];
  EXPECT_EQ(NyLuxoraImportMdb("/no/such/folder", message, sizeof message), 2);
  EXPECT_EQ(std::string(message), "文件夹不存在: /no/such/folder\n");
  // A short buffer cuts the report at a character boundary.
  char small[8];
  EXPECT_EQ(NyLuxoraImportMdb("/no/such/folder", small, sizeof small), 2);
  EXPECT_TRUE(nyhost::IsValidUtf8(small));
  EXPECT_LT(std::strlen(small), sizeof small);
  EXPECT_EQ(NyLuxoraImportMdb(nullptr, message, sizeof message), 2);
}

// A real Access file: node-adodb (MIT licence) ships examples/node-adodb.mdb (JET4, table Users).
// It is fetched into the build folder with npm when npm can reach its registry; nothing is
// committed. Without it these tests are skipped.
class JetFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fs::path dir = fs::path(NYLUXORA_TEST_BUILD_DIR) / "test-fixtures";
    path_ = (dir / "package" / "examples" / "node-adodb.mdb").string();
    if (fs::exists(path_)) return;
    std::error_code ec;
    fs::create_directories(dir, ec);
    std::string cmd = "cd '" + dir.string() +
                      "' && timeout 120 npm pack node-adodb@5.0.3 --silent >/dev/null 2>&1 && "
                      "tar xzf node-adodb-5.0.3.tgz package/examples/node-adodb.mdb "
                      "package/LICENSE >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) path_.clear();
  }
  void SetUp() override {
    if (path_.empty() || !fs::exists(path_)) GTEST_SKIP() << "no Access file available";
  }
  static std::string path_;
};
std::string JetFile::path_;

TEST_F(JetFile, ReadsConvertsAndIsRefusedAsAReferenceDatabase) {
  std::string error;
  auto src = OpenJetDatabase(path_, error);
  ASSERT_NE(src, nullptr) << error;
  EXPECT_EQ(src->TableNames(), (V{"Users"}));
  std::vector<ImportColumn> columns;
  std::vector<V> rows;
  ASSERT_TRUE(src->ReadTable(
      "Users", columns,
      [&](const std::vector<ImportValue>& r) {
        V row;
        for (const auto& v : r) row.push_back(v.value_or("<null>"));
        rows.push_back(row);
        return true;
      },
      error));
  ASSERT_EQ(columns.size(), 5u);
  EXPECT_EQ(columns[1].name, "UserName");
  EXPECT_EQ((std::vector{columns[0].kind, columns[1].kind}),
            (std::vector{ImportColumnKind::kInteger, ImportColumnKind::kText}));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ((V{rows[2][1], rows[2][2]}), (V{"张三", "男"}));

  // Converted into SQLite, then refused as a reference database.
  nytest::TempDir dir;
  std::string out = (dir.path() / "users.db").string();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(out.c_str(), &db), SQLITE_OK);
  ASSERT_TRUE(CopyTables(*src, db, error)) << error;
  sqlite3_close(db);
  EXPECT_EQ(Query(out, "SELECT [UserSex] FROM [Users] WHERE [UserName] = '张三'"), (V{"男"}));

  // As plane.mdb it lacks the device-kind table: named, and nothing replaced.
  fs::copy_file(path_, dir.path() / "PLANE.mdb");
  nytest::TempDir data;
  std::ofstream(data.path() / "plane.mdb") << "kept";
  std::string report;
  EXPECT_EQ(ImportMdbFolder(dir.str(), data.str(), report), 1);
  EXPECT_NE(report.find("[平面设备表]"), std::string::npos) << report;
  EXPECT_EQ(ReadAll(data.path() / "plane.mdb"), "kept");
}

}  // namespace
