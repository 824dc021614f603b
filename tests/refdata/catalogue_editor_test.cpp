// The catalogue dialogs driven as a person would: the light-source editor (209), the
// point-method luminaire editor (221), the curve editor (216), the curve chooser (219) with its
// preview and the import/backup dialog (222); the databases are read back through the statement
// catalogue.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "refdata/catalogue_editor.h"
#include "refdata/curve_chooser.h"
#include "refdata/curve_editor.h"
#include "refdata/curve_preview.h"
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
using Dlg = CDotLuminaireCatalogueDlg;
using Lamps = CLampCatalogueDlg;

struct RecordingPainter : nyhost::Painter {
  int lines = 0, red = 0, blue = 0;
  double Width() const override { return 200; }
  double Height() const override { return 150; }
  void Line(double, double, double, double, std::uint32_t color, double) override {
    ++lines;
    if (color == 0xD02020) ++red;
    if (color == 0x2040D0) ++blue;
  }
  void Rect(double, double, double, double, std::uint32_t, std::uint32_t) override {}
  void Text(double, double, const std::string&, std::uint32_t, double) override {}
};

class CatalogueEditorTest : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    LoadModule();
    data_ = Module().DataFolder;
    // Nested modal dialogs each run their own script (or the common one), then close.
    windows.modal_driver = [this](nyhost::Dialog& dlg) {
      if (auto it = scripts.find(dlg.id()); it != scripts.end()) {
        it->second(dlg);
      } else if (script) {
        script(dlg);
      }
      if (!dlg.result()) dlg.UserClose();
    };
  }
  static V Query(NyAccess* db, const std::string& sql) {
    V v;
    db->GetSelData(v, sql);
    return v;
  }
  NyAccess& Db() { return *ZirIrodoDotDb(); }
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
  // A curve table of `rows` rows, angles 0, 5, ..., made with plain statements.
  void MakeCurve(const std::string& name, int rows) {
    ASSERT_EQ(Db().CreateTable(name, {{"角度", "int"}, {"光强A", "int"}, {"光强B", "int"}}), 1);
    for (int i = 0; i < rows; ++i)
      ASSERT_EQ(Db().ExecuteSQL(FormatSql(kInsertCurveRow, name, i * 5, 100 + i, 200 + i)), 1);
  }
  std::map<int, std::function<void(nyhost::Dialog&)>> scripts;
  std::function<void(nyhost::Dialog&)> script;  // any other dialog
  std::string data_;
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

TEST_F(CatalogueEditorTest, EditorCreatesANewCurveFromTypedCells) {
  std::vector<std::string> headers, angles, intensities;
  script = [&](nyhost::Dialog& dlg) {
    for (int c = 0; c < 3; ++c) headers.push_back(dlg.GetCell(302, 0, c));
    for (int r = 1; r <= 19; ++r) {
      angles.push_back(dlg.GetCell(302, r, 0));
      intensities.push_back(dlg.GetCell(302, r, 1) + dlg.GetCell(302, r, 2));
    }
    ASSERT_TRUE(dlg.UserCellEdit(302, 1, 1, "300"));
    ASSERT_TRUE(dlg.UserCellEdit(302, 1, 2, "280"));
    ASSERT_TRUE(dlg.UserCellEdit(302, 2, 1, "295.8"));  // stored whole
    ASSERT_TRUE(dlg.UserCellEdit(302, 19, 2, " 7 "));
    dlg.UserClick(nyhost::kIdOk);
  };
  ASSERT_FALSE(Db().IsTableInDatabase("LED新灯配光曲线"));
  EXPECT_TRUE(EditCurveTable("LED新灯配光曲线"));
  EXPECT_EQ(headers, (V{"角度", "光强A-A", "光强B-B"}));
  V expected_angles;
  for (int a = 0; a <= 90; a += 5) expected_angles.push_back(std::to_string(a));
  EXPECT_EQ(angles, expected_angles);
  EXPECT_EQ(intensities, V(19, ""));
  EXPECT_TRUE(windows.message_log.empty());

  V v = Dot(FormatSql(kSelectCurveRows, "LED新灯配光曲线"));
  ASSERT_EQ(v.size(), 57u);
  EXPECT_EQ(V(v.begin(), v.begin() + 6), (V{"0", "300", "280", "5", "295", "0"}));
  EXPECT_EQ(V(v.begin() + 30, v.begin() + 33), (V{"50", "0", "0"}));  // empty cells read 0
  EXPECT_EQ(V(v.end() - 3, v.end()), (V{"90", "0", "7"}));
}

