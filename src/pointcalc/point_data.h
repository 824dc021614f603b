// The point-method dialog's data: the values exchanged with its controls and the state of the
// current room and its last results. Kept apart from the window so the calculations work on it
// without one.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/entity.h"
#include "host/geometry.h"
#include "refdata/luminaire_record.h"
#include "standards/edition.h"

struct PointDialogData {
  // --- bound to controls (id in the comment) ---
  double m_dLegendMin = 0.0;       // 221
  double m_dLegendMax = 1.0;       // 244
  int m_nLegendStep = 0;           // 222
  std::string m_sMax = "0";        // 241
  std::string m_sMin = "0";        // 242
  std::string m_sAverage = "0";    // 243
  bool m_bDim = false;             // 356
  double m_dUniformity = 0.0;      // 232
  double m_dLPD = 0.0;             // 358
  int m_nDrawMode = 0;             // 330 / 332 / 331
  std::string m_sRoomName;         // 370
  double m_dLimitLPD = 0.0;        // 360
  double m_dStandUniformity = 0.0; // 233
  int m_nEffect = -1;              // 388
  double m_dStandAverage = 0.0;    // 245
  int m_nRangeType = -1;           // 399
  std::string m_sCalCount = "50*75";  // 338
  bool m_bPrecise = false;         // 402: exact polar angle, full photometry where kept

  // --- not bound ---
  int m_nCountX = 100, m_nCountY = 100;
  bool m_bTwoCounts = true;  // the density text had two numbers
  int m_nCalType = -1;       // -1 none, 0 horizontal, 1 vertical plane, 2 glare
  int m_nResultSource = 1;   // 1 horizontal room, 2 vertical plane
  double m_dStandLPD = 0.0;
  int m_nStandLx = 0;
  StandardEdition m_edition = StandardEdition::k2004;  // the verdicts follow it
  int m_nUGR = 0;
  std::string m_sEffectName;
  nyhost::EntityId m_idOutline = nyhost::kNullId;
  std::vector<LuminaireRecord> m_records;
  std::vector<nyhost::Point3> m_resultPoints;  // x, y and the value in z
  std::vector<double> m_values;
  std::vector<nyhost::EntityId> m_offLuminaires;
  double m_dStepX = 0, m_dStepY = 0;
  // The vertical section's luminaires in its flattened frame and, per luminaire in that order,
  // its values at the section points (in point order).
  std::vector<LuminaireRecord> m_sectionRecords;
  std::vector<std::vector<double>> m_sectionContributions;
  bool m_bGlareAtPoint = false;  // the last run rated glare at one point: no report

  // Texts the last calculation decided for labels and tooltips: label 372 and the tooltips of
  // 243, 358, 360, 232 (only the ones set are applied).
  std::string m_sLabel372 = "标准功率密度";
  std::map<int, std::string> tooltips;
};
