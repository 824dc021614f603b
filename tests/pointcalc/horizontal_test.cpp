#include "pointcalc/horizontal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "base/module_state.h"
#include "pointcalc/point_dialog.h"
#include "room_fixture.h"
#include "support/ny_xdata.h"

namespace {

TEST(HorizontalRules, LegendRangeAndInterval) {
  struct Case {
    double min, max, mean;
    double lo, hi;
    int interval;
  } cases[] = {
      {23.4, 387.9, 300, 20, 390, 50},
      {0, 150, 100, 0, 160, 20},
      {12, 80, 50, 10, 90, 10},
      {0.5, 9.9, 3, 0, 10, 10},  // interval 10 * floor(1.0) = 10
      {0, 0, 0, 0, 10, 10},
  };
  for (const auto& c : cases) {
    LegendRange r = LegendFor(c.min, c.max, c.mean);
    EXPECT_DOUBLE_EQ(r.min, c.lo) << c.mean;
    EXPECT_DOUBLE_EQ(r.max, c.hi) << c.mean;
    EXPECT_EQ(r.interval, c.interval) << c.mean;
  }
}

TEST(HorizontalRules, StandardFromTheAverage) {
  struct Case {
    const char* average;
    int lx;
  } cases[] = {{"312.45", 300}, {"349.99", 300}, {"350.00", 350}, {"49.99", 0}, {"0.0", 0}};
  for (const auto& c : cases) EXPECT_EQ(StandLxFromAverage(c.average), c.lx) << c.average;
}

TEST(HorizontalRules, ConvertedLimitAndTruncation) {
  // {limit, standard lx, average, converted, cut}; no standard illuminance gives no limit.
  const double cases[][5] = {{11, 300, 250, 11.0 / 300 * 250, 9.16}, {11, 300, 0.0005, 0, 0},
                             {11, 0, 40, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_NEAR(ConvertedLimit(c[0], c[1], c[2]), c[3], 1e-12) << c[1] << " " << c[2];
    EXPECT_DOUBLE_EQ(CutTo2Decimals(ConvertedLimit(c[0], c[1], c[2])), c[4]);
  }
  EXPECT_DOUBLE_EQ(CutTo2Decimals(26.6666), 26.66);
  EXPECT_DOUBLE_EQ(CutTo2Decimals(11), 11);
}

TEST(HorizontalRules, PowerDensityCountsLampsAndBallastsOfBothGroups) {
  LuminaireRecord r;
  r.lamp1_power = 36, r.lamp1_ballast_power = 4, r.lamp1_count = 3;
  r.lamp2_power = 18, r.lamp2_ballast_power = 2, r.lamp2_count = 1;
  std::vector<LuminaireRecord> recs{r, r};
  EXPECT_DOUBLE_EQ(PowerDensity(recs, 20), 2 * (120 + 20) / 20.0);
  EXPECT_EQ(PowerDensity(recs, 0.0009), 0);
}

PointDialogData Verdict(double stand, double average, double lpd, double stand_lpd = 11) {
  PointDialogData d;
  d.m_dStandAverage = stand, d.m_nStandLx = static_cast<int>(stand), d.m_dStandLPD = stand_lpd;
  d.m_sAverage = std::to_string(average), d.m_dLPD = lpd, d.m_dUniformity = 0.75;
  ApplyVerdicts(d);
  return d;
}

TEST(HorizontalRules, VerdictsAgainstTheStandard) {
  struct Case {
    double stand, average, lpd;
    double limit;
    const char* label;
    const char* tip243;
    const char* tip358;
  } cases[] = {
      {300, 320, 10.5, 11, "标准功率密度", "计算照度大于等于标准照度,通过!",
       "计算功率密度小于标准功率密度,通过!"},
      {300, 320, 11, 11, "标准功率密度", "计算照度大于等于标准照度,通过!",
       "计算功率密度大于等于标准功率密度,不通过!建议调整光源或灯具"},
      {300, 250, 9.0, 11.0 / 300 * 250, "折算功率密度",
       "计算照度小于标准照度,不通过!建议调整光源或灯具", "计算功率密度小于折算功率密度,通过!"},
      {300, 250, 9.5, 11.0 / 300 * 250, "折算功率密度",
       "计算照度小于标准照度,不通过!建议调整光源或灯具",
       "计算功率密度大于等于折算功率密度,不通过!建议调整光源或灯具"},
  };
  for (const auto& c : cases) {
    PointDialogData d = Verdict(c.stand, c.average, c.lpd);
    EXPECT_NEAR(d.m_dLimitLPD, c.limit, 1e-12);
    EXPECT_EQ(d.m_sLabel372, c.label);
    EXPECT_EQ(d.tooltips[243], c.tip243);
    EXPECT_EQ(d.tooltips[358], c.tip358);
    EXPECT_EQ(d.tooltips[232], "均匀度大于等于标准均匀度,通过!");
  }
  PointDialogData below = Verdict(300, 250, 1);
  EXPECT_EQ(below.tooltips[360], "计算照度小于标准照度,采用折算功率密度");
  EXPECT_EQ(below.tooltips[365], "计算功率密度不得大于折算功率密度");

  PointDialogData none;
  none.m_sAverage = "312.45";
  ApplyVerdicts(none);
  EXPECT_TRUE(none.tooltips.empty()) << "no standard chosen: no verdicts";
}

TEST(HorizontalRules, ProgressBarRule) {
  // {evaluations, reports, step between reported percentages}. 200 evaluations: the fraction 0.5
  // passes 1 only every third step (0.5, 1.0, 1.5).
  const int cases[][3] = {{4, 4, 25}, {30, 30, 3}, {200, 66, -1}};
  for (const auto& c : cases) {
    std::vector<int> got;
    ProgressRule(c[0]).Advance(c[0], [&](int p) { got.push_back(p); });
    ASSERT_EQ(got.size(), static_cast<std::size_t>(c[1])) << c[0];
    for (std::size_t i = 0; c[2] > 0 && i < got.size(); ++i) EXPECT_EQ(got[i], c[2] * int(i + 1));
  }
}

// ---------------------------------------------------------------- sums

TEST(HorizontalSums, ParallelResultsAreBitIdenticalToOneThread) {
  IntensityTable a, b;
  nytest::Yg701Tables(a, b);
  // 37 luminaires at random, some tilted about x or y.
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> pos(0, 10000), h(2000, 5000), ang(-45, 45), rot(0, 360);
  std::vector<LuminaireSource> sources;
  for (int i = 0; i < 37; ++i) {
    LuminaireRecord r;
    r.position = {pos(rng), pos(rng), h(rng)};
    r.total_flux = 1000 + i * 37;
    r.tilt_x = i % 3 ? 0 : ang(rng);
    r.tilt_y = i % 4 ? 0 : ang(rng);
    r.rotation_z = rot(rng);
    sources.push_back(MakeLuminaireSource(r, a, b, 1.0));
  }
  std::vector<nyhost::Point3> points;
  for (int i = 0; i <= 60; ++i)
    for (int j = 0; j <= 45; ++j) points.push_back({i * 166.7, j * 222.2, 0});
  std::vector<double> one, many;
  long long progressed = 0;
  SumIlluminance(sources, points, one, 1, [&](long long n) { progressed += n; });
  EXPECT_EQ(progressed, static_cast<long long>(points.size() * sources.size()));
  ASSERT_EQ(one.size(), points.size());
  for (int threads : {2, 5}) {
    SumIlluminance(sources, points, many, threads);
    EXPECT_EQ(std::memcmp(one.data(), many.data(), one.size() * sizeof(double)), 0) << threads;
  }
}

// ---------------------------------------------------------------- a whole room

class HorizontalRoom : public nytest::PointRoomFixture {
 protected:
  CNYDrawIsolineDlg* OpenOnRoom(const char* grid) { return Room(grid, 6000, 3000); }
};

TEST_F(HorizontalRoom, SummedGridMatchesAPlainComputationOfTheFormula) {
  struct Lum {
    double x, y;
    const char* height;
    double rot;
  } lums[] = {{1500, 1000, "3", 0}, {4500, 1000, "3", 90}, {1500, 2200, "2.8", 30},
              {4500, 2000, "3.2", 0}};
  for (const auto& l : lums) nytest::AddLuminaire(drawing(), l.x, l.y, l.height, l.rot);
  CNYDrawIsolineDlg* dlg = OpenOnRoom("30*15");
  ASSERT_NE(dlg, nullptr);
  nyhost::Dialog& w = *dlg->window();
  ASSERT_EQ(dlg->data().m_records.size(), 4u);
  w.UserClick(337);
  const auto& pts = dlg->data().m_resultPoints;
  ASSERT_EQ(pts.size(), 496u);
  double max = -1, min = 1e9, sum = 0;
  for (const auto& p : pts) {
    double e = 0;
    for (const auto& l : lums)
      e +=
          nytest::PlainIlluminance(l.x, l.y, std::atof(l.height) * 1000, l.rot, 10050, p.x, p.y, 0);
    ASSERT_NEAR(p.z, e, 1e-9 * std::max(1.0, e)) << p.x << "," << p.y;
    max = std::max(max, e), min = std::min(min, e), sum += e;
  }
  const std::pair<int, double> shown[] = {{241, max}, {242, min}, {243, sum / pts.size()}};
  for (auto [id, v] : shown) EXPECT_EQ(w.GetText(id), fmt::sprintf("%.2f", v)) << id;
  // 4 x 3 x (36 W + 4 W) over 18 m², cut to two decimals.
  EXPECT_EQ(w.GetText(358), "26.66");
  EXPECT_EQ(dlg->data().m_nCalType, 0);
  EXPECT_GT(output.percents.size(), 0u);
  EXPECT_EQ(output.progress_starts, 1);
  EXPECT_EQ(output.progress_stops, 1);
}

TEST_F(HorizontalRoom, MissingCurveAbandonsTheRunAndLeavesTheFieldsCleared) {
  for (int i = 0; i < 3; ++i) nytest::AddLuminaire(drawing(), 1000 + 1500 * i, 1500);
  CNYDrawIsolineDlg* dlg = OpenOnRoom("10");
  nyhost::Dialog& w = *dlg->window();
  ASSERT_EQ(dlg->data().m_records.size(), 3u);
  w.SetCell(4512, 2, 17, "没有的曲线");
  windows.message_log.clear();
  w.UserClick(337);
  ASSERT_EQ(windows.message_log.size(), 1u);
  EXPECT_NE(windows.message_log[0].find("在数据库中没有找到配光曲线:没有的曲线\n参考解决方法"),
            std::string::npos);
  for (int id : {243, 241}) EXPECT_EQ(w.GetText(id), "0.0") << id;
  EXPECT_EQ(output.progress_stops, 1);
}

TEST_F(HorizontalRoom, NoStandardChosenDerivesItFromTheAverage) {
  nytest::AddLuminaire(drawing(), 3000, 1500);
  CNYDrawIsolineDlg* dlg = OpenOnRoom("20*10");
  nyhost::Dialog& w = *dlg->window();
  dlg->data().m_nStandLx = 0, dlg->data().m_dStandLPD = 11;
  w.UserClick(337);
  const double avg = std::atof(w.GetText(243).c_str());
  const int lx = 50 * static_cast<int>(static_cast<int>(avg) * 0.1 * 0.2);
  ASSERT_GT(lx, 0);
  EXPECT_EQ(dlg->data().m_nStandLx, lx);
  EXPECT_DOUBLE_EQ(std::atof(w.GetText(360).c_str()), std::floor(11.0 / lx * avg * 100) / 100)
      << "the limit converted with the derived standard";
  EXPECT_EQ(w.GetText(245), "0") << "the standard field stays untouched";
  EXPECT_EQ(w.GetToolTip(243), "平均照度不应小于计算照度标准") << "no verdict tooltips";
}

TEST_F(HorizontalRoom, AbsurdNumbersStopTheRunWithAMessage) {
  const auto lum = nytest::AddLuminaire(drawing(), 3000, 1500);
  CNYDrawIsolineDlg* dlg = Open();
  // A message box starting with `message`, or `message` on the command line; only Yes runs.
  struct Case {
    const char *height, *message;
    double arch_scale;
    int count, answer;
  } cases[] = {
      {"0", "[岚序软件] 灯具安装高度有误!", 1, 10, 0},
      {"inf", "[岚序软件] 灯具安装高度有误!", 1, 10, 0},
      {"1e-320", "[岚序软件] 灯具安装高度有误!", 1, 10, 0},
      {"3", "\n图纸的建筑比例(1.797e+308)不合理,应在1e-06到1e+06之间!", 1.797e308, 10, 0},
      {"3", "\n图纸的建筑比例(9.99989e-321)不合理,应在1e-06到1e+06之间!", 1e-320, 10, 0},
      {"3", "[岚序软件] 你输入的数据不合理!\n<计算密度>1000000000*1000000000", 1, 1000000000, 0},
      {"3", "[岚序软件] <计算密度>600*600有361201个计算点,1个灯具,约需19MB", 1, 600, nyhost::kIdNo},
      {"3", "[岚序软件] <计算密度>600*600", 1, 600, nyhost::kIdYes},
  };
  for (const auto& c : cases) {
    NyXData::SetEntXData(lum, "设备高", c.height);
    drawing().set_arch_scale(c.arch_scale);
    Pick(dlg, nullptr, 6000, 3000);
    dlg->data().m_nCountX = dlg->data().m_nCountY = c.count;
    if (c.answer) windows.message_answers.push_back(c.answer);
    windows.message_log.clear();
    output.text.clear();
    dlg->window()->UserClick(337);
    const auto& log = windows.message_log;
    EXPECT_TRUE((log.size() == 1 && log[0].rfind(c.message, 0) == 0) || output.text == c.message)
        << c.message << "|" << output.text;
    EXPECT_EQ(dlg->window()->GetText(243) == "0.0", c.answer != nyhost::kIdYes) << c.message;
  }
}

TEST_F(HorizontalRoom, UniformityUsesOnlyPointsInsideTheLuminaireRectangle) {
  // Two luminaires in the left half: the work area is the rectangle around their blocks.
  for (double at : {1000, 2000}) nytest::AddLuminaire(drawing(), at, at);
  CNYDrawIsolineDlg* dlg = OpenOnRoom("60*30");
  nyhost::Dialog& w = *dlg->window();
  w.UserClick(337);
  // Blocks are 600 wide: work area x 700..2300, y 700..2300 (strictly inside).
  double lo = 9999, sum = 0;
  int n = 0;
  for (const auto& p : dlg->data().m_resultPoints) {
    if (p.x > 700 && p.x < 2300 && p.y > 700 && p.y < 2300) lo = std::min(lo, p.z), sum += p.z, ++n;
  }
  ASSERT_GT(n, 0);
  EXPECT_DOUBLE_EQ(dlg->data().m_dUniformity, std::floor(lo / (sum / n) * 100) / 100);
}

TEST_F(HorizontalRoom, BelowTheStandardTheLimitIsConvertedAndTheFieldsTurnRed) {
  nytest::AddLuminaire(drawing(), 3000, 1500);
  windows.modal_driver = [](nyhost::Dialog& d) {
    d.UserChoose(236, "办公建筑/普通办公室");
    d.UserClick(nyhost::kIdOk);
  };
  CNYDrawIsolineDlg* dlg = Open();
  dlg->window()->UserClick(210);
  Pick(dlg, "30*15", 6000, 3000);
  nyhost::Dialog& w = *dlg->window();
  w.UserClick(337);
  const double avg = std::atof(w.GetText(243).c_str());
  ASSERT_LT(avg, 300) << "one luminaire cannot light 18 m² to 300 lx";
  EXPECT_EQ(w.GetText(372), "折算功率密度");
  EXPECT_DOUBLE_EQ(std::atof(w.GetText(360).c_str()), std::floor(11.0 / 300 * avg * 100) / 100);
  EXPECT_EQ(w.GetToolTip(243), "计算照度小于标准照度,不通过!建议调整光源或灯具");
  EXPECT_EQ(w.GetToolTip(360), "计算照度小于标准照度,采用折算功率密度");
  EXPECT_EQ(w.Control(243)->text_color, 0xFF0000u) << "average below the standard";
  // 120 W over 18 m² against the converted limit.
  const double lpd = std::atof(w.GetText(358).c_str());
  EXPECT_DOUBLE_EQ(lpd, 6.66);
  const bool over = lpd >= std::atof(w.GetText(360).c_str());
  EXPECT_EQ(w.Control(358)->text_color, over ? 0xFF0000u : nyhost::kNoColor);
}

}  // namespace
