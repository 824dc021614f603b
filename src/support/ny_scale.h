// The drawing's scales: drawing units x architectural scale = millimetres.
#pragma once

namespace nyhost {
class Drawing;
}

class NyScale {
 public:
  // Scales outside this range (or not finite) are not taken from a drawing: the getters give
  // their defaults instead and CheckScales reports them.
  static constexpr double kMinScale = 1e-6;
  static constexpr double kMaxScale = 1e6;

  static double GetArchScale(const nyhost::Drawing* drawing);
  static double GetDrawScale(const nyhost::Drawing* drawing);
  // Metres to drawing units and back.
  static double MetresToUnits(const nyhost::Drawing* drawing, double metres);
  static double UnitsToMetres(const nyhost::Drawing* drawing, double units);
  // False, with a message on the command line for each, when a scale of the drawing is not a
  // sane positive number; a calculation with such a drawing does not run.
  static bool CheckScales(const nyhost::Drawing* drawing);
};
