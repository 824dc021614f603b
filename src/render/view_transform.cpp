#include "render/view_transform.h"

#include <algorithm>

namespace nyrender {

QPointF ViewTransform::ToDevice(double x, double y) const {
  return {(x - center_x) * scale + width / 2.0, height / 2.0 - (y - center_y) * scale};
}

nyhost::Point3 ViewTransform::ToWorld(QPointF d) const {
  return {(d.x() - width / 2.0) / scale + center_x, (height / 2.0 - d.y()) / scale + center_y, 0};
}

QTransform ViewTransform::ToQTransform() const {
  // x' = s*x + (w/2 - s*cx), y' = -s*y + (h/2 + s*cy)
  return QTransform(scale, 0, 0, -scale, width / 2.0 - scale * center_x,
                    height / 2.0 + scale * center_y);
}

void ViewTransform::Fit(const nyhost::Extents& box, double margin) {
  if (box.Empty()) {
    center_x = center_y = 0;
    return;
  }
  double bw = std::max(box.max.x - box.min.x, 1e-9);
  double bh = std::max(box.max.y - box.min.y, 1e-9);
  double usable_w = width * (1 - 2 * margin), usable_h = height * (1 - 2 * margin);
  scale = std::min(usable_w / bw, usable_h / bh);
  if (box.max.x - box.min.x <= 1e-9 && box.max.y - box.min.y <= 1e-9) scale = 1;
  center_x = (box.min.x + box.max.x) / 2;
  center_y = (box.min.y + box.max.y) / 2;
}

void ViewTransform::ZoomAt(QPointF device, double factor) {
  nyhost::Point3 before = ToWorld(device);
  scale = std::clamp(scale * factor, 1e-9, 1e9);
  nyhost::Point3 after = ToWorld(device);
  center_x += before.x - after.x;
  center_y += before.y - after.y;
}

void ViewTransform::PanPixels(double dx, double dy) {
  center_x -= dx / scale;
  center_y += dy / scale;
}

}  // namespace nyrender
