// Photometric files into the catalogues: a point-method luminaire (灯具型号 of ZirIrodoDot.mdb with
// a 19-row curve table and the lamps remembered in 默认光源), a lumen-method luminaire (灯具型号 of
// NyData.mdb with its coefficient table by the zonal-cavity method and its spacing-to-height
// ratio), and the file itself kept in DataFolder + "photometry/" under the curve table's name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "refdata/photometry.h"

// A curve table is named light-source kind + model + this suffix.
inline constexpr const char* kCurveTableSuffix = "配光曲线";
// Longest curve-table name in GBK bytes that the shared database files accept.
inline constexpr std::size_t kMaxCurveTableBytes = 62;
// Folder of the kept files inside DataFolder.
inline constexpr const char* kPhotometryFolder = "photometry/";

struct PhotometryImportOptions {
  std::string kind = "通用";  // 光源名称 of both catalogues
  std::string maker;          // 生产厂家
  std::string model;          // 灯具型号; empty: the file's catalogue number, else its name
  std::string name;           // luminaire name for the remembered lamps; empty: the kind
  bool replace = false;       // an existing luminaire of that kind and model is replaced
};

// What an import wrote.
struct PhotometryImportResult {
  bool already_present = false;  // refused: the kind and model are in a catalogue
  std::string model, curve_table, cu_table, kept_file;
  double spacing_to_height = 0;
  double upward_lor = 0;
  int lamp_count = 1;
  double lamp_lumens = 0;
};

// Imports one file into the loaded module's data folder: both catalogues change in one
// transaction each and commit only when every write and the kept file succeeded; otherwise
// nothing is changed and `error` says why. A luminaire of that kind and model already in either
// catalogue is refused unless `replace` is set.
bool ImportPhotometryFile(const std::string& path, const PhotometryImportOptions& options,
                          PhotometryImportResult& result, std::string& error);

// The kept file's grid of a catalogue model. None with `error` empty when the model was not
// imported from a file (or is not in the catalogue); none with `error` set when the kept file
// cannot be read.
std::optional<Photometry> CataloguePhotometry(const std::string& model, std::string& error);

// The same for a curve table: the grid of the file kept for it. Read once per file as long as
// the file stays unchanged, as a calculation asks for it once per luminaire.
std::optional<Photometry> KeptPhotometry(const std::string& curve_table, std::string& error);

// Removes the kept file of a curve table (the table's luminaire was deleted).
void ForgetKeptFile(const std::string& curve_table);

// The grid of a catalogue model: the kept file's, else the two planes of its curve table.
std::optional<Photometry> ModelPhotometry(const std::string& model, std::string& error);

// The command-line program's entries, resolved by name. Each writes a report (UTF-8, cut to
// `size` bytes) into `message` and returns 0 on success, 1 when nothing was done (2 when the
// import was refused because the luminaire is already in the catalogue).
extern "C" __attribute__((visibility("default"))) int NyLuxoraImportPhotometry(
    const char* path, const char* kind, const char* maker, const char* model, const char* name,
    int replace, char* message, int size);
extern "C" __attribute__((visibility("default"))) int NyLuxoraExportPhotometry(const char* model,
                                                                               const char* out,
                                                                               char* message,
                                                                               int size);
