// Luminaire records from block references: block-name keys, device kinds, curve from catalogue,
// memory or chooser, remembered lamps, units and tilts; saving the remembered lamps.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "host/text_codec.h"
#include "refdata/luminaire_record.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_xdata.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(BlockNameKey, TakesThreeBytesAndACapitalFourth) {
  struct Case {
    const char* name;
    const char* key;
  } cases[] = {
      {"ZM1A-xyz", "ZM1A"}, {"ZM1a-xyz", "ZM1"}, {"ZM1", ""},  {"ZM1A", "ZM1A"},
      {"ZM1Z9", "ZM1Z"},    {"ZM1[", "ZM1"},     {"", ""},     {"ab", ""},
      {"KG1-开关", "KG1"},
  };
  for (const auto& c : cases) EXPECT_EQ(BlockNameKey(c.name), c.key) << c.name;
  // Counted in code page 936 bytes: two hanzi are four bytes, the key their first three.
  EXPECT_EQ(BlockNameKey("灯具A"), nyhost::Utf8ToGbk("灯具")->substr(0, 3));
  EXPECT_EQ(BlockNameKey("灯A"), "");  // three bytes only
}

class LuminaireRecordTest : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    ResetDeviceKindMap();
    LoadModule();
    drawing().set_arch_scale(100);
    windows.modal_driver = [this](nyhost::Dialog& dlg) {
      ++modal_runs;
      if (dlg.id() == 219) prompt = dlg.GetText(354);
      if (on_modal) on_modal(dlg);
      if (!dlg.result()) dlg.UserClick(nyhost::kIdCancel);
    };
  }
  void TearDown() override {
    ResetDeviceKindMap();
    HostFixture::TearDown();
  }

  nyhost::EntityId AddLuminaire(const std::string& block, const std::string& name,
                                const std::string& model, const std::string& height,
                                const std::string& tilt_x = "", double rotation = 0) {
    nyhost::Entity e;
    nyhost::BlockReference ref;
    ref.block = block;
    ref.position = {1000, 2000, 7};
    ref.rotation_deg = rotation;
    e.data = ref;
    if (!name.empty()) NyXData::SetEntXData(e, kKeyName, name);
    if (!model.empty()) NyXData::SetEntXData(e, kKeyModel, model);
    if (!height.empty()) NyXData::SetEntXData(e, kKeyHeight, height);
    if (!tilt_x.empty()) NyXData::SetEntXData(e, kKeyTiltX, tilt_x);
    return drawing().Add(e);
  }

  bool Fill(nyhost::EntityId id, LuminaireRecord& r) {
    return FillLuminaireRecord(*drawing().Find(id), r);
  }
  LuminaireRecord Filled(nyhost::EntityId id) {
    LuminaireRecord r;
    EXPECT_TRUE(Fill(id, r));
    return r;
  }
  // Lamp counts and flux of a record, for one comparison.
  static std::vector<int> Lamps(const LuminaireRecord& r) {
    return {r.lamp1_count, r.lamp2_count, r.total_flux};
  }

  std::vector<std::string> Query(const std::string& sql) {
    std::vector<std::string> v;
    ZirIrodoDotDb()->GetSelData(v, sql);
    return v;
  }

  int modal_runs = 0;
  std::string prompt;
  std::function<void(nyhost::Dialog&)> on_modal;
};

TEST_F(LuminaireRecordTest, DeviceKindsFirstSpecificKindWins) {
  const auto& kinds = DeviceKindMap();
  EXPECT_EQ(kinds.at("ZM5"), "灯具");  // listed again later as 开关
  EXPECT_EQ(kinds.at("QT1"), "其它");  // empty kind
  EXPECT_EQ(kinds.at("KG1"), "开关");
  struct Case {
    const char* block;
    bool luminaire;
  } cases[] = {{"ZM1A-格栅", true}, {"ZM1a-格栅", false}, {"ZM2-筒灯", true},
               {"ZM5", false},      {"ZM5-x", true},      {"KG1-开关", false},
               {"QT1-x", false},    {"PD1A-箱", false},   {"", false}};
  for (const auto& c : cases) EXPECT_EQ(LuminaireBlockTest(c.block), c.luminaire) << c.block;
}

TEST_F(LuminaireRecordTest, CatalogueCurveRememberedLampsAndUnits) {
  auto id = AddLuminaire("ZM1A-1", "格栅荧光灯", "YG701-3", "3", "15.7", 90);
  NyXData::SetEntXData(id, kKeyTiltY, "-20度");
  LuminaireRecord r = Filled(id);
  EXPECT_EQ((std::vector<std::string>{r.curve_table, r.name, r.model, r.lamp1_name, r.lamp1_model}),
            (std::vector<std::string>{"荧光灯YG701-3配光曲线", "格栅荧光灯", "YG701-3", "荧光灯", "T8"}));
  EXPECT_EQ((std::vector<int>{r.lamp1_count, r.lamp1_power, r.lamp1_ballast_power, r.lamp2_count,
                              r.total_flux}),
            (std::vector<int>{3, 36, 4, 0, 10050}));
  // 3 m at scale 100; tilt x read as atoi.
  EXPECT_EQ((std::vector<double>{r.position.x, r.position.y, r.position.z, r.tilt_x, r.tilt_y}),
            (std::vector<double>{1000, 2000, 30, 15, -20}));
  EXPECT_EQ(r.rotation_z, 90);
  EXPECT_EQ(r.entity_id, id);
  EXPECT_EQ(modal_runs, 0);
  EXPECT_EQ(output.text.find("采用记忆值"), std::string::npos);
}