TEST_F(CatalogueEditorTest, EditorRefusesBadCellsAndWritesNothing) {
  struct Case {
    int row, col;
    const char* text;
    const char* message;
  } cases[] = {
      {3, 1, "-5", "[岚序软件] 第3行第2列单元格中的值 < 0!"},
      {4, 2, "abc", "[岚序软件] 第4行第3列单元格中的值不是数字!"},
      {1, 0, "x5", "[岚序软件] 第1行第1列单元格中的值不是数字!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    windows.message_log.clear();
    bool still_open = false;
    script = [&](nyhost::Dialog& dlg) {
      ASSERT_TRUE(dlg.UserCellEdit(302, 2, 1, "12"));
      ASSERT_TRUE(dlg.UserCellEdit(302, c.row, c.col, c.text));
      dlg.UserClick(nyhost::kIdOk);
      still_open = !dlg.result().has_value();
    };
    EXPECT_FALSE(EditCurveTable("坏曲线"));
    EXPECT_TRUE(still_open) << "a refused save keeps the editor open";
    EXPECT_EQ(windows.message_log, (V{c.message}));
    EXPECT_EQ(Db().IsTableInDatabase("坏曲线"), 0);
  }
}

TEST_F(CatalogueEditorTest, EditorCancelWritesNothingAndOkUpdatesAnExistingCurve) {
  // A photometric file kept for the curve stays while the curve is unchanged.
  const std::string kept = data_ + "photometry/荧光灯YG701-3配光曲线.ies";
  fs::create_directories(data_ + "photometry");
  std::ofstream(kept) << "IESNA:LM-63-2002";
  script = [&](nyhost::Dialog& dlg) {
    ASSERT_TRUE(dlg.UserCellEdit(302, 2, 1, "1"));
    dlg.UserClick(nyhost::kIdCancel);
  };
  EXPECT_FALSE(EditCurveTable("荧光灯YG701-3配光曲线"));
  script = [&](nyhost::Dialog& dlg) { dlg.UserClick(nyhost::kIdOk); };
  EXPECT_TRUE(EditCurveTable("荧光灯YG701-3配光曲线"));
  EXPECT_TRUE(fs::exists(kept));
  script = [&](nyhost::Dialog& dlg) {
    EXPECT_EQ(dlg.GetCell(302, 2, 1), "232");  // loaded from the table, untouched by the cancel
    ASSERT_TRUE(dlg.UserCellEdit(302, 2, 1, "250"));
    dlg.UserClick(nyhost::kIdOk);
  };
  EXPECT_TRUE(EditCurveTable("荧光灯YG701-3配光曲线"));
  V v = Dot(FormatSql(kSelectCurveRows, "荧光灯YG701-3配光曲线"));
  ASSERT_EQ(v.size(), 57u);
  EXPECT_EQ((V{v[3], v[4], v[5]}), (V{"5", "250", "228"}));
  EXPECT_EQ((V{v[6], v[7], v[8]}), (V{"10", "236", "222"}));
  EXPECT_FALSE(fs::exists(kept)) << "the file no longer describes the curve";
}

TEST_F(CatalogueEditorTest, EditorOnAnEighteenRowCurveWarnsAndUpdatesMatchingAngles) {
  MakeCurve("短曲线", 18);
  V first_cells;
  script = [&](nyhost::Dialog& dlg) {
    first_cells = {dlg.GetCell(302, 1, 0), dlg.GetCell(302, 1, 1), dlg.GetCell(302, 19, 0)};
    for (int r = 1; r <= 19; ++r) ASSERT_TRUE(dlg.UserCellEdit(302, r, 1, "9"));
    dlg.UserClick(nyhost::kIdOk);
  };
  EXPECT_TRUE(EditCurveTable("短曲线"));
  EXPECT_EQ(windows.message_log, (V{"[岚序软件] 请检查数据库是否只有19行数据!"}));
  EXPECT_EQ(first_cells, (V{"0", "", "90"}));
  EXPECT_EQ(Dot("SELECT count(*) FROM [短曲线]"), (V{"18"}));
  EXPECT_EQ(Dot("SELECT count(*) FROM [短曲线] WHERE [光强A] = 9"), (V{"18"}));
  // Empty cells read 0, also on update.
  EXPECT_EQ(Dot("SELECT [光强A],[光强B] FROM [短曲线] WHERE [角度] = 85"), (V{"9", "0"}));
}

TEST_F(CatalogueEditorTest, PreviewLoadsNineteenRowsAndRefusesOthers) {
  PreviewCurve c;
  ASSERT_TRUE(LoadPreviewCurve("  荧光灯YG701-3配光曲线 ", c));
  ASSERT_EQ(c.a.size(), 19u);
  ASSERT_EQ(c.b.size(), 19u);
  EXPECT_DOUBLE_EQ(c.a[1].angle, 5);
  EXPECT_DOUBLE_EQ(c.a[1].intensity, 232);
  EXPECT_DOUBLE_EQ(c.b[1].intensity, 228);

  MakeCurve("长曲线", 20);
  PreviewCurve kept = c;
  EXPECT_FALSE(LoadPreviewCurve("长曲线", c));
  EXPECT_NE(output.text.find("<长曲线>数据错误,请在(灯具扩充)中修改!"), std::string::npos);
  EXPECT_EQ(c.a.size(), kept.a.size()) << "a refused curve loads nothing";
  // A damaged value is named by table, row and column.
  MakeCurve("坏曲线", 19);
  ASSERT_TRUE(Db().ExecuteSQL("UPDATE [坏曲线] SET [光强B] = 'nan' WHERE [角度] = 10"));
  EXPECT_FALSE(LoadPreviewCurve("坏曲线", c));
  EXPECT_NE(output.text.find("<坏曲线>第3行[光强B]的值\"nan\"不是合理的数字"), std::string::npos);
  EXPECT_EQ(c.a.size(), kept.a.size());
  EXPECT_FALSE(LoadPreviewCurve("", c));
  EXPECT_FALSE(LoadPreviewCurve("没有的表", c));
}

TEST_F(CatalogueEditorTest, ChooserFiltersPreviewsAndReplaces) {
  RecordingPainter painter;
  int makers = 0, rows_all = 0, rows_kind = 0;
  script = [&](nyhost::Dialog& dlg) {
    EXPECT_EQ(dlg.GetText(354), "你正在:\n改变配光曲线");
    rows_all = dlg.GetCount(353);
    ASSERT_TRUE(dlg.UserChoose(304, "紧凑型荧光灯"));
    makers = dlg.GetCount(379);
    EXPECT_EQ(dlg.GetItemText(379, 0), "全部");
    rows_kind = dlg.GetCount(353);
    ASSERT_TRUE(dlg.UserChoose(353, "#1"));
    dlg.Paint(376, painter);
    dlg.UserClick(nyhost::kIdOk);
  };
  std::string curve;
  ASSERT_TRUE(ChooseSubstituteCurve("你正在:\n改变配光曲线", curve));
  EXPECT_EQ(rows_all, 10);
  EXPECT_EQ(makers, 2);  // 全部, 通用 (an empty manufacturer is no entry)
  EXPECT_EQ(rows_kind, 2);
  EXPECT_EQ(curve, "紧凑型荧光灯TD-100配光曲线");
  EXPECT_EQ(painter.red, 18);   // one segment between each two of the 19 points
  EXPECT_EQ(painter.blue, 18);
}

TEST_F(CatalogueEditorTest, ChooserPreselectsTheCurrentCurvesKindAndManufacturer) {
  std::string kind, maker;
  int rows = 0;
  std::string curve = "LEDLED-P600配光曲线";
  script = [&](nyhost::Dialog& dlg) {
    kind = dlg.GetItemText(304, dlg.GetCurSel(304));
    maker = dlg.GetItemText(379, dlg.GetCurSel(379));
    rows = dlg.GetCount(353);
    dlg.SetCurSel(353, 0);
    dlg.controller()->OnDoubleClick(dlg, 353);  // activating a row chooses it
  };
  ASSERT_TRUE(ChooseSubstituteCurve("p", curve));
  EXPECT_EQ(kind, "LED");
  EXPECT_EQ(maker, "通用");
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(curve, "LEDLED-P600配光曲线");
}

TEST_F(CatalogueEditorTest, ChooserCancelKeepsTheCurve) {
  std::string curve = "原曲线";
  EXPECT_FALSE(ChooseSubstituteCurve("p", curve));
  EXPECT_EQ(curve, "原曲线");
  // Replace without a selected row chooses nothing.
  script = [](nyhost::Dialog& dlg) { dlg.UserClick(nyhost::kIdOk); };
  EXPECT_FALSE(ChooseSubstituteCurve("p", curve));
  EXPECT_EQ(curve, "原曲线");
}

TEST_F(CatalogueEditorTest, BacksUpBothUserDatabases) {
  nytest::TempDir target;
  fs::path folder = target.path() / "备份" / "db";
  fs::create_directories(data_ + "photometry");
  std::ofstream(data_ + "photometry/CURVE_A.ies") << "IESNA:LM-63-2002";
  std::string label, label_after, folder_shown;
  script = [&](nyhost::Dialog& dlg) {
    label = dlg.GetText(386);
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
  script = [&](nyhost::Dialog& dlg) { folder_shown = dlg.GetText(352); };
  RunDbImportBackupDialog();
  EXPECT_EQ(folder_shown, folder.string());
}

TEST_F(CatalogueEditorTest, ImportFromTheDefaultFolderReplacesOnlyWhatIsThere) {
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

  std::string folder_shown;
  script = [&](nyhost::Dialog& dlg) {
    folder_shown = dlg.GetText(352);
    dlg.UserClick(376);
  };
  RunDbImportBackupDialog();
  EXPECT_EQ(folder_shown, bak.string());
  EXPECT_EQ(windows.message_log,
            (V{"[岚序软件] <" + (bak / "NYDATA.mdb").string() + ">文件不存在!",
               "[岚序软件] 导入操作完成!"}));
  EXPECT_EQ(ReadAll(data_ + "NyData.mdb"), nydata_before);
  ASSERT_NE(ZirIrodoDotDb(), nullptr);
  EXPECT_EQ(ZirIrodoDotDb()->GetSelData(v, FormatSql(kSelectCurveByModel, "导入型号")), 1);
  EXPECT_EQ(v, (V{"c"}));
  EXPECT_EQ(ReadAll(data_ + "photometry/CURVE_B.ldt"), "kept with its curve");
}

TEST_F(CatalogueEditorTest, NamesEveryFileNotCopiedAndCompletesOnlyWithoutFailure) {
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
