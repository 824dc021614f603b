// The command-line front-end as a user runs it: the real program, the real module file.
#include <fmt/printf.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/dxf_io.h"
#include "office/xlsx_workbook.h"
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

// A small plan: a luminaire block with keyed texts at 1500,1500.
std::string SmallPlan(const nytest::TempDir& dir, const std::string& model = "TD-150",
                      const std::string& height = "2.25") {
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
  NyXData::SetEntXData(lum, "型号", model);
  NyXData::SetEntXData(lum, "设备高", height);
  d.RegisterApp(NyXData::kAppName);
  d.Add(lum);
  std::string path = (dir.path() / (model + height + ".dxf")).string();
  EXPECT_TRUE(nyhost::WriteDxf(d, path).ok);
  return path;
}

// The shares at P1..P3 (columns M, N, O, rows 3 to 8) and each column's total, one decimal.
std::vector<std::string> SharesAndTotals(const nyhost::Workbook& book) {
  std::vector<std::string> out;
  for (std::string col : {"M", "N", "O"}) {
    double sum = 0;
    for (int row = 3; row <= 8; ++row) {
      out.push_back(book.CellText(col + std::to_string(row)));
      sum += std::atof(out.back().c_str());
    }
    out.push_back(fmt::sprintf("%.1f", sum));  // the template's totals, recalculated
  }
  return out;
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
                                 "save " +
                                     out + "\n");
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
                                 "show 214 372\n"
                                 "click 214 335\npoint 0,0\npoint 3000,3000\n"
                                 "cellclick 214 4512 1 17\n"  // the curve chooser, modal
                                 "choose 219 304 LED\n"
                                 "choose 219 353 #0\n"
                                 "show 219 353\n"
                                 "click 219 2\n");
  RunResult r = Nyluxora("session " + Quote(script) + " --plan " + Quote(plan), home);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("[214:338 计算密度] 30*15  {"), std::string::npos) << r.out;
  // A label itself has no label beside it.
  EXPECT_NE(r.out.find("[214:372] 标准功率密度"), std::string::npos) << r.out;
  // A list shows every item, the selected one marked.
  EXPECT_NE(r.out.find("[219:353] \n  > | LED | LED-P600 | 通用\n    | LED | GK-100"),
            std::string::npos)
      << r.out;
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
  RunResult r = Nyluxora(
      "--module " + Quote(copy.string()) + " session " + Quote(script) + " --plan " + Quote(plan),
      home);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(fs::exists(home.path() / "data" / "照明计算.ini"));
  EXPECT_FALSE(fs::exists(home.path() / "data" / "NYLuxora.ini"));
}

