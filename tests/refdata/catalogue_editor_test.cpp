// The light-source editor (209) and the point-method luminaire editor (221), driven as a person
// would, with the databases read back through the statement catalogue.
#include "refdata/catalogue_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "test_support.h"

namespace {

using V = std::vector<std::string>;
using Dlg = CDotLuminaireCatalogueDlg;
using Lamps = CLampCatalogueDlg;

class CatalogueEditorTest : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    LoadModule();
    // Nested modal dialogs each run their own script, then close.
    windows.modal_driver = [this](nyhost::Dialog& dlg) {
      if (auto it = scripts.find(dlg.id()); it != scripts.end()) it->second(dlg);
      if (!dlg.result()) dlg.UserClose();
    };
  }
  static V Query(NyAccess* db, const std::string& sql) {
    V v;
    db->GetSelData(v, sql);
    return v;
  }
  V Dot(const std::string& sql) { return Query(ZirIrodoDotDb(), sql); }
  void RunDot(std::function<void(nyhost::Dialog&)> script) {
    scripts[Dlg::kTemplateId] = std::move(script);
    RunDotLuminaireCatalogueEditor();
  }
  void RunLamps(std::function<void(nyhost::Dialog&)> script) {
    scripts[Lamps::kTemplateId] = std::move(script);
    RunLampCatalogueEditor();
  }
  // Kind 荧光灯 chosen and its row `row` clicked (remembering that row's curve).
  static void ClickFluorescentRow(nyhost::Dialog& dlg, int row) {
    ASSERT_TRUE(dlg.UserChoose(Dlg::kKindCombo, "荧光灯"));
    ASSERT_TRUE(dlg.UserChoose(Dlg::kList, "#" + std::to_string(row)));
  }
  std::map<int, std::function<void(nyhost::Dialog&)>> scripts;
};

TEST_F(CatalogueEditorTest, LampSaveRefusesBadFieldsAndWritesNothing) {
  struct Case {
    const char *kind, *maker, *power, *message;
  } cases[] = {
      {"荧光灯,T5", "通用", "36", "存在不合法字符!"}, {"荧光\"灯", "通用", "36", "存在不合法字符!"},
      {"荧'光灯", "通用", "36", "存在不合法字符!"},   {"a=b", "通用", "36", "存在不合法字符!"},
      {"  ", "通用", "36", "光源类型 没填写!"},       {"荧光灯", " ", "36", "生产厂家 没填写!"},
      {"荧光灯", "通用", "3x", "请输入一个整数。"},
  };
  V before = Query(NyDataDb(), "SELECT count(*) FROM [光源]");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    windows.message_log.clear();
    RunLamps([&](nyhost::Dialog& dlg) {
      dlg.UserType(Lamps::kKindCombo, c.kind);
      dlg.UserType(Lamps::kModel, "T9");
      dlg.UserType(Lamps::kPower, c.power);
      dlg.UserType(Lamps::kFlux, "100");
      dlg.UserType(Lamps::kMakerCombo, c.maker);
      dlg.UserClick(Lamps::kSave);
    });
    EXPECT_EQ(windows.message_log, V{std::string("[岚序软件] ") + c.message});
    EXPECT_EQ(Query(NyDataDb(), "SELECT count(*) FROM [光源]"), before);
  }
}

