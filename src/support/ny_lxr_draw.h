// The illuminance-distribution drawing library: one object inside the point-method dialog; it is
// given the result points and settings and draws coloured areas, points and labels into the
// drawing.
#pragma once

#include <string>
#include <vector>

#include "host/entity.h"

struct NyStSetLight {
  std::string effect_name;
  int effect_type = 0;
};

class NyLXRDrawDll {
 public:
  void SetCalValue(const std::vector<nyhost::Point3>& points, double step_x, double step_y);
  void SetCalCount(int columns, int rows);
  void SetCalType(unsigned type);
  void SetDim(int dim);
  void SetDrawMode(int mode);
  void SetEffectName(const std::string& name);
  void SetEffectType(int type);
  void SetLayer(const std::string& point_layer, const std::string& text_layer);
  void SetWallId(nyhost::EntityId id);
  // The colour-effect file (an INI file, one section per effect).
  void SetEffectFile(const std::string& path);
  void GetCurEffects(std::vector<std::string>& names) const;
  bool LoadDlgSetEffect(std::string& name);
  // Draws into the current drawing; throws std::runtime_error on failure.
  void DrawLight();

 private:
  std::vector<nyhost::Point3> points_;
  double step_x_ = 0, step_y_ = 0;
  int columns_ = 0, rows_ = 0;
  unsigned cal_type_ = 0;
  int dim_ = 0, draw_mode_ = 0, effect_type_ = 0;
  std::string effect_name_, point_layer_, text_layer_, effect_file_;
  nyhost::EntityId wall_id_ = nyhost::kNullId;
};