// Every refusal names what was wrong in the user's terms, with the documented status (0 done,
// 1 a problem reported, 2 usage), and a failed calculation prints no result.
TEST(CommandLine, BadInputGivesAClearMessageAndStatus) {
  nytest::TempDir home, work;
  struct Case {
    const char* name;
    std::string args;
    int status;
    const char* says;
  };
  std::string garbage = WriteFile(work, "garbage.dxf", std::string("\x00\x01\xff\xfe junk", 10));
  std::string empty = WriteFile(work, "empty.txt", "");
  auto script = [&](const std::string& text) {
    static int n = 0;
    return "session " + Quote(WriteFile(work, "s" + std::to_string(++n) + ".txt", text));
  };
  std::string plan = Quote(SmallPlan(work));
  std::string unknown = Quote(SmallPlan(work, "X-9"));
  std::string no_height = Quote(SmallPlan(work, "TD-150", "0"));
  std::string room = " --rect 0,0,3000,3000";
  auto photometry = [](const char* file) {
    return Quote(std::string(NYLUXORA_TEST_DATA_DIR) + "/photometry/" + file);
  };
  std::string example = Quote(std::string(NYLUXORA_TEST_EXAMPLES_DIR) + "/office.dxf");
  Case cases[] = {
      {"garbage plan", "session " + Quote(empty) + " --plan " + Quote(garbage), 1, "garbage.dxf"},
      {"missing plan", "session " + Quote(empty) + " --plan /nonexistent/x.dxf", 2, "x.dxf"},
      {"missing module", "--module /nonexistent/m.so session " + Quote(empty), 1, "m.so"},
      {"unknown verb", script("echo ran\nfrobnicate 1 2\n"), 1, ":2: unknown command 'frobnicate'"},
      {"dialog not open", script("click 214 337\n"), 1, "dialog 214 is not open"},
      {"unknown host command", script("command NOSUCH\n"), 1, ":1: unknown command 'NOSUCH'"},
      {"cellclick words", script("cellclick 214 4512 1\n"), 1, "usage: cellclick DIALOG CONTROL"},
      {"menu number", script("menu abc\n"), 1, "'abc' is not a whole number"},
      {"check flag", script("check 214 335 abc\n"), 1, "'abc' is not a whole number"},
      {"glued words", script("click 214 335abc\n"), 1, "'335abc' is not a whole number"},
      {"infinite point", script("point inf,0\n"), 1, "first coordinate 'inf' is not a finite"},
      {"huge point", script("point 1e308,1e308\n"), 1, "'1e308' is out of range"},
      {"byte-order mark",
       script("\xEF\xBB\xBF"
              "echo bom\n"),
       0, "\nbom"},
      {"huge rect", "calc " + plan + " --rect 0,0,1e400,6000", 2, "third number '1e400'"},
      {"letters in rect", "calc " + plan + " --rect a,b,c,d", 2, "first number 'a' is not"},
      {"bad density", "calc " + plan + room + " --density 30x", 2, "'30x' is not a valid density"},
      {"unknown standard", "calc " + plan + room + " --standard 不存在/无", 2,
       "unknown standard '不存在/无' (give category/place; the categories are 居住建筑, 办公建筑"},
      {"unknown edition", "calc " + plan + room + " --standard 办公建筑/普通办公室 --edition 2013",
       2, "--edition: 2013 not in {2004,2024}"},
      {"edition without standard", "calc " + plan + room + " --edition 2024", 2,
       "--edition requires --standard"},
      {"lumen: unknown edition",
       "lumen --length 10 --width 5 --height 3 --luminaire YG701-3 --source 荧光灯 --lamp "
       "荧光灯/T8/36 --standard 办公建筑/普通办公室 --edition 1999",
       2, "--edition: 1999 not in {2004,2024}"},
      {"2024 edition", "calc " + example + " --rect 0,0,6000,6000 --density 30*15 --standard " +
       "办公建筑/普通办公室 --edition 2024", 0,
       "[214:360 标准功率密度] 8  {计算照度不低于标准照度的90%,采用标准功率密度；依据GB/T "
       "50034-2024 (GB 55015-2021)}"},
      {"missing curve", "calc " + unknown + room, 1, "luminaire 筒灯 (model X-9) at 1500,1500"},
      {"skipped, no luminaire left", "calc " + unknown + room + " --missing-curve skip", 1,
       "the room holds no luminaire"},
      {"unknown substitute", "calc " + unknown + room + " --curve X-9=没有这张表", 2,
       "no curve table '没有这张表'"},
      {"substitute", "calc " + unknown + room + " --curve X-9=荧光灯YG701-3配光曲线", 0,
       "[214:243 计算照度平均值 lx] "},
      {"no mounting height", "calc " + no_height + room, 1, "灯具安装高度有误!"},
      {"photometry without nadir", "import-photometry " + photometry("broken-no-nadir.ies"), 1,
       "broken-no-nadir.ies:12: the vertical angles start at 5, not at 0"},
      {"photometry under a path-like model",
       "import-photometry " + photometry("old-1986.ies") + " --model A/B", 1,
       "'A/B' may not hold / or \\"},
      {"photometry imported",
       "import-photometry " + photometry("downlight-sym.ies") + " --kind LED", 0,
       "灯具型号 DL-150: curve table LEDDL-150配光曲线"},
      {"imported again", "import-photometry " + photometry("downlight-sym.ies") + " --kind LED", 1,
       "is already in the point-method catalogue"},
      {"imported curve as substitute", "calc " + unknown + room + " --curve X-9=LEDDL-150配光曲线",
       0, "[214:243 计算照度平均值 lx] "},
      {"export of no luminaire", "export-photometry X-9 --out " + Quote(work.str() + "/x.ies"), 1,
       "灯具型号 X-9 is not in the point-method catalogue"},
      {"unknown subcommand", "frob", 2, "unknown command 'frob' (commands: calc"},
      {"parse error", "calc " + plan + " --density", 2, "--density"},
      {"version", "--version", 0, "nyluxora 0.1.0"},
#ifdef NYLUXORA_TEST_RENDER
      {"scale not a number", "render " + plan + " --out x.pdf --scale nan", 2,
       "--scale: 'nan' is not a finite number"},
      {"picture type", "render " + plan + " --out x.jpg", 2, "must end in .png, .svg or .pdf"},
      {"render without a plan", "render /nonexistent/none.dxf --out x.png", 2, "none.dxf"},
      {"render without --out", "render " + plan, 2, "--out is required"},
      {"page too small",
       "render " + example + " --out " + Quote(work.str() + "/p.pdf") + " --paper A4 --scale 50", 1,
       "needs 366 x 184 mm at 1:50, more than A4 holds"},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunResult r = Nyluxora(c.args, home);
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
    if (c.status != 0) {
      EXPECT_EQ(r.out.find("[214:243"), std::string::npos) << r.out;
      EXPECT_EQ(r.out.find("\nran"), std::string::npos) << "a bad script runs no line";
    }
  }
  // A batch run remembers nothing: no settings file, no remembered curve.
  EXPECT_FALSE(fs::exists(home.path() / "data" / "NYLuxora.ini"));

  // The lumen method under the 2024 edition (in a home of its own: lumen keeps its settings).
  nytest::TempDir lumen_home;
  RunResult lumen = Nyluxora(
      "lumen --length 10 --width 5 --height 3.55 --luminaire YG701-3 --source 荧光灯 --lamp "
      "荧光灯/T8/36 --lamps 2 --ballast 4 --standard 办公建筑/普通办公室 --edition 2024",
      lumen_home);
  EXPECT_EQ(lumen.status, 0) << lumen.out;
  EXPECT_NE(lumen.out.find("[215:360 标准功率密度w/m2] 8  {计算照度不低于标准照度的90%,"
                           "采用标准功率密度；依据GB/T 50034-2024 (GB 55015-2021)}"),
            std::string::npos)
      << lumen.out;

}

