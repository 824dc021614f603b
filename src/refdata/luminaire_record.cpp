#include "refdata/luminaire_record.h"

#include <fmt/printf.h>

#include <cstdlib>

#include "host/host.h"
#include "host/text_codec.h"
#include "host/text_util.h"
#include "refdata/missing_curve.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_scale.h"
#include "support/ny_str.h"
#include "support/ny_xdata.h"

namespace {

std::unordered_map<std::string, std::string> g_device_kinds;

std::string ToGbkBytes(std::string_view utf8) {
  if (auto gbk = nyhost::Utf8ToGbk(utf8)) return *gbk;
  return nyhost::Utf8ToGbkEscaped(utf8);
}

void FillDeviceKindMap() {
  if (!g_device_kinds.empty()) return;
  std::string path = DataFile(kPlaneDb);
  if (path.empty()) return;
  // plane.mdb is read once with a connection of its own, not through the cache.
  NyAccess db;
  if (!db.InitADOServer(path, "")) return;
  NyStTable table;
  db.GetSelData(table, kSelectDeviceKinds);
  std::vector<std::string> row;
  for (int r = 0; r < table.GetTableLogicSize(); ++r) {
    table.GetValueRecord(row, r);
    if (row.size() < 2) continue;
    std::string kind = nyhost::Trim(row[0]);
    if (kind.empty()) kind = "其它";
    std::string type = ToGbkBytes(row[1]);
    auto it = g_device_kinds.find(type);
    // The first specific kind of a type wins; "其它" only fills a type not yet known.
    if (it != g_device_kinds.end() && !it->second.empty() && it->second != "其它") continue;
    g_device_kinds[type] = kind;
  }
  db.CloseAll();
}

// Keyed text of the block reference, else the text of its attribute with that tag.
std::string KeyedText(const nyhost::Entity& e, const std::string& key) {
  std::string text;
  NyXData::GetEntXData(text, e, key);
  if (!text.empty()) return text;
  if (const auto* ref = e.As<nyhost::BlockReference>()) {
    for (const auto& a : ref->attributes)
      if (a.tag == key) return a.text;
  }
  return {};
}

// The counts, powers and flux of a row of remembered lamps (the columns of
// kSelectRememberedLamps) into `numbers` at the same positions. A damaged value is named on the
// command line and the row is not used: the luminaire then starts without remembered lamps.
bool RememberedNumbers(const std::vector<std::string>& values, const std::string& name,
                       const std::string& model, int numbers[11]) {
  static constexpr struct {
    int index;
    const char* column;
    double max;
  } kColumns[] = {{2, "数量", kMaxDbLampCount},   {3, "功率", kMaxDbPower},
                  {4, "镇流器功率", kMaxDbPower}, {7, "数量1", kMaxDbLampCount},
                  {8, "功率1", kMaxDbPower},      {9, "镇流器功率1", kMaxDbPower},
                  {10, "光通量", kMaxDbFlux}};
  for (const auto& c : kColumns) {
    const std::string& text = values[static_cast<std::size_t>(c.index)];
    double v = 0;
    if (!ReadDbNumber(text, c.max, v)) {
      nyhost::Host::Get().Print(fmt::sprintf(
          "\n表[默认光源]中 灯具名称 = %s, 灯具型号 = %s 的行: [%s] 的值 \"%s\" 不是合理的数字,"
          "记忆的光源数据未采用!\n",
          name, model, c.column, text));
      return false;
    }
    numbers[c.index] = static_cast<int>(v);
  }
  return true;
}

}  // namespace

std::string BlockNameKey(std::string_view block_name) {
  std::string gbk = ToGbkBytes(block_name);
  if (gbk.size() < 4) return {};
  std::string key = gbk.substr(0, 3);
  if (gbk[3] >= 'A' && gbk[3] <= 'Z') key += gbk[3];
  return key;
}

const std::unordered_map<std::string, std::string>& DeviceKindMap() {
  FillDeviceKindMap();
  return g_device_kinds;
}

void ResetDeviceKindMap() { g_device_kinds.clear(); }

bool LuminaireBlockTest(const std::string& block_name) {
  const auto& kinds = DeviceKindMap();
  auto it = kinds.find(BlockNameKey(block_name));
  return it != kinds.end() && it->second == "灯具";
}

