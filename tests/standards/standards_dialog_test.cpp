#include <gtest/gtest.h>

#include "base/module_state.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "standards/standards_dialog.h"
#include "support/ny_access.h"
#include "support/ny_ini_file.h"
#include "test_support.h"

namespace {

class Standards : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    LoadModule();
  }
  // Runs the dialog with `drive` as the person in front of it.
  int Run(CNyStandardDlg& dlg, std::function<void(nyhost::Dialog&)> drive) {
    windows.modal_driver = [drive](nyhost::Dialog& d) {
      if (d.id() == CNyStandardDlg::kTemplateId) drive(d);
    };
    return dlg.DoModal();
  }
};

TEST_F(Standards, ClickingAPlaceGivesItsFiveValues) {
  struct Case {
    const char* path;
    const char* lx;
    const char* lpd;
    const char* tag;
    const char* ugr;
    const char* ra;
  } cases[] = {
      {"办公建筑/普通办公室", "300", "11", "9", "19", "80"},
      {"办公建筑/高档办公室", "500", "18", "15", "19", "80"},
      {"办公建筑/营业厅", "300", "13", "11", "22", "80"},
  };
  for (const auto& c : cases) {
    CNyStandardDlg dlg;
    std::vector<std::string> fields;
    Run(dlg, [&](nyhost::Dialog& d) {
      ASSERT_TRUE(d.UserChoose(CNyStandardDlg::kTree, c.path));
      for (int id : {360, 361, 362, 363, 364}) fields.push_back(d.GetText(id));
      d.UserClick(nyhost::kIdOk);
    });
    EXPECT_EQ(fields, (std::vector<std::string>{c.lx, c.lpd, c.tag, c.ugr, c.ra})) << c.path;
  }
}

TEST_F(Standards, OkRemembersTheSelectionInBothFiles) {
  const std::string scheme = home->str() + "/scheme.txt";
  CNyStandardDlg dlg;
  dlg.SetCallerSettings(scheme, "方案一");
  EXPECT_EQ(Run(dlg,
                [](nyhost::Dialog& d) {
                  d.UserChoose(CNyStandardDlg::kTree, "办公建筑/普通办公室");
                  d.UserClick(nyhost::kIdOk);
                }),
            nyhost::kIdOk);
  EXPECT_EQ(dlg.m_nStandLx, 300);
  EXPECT_DOUBLE_EQ(dlg.m_dStandLPD, 11);
  EXPECT_DOUBLE_EQ(dlg.m_dTagLPD, 9);
  EXPECT_EQ(dlg.m_nUGR, 19);
  EXPECT_EQ(dlg.m_sRa, "80");
  for (auto [file, section] : {std::pair{Module().SettingsFile, std::string("照度标准—岚序软件")},
                               {scheme, std::string("方案一")}}) {
    EXPECT_EQ(NyIniFile::ReadKey(section, "父", std::string(), file), "办公建筑");
    EXPECT_EQ(NyIniFile::ReadKey(section, "子", std::string(), file), "普通办公室");
    EXPECT_EQ(NyIniFile::ReadKey(section, "m_nStandLx", 0, file), 300);
    EXPECT_DOUBLE_EQ(NyIniFile::ReadKey(section, "m_dStandLPD", 0.0, file), 11);
  }
  // Opening again selects the remembered place and shows its values.
  CNyStandardDlg again;
  std::string selected, lx;
  Run(again, [&](nyhost::Dialog& d) {
    selected = d.GetItemTextOf(236, d.GetSelectedItem(236));
    lx = d.GetText(360);
    d.UserClick(nyhost::kIdCancel);
  });
  EXPECT_EQ(selected, "普通办公室");
  EXPECT_EQ(lx, "300");
}

TEST_F(Standards, ACategoryClickChangesNothingAndBadDataIsReported) {
  CNyStandardDlg dlg;
  std::string lx;
  Run(dlg, [&](nyhost::Dialog& d) {
    d.UserChoose(236, "办公建筑");
    lx = d.GetText(360);
    d.UserClick(nyhost::kIdCancel);
  });
  EXPECT_EQ(lx, "0");
  EXPECT_TRUE(windows.message_log.empty());

  // The same place twice: ten values instead of five.
  NyAccess* db = NyDataDb();
  ASSERT_TRUE(db->ExecuteSQL(
      FormatSql(kInsertStandardPlace, "办公建筑", "会议室", 300, 11.0, 9.0, 19.0, 80)));
  CNyStandardDlg twice;
  Run(twice, [&](nyhost::Dialog& d) {
    d.UserChoose(236, "办公建筑/会议室");
    d.UserClick(nyhost::kIdCancel);
  });
  EXPECT_EQ(windows.message_log, std::vector<std::string>{"[岚序软件] 数据库有误"});
  EXPECT_EQ(twice.m_nStandLx, 0);
}

