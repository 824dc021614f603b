// The standards dialog (remembered place and edition, the category menu) and the verdict rules
// of each edition as both calculation methods apply them.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <string>

#include "base/module_state.h"
#include "lumen/lumen_room.h"
#include "pointcalc/horizontal.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "standards/edition.h"
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

constexpr const char* k2004 = "GB 50034-2004";
constexpr const char* k2024 = "GB/T 50034-2024 (GB 55015-2021)";

TEST_F(Standards, ClickingAPlaceGivesItsValuesInEachEdition) {
  struct Case {
    const char* edition;  // nullptr: the dialog's own (2004 when nothing is remembered)
    const char* path;
    const char* lx;
    const char* lpd;
    const char* tag;
    const char* ugr;
    const char* ra;
    double u0;
  } cases[] = {
      {nullptr, "办公建筑/普通办公室", "300", "11", "9", "19", "80", 0.7},
      {k2004, "办公建筑/高档办公室", "500", "18", "15", "19", "80", 0.7},
      {k2004, "办公建筑/营业厅", "300", "13", "11", "22", "80", 0.7},
      {k2024, "办公建筑/普通办公室", "300", "8", "8", "19", "80", 0.6},
      {k2024, "医院建筑/病房", "100", "4.5", "4.5", "19", "80", 0.6},
      {k2024, "旅馆建筑/厨房", "500", "0", "0", "0", "80", 0.7},
      {k2024, "居住建筑/卧室", "75", "5", "5", "0", "80", 0},
  };
  for (const auto& c : cases) {
    CNyStandardDlg dlg;
    std::vector<std::string> fields;
    Run(dlg, [&](nyhost::Dialog& d) {
      if (c.edition) {
        ASSERT_TRUE(d.UserChoose(CNyStandardDlg::kEdition, c.edition));
      }
      ASSERT_TRUE(d.UserChoose(CNyStandardDlg::kTree, c.path));
      for (int id : {360, 361, 362, 363, 364}) fields.push_back(d.GetText(id));
      d.UserClick(nyhost::kIdOk);
    });
    EXPECT_EQ(fields, (std::vector<std::string>{c.lx, c.lpd, c.tag, c.ugr, c.ra})) << c.path;
    EXPECT_DOUBLE_EQ(dlg.m_dU0, c.u0) << c.path;
    EXPECT_EQ(EditionLabel(dlg.m_edition), c.edition ? c.edition : k2004) << c.path;
    EXPECT_EQ(CurrentEdition(), dlg.m_edition) << "remembered on OK: " << c.path;
  }
}

