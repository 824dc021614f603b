// The number texts people type: calculation densities and coordinates. Whatever is accepted is
// a finite value that reads back the same from its canonical text.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/text_util.h"
#include "pointcalc/density.h"

namespace {

void Check(bool ok, const char* what, const std::string& text) {
  if (ok) return;
  std::fprintf(stderr, "%s: '%s'\n", what, text.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Density d;
  if (ParseDensity(text, d)) {
    Density spun = d;
    std::string canonical = SpinDensity(spun, -1);
    Density again;
    if (std::abs(spun.x) < 100000000 && std::abs(spun.y) < 100000000) {
      Check(ParseDensity(canonical, again), "spun density does not parse", canonical);
      Check(again.x == spun.x && again.y == spun.y, "spun density reads back different", canonical);
    }
    SpinDensity(spun, 1);
  }
  double x = 0, y = 0, z = 0;
  if (nyhost::ParseCoordinates(text, x, y, z))
    Check(std::isfinite(x) && std::isfinite(y) && std::isfinite(z),
          "coordinates accepted that are not finite", text);
  return 0;
}