// Curve and lamps from the catalogue, from a remembered-curve-only row, or from attributes
// standing in for missing keyed texts; a catalogue curve wins over a remembered one.
TEST_F(LuminaireRecordTest, CurveLampsAndHeightFromEachSource) {
  ZirIrodoDotDb()->ExecuteSQL(FormatSql(kInsertRememberedCurve, "别的曲线", "筒灯", "TD-150"));
  nyhost::BlockReference attributed;
  attributed.block = "ZM2-att";
  attributed.attributes = {{"名称", "筒灯"}, {"型号", "TD-150"}, {"设备高", "2.8"}};
  nyhost::Entity e;
  e.data = attributed;
  struct Case {
    nyhost::EntityId id;
    const char* curve;
    double z;
    std::vector<int> lamps;
    bool remembered;
  } cases[] = {
      {AddLuminaire("ZM2-1", "筒灯", "TD-150", ""), "紧凑型荧光灯TD-150配光曲线", 0, {1, 0, 1800},
       false},  // no height: z = 0
      {AddLuminaire("ZM4-壁灯", "壁灯", "BD-01", "2.5"), "荧光灯YG2-2配光曲线", 25, {0, 0, 0}, true},
      {drawing().Add(e), "紧凑型荧光灯TD-150配光曲线", 28, {1, 0, 1800}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.curve);
    output.text.clear();
    LuminaireRecord r = Filled(c.id);
    EXPECT_EQ(r.curve_table, c.curve);
    EXPECT_DOUBLE_EQ(r.position.z, c.z);
    EXPECT_EQ(Lamps(r), c.lamps);
    EXPECT_EQ(output.text.find("\n采用记忆值!\n") != std::string::npos, c.remembered);
    if (c.lamps[0] == 0) { EXPECT_EQ(r.lamp1_name, ""); }
    if (c.z == 28) { EXPECT_EQ(r.name + r.model, "筒灯TD-150"); }
  }
  EXPECT_EQ(modal_runs, 0);
}

TEST_F(LuminaireRecordTest, DamagedRememberedNumbersAreNamedAndNotUsed) {
  auto id = AddLuminaire("ZM1A-1", "格栅荧光灯", "YG701-3", "3");
  for (const char* value : {"'nan'", "-5", "1e400"}) {
    ASSERT_TRUE(ZirIrodoDotDb()->ExecuteSQL(std::string("UPDATE [默认光源] SET [光通量] = ") +
                                            value + " WHERE [灯具名称] = '格栅荧光灯'"));
    EXPECT_EQ(Lamps(Filled(id)), (std::vector<int>{1, 1, 0})) << value;
  }
  EXPECT_NE(output.text.find("表[默认光源]中 灯具名称 = 格栅荧光灯, 灯具型号 = YG701-3 的行: "
                             "[光通量] 的值 \"-5\" 不是合理的数字"),
            std::string::npos);
}

TEST_F(LuminaireRecordTest, UnknownLuminaireAsksForASubstituteAndRemembersIt) {
  // A cancelled chooser leaves the curve empty and remembers nothing.
  EXPECT_EQ(Filled(AddLuminaire("ZM3B-1", "面板灯", "X-2", "3")).curve_table, "");
  EXPECT_TRUE(Query(FormatSql(kSelectRememberedCurve, "面板灯", "X-2")).empty());
  on_modal = [](nyhost::Dialog& dlg) {
    ASSERT_TRUE(dlg.UserChoose(304, "LED"));
    ASSERT_TRUE(dlg.UserChoose(379, "通用"));
    ASSERT_EQ(dlg.GetCount(353), 1);
    ASSERT_TRUE(dlg.UserChoose(353, "#0"));
    dlg.UserClick(nyhost::kIdOk);
  };
  // A row left with an empty curve counts as none: the chooser still asks, and fills that row.
  ZirIrodoDotDb()->ExecuteSQL(FormatSql(kInsertRememberedCurve, "", "面板灯", "X-1"));
  auto id = AddLuminaire("ZM3B-1", "面板灯", "X-1", "3");
  LuminaireRecord r = Filled(id);
  EXPECT_EQ(output.text.find("采用记忆值"), std::string::npos);
  EXPECT_EQ(prompt,
            "在数据库中没有找到灯具:\n名称为:面板灯\n型号为:X-1\n的配光曲线!\n是否用其他配光曲线代替?");
  EXPECT_EQ(r.curve_table, "LEDLED-P600配光曲线");
  EXPECT_EQ(Query(FormatSql(kSelectRememberedCurve, "面板灯", "X-1")),
            (std::vector<std::string>{"LEDLED-P600配光曲线"}));  // one row
  EXPECT_EQ(Lamps(r), (std::vector<int>{0, 0, 0}));  // the new row holds the curve only
  // The next fill takes the remembered curve without asking.
  on_modal = nullptr;
  EXPECT_EQ(Filled(id).curve_table, "LEDLED-P600配光曲线");
  EXPECT_EQ(modal_runs, 2);
}

