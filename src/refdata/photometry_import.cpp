#include "refdata/photometry_import.h"

#include <fmt/format.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <vector>

#include "base/module_state.h"
#include "host/text_codec.h"
#include "host/text_util.h"
#include "refdata/cu_method.h"
#include "refdata/photometry_file.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_common.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtensions[] = {".ies", ".ldt"};

// A transaction that rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(NyAccess* db) : db_(db), open_(db && db->BeginTrans()) {}
  ~Transaction() {
    if (open_) db_->RollbackTrans();
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  bool open() const { return open_; }
  // A commit that fails leaves nothing open: what it would have written is rolled back.
  bool Commit() {
    open_ = false;
    if (db_->CommitTrans()) return true;
    if (db_->in_transaction()) db_->RollbackTrans();
    return false;
  }

 private:
  NyAccess* db_;
  bool open_;
};

// Drops `table` when it exists and no catalogue row names it any more (`users`: the statement
// that finds the rows naming a table).
bool DropIfUnused(NyAccess& db, const std::string& table, const char* users) {
  std::vector<std::string> rows;
  if (!db.IsTableInDatabase(table, "TABLE")) return true;
  if (db.GetSelData(rows, FormatSql(users, table)) > 0) return false;
  return db.DeleteTable(table) != 0;
}

// A table that exists but belongs to no catalogue row of this kind and model is another's.
bool TableFree(NyAccess& db, const std::string& table, const char* users, bool replace) {
  if (!db.IsTableInDatabase(table, "TABLE")) return true;
  std::vector<std::string> rows;
  return replace && db.GetSelData(rows, FormatSql(users, table)) <= 1;
}

std::string KeptFile(const std::string& curve_table) {
  const std::string folder = Module().DataFolder + kPhotometryFolder;
  for (const char* ext : kExtensions) {
    std::string path = NyCommon::FindFileNoCase(folder, curve_table + ext);
    if (!path.empty()) return path;
  }
  return {};
}

std::string CurveTableOf(const std::string& model) {
  NyAccess* db = ZirIrodoDotDb();
  std::vector<std::string> values;
  if (!db || db->GetSelData(values, FormatSql(kSelectCurveByModel, model)) == 0) return {};
  return nyhost::Trim(values[0]);
}

struct Plan {
  std::string kind, maker, model, name, curve_table, cu_table;
  std::array<int, kCurveRows> a{}, b{};
  std::vector<nyluxora::cu::CuRow> cu;
  double spacing = 0, upward = 0;
  int lamps = 1, watts_per_lamp = 0, flux = 0;
};

// The catalogue writes of one import; false at the first failing one, with `error` set.
bool WriteCatalogues(NyAccess& dot, NyAccess& lumen, const Plan& w, bool replace,
                     std::string& error) {
  auto fail = [&](const std::string& what, NyAccess& db) {
    error = what + ": " + db.last_error();
    return false;
  };
  if (replace) {
    if (!dot.ExecuteSQL(FormatSql(kDeleteDotLuminaire, w.kind, w.model)) ||
        !lumen.ExecuteSQL(FormatSql(kDeleteCuLuminaire, w.kind, w.model)))
      return fail("removing the old luminaire", dot);
    if (!DropIfUnused(dot, w.curve_table, kSelectLuminairesNamingCurve))
      return fail("the curve table " + w.curve_table + " is used by another luminaire", dot);
    if (!DropIfUnused(lumen, w.cu_table, kSelectLuminairesNamingCuTable))
      return fail("the coefficient table " + w.cu_table + " is used by another luminaire", lumen);
  }
  if (!dot.ExecuteSQL(FormatSql(kInsertDotLuminaire, w.kind, w.model, w.maker, w.curve_table)) ||
      !dot.CreateTable(w.curve_table, {{"角度", "int"}, {"光强A", "int"}, {"光强B", "int"}}))
    return fail("writing the point-method luminaire", dot);
  for (int k = 0; k < kCurveRows; ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (!dot.ExecuteSQL(FormatSql(kInsertCurveRow, w.curve_table, 5 * k, w.a[i], w.b[i])))
      return fail("writing the curve table", dot);
  }
  std::vector<std::string> found;
  const bool remembered =
      dot.GetSelData(found, FormatSql(kSelectRememberedExists, w.name, w.model)) > 0;
  const std::string lamps =
      remembered ? FormatSql(kUpdateRememberedLamps, w.kind, "", w.watts_per_lamp, 0, w.lamps, "",
                             "", 0, 0, 0, w.flux, w.curve_table, w.model, w.name)
                 : FormatSql(kInsertRememberedLamps, w.curve_table, w.kind, "", w.watts_per_lamp, 0,
                             w.lamps, "", "", 0, 0, 0, w.flux, w.model, w.name);
  if (!dot.ExecuteSQL(lamps)) return fail("writing the luminaire's lamps", dot);

  if (!lumen.CreateTable(w.cu_table, {{"利用系数", "float"},
                                      {"有效顶棚反射比", "float"},
                                      {"墙反射比", "float"},
                                      {"室空间比", "float"}}))
    return fail("creating the coefficient table", lumen);
  for (const auto& row : w.cu)
    if (!lumen.ExecuteSQL(
            FormatSql(kInsertCuValue, w.cu_table, row.cu, row.ceiling, row.wall, row.rcr)))
      return fail("writing the coefficient table", lumen);
  if (!lumen.ExecuteSQL(
          FormatSql(kInsertCuLuminaire, w.kind, w.model, w.spacing, w.maker, "", w.cu_table)))
    return fail("writing the lumen-method luminaire", lumen);
  return true;
}

