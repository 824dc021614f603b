#include "support/ny_lxr_draw.h"

#include "support/ny_ini_file.h"

void NyLXRDrawDll::SetCalValue(const std::vector<nyhost::Point3>& points, double step_x,
                               double step_y) {
  points_ = points;
  step_x_ = step_x;
  step_y_ = step_y;
}

void NyLXRDrawDll::SetCalCount(int columns, int rows) {
  columns_ = columns;
  rows_ = rows;
}

void NyLXRDrawDll::SetCalType(unsigned type) { cal_type_ = type; }
void NyLXRDrawDll::SetDim(int dim) { dim_ = dim; }
void NyLXRDrawDll::SetDrawMode(int mode) { draw_mode_ = mode; }
void NyLXRDrawDll::SetEffectName(const std::string& name) { effect_name_ = name; }
void NyLXRDrawDll::SetEffectType(int type) { effect_type_ = type; }

void NyLXRDrawDll::SetLayer(const std::string& point_layer, const std::string& text_layer) {
  point_layer_ = point_layer;
  text_layer_ = text_layer;
}

void NyLXRDrawDll::SetWallId(nyhost::EntityId id) { wall_id_ = id; }

void NyLXRDrawDll::SetEffectFile(const std::string& path) { effect_file_ = path; }

void NyLXRDrawDll::GetCurEffects(std::vector<std::string>& names) const {
  names.clear();
  if (!effect_file_.empty()) NyIniFile::GetAllSeg(names, effect_file_);
}