TEST_F(CatalogueEditorTest, LampEditorFiltersInsertsAndUpdates) {
  V opened, makers, narrowed, fields, after_insert, kinds;
  RunLamps([&](nyhost::Dialog& dlg) {
    opened = {dlg.GetText(Lamps::kKindCombo), dlg.GetItemText(Lamps::kList, 0),
              std::to_string(dlg.GetCount(Lamps::kList))};
    for (int i = 0; i < dlg.GetCount(Lamps::kMakerCombo); ++i)
      makers.push_back(dlg.GetItemText(Lamps::kMakerCombo, i));
    ASSERT_TRUE(dlg.UserChoose(Lamps::kMakerCombo, "通用"));
    narrowed = {std::to_string(dlg.GetCount(Lamps::kList))};
    ASSERT_TRUE(dlg.UserChoose(Lamps::kList, "#1"));
    fields = {dlg.GetText(Lamps::kModel), dlg.GetText(Lamps::kPower), dlg.GetText(Lamps::kFlux),
              dlg.GetText(Lamps::kMakerCombo)};

    dlg.UserType(Lamps::kKindCombo, " 新光源 ");
    dlg.UserType(Lamps::kModel, "N1");
    dlg.UserType(Lamps::kPower, "20");
    dlg.UserType(Lamps::kFlux, "1500");
    dlg.UserType(Lamps::kMakerCombo, "甲厂");
    dlg.UserClick(Lamps::kSave);
    after_insert = {dlg.GetItemText(Lamps::kList, 0), std::to_string(dlg.GetCount(Lamps::kList))};
    kinds = {std::to_string(dlg.FindStringExact(Lamps::kKindCombo, "新光源") >= 0),
             std::to_string(dlg.FindStringExact(Lamps::kMakerCombo, "甲厂") >= 0)};
    dlg.UserType(Lamps::kFlux, "1600");
    dlg.UserType(Lamps::kMakerCombo, "乙厂");
    dlg.UserClick(Lamps::kSave);
  });
  EXPECT_EQ(opened, (V{"LED", "LED\tT8-600\t9\t1000\t", "6"}));
  EXPECT_EQ(makers, (V{"全部", "通用"}));  // empty manufacturers are no entry
  EXPECT_EQ(narrowed, V{"2"});
  EXPECT_EQ(fields, (V{"LED-GK100", "100", "13000", "通用"}));
  EXPECT_EQ(after_insert, (V{"新光源\tN1\t20\t1500\t甲厂", "1"}));
  EXPECT_EQ(kinds, (V{"1", "1"}));
  EXPECT_EQ(Query(NyDataDb(), "SELECT [光通量],[生产厂家] FROM [光源] WHERE [光源名称] = '新光源'"),
            (V{"1600", "乙厂"}));
  EXPECT_TRUE(windows.message_log.empty());
}

TEST_F(CatalogueEditorTest, LampDeleteAsksAndDropsAnEmptiedKind) {
  ASSERT_TRUE(NyDataDb()->ExecuteSQL(FormatSql(kInsertLamp, "临时光源", "X1", 10, 500, "甲厂")));
  const std::string question =
      "[岚序软件] 确定要删除\t\t\n类型 = 临时光源 \t\t\n型号 = X1 \t\t\n功率 = 10 \t\t\n"
      "生产厂家 = 甲厂 \t\t\n的光源?";
  int kind_left = -2;
  std::string shown_kind;
  RunLamps([&](nyhost::Dialog& dlg) {
    dlg.UserClick(Lamps::kDelete);  // nothing selected yet
    ASSERT_TRUE(dlg.UserChoose(Lamps::kKindCombo, "临时光源"));
    windows.message_answers = {nyhost::kIdNo};
    dlg.UserClick(Lamps::kDelete);
    windows.message_answers = {nyhost::kIdYes};
    dlg.UserClick(Lamps::kDelete);
    kind_left = dlg.FindStringExact(Lamps::kKindCombo, "临时光源");
    shown_kind = dlg.GetText(Lamps::kKindCombo);
  });
  EXPECT_EQ(windows.message_log, (V{"[岚序软件] 请选择要删除的光源!", question, question}));
  EXPECT_TRUE(Query(NyDataDb(), FormatSql(kSelectLampModelsOfKind, "临时光源")).empty());
  EXPECT_EQ(kind_left, -1);
  EXPECT_EQ(shown_kind, "LED");
}

