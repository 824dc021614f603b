#include "support/ny_scale.h"

#include "host/drawing.h"

double NyScale::GetArchScale(const nyhost::Drawing* drawing) {
  return drawing && drawing->arch_scale() > 0 ? drawing->arch_scale() : 1.0;
}

double NyScale::GetDrawScale(const nyhost::Drawing* drawing) {
  return drawing && drawing->draw_scale() > 0 ? drawing->draw_scale() : 100.0;
}

double NyScale::MetresToUnits(const nyhost::Drawing* drawing, double metres) {
  return metres * 1000.0 / GetArchScale(drawing);
}

double NyScale::UnitsToMetres(const nyhost::Drawing* drawing, double units) {
  return units * GetArchScale(drawing) * 0.001;
}