TEST_F(LuminaireRecordTest, RefusesWhatIsNotALuminaire) {
  LuminaireRecord r;
  EXPECT_FALSE(Fill(AddLuminaire("KG1-开关", "开关", "K1", "1.3"), r));
  nyhost::Entity text;
  text.data = nyhost::Text{};
  EXPECT_FALSE(FillLuminaireRecord(text, r));
  auto erased = AddLuminaire("ZM2-1", "筒灯", "TD-150", "3");
  drawing().Erase(erased);
  EXPECT_FALSE(Fill(erased, r));
  EXPECT_EQ(r.curve_table, "");
  EXPECT_EQ(r.lamp1_count, 1);  // untouched defaults
}

TEST_F(LuminaireRecordTest, FailsWithoutTheCurveDatabase) {
  fs::remove(Module().DataFolder + "ZirIrodoDot.mdb");
  auto id = AddLuminaire("ZM2-1", "筒灯", "TD-150", "3");
  LuminaireRecord r;
  EXPECT_FALSE(Fill(id, r));
  EXPECT_FALSE(Fill(id, r));
  EXPECT_EQ(windows.message_log, (std::vector<std::string>{"[岚序软件] ADO ERR!"}));
}

TEST_F(LuminaireRecordTest, SavesRememberedLampsInsertingOrUpdating) {
  std::vector<LuminaireTableRow> rows = {
      // name, model, lamp 1 name, model, power, ballast, count, lamp 2 ..., flux, curve
      {"格栅荧光灯", "YG701-3", "荧光灯", "T5", "28", "3", "2", "", "", "0", "0", "0", "5200",
       "荧光灯YG701-3配光曲线"},
      {"新灯", "N-1", "LED", "LED-36", "36", "0", "1", "LED", "LED-D12", "12", "1", "2", "6900",
       "LEDLED-P600配光曲线"},
      {"新灯", "N-1", "LED", "LED-36", "36", "0", "4", "", "", "0", "0", "0", "16800",
       "LEDLED-P600配光曲线"},
      {"too", "short"},
      {"无曲线", "E-1", "LED", "LED-36", "36", "0", "1", "", "", "0", "0", "0", "3600", " "},
  };
  EXPECT_EQ(SaveRememberedLamps(rows), 3);
  using V = std::vector<std::string>;
  EXPECT_EQ(Query(FormatSql(kSelectRememberedLamps, "格栅荧光灯", "YG701-3")),
            (V{"荧光灯", "T5", "2", "28", "3", "", "", "0", "0", "0", "5200"}));
  // The last row of a name and model wins.
  EXPECT_EQ(Query(FormatSql(kSelectRememberedLamps, "新灯", "N-1")),
            (V{"LED", "LED-36", "4", "36", "0", "", "", "0", "0", "0", "16800"}));
  EXPECT_EQ(Query("SELECT count(*) FROM [默认光源] WHERE [灯具名称] = '新灯'"), (V{"1"}));
  // A row without a curve is never stored.
  EXPECT_TRUE(Query(FormatSql(kSelectRememberedExists, "无曲线", "E-1")).empty());

  // A luminaire filled afterwards takes the saved lamps.
  LuminaireRecord r = Filled(AddLuminaire("ZM1A-1", "格栅荧光灯", "YG701-3", "3"));
  EXPECT_EQ(r.lamp1_model + std::to_string(r.total_flux), "T55200");

  // A name with a quote is refused without touching the table.
  EXPECT_EQ(SaveRememberedLamps({{"O'Brien", "M", "LED", "x", "1", "1", "1", "", "", "0", "0", "0", "1",
                                  "c"}}), 0);
  EXPECT_EQ(Query("SELECT count(*) FROM [默认光源]"), (V{"5"}));
}

TEST_F(LuminaireRecordTest, WritesTiltsAndRotation) {
  auto id = AddLuminaire("ZM1A-1", "格栅荧光灯", "YG701-3", "3");
  EXPECT_TRUE(WriteTilt(id, kKeyTiltX, "25"));
  EXPECT_TRUE(WriteRotation(id, 45));
  LuminaireRecord r = Filled(id);
  EXPECT_DOUBLE_EQ(r.tilt_x, 25);
  EXPECT_NEAR(r.rotation_z, 45, 1e-9);
  EXPECT_EQ(drawing().Find(id)->As<nyhost::BlockReference>()->rotation_deg, 45);
  nyhost::Entity text;
  text.data = nyhost::Text{};
  EXPECT_FALSE(WriteRotation(drawing().Add(text), 10));
}

}  // namespace
