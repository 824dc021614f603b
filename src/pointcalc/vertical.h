// Illuminance on a vertical section: a section line picked in the plan, a rectangle on it from
// the floor up to the highest luminaire, laid flat into the plan together with the room's
// luminaires, and the luminaires' illuminance summed over a grid on the flattened rectangle.
#pragma once

#include <functional>
#include <vector>

#include "host/geometry.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/intensity.h"
#include "pointcalc/point_data.h"
#include "refdata/luminaire_record.h"

// The section line S->E, the viewing-side point and what follows from them.
struct SectionFrame {
  nyhost::Point3 start, end, mid;
  double length = 0;      // |E - S|, drawing units
  double ang = 0;         // direction of S->E from the x axis, counter-clockwise, [0, 2 pi)
  double nx = 0, ny = 0;  // normal of the section plane (S->E turned by +90 degrees)
  int side_flag = 0;      // 1 when the viewing side lies on the side the normal points to

  // Signed distance of p from the section plane (positive on the normal's side).
  double SignedDistance(const nyhost::Point3& p) const;
  // The flattening: turn by ang about -z through M, then by 90 degrees about +x through M. A
  // point h above the floor on the section goes to y = M.y - h; d in front goes to z = M.z + d.
  nyhost::Point3 Flatten(const nyhost::Point3& p) const;

  double rot_[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};  // the two turns as one matrix
};

SectionFrame MakeSectionFrame(const nyhost::Point3& start, const nyhost::Point3& end,
                              const nyhost::Point3& side);

// The room's luminaires turned with the section, in room order: a luminaire behind the plane
// (or in it) is first mirrored to the front; each is flattened, tilted by -90 degrees about X
// and turned by -ang (180 degrees more when mirrored). `hmax` gets the highest mounting height.
std::vector<LuminaireRecord> FlattenLuminaires(const SectionFrame& frame,
                                               const std::vector<LuminaireRecord>& records,
                                               double& hmax);

// Lower-left corner of the flattened section rectangle S, E, E + hmax z, S + hmax z (the image of
// S + hmax z: the top of the section at its start).
nyhost::Point3 SectionOrigin(const SectionFrame& frame, double hmax);

struct SectionGrid {
  std::vector<nyhost::Point3> points;  // column by column from S, each from the top down
  double dx = 0, dy = 0;
};

// Lattice over the flattened section of `length` by `hmax` from its corner `origin` (the image
// of S + hmax z), stepped by repeated addition.
SectionGrid BuildSectionGrid(const nyhost::Point3& origin, double length, double hmax, int x_count,
                             int y_count);

// contributions[l][i] = illuminance of source l at points[i]; values[i] = their sum in source
// order. Points are shared among `threads` threads; results do not depend on the count.
// `progress` runs on the calling thread with the evaluations done since its last call.
void SumSection(const std::vector<LuminaireSource>& sources,
                const std::vector<nyhost::Point3>& points,
                std::vector<std::vector<double>>& contributions, std::vector<double>& values,
                int threads, const std::function<void(long long)>& progress = {});

// The three picks of the command. False (after "\n命令取消!") when one was not given.
struct SectionPicks {
  nyhost::Point3 start, end, side;
};
bool PickSection(SectionPicks& picks);

// The calculation after the picks: transformed luminaires, grid, sums, per-luminaire
// contributions, the viewing-side mirror, statistics, legend and verdicts, into `data`. False
// when it stopped (the reason was shown to the user).
bool RunSectionCalculation(PointDialogData& data, const SectionPicks& picks);
