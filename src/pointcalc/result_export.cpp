// Batch access to the point-method results: the command line resolves this function by name.
#include "base/module_state.h"
#include "pointcalc/point_dialog.h"

// Copies up to `max` result points of the open point-method dialog into xyz (x, y, value per
// point) and returns how many points there are (with xyz null: only the count). -1 when the
// dialog is not open.
extern "C" __attribute__((visibility("default"))) int NyLuxoraResultPoints(double* xyz, int max) {
  if (!ModuleLoaded()) return -1;
  CNYDrawIsolineDlg* dlg = Module().PointDialog;
  if (!dlg || !dlg->IsOpen()) return -1;
  const auto& points = dlg->data().m_resultPoints;
  if (xyz) {
    const std::size_t n = std::min(points.size(), static_cast<std::size_t>(max < 0 ? 0 : max));
    for (std::size_t i = 0; i < n; ++i) {
      xyz[3 * i] = points[i].x;
      xyz[3 * i + 1] = points[i].y;
      xyz[3 * i + 2] = points[i].z;
    }
  }
  return static_cast<int>(points.size());
}
