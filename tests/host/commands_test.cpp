#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// Entry functions resolved by name like a module's commands.
std::vector<std::string> g_calls;
int g_point_rc = 0;

extern "C" __attribute__((visibility("default"))) void NyTestCmdA() { g_calls.push_back("A"); }
extern "C" __attribute__((visibility("default"))) void NyTestCmdB() {
  g_calls.push_back("B");
  // A command may queue another; it runs only after this one returns.
  nyhost::Host::Get().SendCommand("TESTA ");
  g_calls.push_back("B-end");
}
extern "C" __attribute__((visibility("default"))) void NyTestCmdAsk() {
  nyhost::Point3 p;
  g_point_rc = nyhost::Host::Get().GetPoint(nullptr, "\n选择起点:", p);
  g_calls.push_back("asked");
  // After a cancel every further request of the same command is cancelled too.
  g_point_rc += nyhost::Host::Get().GetPoint(nullptr, "\n选择终点:", p) == nyhost::kRtCan ? 1 : 0;
}
extern "C" __attribute__((visibility("default"))) void NyTestCmdAdd() {
  auto* d = nyhost::Host::Get().drawing();
  nyhost::Entity e;
  e.data = nyhost::PointEntity{{1, 2, 0}};
  auto id = d->Add(e);
  d->Add(e);
  d->Modify(id, [](nyhost::Entity& x) { x.color = 3; });
}

class Commands : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    g_calls.clear();
    ASSERT_TRUE(host().MountCommand("TESTA", "G1", "NyTestCmdA"));
    ASSERT_TRUE(host().MountCommand("TestB", "G1", "NyTestCmdB"));
    ASSERT_TRUE(host().MountCommand("TESTASK", "G2", "NyTestCmdAsk"));
    ASSERT_TRUE(host().MountCommand("TESTADD", "G2", "NyTestCmdAdd"));
  }
  void TearDown() override {
    host().UnmountGroup("G1");
    host().UnmountGroup("G2");
    HostFixture::TearDown();
  }
};

TEST_F(Commands, TextEndingInABlankRunsInOrderAndQueuedCommandsRunAfterTheCurrentOne) {
  host().SendCommand("testb");
  host().RunPendingCommands();
  EXPECT_TRUE(g_calls.empty()) << "a name without its ending blank must not run";
  host().SendCommand(" TESTA ");
  host().RunPendingCommands();
  EXPECT_EQ(g_calls, (std::vector<std::string>{"B", "B-end", "A", "A"}));
}

TEST_F(Commands, UnknownCommandsAndUnmountedGroupsPrintAndDoNotRun) {
  host().UnmountGroup("G1");
  Type("TESTA NOSUCH ");
  EXPECT_TRUE(g_calls.empty());
  EXPECT_NE(output.text.find("NOSUCH"), std::string::npos);
  EXPECT_EQ(host().FindCommand("testa"), nullptr);
  EXPECT_NE(host().FindCommand("testask"), nullptr);
  EXPECT_FALSE(host().MountCommand("X", "G3", "NoSuchEntryFunction"));
}

TEST_F(Commands, CancelMakesPendingAndLaterInputRequestsReturnCancel) {
  input.Point(1, 2);
  Type("TESTASK ");
  EXPECT_EQ(g_point_rc, nyhost::kRtNorm + 1) << "the unanswered second prompt reads as Escape";
  EXPECT_NE(output.text.find("\n选择起点:"), std::string::npos);

  // A front-end that cancels while the command waits (a dialog button pressed).
  struct CancellingInput : nytest::QueuedInput {
    int GetPoint(const nyhost::Point3*, nyhost::Point3&) override {
      nyhost::Host::Get().CancelRunningCommand();
      return nyhost::kRtNorm;
    }
  } cancelling;
  host().SetInput(&cancelling);
  Type("TESTASK ");
  EXPECT_EQ(g_point_rc, nyhost::kRtCan + 1);
  EXPECT_FALSE(host().command_running());
}

TEST_F(Commands, InputWithoutADrawingIsAnError) {
  host().SetDrawing(nullptr);
  Type("TESTASK ");
  EXPECT_EQ(g_point_rc, nyhost::kRtError);
  EXPECT_EQ(input.asked, 0);
}

// One command undoes and redoes as one step; the drawing is modified unless it stands where it
// was saved, and listeners hear of every change.
TEST_F(Commands, OneCommandUndoesAsOneStepAndRedrawClearsTemporaryVectors) {
  std::vector<nyhost::DrawingEvent> heard;
  const int listener =
      host().AddDrawingListener([&](nyhost::DrawingEvent e) { heard.push_back(e); });
  EXPECT_FALSE(drawing().modified());
  Type("TESTADD ");
  ASSERT_EQ(drawing().LiveIds().size(), 2u);
  EXPECT_EQ(drawing().entities()[0].color, 3);
  EXPECT_EQ(drawing().UndoLabel(), "TESTADD");
  drawing().MarkSaved();
  host().GrDraw({0, 0, 0}, {1, 1, 0}, 3, false);
  EXPECT_EQ(host().temp_vectors().size(), 1u);
  Type("REDRAW ");
  EXPECT_TRUE(host().temp_vectors().empty());
  Type("U ");
  EXPECT_TRUE(drawing().entities().empty());
  EXPECT_TRUE(drawing().modified());
  EXPECT_FALSE(drawing().Undo());
  Type("REDO ");
  ASSERT_EQ(drawing().LiveIds().size(), 2u);
  EXPECT_EQ(drawing().entities()[0].color, 3);
  EXPECT_FALSE(drawing().modified());
  Type("U TESTADD ");  // a new step forgets the undone one
  EXPECT_FALSE(drawing().Redo());
  host().RemoveDrawingListener(listener);
  using E = nyhost::DrawingEvent;
  EXPECT_EQ(heard, (std::vector<E>{E::kChanged, E::kUndone, E::kUndone, E::kUndone, E::kChanged}));
}

TEST_F(Commands, SystemVariablesKeepTheirTypes) {
  host().SetVar("pdmode", 35);
  host().SetVar("PDSIZE", 30.0);
  EXPECT_EQ(host().GetVarInt("PDMODE"), 35);
  EXPECT_DOUBLE_EQ(host().GetVarReal("pdsize"), 30.0);
  EXPECT_EQ(host().GetVarInt("NOSUCHVAR", -1), -1);
}

}  // namespace