bool MakePlan(const Photometry& p, const PhotometryImportOptions& o, Plan& w, std::string& error) {
  w.kind = nyhost::Trim(o.kind);
  if (w.kind.empty()) w.kind = "通用";
  w.maker = nyhost::Trim(o.maker);
  w.model = nyhost::Trim(o.model.empty() ? p.model : o.model);
  w.name = nyhost::Trim(o.name.empty() ? w.kind : o.name);
  w.curve_table = w.kind + w.model + kCurveTableSuffix;
  w.cu_table = w.kind + w.model;
  for (const std::string* text : {&w.kind, &w.maker, &w.model, &w.name}) {
    if (text->find('\'') != std::string::npos) {
      error = "'" + *text + "': a name may not hold a single quote";
      return false;
    }
  }
  if (w.model.empty()) {
    error = "the luminaire has no model: give one";
    return false;
  }
  // The kept file is named after the curve table.
  if (w.curve_table.find_first_of("/\\") != std::string::npos) {
    error = "kind and model '" + w.kind + "' + '" + w.model + "' may not hold / or \\";
    return false;
  }
  if (!UsableInTableName(w.curve_table) ||
      nyhost::GbkByteLength(w.curve_table) > kMaxCurveTableBytes) {
    error = "kind and model '" + w.kind + "' + '" + w.model +
            "' make no usable table name (at most 62 bytes, no [ ] or ')";
    return false;
  }
  const auto plane_a = CurvePlane(p, 0), plane_b = CurvePlane(p, 90);
  nyluxora::cu::Curve curve;
  for (std::size_t k = 0; k < kCurveRows; ++k) {
    w.a[k] = static_cast<int>(std::lround(plane_a[k]));
    w.b[k] = static_cast<int>(std::lround(plane_b[k]));
    // The coefficients come from the table as stored, as the shipped ones do.
    curve.plane_a[k] = w.a[k];
    curve.plane_b[k] = w.b[k];
  }
  w.upward = UpwardLor(p);
  w.spacing = MaxSpacingToHeight(p);
  w.cu = nyluxora::cu::CuTable(curve, w.upward, nyluxora::cu::Series::k70);
  w.lamps = p.lamp_count;
  w.watts_per_lamp = static_cast<int>(std::lround(p.watts / std::max(1, p.lamp_count)));
  w.flux = static_cast<int>(std::lround(p.lamp_lumens));
  if (p.lamp_lumens > kMaxDbFlux || p.watts > kMaxDbPower) {
    error = "lamp flux or power beyond what the catalogue holds";
    return false;
  }
  return true;
}

}  // namespace

