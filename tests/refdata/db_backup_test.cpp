// The import/backup dialog (222): backup to a folder, import from the default folder, the
// folder remembered in the settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "refdata/db_backup_dialog.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_ini_file.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class DbBackupTest : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    LoadModule();
    data_ = Module().DataFolder;
    windows.modal_driver = [this](nyhost::Dialog& dlg) {
      label = dlg.GetText(386);
      folder_shown = dlg.GetText(352);
      if (script) script(dlg);
      dlg.UserClose();
    };
  }
  std::string data_;
  std::string label, folder_shown;
  std::function<void(nyhost::Dialog&)> script;
};

TEST_F(DbBackupTest, BacksUpBothUserDatabases) {
  nytest::TempDir target;
  fs::path folder = target.path() / "备份" / "db";
  std::string label_after;
  script = [&](nyhost::Dialog& dlg) {
    ASSERT_TRUE(dlg.UserType(352, folder.string() + "/"));
    ASSERT_TRUE(dlg.UserClick(379));
    label_after = dlg.GetText(386);
    EXPECT_EQ(dlg.GetCheck(378), 0);
    dlg.UserClick(376);
  };
  RunDbImportBackupDialog();
  EXPECT_EQ(label, "从...导入");
  EXPECT_EQ(label_after, "备份到...");
  EXPECT_EQ(windows.message_log, (V{"[岚序软件] 备份操作完成!"}));
  EXPECT_EQ(ReadAll(folder / "NyData.mdb"), ReadAll(data_ + "NyData.mdb"));
  EXPECT_EQ(ReadAll(folder / "ZirIrodoDot.mdb"), ReadAll(data_ + "ZirIrodoDot.mdb"));
  EXPECT_FALSE(fs::exists(folder / "plane.mdb"));
  // The folder is remembered without its trailing separator.
  EXPECT_EQ(NyIniFile::ReadKey("NyDlgDbExImPort", "导出路径", "", Module().SettingsFile),
            folder.string());
  script = nullptr;
  RunDbImportBackupDialog();
  EXPECT_EQ(folder_shown, folder.string());
}

TEST_F(DbBackupTest, ImportFromTheDefaultFolderReplacesOnlyWhatIsThere) {
  // Bak/Db under the root folder holds a changed ZirIrodoDot.mdb only.
  fs::path bak = fs::path(Module().RootFolder) / "Bak" / "Db";
  fs::create_directories(bak);
  fs::copy_file(data_ + "ZirIrodoDot.mdb", bak / "zirirododot.MDB");
  {
    NyAccess other;
    ASSERT_TRUE(other.InitADOServer((bak / "zirirododot.MDB").string()));
    ASSERT_TRUE(other.ExecuteSQL(FormatSql(kInsertDotLuminaire, "LED", "导入型号", "", "c")));
  }
  std::string nydata_before = ReadAll(data_ + "NyData.mdb");
  // An open connection sees the old file before and the imported one after.
  V v;
  ASSERT_EQ(ZirIrodoDotDb()->GetSelData(v, FormatSql(kSelectCurveByModel, "导入型号")), 0);

  script = [](nyhost::Dialog& dlg) { dlg.UserClick(376); };
  RunDbImportBackupDialog();
  EXPECT_EQ(folder_shown, (bak).string());
  EXPECT_EQ(windows.message_log,
            (V{"[岚序软件] <" + (bak / "NYDATA.mdb").string() + ">文件不存在!",
               "[岚序软件] 导入操作完成!"}));
  EXPECT_EQ(ReadAll(data_ + "NyData.mdb"), nydata_before);
  ASSERT_NE(ZirIrodoDotDb(), nullptr);
  EXPECT_EQ(ZirIrodoDotDb()->GetSelData(v, FormatSql(kSelectCurveByModel, "导入型号")), 1);
  EXPECT_EQ(v, (V{"c"}));
}

TEST_F(DbBackupTest, ImportRefusesAFileThatIsNotADatabase) {
  nytest::TempDir src;
  std::ofstream(src.path() / "NYDATA.mdb") << std::string(8192, 'z');
  fs::copy_file(data_ + "ZirIrodoDot.mdb", src.path() / "ZirIrodoDot.mdb");
  std::string nydata_before = ReadAll(data_ + "NyData.mdb");
  script = [&](nyhost::Dialog& dlg) {
    std::string chosen = src.str();
    windows.file_answers.push_back(chosen);
    dlg.UserClick(383);
    EXPECT_EQ(dlg.GetText(352), chosen);
    dlg.UserClick(376);
  };
  RunDbImportBackupDialog();
  EXPECT_EQ(ReadAll(data_ + "NyData.mdb"), nydata_before);
  ASSERT_EQ(windows.message_log.size(), 2u);
  EXPECT_NE(windows.message_log[0].find("不是有效的数据库文件"), std::string::npos);
  EXPECT_EQ(windows.message_log[1], "[岚序软件] 导入操作完成!");
  EXPECT_NE(NyDataDb(), nullptr);
}

}  // namespace
