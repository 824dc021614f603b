// Photometric files from makers: whatever the readers accept is a whole grid (planes over the
// circle, polar angles from 0, finite intensities) that the writer writes and the reader reads
// back the same.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "refdata/photometry_file.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void CheckGrid(const Photometry& p) {
  Check(!p.c_angles.empty() && p.c_angles.size() == p.cd_klm.size(), "planes and values differ");
  Check(!p.gamma_angles.empty() && p.gamma_angles.front() == 0, "polar angles not from 0");
  for (std::size_t i = 0; i < p.c_angles.size(); ++i) {
    Check(p.c_angles[i] >= 0 && p.c_angles[i] < 360, "C angle outside [0, 360)");
    Check(i == 0 || p.c_angles[i] > p.c_angles[i - 1], "C angles not ascending");
    Check(p.cd_klm[i].size() == p.gamma_angles.size(), "plane of another length");
    for (double v : p.cd_klm[i]) Check(std::isfinite(v) && v >= 0, "intensity not finite");
  }
  Check(std::isfinite(PhotometryIntensity(p, 37.5, 12.5)), "interpolation not finite");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  for (bool ldt : {false, true}) {
    auto p = ldt ? ParseLdt(text, "f.ldt", error) : ParseIes(text, "f.ies", error);
    if (!p) continue;
    CheckGrid(*p);
    auto again = ParseIes(WriteIes(*p), "w.ies", error);
    Check(again.has_value(), "written file does not read back");
    Check(again->c_angles == p->c_angles && again->gamma_angles == p->gamma_angles,
          "written file reads back other angles");
    for (std::size_t i = 0; i < p->cd_klm.size(); ++i)
      for (std::size_t j = 0; j < p->gamma_angles.size(); ++j)
        Check(std::abs(again->cd_klm[i][j] - p->cd_klm[i][j]) <=
                  1e-6 * (1 + std::abs(p->cd_klm[i][j])),
              "written file reads back other values");
  }
  return 0;
}