TEST_F(CatalogueEditorTest, AddRefusesIllegalLongOrTakenCurveTableNames) {
  const std::string illegal =
      "【名称】、【型号】不合法！\n总长度不可超出64字符！\n存在一些非法字符！";
  const std::string taken = "此光源类型与灯具类型已经存在, 无法添加! ";
  // "荧光灯" and "配光曲线" are 6 and 8 bytes in GBK; table names compare without regard to case.
  struct Case {
    std::string kind, model, message;
    bool clicked = true;  // a row clicked first, whose curve the new one copies
  } cases[] = {{"荧光灯", "YG9-9", "请先在列表中点选一个灯具,新灯具的配光曲线将从它复制!", false},
               {"荧光灯", std::string(48, 'M'), ""},
               {"荧光灯", std::string(49, 'N'), illegal},
               {"荧光灯", "Y'G", illegal},
               {"荧光灯", "Y[G", illegal},
               {"荧[光", "YG", illegal},
               {"荧光灯", "YG701-3配光曲线] AS [", illegal},
               {"荧光灯", "yg701-3", taken},
               {"荧光", "灯YG701-3", taken}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind + c.model);
    windows.message_log.clear();
    V before = Dot(FormatSql(kSelectCurveRows, "荧光灯YG701-3配光曲线"));
    RunDot([&](nyhost::Dialog& dlg) {
      ASSERT_TRUE(dlg.UserChoose(Dlg::kKindCombo, "荧光灯"));  // shows a row, clicks none
      if (c.clicked) {
        ASSERT_TRUE(dlg.UserChoose(Dlg::kList, "#1"));
      }
      dlg.UserType(Dlg::kKindCombo, c.kind);
      dlg.UserType(Dlg::kModel, c.model);
      dlg.UserClick(Dlg::kAdd);
    });
    std::string table = c.kind + c.model + "配光曲线";
    EXPECT_EQ(windows.message_log, c.message.empty() ? V{} : V{"[岚序软件] " + c.message});
    EXPECT_EQ(Dot(FormatSql(kSelectCurveOfLuminaire, c.kind, c.model)),
              c.message.empty() ? V{table} : V{});
    EXPECT_EQ(Dot(FormatSql(kSelectCurveRows, "荧光灯YG701-3配光曲线")), before);
    EXPECT_EQ(ZirIrodoDotDb()->IsTableInDatabase(table) != 0,
              c.message.empty() || c.message == taken)
        << "a taken name keeps its table, a refused one gets none";
  }
}

TEST_F(CatalogueEditorTest, AddCopiesTheClickedCurveStoresGeneralAndRefusesDuplicates) {
  V shown;
  std::string remembered;
  RunDot([&](nyhost::Dialog& dlg) {
    ClickFluorescentRow(dlg, 1);  // YG2-2
    ASSERT_TRUE(dlg.UserChoose(Dlg::kMakerCombo, "全部"));
    dlg.UserType(Dlg::kModel, " YG9-1 ");
    dlg.UserClick(Dlg::kAdd);
    shown = {dlg.GetItemText(Dlg::kList, dlg.GetCurSel(Dlg::kList)), dlg.GetText(Dlg::kModel),
             dlg.GetText(Dlg::kMakerCombo)};
    remembered = static_cast<Dlg*>(dlg.controller())->remembered_curve();
    dlg.UserClick(Dlg::kAdd);
    dlg.UserType(Dlg::kMakerCombo, "乙厂");
    dlg.UserClick(Dlg::kSave);
  });
  EXPECT_EQ(shown, (V{"荧光灯\tYG9-1\t通用", "YG9-1", "通用"}));
  EXPECT_EQ(remembered, "荧光灯YG2-2配光曲线");
  EXPECT_EQ(windows.message_log, V{"[岚序软件] 此光源类型与灯具类型已经存在, 无法添加! "});
  EXPECT_EQ(Dot("SELECT [生产厂家],[配光曲线表] FROM [灯具型号] WHERE [灯具型号] = 'YG9-1'"),
            (V{"乙厂", "荧光灯YG9-1配光曲线"}));
  EXPECT_EQ(Dot(FormatSql(kSelectCurveRows, "荧光灯YG9-1配光曲线")),
            Dot(FormatSql(kSelectCurveRows, "荧光灯YG2-2配光曲线")));
}

