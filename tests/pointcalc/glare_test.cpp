#include "pointcalc/glare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>

#include "base/module_state.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/point_dialog.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "room_fixture.h"
#include "support/ny_access.h"

namespace {

TEST(GlareRules, KeysGuardsAndVerdicts) {
  // T/R = 0 gives "1": printf would round the half to even, "0".
  const std::pair<double, const char*> keys[] = {{0.5, "6"}, {0, "1"}, {1.9, "20"}, {0.94, "10"}};
  for (auto [ratio, key] : keys) EXPECT_EQ(PositionKeyText(ratio), key) << ratio;

  const std::tuple<double, int, const char*> verdicts[] = {
      {19.04, 19, "\n标准统一眩光值是:19\n该点的眩光值:19.0\n满足标准!"},
      {19.15, 19, "\n标准统一眩光值是:19\n该点的眩光值:19.1\n不满足标准!建议调整灯具或光源"},
      {0, 1, "\n该点的眩光值:0.0\n标准统一眩光值是:1\n标准值过小，不做比较!"},
  };
  for (auto [ugr, limit, text] : verdicts)
    EXPECT_EQ(GlareVerdictText(GlareShown(ugr), limit), text);

  // The step is added up: the last direction falls just short of a full turn.
  const auto psis = FullTurnDirections();
  ASSERT_EQ(psis.size(), 37u);
  EXPECT_NEAR(psis.back(), 2 * M_PI, 1e-14);
}

TEST(GlareRules, PositionIndexReadsTheCellTheStatementWould) {
  GuthTable t;
  // H_R 6 once; H_R 7 twice (no single row); column "01" is not column 1.
  t.Fill({"H_R", "0", "1", "01"},
         {{"6", "3.5", "3.4", "9"}, {"7", "1", "1", "1"}, {"7", "2", "2", "2"}});
  const std::tuple<nyhost::Point3, double, double> cases[] = {
      // luminaire, psi, P
      {{2000, 0, 1000}, 0, 3.4},         // H/R 0.5 -> "6", T/R 0 -> "1"
      {{0, 2000, 1000}, M_PI / 2, 3.4},  // the same, looking north
      {{2000, 0, 1000}, M_PI, 0},        // behind the eye
      {{1000, 0, 700}, 0, 0},            // H/R 0.7: two rows
      {{1000, 2000, 700}, 0, 0},         // T/R 2 > 1.9
      {{100, 0, 1000}, 0, 0},            // H/R 10 > 3
  };
  for (auto [lum, psi, p] : cases)
    EXPECT_DOUBLE_EQ(PositionIndex({0, 0, 0}, lum, psi, t), p) << lum.x << "," << lum.y;
  nytest::RecordingOutput out;
  nyhost::Host::Get().SetOutput(&out);
  EXPECT_EQ(PositionIndex({0, 0, 0}, {2000, 0, 0}, 0, t), 0);
  EXPECT_EQ(out.text, "计算古斯位置指数P时 dH < 0");
  nyhost::Host::Get().SetOutput(nullptr);
}

// ---------------------------------------------------------------- in the dialog

// The rating as its steps read: one statement per position index, one curve load per luminaire.
double LiteralGlare(const std::vector<LuminaireRecord>& lums, nyhost::Point3 o, double psi) {
  double sum = 0;
  for (const auto& l : lums) {
    const double dx = l.position.x - o.x, dy = l.position.y - o.y, dz = l.position.z - o.z;
    const double dist = std::sqrt(dx * dx + dy * dy + dz * dz), theta = std::acos(dz / dist);
    const double r = dx * std::cos(psi) + dy * std::sin(psi);
    const double t = std::fabs(-dx * std::sin(psi) + dy * std::cos(psi));
    if (dz <= 0 || std::acos(r / std::hypot(dx, dy)) >= M_PI / 2 || theta <= 0.7853981633974483 ||
        theta >= 1.48352986419518 || t / r > 1.9 || dz / r > 3.0)
      continue;
    std::vector<std::string> v;
    const std::string sql =
        FormatSql(kSelectPositionIndex, PositionKeyText(t / r), PositionKeyText(dz / r));
    IntensityTable a, b;
    if (ZirIrodoDotDb()->GetSelData(v, sql) != 1 || std::fabs(std::atof(v[0].c_str())) < 1e-5 ||
        !LoadCurve(l.curve_table, a, b))
      continue;
    const double p = std::atof(v[0].c_str());
    const double q = LuminaireIlluminance(o, l, a, b) / std::cos(theta);
    sum += q * q / (p * p) * 2 / (dist * 0.001 * (dist * 0.001));
  }
  return std::max(0.0, 8 * std::log10(sum + 1 / 1200.0));
}

class GlareRoom : public nytest::PointRoomFixture {
 protected:
  std::string AtPoint(CNYDrawIsolineDlg* dlg, nyhost::Point3 eye, nyhost::Point3 toward) {
    input.Point(eye.x, eye.y);
    input.Point(toward.x, toward.y);
    windows.message_log.clear();
    dlg->window()->UserClick(367);
    host().RunPendingCommands();
    return windows.message_log.empty() ? "" : windows.message_log.back();
  }
};

TEST_F(GlareRoom, OnePointCountsOnlyLuminairesAheadBetween5And45Degrees) {
  nytest::AddLuminaire(drawing(), 3000, 5000, "1");    // 2 m ahead, 1 m up: counted
  nytest::AddLuminaire(drawing(), 2900, 5000, "0.1");  // 3 degrees above the sight line
  nytest::AddLuminaire(drawing(), 3000, 3577, "1");    // 60 degrees above it
  nytest::AddLuminaire(drawing(), 5000, 3000, "1");    // beside the eye
  CNYDrawIsolineDlg* dlg = Room("10");
  dlg->data().m_nUGR = 19;
  const std::string north = AtPoint(dlg, {3000, 3000}, {3000, 4000});
  EXPECT_EQ(north.find("[岚序软件] \n标准统一眩光值是:19\n该点的眩光值:"), 0u) << north;
  EXPECT_EQ(output.text.substr(output.text.size() - (north.size() - 15)), north.substr(15));
  const double ugr = LiteralGlare({dlg->data().m_records[0]}, {3000, 3000, 0}, M_PI / 2);
  EXPECT_GT(ugr, 0);
  EXPECT_EQ(LiteralGlare(dlg->data().m_records, {3000, 3000, 0}, M_PI / 2), ugr) << "one counts";
  EXPECT_NE(north.find(fmt::sprintf("该点的眩光值:%.1f", std::floor(ugr * 10) / 10)),
            std::string::npos);

  const std::string south = AtPoint(dlg, {3000, 3000}, {3000, 2000});
  EXPECT_NE(south.find("该点的眩光值:0.0\n满足标准!"), std::string::npos) << south;
  EXPECT_TRUE(dlg->data().m_resultPoints.empty());
  output.text.clear();
  dlg->window()->UserClick(351);
  EXPECT_EQ(output.text, "\n眩光计算暂时不提供计算书!");
}

TEST_F(GlareRoom, AllPointsQuestionFieldsLegendAndOneWarning) {
  for (double x : {1000, 3000, 5000})
    for (double y : {1500, 4500}) nytest::AddLuminaire(drawing(), x, y, "2.25");
  CNYDrawIsolineDlg* dlg = Room("21*20");
  nyhost::Dialog& w = *dlg->window();
  windows.message_answers.push_back(nyhost::kIdNo);
  w.UserClick(354);
  ASSERT_EQ(windows.message_log.size(), 1u);
  EXPECT_NE(windows.message_log[0].find("<计算密度>太大"), std::string::npos);
  EXPECT_TRUE(dlg->data().m_resultPoints.empty());

  w.UserType(338, "20*20");
  w.SetCell(4512, 6, 17, "没有的曲线");  // the last luminaire is left out, with one message
  dlg->data().m_nUGR = 1;
  const PointDialogData& d = dlg->data();
  std::vector<nyhost::Point3> runs[2];
  for (int threads : {1, 2}) {
    SetCalculationThreads(threads);
    windows.message_log.clear();
    output.text.clear();
    w.UserClick(354);
    runs[threads - 1] = d.m_resultPoints;
  }
  SetCalculationThreads(0);
  EXPECT_EQ(output.text.find("<没有的曲线>数据已删除"),
            output.text.rfind("<没有的曲线>数据已删除"));
  EXPECT_NE(output.text.find("<没有的曲线>数据已删除"), std::string::npos);
  EXPECT_EQ(windows.message_log,
            std::vector<std::string>{"[岚序软件] 统一眩光计算结果 大于 标准值!"});
  ASSERT_EQ(d.m_resultPoints.size(), 441u);
  EXPECT_EQ(std::memcmp(runs[0].data(), runs[1].data(), runs[0].size() * sizeof runs[0][0]), 0);
  double lo = 1e9, hi = 0, sum = 0;
  for (double v : d.m_values) lo = std::min(lo, v), hi = std::max(hi, v), sum += v;
  ASSERT_FALSE(d.m_values.empty());
  EXPECT_EQ(w.GetText(241), fmt::sprintf("%.2f", hi));
  EXPECT_EQ(w.GetText(242), fmt::sprintf("%.2f", lo));
  EXPECT_EQ(w.GetText(243), fmt::sprintf("%.2f", sum / d.m_values.size()));
  EXPECT_EQ(w.Grid(4511).cells[1][0].text, "统一眩光");
  EXPECT_EQ(w.GetText(372), "折算功率密度");
  // Every number as the steps read them: the worst of the directions at each point.
  for (std::size_t i = 0; i < d.m_resultPoints.size(); i += 37) {
    double worst = 0;
    for (double psi : FullTurnDirections())
      worst = std::max(
          worst, LiteralGlare(d.m_records, {d.m_resultPoints[i].x, d.m_resultPoints[i].y, 0}, psi));
    EXPECT_EQ(d.m_resultPoints[i].z, worst) << i;
  }
  output.text.clear();
  w.UserClick(351);
  EXPECT_EQ(output.text, "\n眩光计算暂时不提供计算书!");
}

}  // namespace