bool ImportPhotometryFile(const std::string& path, const PhotometryImportOptions& options,
                          PhotometryImportResult& result, std::string& error) {
  if (!ModuleLoaded() || Module().DataFolder.empty()) {
    error = "the module is not loaded";
    return false;
  }
  std::optional<Photometry> p = ReadPhotometryFile(path, error);
  if (!p) return false;
  std::string bytes;
  if (!NyCommon::ReadFile(path, bytes)) {
    error = path + ": cannot be read";
    return false;
  }
  Plan w;
  if (!MakePlan(*p, options, w, error)) {
    error = path + ": " + error;
    return false;
  }
  NyAccess* dot = ZirIrodoDotDb();
  NyAccess* lumen = NyDataDb();
  if (!dot || !lumen) {
    error = "the catalogues ZirIrodoDot.mdb and NyData.mdb cannot be opened";
    return false;
  }
  std::vector<std::string> found;
  const bool in_dot =
      dot->GetSelData(found, FormatSql(kSelectLuminaireExists, w.kind, w.model)) > 0;
  const bool in_lumen =
      lumen->GetSelData(found, FormatSql(kSelectLuminaireExists, w.kind, w.model)) > 0;
  if ((in_dot || in_lumen) && !options.replace) {
    result.already_present = true;
    error = fmt::format("光源名称 {} / 灯具型号 {} is already in the {} catalogue", w.kind, w.model,
                        in_dot ? "point-method" : "lumen-method");
    return false;
  }
  if (!TableFree(*dot, w.curve_table, kSelectLuminairesNamingCurve, in_dot && options.replace) ||
      !TableFree(*lumen, w.cu_table, kSelectLuminairesNamingCuTable, in_lumen && options.replace)) {
    error = "the table " + w.curve_table + " or " + w.cu_table +
            " already exists and belongs to another luminaire";
    return false;
  }

  Transaction dot_tx(dot), lumen_tx(lumen);
  if (!dot_tx.open() || !lumen_tx.open()) {
    error = "the catalogues are busy: " + (dot_tx.open() ? lumen : dot)->last_error();
    return false;
  }
  if (!WriteCatalogues(*dot, *lumen, w, options.replace, error)) return false;

  // The kept file last before the commits, so a failing write leaves the catalogues as they were.
  std::string ext = nyhost::ToLowerAscii(fs::path(path).extension().string());
  if (ext != ".ldt") ext = ".ies";
  const std::string folder = Module().DataFolder + kPhotometryFolder;
  const std::string kept = folder + w.curve_table + ext;
  const std::string old_kept = KeptFile(w.curve_table);
  std::string old_bytes;
  const bool had_old = !old_kept.empty() && NyCommon::ReadFile(old_kept, old_bytes);
  std::error_code ec;
  fs::create_directories(folder, ec);
  std::string write_error;
  if (!NyCommon::WriteFileAtomic(kept, bytes, &write_error)) {
    error = "keeping the file " + kept + ": " + write_error;
    return false;
  }
  const bool lumen_saved = lumen_tx.Commit();
  if (!lumen_saved || !dot_tx.Commit()) {
    error = "the catalogues could not be saved";
    // The two files commit one after the other: take the lumen-method luminaire back out.
    Transaction undo(lumen);
    if (lumen_saved && undo.open() &&
        lumen->ExecuteSQL(FormatSql(kDeleteCuLuminaire, w.kind, w.model)) &&
        DropIfUnused(*lumen, w.cu_table, kSelectLuminairesNamingCuTable))
      undo.Commit();
    if (had_old && old_kept == kept)
      NyCommon::WriteFileAtomic(kept, old_bytes);
    else
      fs::remove(kept, ec);
    return false;
  }
  if (had_old && old_kept != kept) fs::remove(old_kept, ec);

  result.model = w.model;
  result.curve_table = w.curve_table;
  result.cu_table = w.cu_table;
  result.kept_file = kept;
  result.spacing_to_height = w.spacing;
  result.upward_lor = w.upward;
  result.lamp_count = w.lamps;
  result.lamp_lumens = p->lamp_lumens;
  return true;
}

std::optional<Photometry> CataloguePhotometry(const std::string& model, std::string& error) {
  error.clear();
  if (!ModuleLoaded()) return std::nullopt;
  const std::string table = CurveTableOf(model);
  if (table.empty()) return std::nullopt;
  std::optional<Photometry> p = KeptPhotometry(table, error);
  if (p) p->model = model;
  return p;
}

