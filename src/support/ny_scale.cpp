#include "support/ny_scale.h"

#include <fmt/format.h>

#include "host/drawing.h"
#include "host/host.h"
#include "support/ny_number.h"

namespace {

bool Sane(double scale) { return NyNumber::InRange(scale, NyScale::kMinScale, NyScale::kMaxScale); }

}  // namespace

double NyScale::GetArchScale(const nyhost::Drawing* drawing) {
  return drawing && Sane(drawing->arch_scale()) ? drawing->arch_scale() : 1.0;
}

double NyScale::GetDrawScale(const nyhost::Drawing* drawing) {
  return drawing && Sane(drawing->draw_scale()) ? drawing->draw_scale() : 100.0;
}

double NyScale::MetresToUnits(const nyhost::Drawing* drawing, double metres) {
  return metres * 1000.0 / GetArchScale(drawing);
}

double NyScale::UnitsToMetres(const nyhost::Drawing* drawing, double units) {
  return units * GetArchScale(drawing) * 0.001;
}

bool NyScale::CheckScales(const nyhost::Drawing* drawing) {
  if (!drawing) return true;
  bool ok = true;
  auto check = [&](const char* what, double scale) {
    if (Sane(scale)) return;
    ok = false;
    nyhost::Host::Get().Print(fmt::format("\n图纸的{}({:g})不合理,应在{:g}到{:g}之间!", what, scale,
                                          kMinScale, kMaxScale));
  };
  check("建筑比例", drawing->arch_scale());
  check("出图比例", drawing->draw_scale());
  return ok;
}