TEST_F(CatalogueEditorTest, DeleteDropsTheCurveOnlyWithItsLastLuminaire) {
  NyAccess* db = ZirIrodoDotDb();
  ASSERT_TRUE(
      db->ExecuteSQL(FormatSql(kInsertDotLuminaire, "LED", "共用", "", "荧光灯yg1-1配光曲线")));
  // Same kind and model under two manufacturers: a named manufacturer narrows the delete.
  for (const char* maker : {"甲厂", "乙厂"})
    ASSERT_TRUE(db->ExecuteSQL(FormatSql(kInsertDotLuminaire, "荧光灯", "DUP", maker, "t")));
  ASSERT_TRUE(db->CreateTable("t", {{"角度", "int"}}));
  auto delete_row = [&](nyhost::Dialog& dlg, const std::string& item) {
    ASSERT_TRUE(dlg.UserChoose(Dlg::kList, item));
    windows.message_answers = {nyhost::kIdYes};
    dlg.UserClick(Dlg::kDelete);
  };
  std::vector<bool> kept;
  RunDot([&](nyhost::Dialog& dlg) {
    dlg.UserClick(Dlg::kDelete);  // nothing selected yet
    ClickFluorescentRow(dlg, 2);  // YG1-1
    windows.message_answers = {nyhost::kIdNo};
    dlg.UserClick(Dlg::kDelete);
    windows.message_answers = {nyhost::kIdYes};
    dlg.UserClick(Dlg::kDelete);
    delete_row(dlg, "荧光灯\tDUP\t甲厂");
    kept = {db->IsTableInDatabase("荧光灯YG1-1配光曲线") != 0, db->IsTableInDatabase("t") != 0};
    ASSERT_TRUE(dlg.UserChoose(Dlg::kKindCombo, "LED"));
    delete_row(dlg, "LED\t共用\t");
  });
  const std::string question =
      "[岚序软件] 确定要删除\n光源名称 = 荧光灯\n灯具型号 = YG1-1\n的灯具?";
  ASSERT_GE(windows.message_log.size(), 3u);
  EXPECT_EQ((V{windows.message_log[0], windows.message_log[1], windows.message_log[2]}),
            (V{"[岚序软件] 请选择要删除的灯具!", question, question}));
  EXPECT_TRUE(Dot(FormatSql(kSelectLuminaireExists, "荧光灯", "YG1-1")).empty());
  EXPECT_EQ(Dot("SELECT [生产厂家] FROM [灯具型号] WHERE [灯具型号] = 'DUP'"), V{"乙厂"});
  // Another row still named each table (in another letter case for the first).
  EXPECT_EQ(kept, (std::vector<bool>{true, true}));
  EXPECT_FALSE(db->IsTableInDatabase("荧光灯YG1-1配光曲线")) << "gone with its last luminaire";
}