// The summary names the same values the printed fields show; the user's remembered density is
// read only when asked, and never written back.
TEST(CommandLine, CalcSummaryMatchesThePrintedFieldsAndSettingsStayUntouched) {
  nytest::TempDir home, work;
  std::string plan = Quote(std::string(NYLUXORA_TEST_EXAMPLES_DIR) + "/office.dxf");
  std::string json_path = (work.path() / "sum.json").string();
  RunResult r = Nyluxora("calc " + plan + " --rect 0,0,6000,6000 --density 30*15 --standard " +
                             "办公建筑/普通办公室 --json " + Quote(json_path),
                         home);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.find("欢迎"), std::string::npos) << r.out;
  std::ifstream in(json_path);
  auto j = nlohmann::json::parse(in);
  std::map<int, std::string> printed;
  std::istringstream lines(r.out);
  for (std::string l; std::getline(lines, l);) {
    int id = 0;
    char tail[512] = "";
    if (std::sscanf(l.c_str(), "[214:%d %*[^]]] %511[^\n]", &id, tail) == 2) printed[id] = tail;
  }
  struct Field {
    int id;
    nlohmann::json value;
  } fields[] = {{241, j["results"]["max_lx"]},
                {242, j["results"]["min_lx"]},
                {243, j["results"]["average_lx"]},
                {232, j["results"]["uniformity"]},
                {358, j["results"]["power_density_w_m2"]},
                {245, j["standard"]["average_lx"]},
                {360, j["standard"]["power_density_limit_w_m2"]}};
  for (const auto& f : fields) {
    ASSERT_TRUE(f.value.is_number()) << f.id;
    EXPECT_DOUBLE_EQ(std::stod(printed[f.id]), f.value.get<double>()) << f.id;
  }
  EXPECT_NE(printed[243].find(j["verdicts"]["average"].get<std::string>()), std::string::npos);
  EXPECT_EQ(j["standard"]["edition"], "GB 50034-2004") << "the default edition";
  EXPECT_EQ(j["luminaires"].size(), 6u);
  EXPECT_DOUBLE_EQ(j["room"]["area_m2"].get<double>(), 36);
  EXPECT_EQ(j["grid"]["points"].get<int>(), 496);
  EXPECT_EQ(j["precise"], false);
  EXPECT_EQ(r.out.find("精确光度"), std::string::npos) << r.out;

  // --precise: the same room with the exact polar angle, marked so in every output.
  r = Nyluxora("calc " + plan + " --rect 0,0,6000,6000 --density 30*15 --precise --json " +
                   Quote(json_path), home);
  ASSERT_EQ(r.status, 0) << r.out;
  auto p = nlohmann::json::parse(std::ifstream(json_path));
  EXPECT_EQ(p["precise"], true);
  EXPECT_NE(r.out.find("[214:402 精确光度] 是"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("{精确光度"), std::string::npos) << "the maximum's tooltip";
  EXPECT_NE(p["results"]["average_lx"], j["results"]["average_lx"]);

  std::string ini = (home.path() / "data" / "NYLuxora.ini").string();
  std::string remembered = "[CNYDrawIsolineDlg]\nm_sCalCount=10*10\n";
  std::ofstream(ini, std::ios::binary) << remembered;
  for (bool use : {false, true}) {
    r = Nyluxora("calc " + plan + " --rect 0,0,6000,6000" + (use ? " --use-settings" : ""), home);
    EXPECT_NE(r.out.find(use ? "计算密度] 10*10" : "计算密度] 50*75"), std::string::npos) << r.out;
  }
  std::ifstream after(ini);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(after), {}), remembered);
}

}  // namespace

