// Every statement the module sends to the reference databases, word for word as the databases of
// the Windows version received them (odd blanks, tabs, "'%s'AND" and "DELETE * FROM" included:
// the files are shared with that version, and the dialect step in support/ny_sql_dialect makes
// them acceptable to SQLite). Callers fill the placeholders with FormatSql and never write SQL of
// their own. Text values go between the single quotes unescaped: callers refuse values that
// contain a single quote, and NyAccess refuses a text that turns into more than one statement.
#pragma once

#include <fmt/printf.h>

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "support/ny_sql_dialect.h"

namespace sql_detail {
template <typename T>
bool HasSingleQuote(const T& value) {
  if constexpr (std::is_pointer_v<T>) {
    if (value == nullptr) return false;
  }
  if constexpr (std::is_convertible_v<const T&, std::string_view>) {
    return std::string_view(value).find('\'') != std::string_view::npos;
  } else {
    return false;
  }
}

// A value as printed: a text at a "[%s]" placeholder becomes a safely bracketed name.
template <typename T>
auto Printed(const T& value, bool is_name) {
  if constexpr (std::is_convertible_v<const T&, std::string_view>) {
    std::string_view text;
    if constexpr (std::is_pointer_v<T>) {
      if (value != nullptr) text = value;
    } else {
      text = value;
    }
    return is_name ? SqlBracket(text) : std::string(text);
  } else {
    return value;
  }
}

template <typename... Args, std::size_t... I>
std::string Format(const NamePlaceholders& p, std::index_sequence<I...>, const Args&... args) {
  return fmt::sprintf(p.format, Printed(args, I < p.is_name.size() && p.is_name[I])...);
}
}  // namespace sql_detail

// printf-style formatting of a catalogue statement ("%s", "%d", "%f", "%.1f", ...). A name at a
// "[%s]" placeholder is bracketed by SqlBracket. Text values are written between quotes
// unescaped, so a text value holding a single quote would change the statement: then the result
// is empty, which every NyAccess operation refuses.
template <typename... Args>
std::string FormatSql(const char* stmt, const Args&... args) {
  if ((sql_detail::HasSingleQuote(args) || ...)) return std::string();
  return sql_detail::Format(FindNamePlaceholders(stmt), std::index_sequence_for<Args...>{},
                            args...);
}

// Characters a name that becomes part of a table name may not hold: the single quote (the name
// also goes between quotes) and the brackets, which no statement could read back reliably.
inline bool UsableInTableName(std::string_view name) {
  return name.find_first_of("'[]") == std::string_view::npos;
}

// ---- NyData.mdb: light sources [光源] ----
inline constexpr const char* kSelectLampKindsSorted =
    "SELECT [光源名称] FROM [光源] ORDER BY [光源名称]";
inline constexpr const char* kSelectLampKindsGrouped =
    "SELECT [光源名称] FROM [光源] GROUP BY [光源名称]";
// kind
inline constexpr const char* kSelectLampModelsOfKind =
    "SELECT [光源型号] FROM [光源] WHERE [光源名称] = '%s'";
// kind
inline constexpr const char* kSelectLampModelsOfKindGrouped =
    "SELECT [光源型号] FROM [光源] WHERE [光源名称] = '%s' GROUP BY [光源型号]";
// kind, model
inline constexpr const char* kSelectLampPowersNoBlank =
    "SELECT [功率] FROM [光源] WHERE [光源名称] = '%s'AND [光源型号] = '%s'";
// kind, model
inline constexpr const char* kSelectLampPowers =
    "SELECT [功率] FROM [光源] WHERE [光源名称] = '%s' AND [光源型号] = '%s'";
// kind, model
inline constexpr const char* kSelectLampPowersGrouped =
    "SELECT [功率] FROM [光源] WHERE [光源名称] = '%s'AND [光源型号] = '%s' GROUP BY [功率]";
// kind, model, power
inline constexpr const char* kSelectLampFlux =
    "SELECT [光通量] FROM [光源] WHERE [光源名称] = '%s' AND [光源型号] = '%s' AND [功率] = %d";
