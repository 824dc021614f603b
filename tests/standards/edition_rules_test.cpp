// The verdict rules of each edition, as both calculation methods apply them.
#include <gtest/gtest.h>

#include <string>

#include "lumen/lumen_room.h"
#include "pointcalc/horizontal.h"
#include "standards/edition.h"

namespace {

const std::string k2024Line = "；依据GB/T 50034-2024 (GB 55015-2021)";

TEST(EditionRules, PowerDensityLimitAndReferenceInBothMethods) {
  using E = StandardEdition;
  struct Case {
    E edition;
    double standard_lx, limit, average, lpd;
    double point_limit, lumen_limit;  // the lumen method cuts the reference to two decimals
    const char* label;
    std::string tip243, tip358;
  } cases[] = {
      {E::k2004, 300, 11, 280, 10, 11.0 / 300 * 280, 10.26, "折算功率密度",
       "计算照度小于标准照度,不通过!建议调整光源或灯具", "计算功率密度小于折算功率密度,通过!"},
      // 2024: down to 90 % of the standard the limit stands unreduced.
      {E::k2024, 300, 8, 280, 7.9, 8, 8, "标准功率密度",
       "计算照度不低于标准照度的90%,通过!" + k2024Line,
       "计算功率密度小于标准功率密度,通过!" + k2024Line},
      {E::k2024, 300, 8, 270, 8, 8, 8, "标准功率密度",
       "计算照度不低于标准照度的90%,通过!" + k2024Line,
       "计算功率密度大于等于标准功率密度,不通过!建议调整光源或灯具" + k2024Line},
      {E::k2024, 300, 8, 260, 7, 8.0 / 300 * 260, 6.93, "折算功率密度",
       "计算照度低于标准照度的90%,不通过!建议调整光源或灯具" + k2024Line,
       "计算功率密度大于等于折算功率密度,不通过!建议调整光源或灯具" + k2024Line},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(EditionLabel(c.edition) + " at " + std::to_string(c.average));
    PointDialogData d;
    d.m_edition = c.edition;
    d.m_dStandAverage = c.standard_lx, d.m_nStandLx = static_cast<int>(c.standard_lx);
    d.m_dStandLPD = c.limit, d.m_dLPD = c.lpd, d.m_sAverage = std::to_string(c.average);
    ApplyVerdicts(d);
    EXPECT_NEAR(d.m_dLimitLPD, c.point_limit, 1e-12);
    EXPECT_EQ(d.m_sLabel372, c.label);
    EXPECT_EQ(d.tooltips[243], c.tip243);
    EXPECT_EQ(d.tooltips[358], c.tip358);

    LumenRoom r;
    r.standard_lx = c.standard_lx, r.standard_lpd = c.limit;
    r.illuminance = c.average, r.lpd = c.lpd;
    r.reference_lpd = ComputeReducedPowerDensity(r);
    auto v = ShowPowerDensityVerdicts(r, c.edition);
    ASSERT_TRUE(v);
    EXPECT_NEAR(r.reference_lpd, c.lumen_limit, 1e-9);
    EXPECT_EQ(v->label, std::string(c.label) + "w/m2");
    EXPECT_EQ(v->illuminance_tip, c.tip243);
    EXPECT_EQ(v->lpd_tip, c.tip358);
  }
}

TEST(EditionRules, UniformityRequirement) {
  using E = StandardEdition;
  // {edition, the place's U0 (2004: whatever field 233 holds), uniformity, passes}
  struct Case {
    E edition;
    double u0, uniformity;
    bool passes;
  } cases[] = {
      {E::k2004, 0.5, 0.65, false},  // 2004 asks 0.7 whatever the field says
      {E::k2004, 0.9, 0.7, true},   {E::k2024, 0.6, 0.6, true},
      {E::k2024, 0.7, 0.69, false}, {E::k2024, 0, 0.1, true},  // no requirement for the place
  };
  for (const auto& c : cases) {
    PointDialogData d;
    d.m_edition = c.edition;
    d.m_dStandAverage = 300, d.m_nStandLx = 300, d.m_sAverage = "320";
    d.m_dStandUniformity = c.u0, d.m_dUniformity = c.uniformity;
    ApplyVerdicts(d);
    EXPECT_EQ(d.tooltips[232].rfind("均匀度大于等于标准均匀度,通过!", 0) == 0, c.passes)
        << c.u0 << " " << c.uniformity;
  }
}

}  // namespace