bool FillLuminaireRecord(const nyhost::Entity& block_ref, LuminaireRecord& record) {
  const auto* ref = block_ref.As<nyhost::BlockReference>();
  if (!ref || block_ref.erased) return false;
  if (!LuminaireBlockTest(ref->block)) return false;

  std::string height = KeyedText(block_ref, kKeyHeight);
  std::string name = KeyedText(block_ref, kKeyName);
  std::string model = KeyedText(block_ref, kKeyModel);

  NyAccess* db = ZirIrodoDotDb();
  if (!db) return false;

  std::string curve;
  std::vector<std::string> values;
  // An empty curve, in the catalogue or remembered, counts as none.
  if (db->GetSelData(values, FormatSql(kSelectCurveByModel, model)) > 0 && !values.empty() &&
      !nyhost::Trim(values[0]).empty()) {
    curve = values[0];
  } else if (db->GetSelData(values, FormatSql(kSelectRememberedCurve, name, model)) > 0 &&
             !values.empty() && !nyhost::Trim(values[0]).empty()) {
    curve = values[0];
    nyhost::Host::Get().Print("\n采用记忆值!\n");
  } else {
    if (!nyhost::Host::Get().drawing()) return false;
    if (!CurveForUnknownLuminaire(name, model, ref->position, curve)) return false;
  }

  if (db->GetSelData(values, FormatSql(kSelectRememberedLamps, name, model)) > 0 &&
      values.size() >= 11) {
    int numbers[11] = {};
    if (RememberedNumbers(values, name, model, numbers)) {
      record.lamp1_name = values[0];
      record.lamp1_model = values[1];
      record.lamp1_count = numbers[2];
      record.lamp1_power = numbers[3];
      record.lamp1_ballast_power = numbers[4];
      record.lamp2_name = values[5];
      record.lamp2_model = values[6];
      record.lamp2_count = numbers[7];
      record.lamp2_power = numbers[8];
      record.lamp2_ballast_power = numbers[9];
      record.total_flux = numbers[10];
    }
  }

  record.curve_table = curve;
  record.name = name;
  record.model = model;
  record.position = ref->position;
  record.rotation_z = ref->rotation_deg;
  // Keyed texts read as C atoi / atof, except that an infinite, NaN or overflowing text gives 0
  // (a height of 0 is refused before any calculation).
  record.tilt_x = NyStr::LeadingInt(KeyedText(block_ref, kKeyTiltX));
  record.tilt_y = NyStr::LeadingInt(KeyedText(block_ref, kKeyTiltY));
  record.position.z =
      NyStr::LeadingReal(height) * 1000.0 / NyScale::GetArchScale(nyhost::Host::Get().drawing());
  record.entity_id = block_ref.id;
  return true;
}

int SaveRememberedLamps(const std::vector<LuminaireTableRow>& rows) {
  NyAccess* db = ZirIrodoDotDb();
  if (!db || rows.empty() || !CurrentCurvePolicy().remember) return 0;
  bool own_transaction = !db->in_transaction() && db->BeginTrans();
  int written = 0;
  std::vector<std::string> found;
  for (const auto& row : rows) {
    // A row without a curve would later read as a remembered choice of nothing.
    if (static_cast<int>(row.size()) < kRememberedRowCells || nyhost::Trim(row[13]).empty())
      continue;
    auto num = [&](int i) { return std::atoi(row[static_cast<std::size_t>(i)].c_str()); };
    const std::string& name = row[0];
    const std::string& model = row[1];
    std::string sql;
    if (db->GetSelData(found, FormatSql(kSelectRememberedExists, name, model)) == 0) {
      sql = FormatSql(kInsertRememberedLamps, row[13], row[2], row[3], num(4), num(5), num(6),
                      row[7], row[8], num(9), num(10), num(11), num(12), model, name);
    } else {
      sql = FormatSql(kUpdateRememberedLamps, row[2], row[3], num(4), num(5), num(6), row[7],
                      row[8], num(9), num(10), num(11), num(12), row[13], model, name);
    }
    if (db->ExecuteSQL(sql)) ++written;
  }
  if (own_transaction) db->CommitTrans();
  return written;
}

bool WriteTilt(nyhost::EntityId id, const std::string& key, const std::string& text) {
  return NyXData::SetEntXData(id, key, text);
}

bool WriteRotation(nyhost::EntityId id, double degrees) {
  nyhost::Drawing* drawing = nyhost::Host::Get().drawing();
  if (!drawing) return false;
  const nyhost::Entity* e = drawing->FindLive(id);
  if (!e || !e->As<nyhost::BlockReference>()) return false;
  return drawing->Modify(id, [&](nyhost::Entity& ent) {
    if (auto* ref = ent.As<nyhost::BlockReference>()) ref->rotation_deg = degrees;
  });
}