// kind
inline constexpr const char* kSelectLampRowsOfKind =
    "SELECT [光源名称],[光源型号],[功率],[光通量],[生产厂家] FROM [光源] WHERE  [光源名称] = '%s'";
// kind
inline constexpr const char* kSelectLampRowsOfKindByPower =
    "SELECT [光源名称],[光源型号],[功率],[光通量],[生产厂家] FROM [光源] WHERE [光源名称] = '%s'  "
    "ORDER BY [功率]";
// manufacturer, kind
inline constexpr const char* kSelectLampRowsOfMakerAndKind =
    "SELECT [光源名称],[光源型号],[功率],[光通量],[生产厂家] FROM [光源] WHERE [生产厂家] = '%s' "
    "and [光源名称] = '%s'";
// kind
inline constexpr const char* kSelectLampMakersOfKindGrouped =
    "SELECT [生产厂家] FROM [光源] WHERE [光源名称] = '%s' group by [生产厂家]";
// kind
inline constexpr const char* kSelectLampMakersOfKindSorted =
    "SELECT [生产厂家] FROM [光源] where [光源名称] = '%s' ORDER BY [生产厂家]";
// kind, model, power
inline constexpr const char* kSelectLampExistsBeforeSave =
    "SELECT * FROM [光源] WHERE  [光源名称] = '%s' AND [光源型号] = '%s' AND [功率] = %d";
// kind, model, power, flux, manufacturer
inline constexpr const char* kInsertLamp =
    "INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) values ('%s','%s',%d,%d,'%s')";
// flux, manufacturer, kind, model, power
inline constexpr const char* kUpdateLamp =
    "UPDATE [光源] SET [光通量] = %d ,[生产厂家] = '%s' WHERE [光源名称] = '%s' AND  [光源型号] = "
    "'%s' AND [功率] = %d";
// kind, model, power
inline constexpr const char* kSelectLampExistsBeforeDelete =
    "SELECT * FROM [光源] WHERE [光源名称] = '%s' AND [光源型号] = '%s' AND [功率] = %d";
// kind, model, power
inline constexpr const char* kDeleteLamp =
    "DELETE * FROM [光源] WHERE [光源名称] = '%s' AND [光源型号] = '%s' AND [功率] = %d";

// ---- NyData.mdb: lumen-method luminaires [灯具型号] ----
// (kSelectLuminaireKindsSorted below serves both databases)
// kind
inline constexpr const char* kSelectCuModelsOfKind =
    "SELECT [灯具型号] FROM [灯具型号] WHERE [光源名称] = '%s' ORDER BY [灯具型号]";
inline constexpr const char* kSelectCuLuminaireRowsAll =
    "SELECT [光源名称],[灯具型号],[距高比],[生产厂家],[位图] FROM [灯具型号] ORDER BY [光源名称]";
// kind
inline constexpr const char* kSelectCuLuminaireRowsOfKindLower =
    "SELECT [光源名称],[灯具型号],[距高比],[生产厂家],[位图] FROM [灯具型号] where [光源名称] = "
    "'%s'";
// kind
inline constexpr const char* kSelectCuLuminaireRowsOfKind =
    "SELECT [光源名称],[灯具型号],[距高比],[生产厂家],[位图] FROM [灯具型号] WHERE [光源名称] = "
    "'%s' ";
// manufacturer, kind
inline constexpr const char* kSelectCuLuminaireRowsOfMakerAndKind =
    "SELECT [光源名称],[灯具型号],[距高比],[生产厂家],[位图] FROM [灯具型号] WHERE [生产厂家] = "
    "'%s' and [光源名称] = '%s'";
// kind, manufacturer
inline constexpr const char* kSelectCuLuminaireRowsOfKindAndMaker =
    "SELECT [光源名称],[灯具型号],[距高比],[生产厂家],[位图] FROM [灯具型号] WHERE [光源名称] = "
    "'%s' and [生产厂家] = '%s'";
// kind
inline constexpr const char* kSelectCuLuminaireMakersOfKind =
    "SELECT [生产厂家] FROM [灯具型号] where [光源名称] = '%s' and [生产厂家] <> '' group by "
    "[生产厂家]";