// OK remembers the place in the settings file and the caller's scheme, and the edition.
TEST_F(Standards, AnotherEditionKeepsThePlaceWhereItHasOneAndIsRemembered) {
  EXPECT_EQ(CurrentEdition(), StandardEdition::k2004) << "nothing chosen yet";
  const std::string scheme = home->str() + "/scheme.txt";
  CNyStandardDlg dlg;
  dlg.SetCallerSettings(scheme, "方案一");
  std::string shown_2024, emptied;
  EXPECT_EQ(Run(dlg,
                [&](nyhost::Dialog& d) {
                  d.UserChoose(CNyStandardDlg::kTree, "办公建筑/营业厅");
                  d.UserChoose(CNyStandardDlg::kEdition, k2024);  // 2024 names it otherwise
                  emptied = d.GetText(360) + "/" + d.GetText(361);
                  d.UserChoose(CNyStandardDlg::kTree, "办公建筑/普通办公室");
                  d.UserChoose(CNyStandardDlg::kEdition, k2004);
                  d.UserChoose(CNyStandardDlg::kEdition, k2024);  // the same place: its values
                  shown_2024 = d.GetText(360) + "/" + d.GetText(361);
                  d.UserClick(nyhost::kIdOk);
                }),
            nyhost::kIdOk);
  EXPECT_EQ(emptied, "0/0");
  EXPECT_EQ(shown_2024, "300/8");
  EXPECT_EQ(fmt::format("{} {} {} {} {}", dlg.m_nStandLx, dlg.m_dStandLPD, dlg.m_dTagLPD,
                        dlg.m_nUGR, dlg.m_sRa),
            "300 8 8 19 80");
  EXPECT_EQ(CurrentEdition(), StandardEdition::k2024);
  EXPECT_EQ(NyIniFile::ReadKey("方案一", "标准版本", std::string(), scheme), "2024");
  for (auto [file, section] : {std::pair{Module().SettingsFile, std::string("照度标准—岚序软件")},
                               {scheme, std::string("方案一")}}) {
    EXPECT_EQ(NyIniFile::ReadKey(section, "父", std::string(), file), "办公建筑");
    EXPECT_EQ(NyIniFile::ReadKey(section, "子", std::string(), file), "普通办公室");
    EXPECT_EQ(NyIniFile::ReadKey(section, "m_nStandLx", 0, file), 300);
    EXPECT_DOUBLE_EQ(NyIniFile::ReadKey(section, "m_dStandLPD", 0.0, file), 8);
  }
  // Opening again shows the remembered edition's tree with the place chosen and its values.
  CNyStandardDlg again;
  std::string edition, place, lx;
  Run(again, [&](nyhost::Dialog& d) {
    edition = d.GetText(CNyStandardDlg::kEdition);
    place = d.GetItemTextOf(236, d.GetSelectedItem(236));
    lx = d.GetText(360);
    d.UserClick(nyhost::kIdCancel);
  });
  EXPECT_EQ(edition + " " + place + " " + lx, std::string(k2024) + " 普通办公室 300");
  EXPECT_DOUBLE_EQ(again.m_dStandLPD, 8);
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
  for (const char* edition : {k2004, k2024}) {
    SCOPED_TRACE(edition);
    const std::string table = std::string("体育建筑") + (edition == k2004 ? "" : "_2024");
    CNyStandardDlg dlg;
    std::vector<std::string> roots_after_add, places_after_add, roots_after_delete;
    bool created = false;
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
      d.UserChoose(CNyStandardDlg::kEdition, edition);
      windows.menu_answers = {0};  // 新建大类
      d.UserTreeRightClick(236, "办公建筑");
      created = NyDataDb()->IsTableInDatabase(table, "TABLE");
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
    EXPECT_TRUE(created) << table;
    EXPECT_FALSE(NyDataDb()->IsTableInDatabase(table, "TABLE"));
  }
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

const std::string k2024Line = "；依据GB/T 50034-2024 (GB 55015-2021)";

TEST(EditionRules, PowerDensityLimitAndReferenceInBothMethods) {
  using E = StandardEdition;
  struct Case {
    E edition;
    double standard_lx, limit, average, lpd;
    double point_limit, lumen_limit;  // the lumen method cuts the reference to two decimals
    const char* label;
    std::string tip243, tip358;
  } cases[] = {
      {E::k2004, 300, 11, 280, 10, 11.0 / 300 * 280, 10.26, "折算功率密度",
       "计算照度小于标准照度,不通过!建议调整光源或灯具", "计算功率密度小于折算功率密度,通过!"},
      // 2024: down to 90 % of the standard the limit stands unreduced.
      {E::k2024, 300, 8, 280, 7.9, 8, 8, "标准功率密度",
       "计算照度不低于标准照度的90%,通过!" + k2024Line,
       "计算功率密度小于标准功率密度,通过!" + k2024Line},
      {E::k2024, 300, 8, 270, 8, 8, 8, "标准功率密度",
       "计算照度不低于标准照度的90%,通过!" + k2024Line,
       "计算功率密度大于等于标准功率密度,不通过!建议调整光源或灯具" + k2024Line},
      {E::k2024, 300, 8, 260, 7, 8.0 / 300 * 260, 6.93, "折算功率密度",
       "计算照度低于标准照度的90%,不通过!建议调整光源或灯具" + k2024Line,
       "计算功率密度大于等于折算功率密度,不通过!建议调整光源或灯具" + k2024Line},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(EditionLabel(c.edition) + " at " + std::to_string(c.average));
    PointDialogData d;
    d.m_edition = c.edition;
    d.m_dStandAverage = c.standard_lx, d.m_nStandLx = static_cast<int>(c.standard_lx);
    d.m_dStandLPD = c.limit, d.m_dLPD = c.lpd, d.m_sAverage = std::to_string(c.average);
    ApplyVerdicts(d);
    EXPECT_NEAR(d.m_dLimitLPD, c.point_limit, 1e-12);
    EXPECT_EQ(d.m_sLabel372, c.label);
    EXPECT_EQ(d.tooltips[243], c.tip243);
    EXPECT_EQ(d.tooltips[358], c.tip358);

    LumenRoom r;
    r.standard_lx = c.standard_lx, r.standard_lpd = c.limit;
    r.illuminance = c.average, r.lpd = c.lpd;
    r.reference_lpd = ComputeReducedPowerDensity(r);
    auto v = ShowPowerDensityVerdicts(r, c.edition);
    ASSERT_TRUE(v);
    EXPECT_NEAR(r.reference_lpd, c.lumen_limit, 1e-9);
    EXPECT_EQ(v->label, std::string(c.label) + "w/m2");
    EXPECT_EQ(v->illuminance_tip, c.tip243);
    EXPECT_EQ(v->lpd_tip, c.tip358);
  }
}

TEST(EditionRules, UniformityRequirement) {
  using E = StandardEdition;
  // {edition, the place's U0 (2004: whatever field 233 holds), uniformity, passes}
  struct Case {
    E edition;
    double u0, uniformity;
    bool passes;
  } cases[] = {
      {E::k2004, 0.5, 0.65, false},  // 2004 asks 0.7 whatever the field says
      {E::k2004, 0.9, 0.7, true},   {E::k2024, 0.6, 0.6, true},
      {E::k2024, 0.7, 0.69, false}, {E::k2024, 0, 0.1, true},  // no requirement for the place
  };
  for (const auto& c : cases) {
    PointDialogData d;
    d.m_edition = c.edition;
    d.m_dStandAverage = 300, d.m_nStandLx = 300, d.m_sAverage = "320";
    d.m_dStandUniformity = c.u0, d.m_dUniformity = c.uniformity;
    ApplyVerdicts(d);
    EXPECT_EQ(d.tooltips[232].rfind("均匀度大于等于标准均匀度,通过!", 0) == 0, c.passes)
        << c.u0 << " " << c.uniformity;
  }
}

}  // namespace