std::optional<Photometry> KeptPhotometry(const std::string& curve_table, std::string& error) {
  error.clear();
  if (!ModuleLoaded() || curve_table.empty()) return std::nullopt;
  const std::string kept = KeptFile(curve_table);
  if (kept.empty()) return std::nullopt;
  struct Cached {
    fs::file_time_type time;
    std::uintmax_t size = 0;
    Photometry grid;
  };
  static std::mutex mutex;
  static std::map<std::string, Cached> cache;
  std::error_code ec;
  const auto time = fs::last_write_time(kept, ec);
  const auto size = fs::file_size(kept, ec);
  std::lock_guard lock(mutex);
  if (auto it = cache.find(kept);
      !ec && it != cache.end() && it->second.time == time && it->second.size == size)
    return it->second.grid;
  std::optional<Photometry> p = ReadPhotometryFile(kept, error);
  if (p && !ec) cache[kept] = Cached{time, size, *p};
  return p;
}

void ForgetKeptFile(const std::string& curve_table) {
  std::error_code ec;
  for (std::string kept = KeptFile(curve_table); !kept.empty(); kept = KeptFile(curve_table))
    if (!fs::remove(kept, ec)) return;
}

std::optional<Photometry> ModelPhotometry(const std::string& model, std::string& error) {
  if (auto p = CataloguePhotometry(model, error)) return p;
  if (!error.empty()) return std::nullopt;
  const std::string table = CurveTableOf(model);
  NyAccess* db = ZirIrodoDotDb();
  std::vector<std::string> values;
  if (table.empty() || !db || db->GetSelData(values, FormatSql(kSelectCurveRows, table)) == 0) {
    error = "灯具型号 " + model + " is not in the point-method catalogue";
    return std::nullopt;
  }
  std::array<double, kCurveRows> a{}, b{};
  if (values.size() != 3 * kCurveRows) {
    error =
        fmt::format("the curve table {} has {} rows, not {}", table, values.size() / 3, kCurveRows);
    return std::nullopt;
  }
  for (std::size_t k = 0; k < kCurveRows; ++k) {
    double angle = 0;
    if (!ReadDbNumber(values[3 * k], 90, angle) || angle != 5.0 * k ||
        !ReadDbNumber(values[3 * k + 1], kMaxDbIntensity, a[k]) ||
        !ReadDbNumber(values[3 * k + 2], kMaxDbIntensity, b[k])) {
      error = fmt::format("the curve table {}: row {} is damaged", table, k + 1);
      return std::nullopt;
    }
  }
  Photometry p = PhotometryFromCurve(a, b);
  p.model = model;
  return p;
}

extern "C" int NyLuxoraImportPhotometry(const char* path, const char* kind, const char* maker,
                                        const char* model, const char* name, int replace,
                                        char* message, int size) {
  PhotometryImportOptions o;
  if (kind && *kind) o.kind = kind;
  if (maker) o.maker = maker;
  if (model) o.model = model;
  if (name) o.name = name;
  o.replace = replace != 0;
  PhotometryImportResult r;
  std::string error;
  if (!path || !ImportPhotometryFile(path, o, r, error)) {
    CopyOut(error + "\n", message, size);
    return r.already_present ? 2 : 1;
  }
  CopyOut(fmt::format("{}: 灯具型号 {}: curve table {}, coefficient table {} (70 series), "
                      "spacing-to-height {:.2f}, upward ratio {:.3f}, {} lamp(s) {:.0f} lm; "
                      "kept as {}\n",
                      path, r.model, r.curve_table, r.cu_table, r.spacing_to_height, r.upward_lor,
                      r.lamp_count, r.lamp_lumens, r.kept_file),
          message, size);
  return 0;
}

extern "C" int NyLuxoraExportPhotometry(const char* model, const char* out, char* message,
                                        int size) {
  std::string error;
  std::optional<Photometry> p;
  if (model && out && ModuleLoaded()) p = ModelPhotometry(model, error);
  if (!p) {
    CopyOut((error.empty() ? std::string("the module is not loaded") : error) + "\n", message,
            size);
    return 1;
  }
  p->model = model;
  if (!NyCommon::WriteFileAtomic(out, WriteIes(*p), &error)) {
    CopyOut(std::string(out) + ": " + error + "\n", message, size);
    return 1;
  }
  CopyOut(fmt::format("{}: 灯具型号 {}, {} C plane(s) x {} polar angles\n", out, model,
                      p->c_angles.size(), p->gamma_angles.size()),
          message, size);
  return 0;
}