// coefficient table. Table names compare without regard to case, as in the Access engine.
inline constexpr const char* kSelectLuminairesNamingCuTable =
    "SELECT [光源名称],[灯具型号] FROM [灯具型号] WHERE [利用系数表] = '%s' COLLATE NOCASE";
// kind, model
inline constexpr const char* kSelectCuTableOfLuminaire =
    "SELECT [利用系数表] FROM [灯具型号] WHERE [光源名称] = '%s' AND [灯具型号] = '%s'";
// model, kind
inline constexpr const char* kSelectCuLuminaireRecord =
    "SELECT [距高比],[位图],[利用系数表] FROM [灯具型号] WHERE [灯具型号] = '%s' AND [光源名称] = "
    "'%s'";
// model
inline constexpr const char* kSelectDesignationsOfModel =
    "SELECT [名称] FROM [灯具型号] where [灯具型号] = '%s'";
// (the existence test is kSelectLuminaireExists below, shared with ZirIrodoDot.mdb)
// kind, model, ratio, manufacturer, bitmap, coefficient table
inline constexpr const char* kInsertCuLuminaire =
    "INSERT INTO [灯具型号]\t\t\t\t\t(光源名称,灯具型号,距高比,生产厂家,位图,利用系数表) values "
    "('%s','%s',%f,'%s','%s','%s')";
// ratio, bitmap, manufacturer, kind, model
inline constexpr const char* kUpdateCuLuminaire =
    "UPDATE [灯具型号] SET [距高比] = %f,[位图] = '%s' ,[生产厂家] = '%s' WHERE [光源名称] = '%s' "
    "AND [灯具型号] = '%s'";
// joined designations (each followed by "^"), model
inline constexpr const char* kUpdateDesignationsOfModel =
    "UPDATE [灯具型号] SET [名称] = '%s' WHERE [灯具型号] = '%s'";
// kind, model
inline constexpr const char* kDeleteCuLuminaire =
    "DELETE * FROM [灯具型号] WHERE [光源名称] = '%s' and [灯具型号] = '%s'";

// ---- NyData.mdb: utilization-coefficient tables (table name first) ----
// table
inline constexpr const char* kSelectCuCeilingValues = "SELECT [有效顶棚反射比] FROM [%s] ";
// table
inline constexpr const char* kSelectCuTableOrdered =
    "SELECT [利用系数] FROM [%s] ORDER BY [有效顶棚反射比],[墙反射比],[室空间比]";
// table, ceiling, wall, rcr
inline constexpr const char* kSelectCuValue =
    "SELECT [利用系数] FROM [%s] WHERE [有效顶棚反射比] = %d AND [墙反射比] = %d AND [室空间比] = "
    "%d";
// table: every row with its key, read once when a luminaire is chosen
inline constexpr const char* kSelectCuTableRows =
    "SELECT [有效顶棚反射比],[墙反射比],[室空间比],[利用系数] FROM [%s]";
// table
inline constexpr const char* kDeleteAllRows = "DELETE * FROM [%s]";
// table, coefficient, ceiling, wall, rcr
inline constexpr const char* kInsertCuValue =
    "INSERT INTO [%s] (利用系数,有效顶棚反射比,墙反射比,室空间比) values (%.2f,%d,%d,%d)";

// ---- NyData.mdb: illuminance standards [照度标准] and one table per category ----
inline constexpr const char* kSelectStandardCategories =
    "SELECT [场所] FROM [照度标准] ORDER BY ID";
// category table
inline constexpr const char* kSelectStandardPlaces = "SELECT [场所名称] FROM [%s] ORDER BY ID ";
// category table, place
inline constexpr const char* kSelectStandardValues =
    "SELECT [照度],[现行功率密度],[目标功率密度],[统一眩光],[显色指数] FROM [%s] WHERE [场所名称] "
    "= '%s'";
// category
inline constexpr const char* kInsertStandardCategory =
    "INSERT INTO [照度标准] (场所) values ('%s')";
// new category table
inline constexpr const char* kCreateCategoryTableFromTemplate =
    "select * into [%s] from [照度标准模板]";
// category table, place, lx, current lpd, target lpd, ugr, ra
inline constexpr const char* kInsertStandardPlace =
    "INSERT INTO [%s] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) values "
    "('%s',%d,%.1f,%.1f,%.0f,%d)";
