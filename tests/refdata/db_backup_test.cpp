// The import/backup dialog (222): backup to a folder, import from the default folder, the
// folder remembered in the settings file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
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
using nytest::ReadAll;
using V = std::vector<std::string>;

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
  fs::create_directories(data_ + "photometry");
  std::ofstream(data_ + "photometry/CURVE_A.ies") << "IESNA:LM-63-2002";
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
  EXPECT_EQ(ReadAll(folder / "photometry" / "CURVE_A.ies"), "IESNA:LM-63-2002");
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
  fs::create_directories(bak / "photometry");
  std::ofstream(bak / "photometry" / "CURVE_B.ldt") << "kept with its curve";
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
  EXPECT_EQ(ReadAll(data_ + "photometry/CURVE_B.ldt"), "kept with its curve");
}

TEST_F(DbBackupTest, NamesEveryFileNotCopiedAndCompletesOnlyWithoutFailure) {
  nytest::TempDir dir;
  std::ofstream(dir.path() / "a-file") << "x";
  // A folder whose NYDATA.mdb is `nydata` (a copy of plane.mdb when null: tables missing).
  auto source = [&](const char* nydata) {
    fs::path src = dir.path() / std::to_string(std::hash<const void*>{}(nydata));
    fs::create_directories(src);
    fs::copy_file(data_ + "ZirIrodoDot.mdb", src / "ZirIrodoDot.mdb");
    if (nydata) std::ofstream(src / "NYDATA.mdb") << nydata;
    if (!nydata) fs::copy_file(data_ + "plane.mdb", src / "NYDATA.mdb");
    return src.string();
  };
  const std::string no_folder = "[岚序软件] 请先填写或选择导入/备份的文件夹!";
  const std::string invalid = ">: 不是有效的数据库文件";
  struct Case {
    int radio;
    std::string folder, start, end;
    bool needs_permissions = false;
  } cases[] = {
      {379, "  ", no_folder, no_folder},
      {378, "", no_folder, no_folder},
      {379, (dir.path() / "a-file").string(), "[岚序软件] 备份失败,下列文件没有复制:\n<" + data_,
       "a-file/ZirIrodoDot.mdb: Not a directory"},
      {378, source("zzzzzzzzzzzzzzzzzzzz"), "[岚序软件] 导入失败", invalid},
      {378, source(""), "[岚序软件] 导入失败", invalid},
      {378, source(nullptr), "[岚序软件] 导入失败", invalid},
      {378, dir.str(), "[岚序软件] 导入失败", "ZirIrodoDot.mdb: Permission denied", true},
  };
  for (const char* f : {"NyData.mdb", "ZirIrodoDot.mdb"}) fs::copy_file(data_ + f, dir.path() / f);
  std::string nydata_before = ReadAll(data_ + "NyData.mdb");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder + c.end);
    if (c.needs_permissions && geteuid() == 0) continue;  // root ignores folder permissions
    windows.message_log.clear();
    script = [&](nyhost::Dialog& dlg) {
      dlg.UserType(352, c.folder);
      dlg.UserClick(c.radio);
      if (c.needs_permissions)
        fs::permissions(data_, fs::perms::owner_read | fs::perms::owner_exec);
      dlg.UserClick(376);
      fs::permissions(data_, fs::perms::owner_all);
    };
    RunDbImportBackupDialog();
    ASSERT_EQ(windows.message_log.size(), 1u);
    const std::string& m = windows.message_log[0];
    EXPECT_EQ(m.substr(0, c.start.size()), c.start);
    EXPECT_EQ(m.substr(m.size() - std::min(m.size(), c.end.size())), c.end);
    EXPECT_EQ(ReadAll(data_ + "NyData.mdb"), nydata_before);
  }
  EXPECT_EQ(fs::file_size(dir.path() / "a-file"), 1u);
}

}  // namespace