// The point report of the example office, read by programs we did not write: the workbook by an
// office program and its PDF by poppler. Both show the point headers, the luminaire rows, each
// share at P1..P3, their totals and the closing sentence; the PDF also the plan with the three
// markers drawn, and a PDF that cannot be written fails the run.
TEST(CommandLine, PointReportOpensInOfficeAndPdfReaders) {
  nytest::TempDir home, work;
  const std::string report = (work.path() / "报告.xlsx").string(), pdf = work.str() + "/r.pdf";
  // Office one, horizontal values drawn as points; three of them picked (handles of the drawn
  // points at 1000,1000, 3000,3000 and 4000,2000).
  std::string script =
      WriteFile(work, "r.txt",
                "command ZIRIRODO_DOT\nclick 214 335\npoint 0,0\n"
                "point 6000,6000\nset 214 338 6*6\nclick 214 337\n"
                "click 214 330\nclick 214 336\nfile " +
                    report + "\nclick 214 351\npick 139\npick 149\npick 14F\nescape\n");
  std::string plan = Quote(std::string(NYLUXORA_TEST_EXAMPLES_DIR) + "/office.dxf");
  RunResult r = Nyluxora("session " + Quote(script) + " --plan " + plan, home);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\n" + report), std::string::npos) << "the finished path is printed";
  std::string error;
  auto book = nyoffice::OpenXlsx(report, error);
  ASSERT_TRUE(book) << error;
  // `report` picks the same points: the same shares, written over the workbook; a malformed
  // point list is refused.
  const std::string run = "report " + plan + " --rect 0,0,6000,6000 --density 6*6 --points ";
  const std::string points = "'1000,1000;3000,3000;4000,2000' --out ";
  EXPECT_EQ(Nyluxora(run + "'1000;3000' --out " + Quote(report), home).status, 2);
  r = Nyluxora(run + points + Quote(report), home);
  ASSERT_EQ(r.status, 0) << r.out;
  auto again = nyoffice::OpenXlsx(report, error);
  ASSERT_TRUE(again) << error;
  for (std::string cell : {"M1", "O1", "M3", "N5", "O8", "B8"})
    EXPECT_EQ(again->CellText(cell), book->CellText(cell)) << cell;
  std::vector<std::string> expected = SharesAndTotals(*book);
  for (const char* e : {"P1点照度", "P3点照度", "格栅荧光灯", "总计"}) expected.push_back(e);

  const auto office = nytest::OfficeDocumentText(report, work.path());
  for (const auto& e : expected) EXPECT_TRUE(!office || office->find(e) != std::string::npos) << e;
  for (const char* e : {"P2点照度", "10050", "计算照度平均值： 491.46(lx)"})
    EXPECT_TRUE(!office || office->find(e) != std::string::npos) << e;

#ifndef NYLUXORA_TEST_RENDER
  // Built without the renderer, a PDF is refused with the reason.
  RunResult refused = Nyluxora(run + points + Quote(pdf), home);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("no PDF renderer"), std::string::npos) << refused.out;
  GTEST_SKIP() << "built without the renderer";
