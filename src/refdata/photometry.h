// A luminaire's full type C photometry, as read from a photometric file (IES LM-63, EULUMDAT).
// The catalogue keeps the 19-row curve tables of the point method; this is the whole grid, kept
// for the precise calculation and for writing the curve back out.
#pragma once

#include <string>
#include <vector>

struct Photometry {
  // C-plane angles in degrees, ascending in [0, 360). One plane means rotationally symmetric;
  // otherwise the planes cover the whole circle (the reader unfolds the file's symmetry) and
  // the last plane wraps round to the first.
  std::vector<double> c_angles;
  // Polar angles in degrees from the nadir, ascending, starting at 0.
  std::vector<double> gamma_angles;
  // Intensity in cd per 1000 lamp lumens: cd_klm[c][gamma].
  std::vector<std::vector<double>> cd_klm;
  double lamp_lumens = 0;  // all lamps of the luminaire together
  int lamp_count = 1;
  double watts = 0;        // input power of the luminaire, 0 when the file does not say
  std::string model;       // catalogue name the file gives (luminaire catalogue number)
};
