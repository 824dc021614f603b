// The calculation-density text of the point-method dialog ("30", "30*40", "30x40", "30X40",
// "30×40"): the grid counts along x and y.
#pragma once

#include <string>

struct Density {
  int x = 0, y = 0;
  bool two_numbers = false;  // "a*b" form; otherwise one number for both
};

// False for an empty text, a text with a non-number part, more than one separator, or a count
// below 1 or beyond an int.
bool ParseDensity(const std::string& text, Density& out);

// One step of the density spin: a positive step lowers every count above 10 by 10, any other
// step raises both by 10. The text in its canonical form ("%d" or "%d*%d").
std::string SpinDensity(Density& d, int step);
