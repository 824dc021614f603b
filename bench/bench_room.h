// The room both point-method benchmarks work on: a 20 m x 20 m office with luminaires on a
// 10 x 10 layout at 3 m (random rotations, every fifth one tilted 15 degrees), all with one
// batwing troffer curve.
#pragma once

#include <random>
#include <vector>

#include "pointcalc/intensity.h"
#include "refdata/luminaire_record.h"

namespace bench {

// Planes A and B of the curve (cd/klm at 0, 5, ... 90 degrees).
inline constexpr int kA[19] = {230, 232, 236, 240, 242, 240, 232, 216, 195, 168,
                               135, 98,  62,  32,  12,  4,   1,   0,   0};
inline constexpr int kB[19] = {230, 228, 222, 212, 198, 180, 158, 134, 108, 82,
                               58,  36,  18,  7,   2,   1,   0,   0,   0};

inline bool LoadBatwing(IntensityTable& a, IntensityTable& b) {
  for (int i = 0; i < 19; ++i) {
    a.cd[static_cast<std::size_t>(i)] = kA[i];
    b.cd[static_cast<std::size_t>(i)] = kB[i];
  }
  a.loaded = b.loaded = true;
  return true;
}

inline std::vector<LuminaireRecord> OfficeLuminaires() {
  std::vector<LuminaireRecord> records;
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> rot(0, 90);
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) {
      LuminaireRecord r;
      r.position = {1000 + 2000.0 * i, 1000 + 2000.0 * j, 3000};
      r.total_flux = 10050;
      r.rotation_z = rot(rng);
      if ((i * 10 + j) % 5 == 0) r.tilt_x = 15;
      records.push_back(r);
    }
  return records;
}

}  // namespace bench
