#include <gtest/gtest.h>

#include "base/module_state.h"
#include "pointcalc/point_dialog.h"
#include "room_fixture.h"

namespace {

class LightSwitch : public nytest::PointRoomFixture {
 protected:
  // Four luminaires in a 6 x 3 m room (colours 0, 256, 5 and 7), the room picked on a 30*15 grid.
  CNYDrawIsolineDlg* LitRoom() {
    const std::pair<double, double> at[] = {{1500, 1000}, {4500, 1000}, {1500, 2200}, {4500, 2000}};
    const int colours[] = {0, 256, 5, 7};
    for (int k = 0; k < 4; ++k) {
      ids.push_back(nytest::AddLuminaire(drawing(), at[k].first, at[k].second));
      drawing().Modify(ids.back(), [&](nyhost::Entity& e) { e.color = colours[k]; });
    }
    return Room("30*15", 6000, 3000);
  }
  std::vector<double> Calculate(CNYDrawIsolineDlg* dlg) {
    dlg->window()->UserClick(337);
    std::vector<double> v;
    for (const auto& p : dlg->data().m_resultPoints) v.push_back(p.z);
    return v;
  }
  void Switch(CNYDrawIsolineDlg* dlg, int button, std::vector<nyhost::EntityId> chosen) {
    input.Select(std::move(chosen));
    dlg->window()->UserClick(button);
    host().RunPendingCommands();
  }
  int Colour(nyhost::EntityId id) { return drawing().Find(id)->color; }
  std::vector<nyhost::EntityId> ids;
};

TEST_F(LightSwitch, OffLowersTheResultByExactlyThoseLuminairesAndOnRestoresIt) {
  CNYDrawIsolineDlg* dlg = LitRoom();
  const std::vector<double> all = Calculate(dlg);
  const std::string average = dlg->window()->GetText(243);

  Switch(dlg, 333, {ids[0], ids[2], ids[0]});
  EXPECT_EQ(dlg->data().m_records.size(), 2u);
  EXPECT_EQ(dlg->data().m_offLuminaires, (std::vector<nyhost::EntityId>{ids[0], ids[2]}));
  EXPECT_EQ(dlg->window()->GridOf(4512)->rows(), 3);
  const std::vector<double> off = Calculate(dlg);
  const std::string off_average = dlg->window()->GetText(243);
  EXPECT_TRUE(dlg->window()->visible());
  // Colour 0 stays, 5 becomes 4.
  EXPECT_EQ(Colour(ids[0]), 0);
  EXPECT_EQ(Colour(ids[2]), 4);

  // Back on: the full result again, the records at the end.
  Switch(dlg, 323, {ids[0], ids[2]});
  ASSERT_EQ(dlg->data().m_records.size(), 4u);
  EXPECT_EQ(dlg->data().m_records[2].entity_id, ids[0]);
  EXPECT_EQ(Colour(ids[0]), 1) << "0 + 1";
  const std::vector<double> on = Calculate(dlg);
  ASSERT_EQ(on.size(), all.size());
  for (std::size_t k = 0; k < on.size(); ++k) EXPECT_NEAR(on[k], all[k], 1e-9 * all[k]);
  EXPECT_EQ(dlg->window()->GetText(243), average);
  // The same room without those two luminaires at all gives the same numbers.
  for (auto id : {ids[0], ids[2]}) drawing().Erase(id);
  Pick(dlg, nullptr, 6000, 3000);
  EXPECT_EQ(Calculate(dlg), off);
  EXPECT_EQ(dlg->window()->GetText(243), off_average);
  EXPECT_NE(off_average, average);
}

TEST_F(LightSwitch, OnRules) {
  CNYDrawIsolineDlg* dlg = LitRoom();
  // By layer (256) switched off drops to 255; an on luminaire is only reported.
  Switch(dlg, 333, {ids[1]});
  EXPECT_EQ(Colour(ids[1]), 255);
  output.text.clear();
  Switch(dlg, 323, {ids[3]});
  EXPECT_EQ(output.text, "\n请选择要打开的灯:\n灯已经打开!");
  EXPECT_EQ(Colour(ids[3]), 7);
  // One drawn after the room was picked is added; one outside the room and a non-block are not.
  const auto late = nytest::AddLuminaire(drawing(), 3000, 1500);
  const auto outside = nytest::AddLuminaire(drawing(), 9000, 1500);
  const auto line = drawing().Add(nytest::ClosedOutline({{100, 100}, {200, 100}, {200, 200}}));
  Switch(dlg, 323, {late, outside, line, ids[1]});
  ASSERT_EQ(dlg->data().m_records.size(), 5u);
  EXPECT_EQ(dlg->data().m_records[3].entity_id, late);
  EXPECT_EQ(Colour(late), 257 - 1) << "by layer 256 stays";
  EXPECT_EQ(Colour(outside), 256);
  EXPECT_EQ(Colour(ids[1]), 256);
  EXPECT_TRUE(dlg->data().m_offLuminaires.empty());

  // A cancelled selection changes nothing.
  Switch(dlg, 333, {});
  EXPECT_EQ(dlg->data().m_records.size(), 5u);
}

TEST_F(LightSwitch, TableClickFramesUntilRedrawAndLegendColour) {
  CNYDrawIsolineDlg* dlg = LitRoom();
  nyhost::Dialog& w = *dlg->window();
  w.UserCellClick(4512, 1, 0);
  host().RunPendingCommands();
  ASSERT_EQ(host().temp_vectors().size(), 4u);
  EXPECT_EQ(host().temp_vectors()[0].color, 3);
  EXPECT_FALSE(host().temp_vectors()[0].highlight);
  Type("redraw ");
  EXPECT_TRUE(host().temp_vectors().empty());

  Calculate(dlg);
  windows.color_answers = {30};
  w.UserCellClick(4511, 2, 1);
  EXPECT_EQ(w.GridOf(4511)->cells[2][1].back_color, 0xFF7F00u);
  w.UserCellClick(4511, 2, 2);  // cancelled: unchanged
  EXPECT_EQ(w.GridOf(4511)->cells[2][2].back_color, 0xFFFFFFu);
}

}  // namespace