TEST_F(CatalogueEditorTest, ImportFileAddsTheLuminaireAsksBeforeReplacingAndDeleteForgetsIt) {
  const std::string file = std::string(NYLUXORA_TEST_DATA_DIR) + "/photometry/panel-isym1.ldt";
  const std::string kept = Module().DataFolder + "photometry/LEDPN-600配光曲线.ldt";
  V shown;
  bool kept_after_import = false;
  RunDot([&](nyhost::Dialog& dlg) {
    ASSERT_TRUE(dlg.UserChoose(Dlg::kKindCombo, "LED"));
    windows.file_answers = {file, file, file};
    dlg.UserClick(Dlg::kImportFile);
    shown = {dlg.GetItemText(Dlg::kList, dlg.GetCurSel(Dlg::kList)), dlg.GetText(Dlg::kModel)};
    kept_after_import = std::filesystem::exists(kept);
    windows.message_answers = {nyhost::kIdNo, nyhost::kIdYes};
    dlg.UserClick(Dlg::kImportFile);  // declined
    dlg.UserClick(Dlg::kImportFile);  // replaced
    windows.message_answers = {nyhost::kIdYes};
    dlg.UserClick(Dlg::kDelete);
  });
  EXPECT_EQ(shown, (V{"LED\tPN-600\t通用", "PN-600"}));
  EXPECT_TRUE(kept_after_import);
  ASSERT_EQ(windows.message_log.size(), 3u);
  EXPECT_NE(windows.message_log[0].find("already in the point-method catalogue"),
            std::string::npos);
  EXPECT_EQ(windows.message_log[1], windows.message_log[0]);
  EXPECT_TRUE(Dot(FormatSql(kSelectLuminaireExists, "LED", "PN-600")).empty());
  EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST_F(CatalogueEditorTest, EditCurveOpensTheRowsCurveOrAsksToSaveFirst) {
  ASSERT_TRUE(ZirIrodoDotDb()->ExecuteSQL(FormatSql(kInsertDotLuminaire, "LED", "无曲线", "", "")));
  std::string cell;
  scripts[216] = [&](nyhost::Dialog& dlg) { cell = dlg.GetCell(302, 2, 1); };
  RunDot([&](nyhost::Dialog& dlg) {
    ClickFluorescentRow(dlg, 0);  // YG701-3
    dlg.UserClick(Dlg::kEditCurve);
    dlg.UserType(Dlg::kModel, "未保存");
    dlg.UserClick(Dlg::kEditCurve);
    ASSERT_TRUE(dlg.UserChoose(Dlg::kKindCombo, "LED"));
    ASSERT_TRUE(dlg.UserChoose(Dlg::kList, "LED\t无曲线\t"));
    dlg.UserClick(Dlg::kEditCurve);
  });
  EXPECT_EQ(cell, "232");
  EXPECT_EQ(windows.message_log, V(2, "[岚序软件] 请保存后再试试!"));
}

TEST_F(CatalogueEditorTest, BackupButtonImportsAndTheListReadsTheImportedFile) {
  nytest::TempDir folder;
  for (const char* f : {kNyDataDb, kZirIrodoDotDb})
    std::filesystem::copy_file(DataFile(f), folder.path() / f);
  {
    NyAccess copy;
    ASSERT_TRUE(copy.InitADOServer((folder.path() / kZirIrodoDotDb).string()));
    ASSERT_TRUE(copy.ExecuteSQL(FormatSql(kInsertDotLuminaire, "荧光灯", "IMP-1", "通用", "t")));
  }
  scripts[222] = [&](nyhost::Dialog& dlg) {
    dlg.UserType(352, folder.str());
    dlg.UserClick(376);
  };
  int before = 0, after = 0;
  RunDot([&](nyhost::Dialog& dlg) {
    ASSERT_TRUE(dlg.UserChoose(Dlg::kKindCombo, "荧光灯"));
    before = dlg.GetCount(Dlg::kList);
    dlg.UserClick(Dlg::kBackup);
    after = dlg.GetCount(Dlg::kList);
    EXPECT_TRUE(dlg.UserChoose(Dlg::kList, "荧光灯\tIMP-1\t通用"));
  });
  EXPECT_EQ(after, before + 1);
  EXPECT_EQ(windows.message_log, V{"[岚序软件] 导入操作完成!"});
}

TEST_F(CatalogueEditorTest, PointDialogButtonsOpenTheEditorsWithADrawing) {
  Type("ZIRIRODO_DOT ");
  nyhost::Dialog& point = *windows.FindDialog(214);
  std::vector<int> opened;
  for (int id : {Dlg::kTemplateId, Lamps::kTemplateId})
    scripts[id] = [&](nyhost::Dialog& dlg) { opened.push_back(dlg.id()); };
  point.UserClick(209);
  point.UserClick(359);
  EXPECT_EQ(opened, (std::vector<int>{221, 209}));
  host().SetDrawing(nullptr);
  point.UserClick(209);
  point.UserClick(359);
  EXPECT_EQ(opened.size(), 2u);
}

}  // namespace
