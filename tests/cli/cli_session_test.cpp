// The command-line front-end as a user runs it: the real program, the real module file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/dxf_io.h"
#include "support/ny_xdata.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;
  std::string out;
};

std::string Quote(const std::string& s) { return "'" + s + "'"; }

RunResult Nyluxora(const std::string& args, const nytest::TempDir& home) {
  std::string cmd = std::string("NYLUXORA_SHARE=") + NYLUXORA_TEST_SHARE_DIR + " " +
                    NYLUXORA_TEST_BUILD_DIR + "/bin/nyluxora --data-dir " + Quote(home.str()) +
                    " " + args + " 2>&1";
  RunResult r;
  FILE* p = popen(cmd.c_str(), "r");
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::string WriteFile(const nytest::TempDir& dir, const std::string& name,
                      const std::string& text) {
  std::string path = (dir.path() / name).string();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// A small plan: a room outline and a luminaire block with keyed texts.
std::string SmallPlan(const nytest::TempDir& dir) {
  nyhost::Drawing d;
  d.set_arch_scale(1);
  d.EnsureLayer("照明", 2);
  nyhost::BlockDefinition def{"ZM2筒灯", {}, {}};
  nyhost::Entity circle;
  circle.data = nyhost::Circle{{0, 0, 0}, 100};
  def.entities.push_back(circle);
  d.SetBlock(def);
  nyhost::Entity lum;
  lum.layer = "照明";
  nyhost::BlockReference br;
  br.block = "ZM2筒灯";
  br.position = {1500, 1500, 0};
  lum.data = br;
  NyXData::SetEntXData(lum, "名称", "筒灯");
  NyXData::SetEntXData(lum, "型号", "TD-150");
  NyXData::SetEntXData(lum, "设备高", "2.25");
  d.RegisterApp(NyXData::kAppName);
  d.Add(lum);
  std::string path = (dir.path() / "plan.dxf").string();
  EXPECT_TRUE(nyhost::WriteDxf(d, path).ok);
  return path;
}

TEST(CommandLine, SessionPrintsWhatTheModulePrintsAndSavesARereadableDrawing) {
  nytest::TempDir home, work;
  std::string plan = SmallPlan(work);
  std::string out = (work.path() / "out.dxf").string();
  std::string script = WriteFile(work, "s.txt",
                                 "# closed-dialog messages\n"
                                 "command DRAW_LIGHT\n"
                                 "command ZIRIRODO_LIGHTOFF\n"
                                 "command NYZirIrodo_DOT_CalUGRPt\n"
                                 "echo --\n"
                                 "save " + out + "\n");
  RunResult r = Nyluxora("session " + Quote(script) + " --plan " + Quote(plan), home);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "\n欢迎使用岚序软件!\n对话框已关闭!\n对话框已关闭!\n--\n") << r.out;
  nyhost::DxfResult res;
  auto a = nyhost::ReadDxf(plan, res);
  auto b = nyhost::ReadDxf(out, res);
  ASSERT_TRUE(a && b) << res.error;
  ASSERT_EQ(a->LiveIds().size(), b->LiveIds().size());
  std::string name;
  NyXData::GetEntXData(name, b->entities().front(), "名称");
  EXPECT_EQ(name, "筒灯");
}

TEST(CommandLine, ShowNamesAFieldByTheLabelBesideIt) {
  nytest::TempDir home, work;
  std::string plan = SmallPlan(work);
  std::string script = WriteFile(work, "s.txt",
                                 "command ZIRIRODO_DOT\n"
                                 "set 214 338 30*15\n"
                                 "show 214 338\n"
                                 "show 214 372\n");
  RunResult r = Nyluxora("session " + Quote(script) + " --plan " + Quote(plan), home);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("[214:338 计算密度] 30*15  {"), std::string::npos) << r.out;
  // A label itself has no label beside it.
  EXPECT_NE(r.out.find("[214:372] 标准功率密度"), std::string::npos) << r.out;
}

TEST(CommandLine, ACopyOfTheModuleUnderAnotherNameUsesItsOwnSettingsFile) {
  nytest::TempDir home, work;
  fs::path module = fs::path(NYLUXORA_TEST_BUILD_DIR) / "lib";
  // Find the built module wherever the library folder is.
  fs::path found;
  for (auto& e : fs::recursive_directory_iterator(NYLUXORA_TEST_BUILD_DIR))
    if (e.path().filename() == "NYLuxora.so") found = e.path();
  ASSERT_FALSE(found.empty());
  fs::path copy = work.path() / "照明计算.so";
  fs::copy_file(found, copy);
  std::string plan = SmallPlan(work);
  std::string script = WriteFile(work, "s.txt", "command ZIRIRODO_DOT\nclose 214\n");
  RunResult r = Nyluxora("--module " + Quote(copy.string()) + " session " + Quote(script) +
                       " --plan " + Quote(plan),
                   home);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(fs::exists(home.path() / "data" / "照明计算.ini"));
  EXPECT_FALSE(fs::exists(home.path() / "data" / "NYLuxora.ini"));
}

TEST(CommandLine, BadInputGivesAClearMessageAndStatus) {
  nytest::TempDir home, work;
  struct Case {
    const char* name;
    std::string args;
    int status;
    const char* says;
  };
  std::string garbage = WriteFile(work, "garbage.dxf", std::string("\x00\x01\xff\xfe junk", 10));
  std::string truncated = WriteFile(work, "cut.dxf", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n");
  std::string bad_verb = WriteFile(work, "bad.txt", "frobnicate 1 2\n");
  std::string no_dialog = WriteFile(work, "nodlg.txt", "click 214 337\n");
  std::string empty = WriteFile(work, "empty.txt", "");
  Case cases[] = {
      {"garbage plan", "session " + Quote(empty) + " --plan " + Quote(garbage), 2, "garbage.dxf"},
      {"truncated plan", "session " + Quote(empty) + " --plan " + Quote(truncated), 2, "cut.dxf"},
      {"missing plan", "session " + Quote(empty) + " --plan /nonexistent/x.dxf", 2, "x.dxf"},
      {"unknown verb", "session " + Quote(bad_verb), 1, "bad.txt:1:"},
      {"dialog not open", "session " + Quote(no_dialog), 1, "dialog 214 is not open"},
      {"missing module", "--module /nonexistent/m.so session " + Quote(empty), 3, "m.so"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunResult r = Nyluxora(c.args, home);
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
  }
}

}  // namespace
