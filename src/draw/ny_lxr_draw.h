// The illuminance-distribution drawing library: one object inside the point-method dialog. It is
// given the result points and the settings, then draws the distribution into the current drawing
// and runs the effect dialog. It knows nothing of the dialog that feeds it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/entity.h"

struct NyStSetLight {
  std::string effect_name;
  int effect_type = 0;
};

class NyLXRDrawDll {
 public:
  // Key of the keyed text that ties a drawn entity to its room outline (the outline's handle).
  static constexpr const char* kTagKey = "照度分布";

  // The result points (x, y, value in z) and the calculated maximum and minimum.
  void SetCalValue(const std::vector<nyhost::Point3>& points, double max, double min);
  // Texts the drawn points keep (one per point, in point order; empty: none).
  void SetPointTexts(std::vector<std::string> texts) { point_texts_ = std::move(texts); }
  void SetCalCount(int columns, int rows);
  void SetCalType(unsigned type);
  void SetDim(int dim);
  void SetDrawMode(int mode);
  void SetEffectName(const std::string& name);
  void SetEffectType(int type);
  void SetLayer(const std::string& point_layer, const std::string& text_layer);
  void SetWallId(nyhost::EntityId id);
  // The colour-effect file (format in draw/effects.h).
  void SetEffectFile(const std::string& path);
  // The effect names of the file, in file order; empty when the file is missing or damaged.
  void GetCurEffects(std::vector<std::string>& names) const;
  // Runs the effect dialog; `name` comes back as the effect chosen there (unchanged when it was
  // cancelled). False when no dialog could be shown.
  bool LoadDlgSetEffect(std::string& name);
  // Draws into the current drawing as one undoable step, replacing what was drawn before for the
  // same room (and what is left of rooms whose outline is gone). Throws std::runtime_error when
  // there is no drawing or the effect file cannot be read.
  void DrawLight();

 private:
  std::vector<nyhost::Point3> points_;
  std::vector<std::string> point_texts_;
  double cal_max_ = 0, cal_min_ = 0;
  int columns_ = 0, rows_ = 0;
  unsigned cal_type_ = 0;
  int dim_ = 0, draw_mode_ = 0, effect_type_ = 0;
  std::string effect_name_, point_layer_, text_layer_, effect_file_;
  nyhost::EntityId wall_id_ = nyhost::kNullId;
};
