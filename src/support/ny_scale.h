// The drawing's scales: drawing units x architectural scale = millimetres.
#pragma once

namespace nyhost {
class Drawing;
}

class NyScale {
 public:
  static double GetArchScale(const nyhost::Drawing* drawing);
  static double GetDrawScale(const nyhost::Drawing* drawing);
  // Metres to drawing units and back.
  static double MetresToUnits(const nyhost::Drawing* drawing, double metres);
  static double UnitsToMetres(const nyhost::Drawing* drawing, double units);
};
