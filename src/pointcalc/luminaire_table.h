// The luminaire table of the point-method dialog (grid 4512): one row per luminaire of the room,
// 18 columns, drop-down cells with lists from the light-source table, edits flowing back into
// the records and into the drawing.
#pragma once

#include <string>
#include <vector>

#include "refdata/luminaire_record.h"

namespace nyhost {
class Dialog;
struct GridState;
}  // namespace nyhost

inline constexpr int kLuminaireGridId = 4512;

enum LuminaireColumn {
  kColName = 0,
  kColModel,
  kColHeight,
  kColRotationZ,
  kColTiltX,
  kColTiltY,
  kColLamp1Name,
  kColLamp1Model,
  kColLamp1Power,
  kColLamp1Ballast,
  kColLamp1Count,
  kColLamp2Name,
  kColLamp2Model,
  kColLamp2Power,
  kColLamp2Ballast,
  kColLamp2Count,
  kColFlux,
  kColCurve,
  kLuminaireColumns
};

// Option lists of the drop-down cells.
const std::vector<std::string>& AngleOptions();
const std::vector<std::string>& CountOptions();
const std::vector<std::string>& BallastOptions();
// Light-source names, types of a name, powers of a name and type (NyData.mdb; duplicates
// removed). Empty when the database file is missing.
std::vector<std::string> LampNameOptions();
std::vector<std::string> LampTypeOptions(const std::string& name);
std::vector<std::string> LampPowerOptions(const std::string& name, const std::string& type,
                                          bool for_fill);
// Flux of one lamp of that name, type and power; 0 when the table has no such lamp.
int LampFlux(const std::string& name, const std::string& type, int power);

// Header row, column widths and cell kinds of an empty table (grid of `frame_width_px` pixels).
void SetUpLuminaireGrid(nyhost::GridState& grid, int frame_width_px);
// One data row of a record, with its cells' kinds and option lists.
void FillLuminaireRow(nyhost::GridState& grid, int row, const LuminaireRecord& rec,
                      double arch_scale, const std::vector<std::string>& lamp_names);
// All records, row = record index + 1.
void FillLuminaireTable(nyhost::Dialog& dlg, int grid_id, const std::vector<LuminaireRecord>& recs);

// The height column's text: metres with the drawing's precision down to millimetres ("3.0",
// "2.25"), so that reading it back loses nothing.
std::string HeightText(double metres);

// Reads every data row back into its record. Fails without reading when rows and records are out
// of step, and with a message when a row does not read (below).
bool ReadLuminaireTable(const nyhost::Dialog& dlg, int grid_id, std::vector<LuminaireRecord>& recs);
// Reads one row into `rec`; `rec` is unchanged on failure. A number cell that still shows the
// record's value keeps that value exactly. Fails with "灯具安装高度有误!" for a height that is not
// between 1 mm and 1000 m, with "你输入的数据不合理!" and the cell for an angle beyond one turn
// or a negative or absurd power, count or flux, and with an empty message for a short row.
bool ReadLuminaireRow(const nyhost::GridState& grid, int row, double arch_scale,
                      LuminaireRecord& rec, std::string& message);
// Writes flux 1 x count 1 + flux 2 x count 2 of the row's own lamps into its flux column.
void RecomputeFlux(nyhost::GridState& grid, int row);

// A cell of a data row was changed: refresh dependent lists and the flux, or write the rotation
// and tilts to the luminaire in the drawing.
void OnLuminaireRowChanged(nyhost::Dialog& dlg, int grid_id, int row, int col,
                           const std::vector<LuminaireRecord>& recs);
// Ballast cells must hold a number of watts, not negative: "镇流器功率只能为数字!" and "0"
// otherwise. False when reset.
bool CheckBallastCell(nyhost::Dialog& dlg, int grid_id, int row, int col);

// The rows as the remembered-lamps store takes them (14 cells each), when the table has exactly
// one data row per record and at least one.
std::vector<LuminaireTableRow> RememberedLampRows(const nyhost::Dialog& dlg, int grid_id,
                                                  std::size_t record_count);