// category table, place
inline constexpr const char* kDeleteStandardPlace = "DELETE * FROM [%s] WHERE [场所名称] = '%s'";
// category
inline constexpr const char* kDeleteStandardCategory =
    "DELETE * FROM [照度标准] WHERE [场所] = '%s'";
// category table
inline constexpr const char* kDropTable = "DROP TABLE [%s]";

// The same for an edition that lists its categories in a table of its own (the 2004 edition
// uses the statements above).
// categories table
inline constexpr const char* kSelectEditionCategories = "SELECT [场所] FROM [%s] ORDER BY ID";
// categories table, category
inline constexpr const char* kInsertEditionCategory = "INSERT INTO [%s] (场所) values ('%s')";
// new category table, template table
inline constexpr const char* kCreateEditionCategoryTable = "select * into [%s] from [%s]";
// categories table, category
inline constexpr const char* kDeleteEditionCategory = "DELETE * FROM [%s] WHERE [场所] = '%s'";
// category table, place: the work-area uniformity (U0) an edition requires
inline constexpr const char* kSelectStandardUniformity =
    "SELECT [照度均匀度] FROM [%s] WHERE [场所名称] = '%s'";

// ---- NyData.mdb: surface reflectances [物体反射率] ----
// Colours of one material, the material written into the text: bracketed for 粉刷, 钢板, 玻璃,
// unbracketed for the others. Looked up with MaterialColourStatementOf().
struct MaterialColourStatement {
  const char* material;
  const char* statement;
};
inline constexpr MaterialColourStatement kSelectMaterialColours[] = {
    {"粉刷", "SELECT [颜色] FROM [物体反射率] WHERE [物体] = '粉刷'"},
    {"喷白", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '喷白'"},
    {"砂浆", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '砂浆'"},
    {"混凝土", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '混凝土'"},
    {"砖墙", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '砖墙'"},
    {"釉面墙", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '釉面墙'"},
    {"水磨石", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '水磨石'"},
    {"大理石", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '大理石'"},
    {"沥青", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '沥青'"},
    {"调和漆", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '调和漆'"},
    {"塑料贴面", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '塑料贴面'"},
    {"塑料壁纸", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '塑料壁纸'"},
    {"马赛克", "SELECT [颜色] FROM 物体反射率 WHERE 物体 = '马赛克'"},
    {"钢板", "SELECT [颜色] FROM [物体反射率] WHERE [物体] = '钢板'"},
    {"玻璃", "SELECT [颜色] FROM [物体反射率] WHERE [物体] = '玻璃'"},
};
// The colour statement of a material of the list above, or null for any other material.
inline const char* MaterialColourStatementOf(std::string_view material) {
  for (const auto& m : kSelectMaterialColours)
    if (material == m.material) return m.statement;
  return nullptr;
}
// material (unbracketed form: the materials other than 钢板 and 玻璃)
inline constexpr const char* kSelectColourlessReflectance =
    "SELECT [反射率] FROM 物体反射率 WHERE 物体 = '%s'AND 颜色 = '无'";
// material (bracketed form: 钢板, 玻璃 and the general case)
inline constexpr const char* kSelectColourlessReflectanceBracketed =
    "SELECT [反射率] FROM [物体反射率] WHERE [物体] = '%s'AND [颜色] = '无'";
// material, colour
inline constexpr const char* kSelectColourReflectance =
    "SELECT [反射率] FROM [物体反射率] WHERE [物体] = '%s'AND [颜色] = '%s'";

// ---- NyData.mdb and ZirIrodoDot.mdb: [灯具型号] statements both catalogues share ----
inline constexpr const char* kSelectLuminaireKindsSorted =
    "SELECT [光源名称] FROM [灯具型号] ORDER BY [光源名称]";
// kind, model
inline constexpr const char* kSelectLuminaireExists =
    "SELECT * FROM [灯具型号] WHERE  [光源名称] = '%s' and [灯具型号] = '%s'";

// ---- ZirIrodoDot.mdb: point-method luminaires [灯具型号] ----
inline constexpr const char* kSelectDotLuminaireRowsAll =
    "SELECT [光源名称],[灯具型号],[生产厂家] FROM [灯具型号] ORDER BY [光源名称]";
// kind
inline constexpr const char* kSelectDotLuminaireRowsOfKind =
    "SELECT [光源名称],[灯具型号],[生产厂家] FROM [灯具型号] WHERE [光源名称] = '%s' ";
// kind
inline constexpr const char* kSelectDotLuminaireRowsOfKindNoBlank =
    "SELECT [光源名称],[灯具型号],[生产厂家] FROM [灯具型号] WHERE [光源名称] = '%s'";
// kind, manufacturer
inline constexpr const char* kSelectDotLuminaireRowsOfKindAndMaker =
    "SELECT [光源名称],[灯具型号],[生产厂家] FROM [灯具型号] WHERE [光源名称] = '%s' and "
    "[生产厂家] = '%s'";
// manufacturer, kind
inline constexpr const char* kSelectDotLuminaireRowsOfMakerAndKind =
    "SELECT [光源名称],[灯具型号],[生产厂家] FROM [灯具型号] WHERE [生产厂家] = '%s' and "
    "[光源名称] = '%s'";
// kind
inline constexpr const char* kSelectDotLuminaireMakersOfKind =
    "SELECT [生产厂家] FROM [灯具型号] where [光源名称] = '%s'";
// kind, curve table
inline constexpr const char* kSelectDotMakersUsingCurve =
    "SELECT [生产厂家] FROM [灯具型号] WHERE [光源名称] = '%s' AND [配光曲线表] = '%s' ";
// kind, manufacturer
inline constexpr const char* kSelectDotModelsOfKindAndMaker =
    "SELECT [灯具型号] FROM [灯具型号] WHERE [光源名称] = '%s' AND [生产厂家] = '%s' ";
// kind, manufacturer, curve table
inline constexpr const char* kSelectDotModelsOfKindMakerAndCurve =
    "SELECT [灯具型号] FROM [灯具型号] WHERE [光源名称] = '%s' AND [生产厂家] = '%s' AND "
    "[配光曲线表] = '%s' ";
// curve table
inline constexpr const char* kSelectKindAndMakerUsingCurve =
    "SELECT [光源名称],[生产厂家] FROM [灯具型号] WHERE [配光曲线表] = '%s' ";
// curve table. Table names compare without regard to case, as they did in the Access engine:
// this version's own test of which catalogue rows still name a curve table.
inline constexpr const char* kSelectLuminairesNamingCurve =
    "SELECT [光源名称],[灯具型号] FROM [灯具型号] WHERE [配光曲线表] = '%s' COLLATE NOCASE";
// kind, model
inline constexpr const char* kSelectCurveOfLuminaire =
    "SELECT [配光曲线表] FROM [灯具型号] WHERE [光源名称] = '%s' AND [灯具型号] = '%s'";
// model, kind
inline constexpr const char* kSelectCurveOfModelAndKind =
    "SELECT [配光曲线表] FROM [灯具型号] WHERE  [灯具型号] = '%s' AND [光源名称] = '%s'";
// model
inline constexpr const char* kSelectCurveByModel =
    "SELECT [配光曲线表] FROM [灯具型号] WHERE  [灯具型号] = '%s'";
// kind, model, manufacturer, curve table
inline constexpr const char* kInsertDotLuminaire =
    "INSERT INTO [灯具型号]\t\t\t\t\t(光源名称,灯具型号,生产厂家,配光曲线表) values "
    "('%s','%s','%s','%s')";
// manufacturer, kind, model
inline constexpr const char* kUpdateDotLuminaireMaker =
    "UPDATE [灯具型号] SET [生产厂家] = '%s' WHERE [光源名称] = '%s' AND [灯具型号] = '%s'";
// kind, model
inline constexpr const char* kDeleteDotLuminaire =
    "DELETE * FROM [灯具型号] WHERE  [光源名称] = '%s' and [灯具型号] = '%s'";
// kind, model, manufacturer
inline constexpr const char* kDeleteDotLuminaireOfMaker =
    "DELETE * FROM [灯具型号] WHERE  [光源名称] = '%s' and [灯具型号] = '%s' and [生产厂家] = '%s'";

// ---- ZirIrodoDot.mdb: distribution-curve tables (table name first) ----
// table
inline constexpr const char* kSelectCurveRows =
    "SELECT [角度],[光强A],[光强B] FROM [%s] ORDER BY [角度]";
// table
inline constexpr const char* kSelectCurveIntensities =
    "SELECT [光强A],[光强B] FROM [%s] ORDER BY [角度]";
// table, angle, intensity A, intensity B
inline constexpr const char* kInsertCurveRow =
    "INSERT INTO [%s] (角度,光强A,光强B) values (%d,%d,%d)";
// table, intensity A, intensity B, angle
inline constexpr const char* kUpdateCurveRow =
    "UPDATE [%s] SET [光强A] = %d ,[光强B] = %d WHERE [角度] = %d ";

// ---- ZirIrodoDot.mdb: remembered lamps and curves [默认光源] ----
// name, model
inline constexpr const char* kSelectRememberedExists =
    "SELECT [灯具名称],[灯具型号] FROM [默认光源] WHERE [灯具名称] = '%s' AND [灯具型号] = '%s'";
// curve, lamp 1 name, model, power, ballast, count, lamp 2 name, model, power, ballast, count,
// flux, luminaire model, luminaire name
inline constexpr const char* kInsertRememberedLamps =
    "INSERT INTO [默认光源] (配光曲线表,光源名称,光源型号,功率,镇流器功率,数量,光源名称1,光源型号1,"
    "功率1,镇流器功率1,数量1,光通量,灯具型号,灯具名称)\t\t\t\tvalues "
    "('%s','%s','%s',%d,%d,%d,'%s','%s',%d,%d,%d,%d,'%s','%s')";
// lamp 1 name, model, power, ballast, count, lamp 2 name, model, power, ballast, count, flux,
// curve, luminaire model, luminaire name
inline constexpr const char* kUpdateRememberedLamps =
    "UPDATE [默认光源] SET [光源名称] = '%s',\t[光源型号] = '%s',\t[功率] = %d,\t[镇流器功率] = "
    "%d,\t[数量] = %d,\t[光源名称1] = '%s',\t[光源型号1] = '%s',\t[功率1] = %d,\t[镇流器功率1] = "
    "%d,\t[数量1] = %d,\t[光通量] = %d,\t[配光曲线表] = '%s' WHERE [灯具型号] = '%s' AND "
    "[灯具名称] = '%s'";
// name, model
inline constexpr const char* kSelectRememberedCurve =
    "SELECT [配光曲线表] FROM [默认光源] WHERE  [灯具名称] = '%s' AND [灯具型号] = '%s'";
// curve, name, model
inline constexpr const char* kInsertRememberedCurve =
    "INSERT INTO [默认光源] (配光曲线表,灯具名称,灯具型号) VALUES ('%s','%s','%s')";
// curve, name, model
inline constexpr const char* kUpdateRememberedCurve =
    "UPDATE [默认光源] SET [配光曲线表] = '%s' WHERE [灯具名称] = '%s' AND [灯具型号] = '%s'";
// name, model
inline constexpr const char* kSelectRememberedLamps =
    "SELECT [光源名称],[光源型号],[数量],[功率],[镇流器功率],[光源名称1],[光源型号1],[数量1],"
    "[功率1],[镇流器功率1],[光通量] FROM [默认光源]\t\t\t\t\tWHERE [灯具名称] = '%s' AND "
    "[灯具型号] = '%s'";

// ---- ZirIrodoDot.mdb: Guth position index [古斯位置指数] ----
// T/R key as column name (text), H/R key (text, a number written without quotes)
inline constexpr const char* kSelectPositionIndex =
    "select [%s] from [古斯位置指数] where [H_R] = %s";
// the whole table, read once per glare run and looked up in memory as the statement above would
inline constexpr const char* kSelectPositionIndexTable = "select * from [古斯位置指数]";

// ---- plane.mdb: device kinds [平面设备表] ----
inline constexpr const char* kSelectDeviceKinds = "select [种类], [类型] FROM [平面设备表]";