TEST_F(Standards, MenuAddsAndDeletesCategoriesAndPlaces) {
  CNyStandardDlg dlg;
  std::vector<std::string> roots_after_add, places_after_add, roots_after_delete;
  windows.modal_driver = [&](nyhost::Dialog& d) {
    if (d.id() == 217) {
      d.UserType(1001, "体育建筑");
      d.UserClick(nyhost::kIdOk);
      return;
    }
    if (d.id() == 218) {
      d.UserType(1001, "训练馆");
      d.UserType(1002, "300");
      d.UserType(1003, "12.5");
      d.UserType(1005, "22.4");
      d.UserClick(nyhost::kIdOk);
      return;
    }
    windows.menu_answers = {0};  // 新建大类
    d.UserTreeRightClick(236, "办公建筑");
    windows.menu_answers = {1};  // 新建小类
    d.UserTreeRightClick(236, "体育建筑");
    for (int r : d.GetChildItems(236, 0)) roots_after_add.push_back(d.GetItemTextOf(236, r));
    int sport = d.FindTreeItem(236, 0, "体育建筑");
    for (int c : d.GetChildItems(236, sport)) places_after_add.push_back(d.GetItemTextOf(236, c));
    d.UserChoose(236, "体育建筑/训练馆");
    windows.message_answers = {nyhost::kIdYes};
    windows.menu_answers = {2};  // 删除 the category
    d.UserTreeRightClick(236, "体育建筑");
    for (int r : d.GetChildItems(236, 0)) roots_after_delete.push_back(d.GetItemTextOf(236, r));
    d.UserClick(nyhost::kIdCancel);
  };
  dlg.DoModal();
  ASSERT_FALSE(roots_after_add.empty());
  EXPECT_EQ(roots_after_add.back(), "体育建筑");
  EXPECT_EQ(places_after_add, std::vector<std::string>{"训练馆"});
  EXPECT_EQ(dlg.m_nStandLx, 300) << "the new place's values were shown";
  EXPECT_DOUBLE_EQ(dlg.m_dStandLPD, 12.5);
  EXPECT_EQ(dlg.m_nUGR, 22) << "stored without decimals";
  EXPECT_EQ(std::count(roots_after_delete.begin(), roots_after_delete.end(), "体育建筑"), 0);
  EXPECT_FALSE(NyDataDb()->IsTableInDatabase("体育建筑", "TABLE"));
}

TEST_F(Standards, EmptyOrIllegalNamesAreRefusedAndAnsweringNoKeepsThePlace) {
  CNyStandardDlg dlg;
  int places_before = 0, places_after = 0;
  windows.modal_driver = [&](nyhost::Dialog& d) {
    if (d.id() == 217) {
      // Empty, or holding what a table name may not: refused, stays open.
      for (const char* name : {"", "体育[馆", "体育]", "体育'"}) {
        d.UserType(1001, name);
        d.UserClick(nyhost::kIdOk);
        EXPECT_FALSE(d.result().has_value()) << name;
      }
      d.UserClick(nyhost::kIdCancel);
      return;
    }
    windows.menu_answers = {0};
    d.UserTreeRightClick(236, "办公建筑");
    int office = d.FindTreeItem(236, 0, "办公建筑");
    places_before = static_cast<int>(d.GetChildItems(236, office).size());
    windows.message_answers = {nyhost::kIdNo};
    windows.menu_answers = {1};  // 删除 the place
    d.UserTreeRightClick(236, "办公建筑/普通办公室");
    places_after = static_cast<int>(d.GetChildItems(236, office).size());
    d.UserClick(nyhost::kIdCancel);
  };
  dlg.DoModal();
  EXPECT_NE(std::find(windows.message_log.begin(), windows.message_log.end(),
                      "[岚序软件] 请填写<名称>"),
            windows.message_log.end());
  EXPECT_EQ(std::count(windows.message_log.begin(), windows.message_log.end(),
                       "[岚序软件] 存在不合法字符!"),
            3);
  EXPECT_EQ(places_before, places_after);
}

}  // namespace
