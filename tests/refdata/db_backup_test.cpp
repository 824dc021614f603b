// The import/backup dialog (222): backup to a folder, import from the default folder, the
// folder remembered in the settings file.
#include <gtest/gtest.h>
#include <unistd.h>

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

TEST_F(DbBackupTest, ImportRefusesWhatIsNotAReferenceDatabase) {
  struct Case {
    const char* what;
    std::string content;  // empty: a copy of plane.mdb, a database without the tables
  } cases[] = {{"text", std::string(8192, 'z')}, {"empty", std::string()}, {"plane.mdb", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    nytest::TempDir src;
    if (std::string(c.what) == "plane.mdb")
      fs::copy_file(data_ + "plane.mdb", src.path() / "NYDATA.mdb");
    else
      std::ofstream(src.path() / "NYDATA.mdb") << c.content;
    fs::copy_file(data_ + "ZirIrodoDot.mdb", src.path() / "ZirIrodoDot.mdb");
    std::string nydata_before = ReadAll(data_ + "NyData.mdb");
    windows.message_log.clear();
    script = [&](nyhost::Dialog& dlg) {
      windows.file_answers.push_back(src.str());
      dlg.UserClick(383);
      dlg.UserClick(376);
    };
    RunDbImportBackupDialog();
    EXPECT_EQ(ReadAll(data_ + "NyData.mdb"), nydata_before);
    EXPECT_EQ(windows.message_log,
              V{"[岚序软件] 导入失败,下列文件没有导入,原有数据保持不变:\n<" +
                (src.path() / "NYDATA.mdb").string() + ">: 不是有效的数据库文件"});
    EXPECT_NE(NyDataDb(), nullptr);
  }
}

TEST_F(DbBackupTest, RefusesAnEmptyFolderAndNamesFilesItCouldNotCopy) {
  nytest::TempDir dir;
  std::ofstream(dir.path() / "a-file") << "x";
  const std::string no_folder = "[岚序软件] 请先填写或选择导入/备份的文件夹!";
  struct Case {
    int radio;
    std::string folder, message;
  } cases[] = {{378, "  ", no_folder},
               {379, "", no_folder},
               {379, (dir.path() / "a-file").string(),
                "[岚序软件] 备份失败,下列文件没有复制:\n<" + data_ + "NyData.mdb>: "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    windows.message_log.clear();
    script = [&](nyhost::Dialog& dlg) {
      dlg.UserType(352, c.folder);
      dlg.UserClick(c.radio);
      dlg.UserClick(376);
    };
    RunDbImportBackupDialog();
    ASSERT_EQ(windows.message_log.size(), 1u);
    EXPECT_EQ(windows.message_log[0].substr(0, c.message.size()), c.message);
  }
  EXPECT_NE(windows.message_log[0].find("ZirIrodoDot.mdb>: "), std::string::npos);
  EXPECT_EQ(fs::file_size(dir.path() / "a-file"), 1u);
}

TEST_F(DbBackupTest, ImportIntoAReadOnlyDataFolderSaysWhatFailed) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  nytest::TempDir src;
  for (const char* f : {"NyData.mdb", "ZirIrodoDot.mdb"}) fs::copy_file(data_ + f, src.path() / f);
  fs::permissions(data_, fs::perms::owner_read | fs::perms::owner_exec);
  script = [&](nyhost::Dialog& dlg) {
    dlg.UserType(352, src.str());
    dlg.UserClick(376);
  };
  RunDbImportBackupDialog();
  fs::permissions(data_, fs::perms::owner_all);
  ASSERT_EQ(windows.message_log.size(), 1u);
  EXPECT_EQ(windows.message_log[0].rfind("[岚序软件] 导入失败", 0), 0u);
  for (const char* f : {"NyData.mdb>: ", "ZirIrodoDot.mdb>: "})
    EXPECT_NE(windows.message_log[0].find(f), std::string::npos) << f;
}

}  // namespace
