// What filling a luminaire record does with a luminaire whose model has no curve in the catalogue
// and none remembered, when nobody can answer the curve chooser (a batch run), and the entry
// points the command-line program resolves by name to set it up.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/geometry.h"

enum class MissingCurveMode { kAsk = 0, kSkip = 1, kFail = 2 };

struct CurvePolicy {
  MissingCurveMode mode = MissingCurveMode::kAsk;
  std::map<std::string, std::string> substitutes;  // luminaire model -> curve table
  bool remember = true;  // whether chosen curves and lamps are written to 默认光源
};

// The policy in force (the default asks the user and remembers).
CurvePolicy& CurrentCurvePolicy();
// Back to asking and remembering (unload).
void ResetCurvePolicy();

// A luminaire that was left out of a room because it has no curve.
struct CurvelessLuminaire {
  std::string name, model;
  nyhost::Point3 position;
};
// Luminaires left out since the policy was last set; the list is emptied when it is set.
std::vector<CurvelessLuminaire>& CurvelessLuminaires();

// The curve of a luminaire neither the catalogue nor 默认光源 knows, by the policy: the user's
// choice (remembered) or a substitute. False when it is left out (recorded in the list above).
bool CurveForUnknownLuminaire(const std::string& name, const std::string& model,
                              const nyhost::Point3& position, std::string& curve);

extern "C" {
// Puts the module into batch mode: the settings file becomes `settings_file` (a copy of the
// user's one when `use_settings` is set), nothing is remembered in 默认光源, and a luminaire
// without curve takes its substitute from `substitutes` ("MODEL=TABLE" lines) or is left out
// (`missing_mode` 1 skip, 2 fail: the caller tells them apart). 0 when done; 1 with a message
// (UTF-8, cut to `size` bytes) when a substitute names no curve table.
__attribute__((visibility("default"))) int NyLuxoraBatchMode(const char* settings_file,
                                                             int use_settings, int missing_mode,
                                                             const char* substitutes, char* message,
                                                             int size);
// The luminaires left out for lack of a curve, one "name\tmodel\tx,y" line each; returns the
// length of the whole text (what fits of it is copied into `text`, NUL-terminated).
__attribute__((visibility("default"))) int NyLuxoraCurvelessLuminaires(char* text, int size);
}
