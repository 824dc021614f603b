#include "pointcalc/vertical.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/module_state.h"
#include "office/xlsx_workbook.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/point_dialog.h"
#include "room_fixture.h"

namespace {

// The section of one set of luminaires summed through the calculation's own steps.
struct Section {
  IntensityTable table;
  SectionGrid grid;
  std::vector<std::vector<double>> contributions;
  std::vector<double> values;
  double hmax = 0;

  Section(const std::vector<LuminaireRecord>& room, nyhost::Point3 s, nyhost::Point3 e, int nx,
          int ny, int threads = 1) {
    std::copy_n(nytest::kYg701A, 19, table.cd.begin());
    table.loaded = true;
    const SectionFrame frame = MakeSectionFrame(s, e, {0, -1e9, 0});
    const auto lums = FlattenLuminaires(frame, room, hmax);
    grid = BuildSectionGrid(SectionOrigin(frame, hmax), frame.length, hmax, nx, ny);
    std::vector<LuminaireSource> sources;
    for (const auto& r : lums) sources.push_back(MakeLuminaireSource(r, table, table, 1.0));
    SumSection(sources, grid.points, contributions, values, threads);
  }
};

LuminaireRecord Lum(double x, double y, double z, double rot = 0) {
  LuminaireRecord r;
  r.position = {x, y, z}, r.total_flux = 10050, r.rotation_z = rot;
  return r;
}

// The luminaire's share at (x, y, h), its two planes both the A plane as in `Section`.
double Direct(const LuminaireRecord& l, double x, double y, double h) {
  const auto& p = l.position;
  return nytest::PlainIlluminance(p.x, p.y, p.z, l.rotation_z, l.total_flux, x, y, h,
                                  nytest::kYg701A, nytest::kYg701A);
}

TEST(VerticalSection, ValuesEqualTheIlluminanceAtThatPointOfSpace) {
  const double o = 123456;  // far from the origin the grid and the values are the same
  struct Case {
    nyhost::Point3 s, e;
    std::vector<LuminaireRecord> room;
    double dx, dy;
  } cases[] = {
      // A slanted line, luminaires on both sides (mirrored from behind), turned, three heights.
      {{1000, 500, 0},
       {5000, 3500, 0},
       {Lum(2000, 3000, 3000, 30), Lum(4000, 1000, 3000), Lum(3000, 2000, 2800, 75),
        Lum(1500, 1200, 2500)},
       250,
       300},
      // 1 m in front of and 1 m behind a 5000 line: the foot of the perpendicular is column 10.
      {{0, 3000, 0}, {5000, 3000, 0}, {Lum(2500, 4000, 3000)}, 250, 300},
      {{o, o + 3000, 0}, {o + 5000, o + 3000, 0}, {Lum(o + 2500, o + 2000, 3000)}, 250, 300},
  };
  for (const auto& c : cases) {
    const Section sec(c.room, c.s, c.e, 20, 10);
    ASSERT_EQ(sec.grid.points.size(), 21u * 11u);
    EXPECT_DOUBLE_EQ(sec.grid.dx, c.dx);
    EXPECT_DOUBLE_EQ(sec.grid.dy, c.dy);
    const double len = std::hypot(c.e.x - c.s.x, c.e.y - c.s.y);
    for (std::size_t k = 0; k < sec.values.size(); ++k) {
      const double along = static_cast<double>(k / 11) * sec.grid.dx / len;
      const double h = sec.hmax - static_cast<double>(k % 11) * sec.grid.dy;
      const double x = c.s.x + (c.e.x - c.s.x) * along, y = c.s.y + (c.e.y - c.s.y) * along;
      double direct = 0;
      for (std::size_t l = 0; l < c.room.size(); ++l) {
        const double v = Direct(c.room[l], x, y, h);
        EXPECT_NEAR(sec.contributions[l][k], v, 1e-9 * std::max(1.0, v)) << k << " lum " << l;
        direct += v;
      }
      ASSERT_NEAR(sec.values[k], direct, 1e-9 * std::max(1.0, direct)) << k;
    }
    // Shared among threads the sums are bit-identical.
    const Section three(c.room, c.s, c.e, 20, 10, 3);
    EXPECT_EQ(std::memcmp(three.values.data(), sec.values.data(), sec.values.size() * 8), 0);
  }
  // The foot of the perpendicular on the floor gets the value 1 m from a luminaire's foot.
  const Section foot({Lum(2500, 2000, 3000)}, {0, 3000, 0}, {5000, 3000, 0}, 20, 10);
  EXPECT_NEAR(foot.values[10 * 11 + 10], Direct(Lum(0, 1000, 3000), 0, 0, 0), 1e-9);
}

// ---------------------------------------------------------------- the command in the dialog

class SectionCommand : public nytest::PointRoomFixture {
 protected:
  // Clicks "垂直照度" and answers the three picks (an empty list cancels the first).
  void Section(CNYDrawIsolineDlg* dlg, std::vector<nyhost::Point3> picks) {
    for (auto p : picks) input.Point(p.x, p.y);
    windows.message_log.clear();
    output.text.clear();
    dlg->window()->UserClick(353);
    host().RunPendingCommands();
  }
};

TEST_F(SectionCommand, FieldsContributionsAndTheViewingSide) {
  for (double x : {1000, 3000, 5000}) nytest::AddLuminaire(drawing(), x, 1500, "2.25");
  nytest::AddLuminaire(drawing(), 3000, 4500, "3");
  CNYDrawIsolineDlg* dlg = Room("20*10");
  const PointDialogData& d = dlg->data();
  Section(dlg, {{0, 3000}, {6000, 3000}, {3000, 0}});
  ASSERT_EQ(d.m_resultPoints.size(), 231u);
  EXPECT_EQ(d.m_nResultSource, 2);
  EXPECT_EQ(d.m_nCalType, 1);
  EXPECT_DOUBLE_EQ(d.m_dStepY, 300) << "hmax is the highest luminaire";
  ASSERT_EQ(d.m_sectionContributions.size(), 4u);
  ASSERT_EQ(d.m_sectionRecords.size(), 4u);
  EXPECT_DOUBLE_EQ(d.m_sectionRecords[0].rotation_z, 180) << "mirrored from behind the line";
  double max = 0, sum = 0;
  for (std::size_t i = 0; i < d.m_resultPoints.size(); ++i) {
    double v = 0;
    for (const auto& c : d.m_sectionContributions) v += c[i];
    EXPECT_EQ(d.m_resultPoints[i].z, v);
    max = std::max(max, v), sum += v;
  }
  nyhost::Dialog& w = *dlg->window();
  EXPECT_EQ(w.GetText(241), fmt::sprintf("%.2f", max));
  EXPECT_EQ(w.GetText(243), fmt::sprintf("%.2f", sum / 231));

  // From the north the drawn points are mirrored along the section; values and order stay.
  const auto south = d.m_resultPoints;
  Section(dlg, {{0, 3000}, {6000, 3000}, {3000, 6000}});
  ASSERT_EQ(d.m_resultPoints.size(), south.size());
  for (std::size_t i = 0; i < south.size(); ++i) {
    EXPECT_EQ(d.m_resultPoints[i].z, south[i].z);
    EXPECT_NEAR(d.m_resultPoints[i].x, 6000 - south[i].x, 1e-9);
    EXPECT_EQ(d.m_resultPoints[i].y, south[i].y);
  }

  // Drawn as points, they carry each luminaire's value for the report, which takes them as
  // they are.
  w.UserClick(330);
  w.UserClick(336);
  host().RunPendingCommands();
  const std::size_t k = 100;
  PickDrawnPoints({{d.m_resultPoints[k].x, d.m_resultPoints[k].y}});
  const std::string path = home->str() + "/section.xlsx";
  windows.file_answers.push_back(path);
  w.UserClick(351);
  host().RunPendingCommands();
  std::string error;
  auto book = nyoffice::OpenXlsx(path, error);
  ASSERT_TRUE(book) << error;
  for (int l = 0; l < 4; ++l)
    EXPECT_EQ(book->CellText("M" + std::to_string(3 + l)),
              fmt::sprintf("%.1f", d.m_sectionContributions[l][k]));
}

TEST_F(SectionCommand, EveryWayItStops) {
  nytest::AddLuminaire(drawing(), 3000, 1500);
  CNYDrawIsolineDlg* dlg = Room("10");
  Section(dlg, {{0, 3000}, {6000, 3000}});  // the viewing side is not given
  EXPECT_TRUE(output.text.ends_with("\n命令取消!")) << output.text;
  EXPECT_TRUE(dlg->window()->visible());
  Section(dlg, {{2000, 3000}, {2000, 3000}, {0, 0}});
  EXPECT_EQ(windows.message_log,
            std::vector<std::string>{"[岚序软件] 没发现灯具！或房间面积为0！"});
  dlg->window()->SetCell(4512, 1, 17, "没有的曲线");
  Section(dlg, {{0, 3000}, {6000, 3000}, {0, 0}});
  ASSERT_EQ(windows.message_log.size(), 1u);
  EXPECT_NE(windows.message_log[0].find("没有找到配光曲线:没有的曲线"), std::string::npos);
  EXPECT_EQ(dlg->window()->GetText(243), "0.0");
}

}  // namespace
