// World (drawing units, y up) to device (pixels, y down) mapping of a view.
#pragma once

#include <QPointF>
#include <QTransform>

#include "host/geometry.h"

namespace nyrender {

struct ViewTransform {
  double center_x = 0, center_y = 0;  // world point at the middle of the view
  double scale = 1;                   // pixels per drawing unit
  int width = 800, height = 600;      // device size in pixels

  QPointF ToDevice(double x, double y) const;
  nyhost::Point3 ToWorld(QPointF device) const;
  QTransform ToQTransform() const;
  // Shows the box with a margin (fraction of the view on each side); an empty box keeps the
  // current scale around the origin.
  void Fit(const nyhost::Extents& box, double margin = 0.05);
  // Zooms by `factor` keeping the world point under `device` in place.
  void ZoomAt(QPointF device, double factor);
  void PanPixels(double dx, double dy);
};

}  // namespace nyrender
