// The connection cache: one connection per file whatever the letter case of its path, and one
// "ADO ERR!" per file that cannot be opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

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
