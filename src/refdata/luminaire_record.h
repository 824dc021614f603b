// One luminaire of the drawing as the point method calculates with it, how it is filled from a
// luminaire block reference, and the lamp choices remembered per luminaire name and model.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/entity.h"
#include "host/geometry.h"

struct LuminaireRecord {
  nyhost::Point3 position;       // x, y: insertion point; z: mounting height (drawing units)
  std::string curve_table;       // distribution-curve table in ZirIrodoDot.mdb
  nyhost::EntityId entity_id = nyhost::kNullId;
  int total_flux = 0;            // lm, whole luminaire
  double tilt_x = 0;             // degrees
  double tilt_y = 0;             // degrees
  double rotation_z = 0;         // degrees
  std::string name;
  std::string model;
  std::string lamp1_name, lamp1_model;
  int lamp1_power = 0, lamp1_ballast_power = 0;
  int lamp1_count = 1;
  std::string lamp2_name, lamp2_model;
  int lamp2_power = 0, lamp2_ballast_power = 0;
  int lamp2_count = 1;
};

// Keyed texts a luminaire block carries.
inline constexpr const char* kKeyHeight = "设备高";
inline constexpr const char* kKeyName = "名称";
inline constexpr const char* kKeyModel = "型号";
inline constexpr const char* kKeyTiltX = "X轴旋转";
inline constexpr const char* kKeyTiltY = "Y轴旋转";

// The block-name key as code page 936 bytes: the first 3 bytes of the name, plus the 4th when it
// is a capital letter A to Z; names shorter than 4 bytes give the empty key.
std::string BlockNameKey(std::string_view block_name);

// Block-name key (code page 936 bytes, as stored in 平面设备表.类型) -> device kind. Filled from
// plane.mdb on first use; stays empty (and is tried again) while the file cannot be opened.
const std::unordered_map<std::string, std::string>& DeviceKindMap();
// Forgets the map; the module calls it at unload.
void ResetDeviceKindMap();

// Whether a block of that name is a luminaire (its key maps to "灯具").
bool LuminaireBlockTest(const std::string& block_name);

// Fills `record` (preset to the defaults) from a luminaire block reference of the current
// drawing: keyed texts, curve from the catalogue or the remembered choices (else the chooser),
// remembered lamps. False when it is not a luminaire block or ZirIrodoDot.mdb is unavailable.
bool FillLuminaireRecord(const nyhost::Entity& block_ref, LuminaireRecord& record);

// Cells of one data row of the point-method luminaire table, in this order: luminaire name,
// model, lamp 1 name, model, power, ballast power, count, lamp 2 name, model, power, ballast
// power, count, total flux, curve table. Numbers are read with atoi.
using LuminaireTableRow = std::vector<std::string>;
inline constexpr int kRememberedRowCells = 14;
// Remembers the lamps of every row in 默认光源 (insert a new name and model, else update it;
// the last row of a name and model wins). Returns the number of rows written; rows with fewer
// than 14 cells are skipped. Failing writes are not reported.
int SaveRememberedLamps(const std::vector<LuminaireTableRow>& rows);

// Stores a typed tilt ("X轴旋转" or "Y轴旋转") on the luminaire.
bool WriteTilt(nyhost::EntityId id, const std::string& key, const std::string& text);
// Sets the block reference's rotation to `degrees`.
bool WriteRotation(nyhost::EntityId id, double degrees);