#endif
  for (const char* tool : {"pdftotext", "pdftoppm"})
    if (std::system(("command -v " + std::string(tool) + " > /dev/null").c_str()) != 0)
      GTEST_SKIP() << tool << " is not installed";
  r = Nyluxora(run + points + Quote(pdf), home);
  ASSERT_EQ(r.status, 0) << r.out;
  ASSERT_EQ(
      std::system(("pdftotext -layout " + Quote(pdf) + " " + Quote(work.str() + "/r.txt")).c_str()),
      0);
  const std::string text = nytest::ReadAll(work.path() / "r.txt");
  expected.push_back("比例 1:");
  expected.push_back(book->CellText("A104"));
  for (const auto& e : expected) EXPECT_NE(text.find(e), std::string::npos) << e << "\n" << text;

  // The markers' own dark red, apart from the luminaires' pure red, on the rendered page.
  ASSERT_EQ(std::system(("pdftoppm -r 60 -f 1 -l 1 -singlefile " + Quote(pdf) + " " +
                         Quote(work.str() + "/p"))
                            .c_str()),
            0);
  std::istringstream ppm(nytest::ReadAll(work.path() / "p.ppm"));
  std::string magic;
  int w = 0, h = 0, max = 0;
  ppm >> magic >> w >> h >> max;
  ppm.get();
  int marker = 0, ink = 0;
  for (int i = 0; i < w * h; ++i) {
    const int red = ppm.get(), green = ppm.get(), blue = ppm.get();
    marker += red > 170 && red < 210 && green < 30 && blue < 30;
    ink += red + green + blue < 600;
  }
  EXPECT_EQ(magic, "P6");
  EXPECT_GT(marker, 3 * 8) << "three filled rings";
  EXPECT_GT(ink, 2000) << "the plan";

  r = Nyluxora(run + points + Quote(work.str() + "/none/r.pdf"), home);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("计算书未能写入"), std::string::npos) << r.out;
  if (!office)
    GTEST_SKIP() << "soffice is not installed: the workbook was not opened by an office program";
}
