// Utilization-coefficient tables: finding a luminaire's table in [灯具型号], holding it in memory
// (read once per luminaire choice), and LookupUtilizationCoefficient, the interpolation over the
// effective ceiling reflectance, the wall reflectance and the room cavity ratio.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "standards/cu_table_editor.h"

class NyAccess;

// One table: every row kept (duplicates too, so a lookup can refuse them).
struct CuTable {
  std::string name;
  bool eighty_series = false;  // largest [有效顶棚反射比] above 75
  // (ceiling %, wall %, RCR) -> the coefficients of the rows with that key.
  std::map<std::tuple<int, int, int>, std::vector<double>> entries;
  bool empty() const { return entries.empty(); }
};

// What [灯具型号] says of one luminaire model with one light source.
struct CuLuminaire {
  double spacing_ratio = 0;  // [距高比]
  std::string bitmap;        // [位图]
  std::string table;         // [利用系数表]
};

// The catalogue row of model and light source. Anything but exactly one row shows
// "<灯具型号>中有相同的型号和光源:..." and gives none.
std::optional<CuLuminaire> FindCuLuminaire(NyAccess* db, const std::string& model,
                                           const std::string& lamp);

// Reads a table. None when the database or the table is missing; a table without ceiling
// values shows "数据库有误!请检查...表的[有效顶棚反射比]!" and gives none.
std::optional<CuTable> LoadCuTable(NyAccess* db, const std::string& name);

// The coefficient for reflectances as fractions (0.7, not 70) and the RCR, or -1 when an entry
// the interpolation needs is missing or duplicated. Pure: shows nothing.
double InterpolateCu(const CuTable& table, double ceiling, double wall, double rcr);

// InterpolateCu that reports a missing or duplicated entry with "利用系数没找到 或
// 存在多个利用系数!"; an empty table gives -1 without a message.
double LookupUtilizationCoefficient(const CuTable& table, double ceiling, double wall, double rcr);
