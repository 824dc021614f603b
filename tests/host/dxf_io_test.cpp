// DXF reading and writing: round trips of every entity kind, the file encodings, malformed and
// mutated input, atomic saving, and LibreCAD as an independent reader of what we write.
#include "host/dxf_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <numbers>
#include <random>
#include <set>
#include <sstream>

#include "host/text_codec.h"
#include "support/ny_xdata.h"
#include "test_support.h"

namespace {

using namespace nyhost;
namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

Entity Make(EntityData data, const std::string& layer = "0", int color = kColorByLayer) {
  Entity e;
  e.layer = layer;
  e.color = color;
  e.data = std::move(data);
  return e;
}

// A drawing that holds every entity kind, Chinese names and keyed texts.
Drawing MakeSampleDrawing() {
  Drawing d;
  d.set_arch_scale(100);
  d.set_draw_scale(0.5);
  d.EnsureLayer("墙体", 1);
  d.EnsureLayer("照明", 3).off = true;
  Layer& text_layer = d.EnsureLayer("文字", 2);
  text_layer.frozen = true;
  text_layer.linetype = "DASHED";
  d.RegisterApp(NyXData::kAppName);
  d.RegisterApp("OTHERAPP");
  d.header["$TEXTSIZE"] = "3.5";
  d.header["$CLAYER"] = "墙体";
  d.header["$EXTMIN"] = "-1.5,2.0,0.0";

  BlockDefinition sub{"子块", {0, 0, 0}, {}};
  sub.entities.push_back(Make(Circle{{0, 0, 0}, 50}, "0", kColorByBlock));
  d.SetBlock(sub);

  BlockDefinition lamp{"灯具_格栅", {10, 20, 0}, {}};
  lamp.entities.push_back(Make(Line{{-300, -600, 0}, {300, 600, 0}}, "0", kColorByBlock));
  Polyline frame;
  frame.closed = true;
  frame.vertices = {{-300, -600}, {300, -600}, {300, 600}, {-300, 600}};
  lamp.entities.push_back(Make(frame, "0", kColorByBlock));
  lamp.entities.push_back(Make(Circle{{0, 0, 0}, 100}, "照明", 4));
  Text label;
  label.position = {0, -700, 0};
  label.text = "灯";
  label.middle = true;
  lamp.entities.push_back(Make(label));
  lamp.entities.push_back(Make(PointEntity{{1, 2, 0}}));
  lamp.entities.push_back(Make(Solid{{Point3{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {10, 10, 0}}}));
  lamp.entities.push_back(Make(BlockReference{"子块", {0, 0, 0}, 0, 1, 1, 0.5, {}}));  // z alone
  Entity tagged = Make(PointEntity{{5, 5, 0}});
  NyXData::SetEntXData(tagged, "用途", "中心");
  lamp.entities.push_back(tagged);
  d.SetBlock(lamp);

  BlockReference ref{"灯具_格栅", {1000, 2000, 0}, 30, 1.5, 2, 1, {}};
  ref.attributes = {{"型号", "YG701-3", {1000, 2100, 0}, 250},
                    {"功率", "3×36W", {1000, 1900, 0}, 200}};
  Entity insert = Make(ref, "照明");
  NyXData::SetEntXData(insert, "设备高", "2.25");
  NyXData::SetEntXData(insert, "名称", "格栅荧光灯");
  NyXData::SetEntXData(insert, "公式", "a=b=c");
  XDataGroup other{"OTHERAPP", {}};
  other.items = {{1000, "x", 0, 0},    {1002, "{", 0, 0},  {1040, "", 1.5, 0},  {1070, "", 0, 7},
                 {1071, "", 0, 70000}, {1005, "1F", 0, 0}, {1010, "", 1.25, 0}, {1020, "", -2.5, 0},
                 {1030, "", 3, 0},     {1002, "}", 0, 0}};
  insert.xdata.push_back(other);
  d.Add(insert);

  Polyline wall;
  wall.closed = true;
  wall.constant_width = 240;
  wall.elevation = 5;
  wall.vertices = {{0, 0, 0.41421356237309503, 10, 20}, {6000, 0}, {6000, 6000, -1}, {0, 6000}};
  d.Add(Make(wall, "墙体"));

  Text middle;
  middle.position = {3000, 3000, 0};
  middle.height = 500;
  middle.rotation = -1.9615705608064606;  // degrees; not every such angle survives radians
  middle.text = "办公室一";
  middle.middle = true;
  d.Add(Make(middle, "文字"));

  Text outside_gbk;
  outside_gbk.position = {100, 200, 0};
  outside_gbk.text = "面积 12 m² 𠀀 ℃";
  d.Add(Make(outside_gbk, "文字", 5));

  Text blanks;
  blanks.position = {0, 0, 7};
  blanks.text = "  a\\b %%c  ";
  blanks.style = "仿宋";
  d.Add(Make(blanks));

  MText note;
  note.position = {500, 500, 0};
  note.height = 300;
  note.width = 3000;
  note.rotation = 0.5;
  note.attachment = 5;
  note.text = "说明\\P";
  for (int i = 0; i < 60; ++i) note.text += "照度计算";  // several 250-byte chunks
  d.Add(Make(note, "文字"));

  d.Add(Make(PointEntity{{1, 2, 3}}));
  d.Add(Make(Line{{0, 0, 0}, {100.125, -0.1, 2}}, "墙体"));
  d.Add(Make(Circle{{10, 10, 0}, 2.5}, "0", 5));
  d.Add(Make(Solid{{Point3{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}}));
  Hatch fill;
  fill.loops = {{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {{1, 1, 0}, {2, 1, 0}, {2, 2, 0}}};
  d.Add(Make(fill, "墙体", 8));
  Hatch pattern;
  pattern.pattern = "ANSI31";
  pattern.loops = {{{10, 10, 0}, {20, 10, 0}, {15, 18, 0}}};
  d.Add(Make(pattern));
  EntityId gone = d.Add(Make(Line{{1, 1, 0}, {2, 2, 0}}));
  d.Erase(gone);
  return d;
}

std::vector<Entity> Live(const Drawing& d) {
  std::vector<Entity> out;
  for (const auto& e : d.entities())
    if (!e.erased) out.push_back(e);
  return out;
}

// MText angles pass through degrees in the file; after checking them closely, take the expected
// value so the whole entity can be compared exactly. Text and block angles are degrees already
// and must come back exactly as typed.
void AlignAngles(Entity& got, const Entity& want) {
  if (auto* m = got.As<MText>()) {
    EXPECT_NEAR(m->rotation, want.As<MText>()->rotation, 1e-12);
    m->rotation = want.As<MText>()->rotation;
  }
}

void ExpectSameEntities(std::vector<Entity> got, const std::vector<Entity>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].data.index(), want[i].data.index()) << "entity " << i;
    AlignAngles(got[i], want[i]);
    EXPECT_TRUE(got[i] == want[i]) << "entity " << i << " (" << EntityTypeName(want[i]) << ")";
  }
}

class DxfFiles : public ::testing::Test {
 protected:
  fs::path Path(const std::string& name) const { return dir.path() / name; }
  std::unique_ptr<Drawing> RoundTrip(const Drawing& d, const std::string& name = "plan.dxf") {
    DxfResult w = WriteDxf(d, Path(name).string());
    EXPECT_TRUE(w.ok) << w.error;
    DxfResult r;
    auto back = ReadDxf(Path(name).string(), r);
    EXPECT_TRUE(r.ok) << r.error;
    return back;
  }
  nytest::TempDir dir;
};

// Every entity kind, layer, block, scale and keyed text survives a round trip, and writing
// the drawing again, or what was read back, gives the same bytes.
TEST_F(DxfFiles, RoundTripKeepsEveryEntityKindLayerBlockAndScale) {
  Drawing d = MakeSampleDrawing();
  auto back = RoundTrip(d);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->path(), Path("plan.dxf").string());
  EXPECT_EQ(back->undo_depth(), 0u);
  EXPECT_EQ(back->arch_scale(), 100);
  EXPECT_EQ(back->draw_scale(), 0.5);
  EXPECT_EQ(back->layers(), d.layers());
  EXPECT_EQ(back->apps(), d.apps());
  EXPECT_EQ(back->header, d.header);
  ASSERT_EQ(back->blocks().size(), d.blocks().size());
  for (std::size_t i = 0; i < d.blocks().size(); ++i)
    EXPECT_TRUE(back->blocks()[i] == d.blocks()[i]) << d.blocks()[i].name;
  ExpectSameEntities(Live(*back), Live(d));
  // Keyed texts with equals signs and Chinese; an absent key stays absent.
  for (auto [key, value] : {std::pair{"设备高", "2.25"},
                            {"名称", "格栅荧光灯"},
                            {"公式", "a=b=c"},
                            {"型号", nullptr}}) {
    std::string out;
    EXPECT_EQ(NyXData::GetEntXData(out, back->entities().front(), key), value != nullptr) << key;
    if (value) {
      EXPECT_EQ(out, value) << key;
    }
  }
  ASSERT_TRUE(WriteDxf(d, Path("b.dxf").string()).ok);
  ASSERT_TRUE(WriteDxf(*back, Path("c.dxf").string()).ok);
  EXPECT_EQ(ReadBytes(Path("plan.dxf")), ReadBytes(Path("b.dxf")));
  EXPECT_EQ(ReadBytes(Path("plan.dxf")), ReadBytes(Path("c.dxf")));
}

TEST_F(DxfFiles, FileIsGbkWithCodePageEscapesAndTheChineseStyle) {
  Drawing d = MakeSampleDrawing();
  ASSERT_TRUE(WriteDxf(d, Path("plan.dxf").string()).ok);
  std::string bytes = ReadBytes(Path("plan.dxf"));
  EXPECT_NE(bytes.find("$DWGCODEPAGE\n  3\nANSI_936\n"), std::string::npos);
  EXPECT_NE(bytes.find("$ACADVER\n  1\nAC1015\n"), std::string::npos);
  EXPECT_NE(bytes.find("$USERR1\n 40\n100.0\n"), std::string::npos);
  EXPECT_NE(bytes.find("$USERR2\n 40\n0.5\n"), std::string::npos);
  EXPECT_NE(bytes.find(*Utf8ToGbk("墙体")), std::string::npos);
  EXPECT_EQ(bytes.find("墙体"), std::string::npos) << "UTF-8 bytes in an R2000 file";
  // ² is outside GBK; 𠀀 lies beyond the BMP and is written as a UTF-16 surrogate pair.
  EXPECT_NE(bytes.find("12 m\\U+00B2 \\U+D840\\U+DC00 " + *Utf8ToGbk("℃")), std::string::npos);
  EXPECT_NE(bytes.find("  2\nunicode\n"), std::string::npos);
  EXPECT_NE(bytes.find("  7\nunicode\n"), std::string::npos);
  EXPECT_NE(bytes.find(" 50\n-1.9615705608064606\n"), std::string::npos) << "text angle in degrees";
  EXPECT_NE(bytes.find("gbcbig.shx"), std::string::npos);
  // Handles are the entity ids.
  char handle[32];
  std::snprintf(handle, sizeof handle, "  0\nINSERT\n  5\n%llX\n",
                static_cast<unsigned long long>(d.entities().front().id));
  EXPECT_NE(bytes.find(handle), std::string::npos);
  // Every line fits dxflib's reader, MTEXT included.
  std::istringstream lines(bytes);
  std::string line;
  while (std::getline(lines, line)) ASSERT_LE(line.size(), 250u + 8) << line.substr(0, 40);
}

TEST_F(DxfFiles, ScalesPreferTheXRecordsToTheHeader) {
  Drawing d;
  d.set_arch_scale(100);
  d.set_draw_scale(0.5);
  ASSERT_TRUE(WriteDxf(d, Path("plan.dxf").string()).ok);
  const std::string written = ReadBytes(Path("plan.dxf"));
  auto replace = [](std::string s, const std::string& from, const std::string& to) {
    std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
  };
  // Another program rewrites $USERR1; dropping our XRECORD's name leaves only the header.
  const std::string overwritten = replace(written, "$USERR1\n 40\n100.0\n", "$USERR1\n 40\n7.0\n");
  struct Case {
    const char* name;
    std::string content;
    double arch, draw;
  } cases[] = {
      {"as written", written, 100, 0.5},
      {"header overwritten", overwritten, 100, 0.5},
      {"no XRECORD", replace(written, "ArchScale", "Unrelated"), 100, 0.5},
      {"header overwritten, no XRECORD", replace(overwritten, "ArchScale", "Unrelated"), 7, 0.5},
  };
  for (const auto& c : cases) {
    WriteBytes(Path("scales.dxf"), c.content);
    DxfResult r;
    auto back = ReadDxf(Path("scales.dxf").string(), r);
    ASSERT_TRUE(back) << c.name << ": " << r.error;
    EXPECT_EQ(back->arch_scale(), c.arch) << c.name;
    EXPECT_EQ(back->draw_scale(), c.draw) << c.name;
  }
}

// A minimal file around one TEXT on one layer, for the encoding cases.
std::string TextFile(const std::string& acadver, const std::string& codepage,
                     const std::string& layer, const std::string& text) {
  std::string s = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\n" + acadver + "\n";
  if (!codepage.empty()) s += "  9\n$DWGCODEPAGE\n  3\n" + codepage + "\n";
  s += "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n1\n";
  s += "  0\nLAYER\n  2\n" + layer + "\n 70\n0\n 62\n3\n  6\nCONTINUOUS\n  0\nENDTAB\n";
  s += "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
  s += "  0\nTEXT\n  5\n1A0\n  8\n" + layer + "\n 10\n1.0\n 20\n2.0\n 40\n2.5\n  1\n" + text + "\n";
  s += "  0\nENDSEC\n  0\nEOF\n";
  return s;
}

TEST_F(DxfFiles, TextEncodingFollowsVersionAndCodePage) {
  struct Case {
    const char* name;
    std::string acadver, codepage, raw, expected;
  } cases[] = {
      {"GBK with ANSI_936", "AC1015", "ANSI_936", *Utf8ToGbk("照明灯具"), "照明灯具"},
      {"GBK without code page", "AC1015", "", *Utf8ToGbk("照明灯具"), "照明灯具"},
      {"UTF-8 without code page", "AC1015", "", "照明灯具", "照明灯具"},
      {"UTF-8 in an AC1021 file", "AC1021", "ANSI_936", "照明 m² 𠀀", "照明 m² 𠀀"},
      {"UTF-8 in an AC1027 file", "AC1027", "", "灯", "灯"},
      {"Western code page", "AC1015", "ANSI_1252", "Caf\xE9", "Café"},
      {"unicode escapes", "AC1015", "ANSI_936", "\\U+7167\\U+660E", "照明"},
      {"surrogate pair escape", "AC1015", "ANSI_936", "\\U+D840\\U+DC00", "𠀀"},
      {"double-byte escape", "AC1015", "ANSI_936", "\\M+1B5C6", "灯"},
  };
  for (const auto& c : cases) {
    std::string path = Path("enc.dxf").string();
    WriteBytes(path, TextFile(c.acadver, c.codepage, c.raw, c.raw));
    DxfResult r;
    auto d = ReadDxf(path, r);
    ASSERT_TRUE(d) << c.name << ": " << r.error;
    ASSERT_EQ(d->entities().size(), 1u) << c.name;
    EXPECT_EQ(d->entities()[0].As<Text>()->text, c.expected) << c.name;
    EXPECT_EQ(d->entities()[0].layer, c.expected) << c.name;
    EXPECT_NE(d->FindLayer(c.expected), nullptr) << c.name;
    EXPECT_EQ(d->entities()[0].id, 0x1A0u) << c.name;
    // Absent scales take their defaults.
    EXPECT_EQ(d->arch_scale(), 1) << c.name;
    EXPECT_EQ(d->draw_scale(), 100) << c.name;
  }
}

TEST_F(DxfFiles, HandWrittenEntitiesMapOntoTheDatabase) {
  std::string gbk_block = *Utf8ToGbk("灯");
  std::string s =
      "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$USERR1\n40\n1000\n9\n$USERR2\n40\n0\n"
      "0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\n" +
      gbk_block +
      "\n70\n0\n10\n0\n20\n0\n30\n0\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n8\n0\n"
      "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
      // An arc becomes a bulged polyline: a quarter circle has bulge tan(22.5 degrees).
      "0\nARC\n5\n101\n8\n0\n10\n0\n20\n0\n40\n2\n50\n0\n51\n90\n"
      // Old-style polyline with vertex widths.
      "0\nPOLYLINE\n5\n102\n8\n0\n66\n1\n10\n0\n20\n0\n30\n0\n70\n1\n"
      "0\nVERTEX\n8\n0\n10\n1\n20\n1\n40\n3\n41\n4\n42\n0.5\n0\nVERTEX\n8\n0\n10\n2\n20\n1\n"
      "0\nSEQEND\n8\n0\n"
      // Horizontal justification 4 (middle) also counts as middle-centre.
      "0\nTEXT\n5\n103\n8\n0\n10\n1\n20\n1\n40\n2\n1\nmid\n50\n30\n72\n4\n11\n3\n21\n4\n"
      // MTEXT: chunks before the final group 1; direction vector along +y.
      "0\nMTEXT\n5\n104\n8\n0\n10\n1\n20\n1\n40\n2\n3\nAA\n3\nBB\n1\nCC\n11\n0\n21\n1\n"
      // A SOLID given three corners repeats the third.
      "0\nSOLID\n5\n105\n8\n0\n10\n0\n20\n0\n11\n1\n21\n0\n12\n0\n22\n1\n"
      // Hatch: a polyline loop with a bulge, a line-edge loop and a seed point.
      "0\nHATCH\n5\n106\n8\n0\n10\n0\n20\n0\n30\n0\n2\nSOLID\n70\n1\n71\n0\n91\n2\n"
      "92\n2\n72\n1\n73\n1\n93\n2\n10\n0\n20\n0\n42\n1\n10\n4\n20\n0\n42\n0\n97\n0\n"
      "92\n1\n93\n3\n72\n1\n10\n1\n20\n1\n11\n2\n21\n1\n72\n1\n10\n2\n20\n1\n11\n2\n21\n2\n"
      "72\n1\n10\n2\n20\n2\n11\n1\n21\n1\n97\n0\n75\n0\n76\n1\n98\n1\n10\n9\n20\n9\n"
      // Paper space is not modeled: kept as read.
      "0\nLINE\n5\n107\n8\n0\n67\n1\n10\n0\n20\n0\n11\n1\n21\n1\n"
      "0\nENDSEC\n0\nEOF\n";
  WriteBytes(Path("hand.dxf"), s);
  DxfResult r;
  auto d = ReadDxf(Path("hand.dxf").string(), r);
  ASSERT_TRUE(d) << r.error;
  EXPECT_EQ(d->arch_scale(), 1000);
  EXPECT_EQ(d->draw_scale(), 100) << "an unset scale (0) takes the default";
  ASSERT_NE(d->FindBlock("灯"), nullptr);
  EXPECT_EQ(d->FindBlock("灯")->entities.size(), 1u);
  ASSERT_EQ(d->entities().size(), 7u);

  const auto& arc = *d->Find(0x101)->As<Polyline>();
  ASSERT_EQ(arc.vertices.size(), 2u);
  EXPECT_NEAR(arc.vertices[0].x, 2, 1e-12);
  EXPECT_NEAR(arc.vertices[1].y, 2, 1e-12);
  EXPECT_NEAR(arc.vertices[0].bulge, std::tan(std::numbers::pi / 8), 1e-12);
  EXPECT_FALSE(arc.closed);

  const auto& old = *d->Find(0x102)->As<Polyline>();
  EXPECT_TRUE(old.closed);
  ASSERT_EQ(old.vertices.size(), 2u);
  EXPECT_EQ(old.vertices[0], (PolylineVertex{1, 1, 0.5, 3, 4}));

  const auto& mid = *d->Find(0x103)->As<Text>();
  EXPECT_TRUE(mid.middle);
  EXPECT_EQ(mid.position, (Point3{3, 4, 0}));
  EXPECT_EQ(mid.rotation, 30) << "degrees, as the file holds them";

  const auto& mt = *d->Find(0x104)->As<MText>();
  EXPECT_EQ(mt.text, "AABBCC");
  EXPECT_NEAR(mt.rotation, std::numbers::pi / 2, 1e-12);

  const auto& solid = *d->Find(0x105)->As<Solid>();
  EXPECT_EQ(solid.corners[3], solid.corners[2]);

  const auto& hatch = *d->Find(0x106)->As<Hatch>();
  ASSERT_EQ(hatch.loops.size(), 2u) << "the seed point is no loop";
  EXPECT_GT(hatch.loops[0].size(), 3u) << "the half-circle edge is subdivided";
  for (const auto& p : hatch.loops[0]) EXPECT_LE(p.y, 1e-9) << "bulge 1 from (0,0) to (4,0)";
  EXPECT_EQ(hatch.loops[1], (std::vector<Point3>{{1, 1, 0}, {2, 1, 0}, {2, 2, 0}}));
  ASSERT_TRUE(d->Find(0x107)->As<OpaqueEntity>());
  EXPECT_EQ(d->Find(0x107)->As<OpaqueEntity>()->groups.front(), (DxfGroup{8, "0"}));
}

// A small valid file for the malformed cases (line numbers below refer to it).
const char* const kSmallFile =
    "0\nSECTION\n2\nENTITIES\n"             // lines 1-4
    "0\nLINE\n8\n0\n10\n1\n20\n2\n11\n3\n"  // lines 5-14
    "21\n4\n0\nENDSEC\n0\nEOF\n";           // lines 15-20

TEST_F(DxfFiles, MalformedInputIsRefusedWithFileAndLine) {
  std::string small = kSmallFile;
  auto replace_line = [&](int line, const std::string& text) {
    std::istringstream in(small);
    std::string out, l;
    for (int n = 1; std::getline(in, l); ++n) out += (n == line ? text : l) + "\n";
    return out;
  };
  std::string binary = "AutoCAD Binary DXF\r\n\x1a";
  binary += std::string("\0\x05\x00SECTION", 11);
  std::string garbage;
  std::mt19937 rng(7);
  for (int i = 0; i < 600; ++i) garbage += static_cast<char>(rng() % 256);
  std::string lw =
      "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n0\n90\n3\n10\n0\n20\n0\n10\n1\n20\n0\n"
      "0\nENDSEC\n0\nEOF\n";
  std::string bulge =
      "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n0\n90\n1\n42\n1\n10\n0\n20\n0\n"
      "0\nENDSEC\n0\nEOF\n";
  std::string attrib =
      "0\nSECTION\n2\nENTITIES\n0\nINSERT\n8\n0\n66\n1\n2\nB\n10\n0\n20\n0\n"
      "0\nATTRIB\n8\n0\n10\n0\n20\n0\n2\nT\n1\nv\n0\nLINE\n8\n0\n10\n0\n20\n0\n"
      "11\n1\n21\n1\n0\nENDSEC\n0\nEOF\n";
  std::string hatch =
      "0\nSECTION\n2\nENTITIES\n0\nHATCH\n8\n0\n2\nSOLID\n70\n1\n91\n2\n92\n2\n72\n0\n"
      "73\n1\n93\n1\n10\n0\n20\n0\n97\n0\n0\nENDSEC\n0\nEOF\n";
  std::string spline =
      "0\nSECTION\n2\nENTITIES\n0\nSPLINE\n8\n0\n73\n2000000000\n0\nENDSEC\n0\nEOF\n";
  // Block `a` holds an insert of `b`, which holds one of `c`.
  auto blocks = [](std::string a, std::string b, std::string c) {
    auto block = [](const std::string& name, const std::string& inner) {
      return "0\nBLOCK\n8\n0\n2\n" + name + "\n70\n0\n10\n0\n20\n0\n0\nINSERT\n8\n0\n2\n" + inner +
             "\n10\n1\n20\n1\n0\nENDBLK\n8\n0\n";
    };
    return "0\nSECTION\n2\nBLOCKS\n" + block(a, b) + (b == a ? "" : block(b, c)) +
           "0\nENDSEC\n0\nEOF\n";
  };
  // Our own drawing-scale XRECORD set beyond the range.
  Drawing scaled;
  scaled.set_draw_scale(0.5);
  ASSERT_TRUE(WriteDxf(scaled, Path("scaled.dxf").string()).ok);
  std::string xrecord = ReadBytes(Path("scaled.dxf"));
  std::size_t at = xrecord.rfind("\n0.5\n") + 1;
  xrecord.replace(at, 3, "1e7");
  int xrecord_line = 1 + static_cast<int>(std::count(xrecord.begin(), xrecord.begin() + at, '\n'));
  struct Case {
    const char* name;
    std::string content;
    const char* message;
    int line;  // 0: the message names no line
  } cases[] = {
      {"empty file", "", "empty file", 0},
      {"only blanks", "\n  \r\n\n", "empty file", 0},
      {"truncated", small.substr(0, 60), "truncated: no EOF", 0},
      {"code without value", small.substr(0, small.size() - 4), "truncated: no EOF", 0},
      {"wrong group code", replace_line(9, "abc"), "expected a group code, found 'abc'", 9},
      {"code out of range", replace_line(9, "5000"), "group code 5000 is out of range", 9},
      {"value on a code line", replace_line(7, "LAYER"), "expected a group code", 7},
      {"text where a number is needed", replace_line(10, "1.0x"), "group code 10 needs a number",
       10},
      {"not a number", replace_line(12, "nan"), "group code 20 needs a finite number", 12},
      {"subnormal number", replace_line(12, "1e-320"), "group code 20 needs a finite number", 12},
      {"coordinate out of range", replace_line(10, "-1e300"), "beyond the largest coordinate", 10},
      {"header scale out of range",
       "0\nSECTION\n2\nHEADER\n9\n$USERR1\n40\n1.797e308\n0\nENDSEC\n" + small,
       "architectural scale ($USERR1) 1.797e+308 is out of range", 8},
      {"our scale out of range", xrecord, "drawing scale (XRECORD DrawScale) 1e+07 is out of range",
       xrecord_line},
      {"block inside itself", blocks("A", "A", "A"), "block 'A' contains itself (A -> A)", 0},
      {"blocks inside each other", blocks("A", "B", "A"), "block 'A' contains itself (A -> B -> A)",
       0},
      {"bad handle", "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\nXYZ\n" + small.substr(28),
       "group code 5 needs a handle", 8},
      {"missing required group", replace_line(13, "31"), "LINE is missing group code 11", 5},
      {"binary DXF", binary, "binary DXF is not supported", 0},
      {"binary garbage", garbage, "", 0},
      {"line too long", replace_line(8, std::string(1500, 'x')), "longer than 1022 bytes", 8},
      {"missing ENDSEC", small.substr(0, 53) + "0\nSECTION\n2\nBLOCKS\n0\nENDSEC\n0\nEOF\n",
       "SECTION inside section ENTITIES", 17},
      {"unknown section", replace_line(4, "ENTITYS"), "unknown section 'ENTITYS'", 3},
      {"vertex count mismatch", lw, "LWPOLYLINE declares 3 vertices but holds 2", 5},
      {"bulge before the first vertex", bulge, "bulge (group code 42) before its first vertex", 5},
      {"attributes without SEQEND", attrib, "expected ATTRIB or SEQEND after INSERT", 29},
      {"loop count mismatch", hatch, "HATCH declares 2 boundary loops but holds 1", 5},
      {"oversized point count", spline, "SPLINE declares more points than it holds", 5},
      {"stray SEQEND", replace_line(6, "SEQEND"), "SEQEND outside of an INSERT or POLYLINE", 5},
  };
  for (const auto& c : cases) {
    fs::path p = Path(std::string("bad-") + std::to_string(&c - cases) + ".dxf");
    WriteBytes(p, c.content);
    DxfResult r;
    auto d = ReadDxf(p.string(), r);
    EXPECT_FALSE(d) << c.name;
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_NE(r.error.find(p.filename().string()), std::string::npos) << c.name << ": " << r.error;
    EXPECT_NE(r.error.find(c.message), std::string::npos) << c.name << ": " << r.error;
    if (c.line > 0) {
      EXPECT_NE(r.error.find(p.string() + ":" + std::to_string(c.line) + ": "), std::string::npos)
          << c.name << ": " << r.error;
    }
  }
}

TEST_F(DxfFiles, UnreadablePathsAreReported) {
  struct Case {
    std::string path;
    const char* message;
  } cases[] = {
      {Path("missing.dxf").string(), "No such file"},
      {dir.str(), "is a folder"},
  };
  for (const auto& c : cases) {
    DxfResult r;
    EXPECT_FALSE(ReadDxf(c.path, r)) << c.path;
    EXPECT_NE(r.error.find(c.path + ": cannot open"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error;
  }
}

TEST_F(DxfFiles, HarmlessVariantsOfAValidFileLoad) {
  std::string small = kSmallFile;
  std::string crlf;
  for (char c : small) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  struct Case {
    const char* name;
    std::string content;
  } cases[] = {
      {"plain", small},
      {"CRLF line ends", crlf},
      {"byte order mark", "\xEF\xBB\xBF" + small},
      {"padded group codes",
       "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n1\n 20\n2\n 11\n3\n"
       " 21\n4\n  0\nENDSEC\n  0\nEOF\n"},
      // dxflib throws on this comment by itself; it must not reach it.
      {"dxflib comment", "999\ndxflib\n" + small},
      {"text after EOF", small + "anything\n"},
      {"decimal comma",
       "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n1,0\n20\n2\n11\n3\n21\n4\n"
       "0\nENDSEC\n0\nEOF\n"},
  };
  for (const auto& c : cases) {
    WriteBytes(Path("ok.dxf"), c.content);
    DxfResult r;
    auto d = ReadDxf(Path("ok.dxf").string(), r);
    ASSERT_TRUE(d) << c.name << ": " << r.error;
    ASSERT_EQ(d->entities().size(), 1u) << c.name;
    EXPECT_EQ(*d->entities()[0].As<Line>(), (Line{{1, 2, 0}, {3, 4, 0}})) << c.name;
  }
}

// Entities the host does not model: another type, paper space, a 3-D polyline, an owned
// sequence, one inside a block, one of another layout, a type name with a trailing blank.
const char* const kForeignFile =
    "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n"
    "0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n0\n20\n0\n0\nXLINE\n5\n2A\n330\n1F\n100\n"
    "AcDbEntity\n8\n0\n100\nAcDbXline\n10\n0\n20\n0\n30\n0\n11\n0.6\n21\n0."
    "8\n31\n0\n0\nENDBLK\n8\n0\n"
    "0\nBLOCK\n8\n0\n2\n*Paper_Space0\n70\n0\n10\n0\n20\n0\n0\nCIRCLE\n5\n2C\n100\nAcDbEntity\n"
    "8\n0\n100\nAcDbCircle\n10\n5\n20\n6\n30\n0\n40\n2\n0\nENDBLK\n8\n0\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nELLIPSE\n5\n101\n330\n1F\n102\n{ACAD_REACTORS\n330\n2B\n102\n}\n100\nAcDbEntity\n"
    "8\n墙体\n62\n3\n100\nAcDbEllipse\n10\n100\n20\n200\n30\n0\n11\n50\n21\n0\n31\n0\n"
    "210\n0\n220\n0\n230\n1\n40\n0.5\n41\n0\n42\n6.283185307179586\n1001\nOTHER\n1000\n保留\n"
    "0\nXLINE\n5\n102\n100\nAcDbEntity\n8\n0\n100\nAcDbXline\n10\n1\n20\n2\n30\n0\n"
    "11\n1\n21\n0\n31\n0\n"
    "0\n3DFACE\n5\n103\n100\nAcDbEntity\n8\n0\n100\nAcDbFace\n10\n0\n20\n0\n30\n0\n"
    "11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n1\n13\n0\n23\n1\n33\n1\n70\n0\n"
    "0\nLINE \n5\n104\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n"
    "0\nINSERT\n5\n105\n8\n0\n67\n1\n66\n1\n2\nB\n10\n0\n20\n0\n30\n0\n"
    "0\nATTRIB\n5\n106\n330\n105\n8\n0\n67\n1\n10\n0\n20\n0\n30\n0\n40\n2.5\n1\n值\n2\nTAG\n70\n0\n"
    "0\nSEQEND\n5\n107\n8\n0\n"
    "0\nPOLYLINE\n5\n108\n8\n0\n66\n1\n10\n0\n20\n0\n30\n0\n70\n8\n"
    "0\nVERTEX\n5\n109\n8\n0\n10\n1\n20\n2\n30\n3\n70\n32\n"
    "0\nVERTEX\n5\n10A\n8\n0\n10\n4\n20\n5\n30\n6\n70\n32\n0\nSEQEND\n5\n10B\n8\n0\n"
    "0\nLINE\n5\n10C\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n"
    "0\nENDSEC\n0\nEOF\n";

// Open and save keep them: our reader finds the same records, and so does one we did not write.
TEST_F(DxfFiles, EntitiesTheHostDoesNotModelSurviveOpenAndSave) {
  WriteBytes(Path("foreign.dxf"), kForeignFile);
  DxfResult r;
  auto d = ReadDxf(Path("foreign.dxf").string(), r);
  ASSERT_TRUE(d) << r.error;
  std::vector<std::string> types;
  for (const Entity& e : Live(*d)) types.push_back(EntityTypeName(e));
  EXPECT_EQ(types, (std::vector<std::string>{"ELLIPSE", "XLINE", "3DFACE", "LINE ", "INSERT",
                                             "POLYLINE", "LINE"}));
  const Entity& ellipse = *d->Find(0x101);
  EXPECT_EQ(ellipse.layer, "墙体");
  EXPECT_EQ(ellipse.color, 3);
  ASSERT_EQ(ellipse.xdata.size(), 1u);
  EXPECT_EQ(ellipse.xdata[0].items[0].text, "保留");
  EXPECT_EQ(ellipse.As<OpaqueEntity>()->groups.front(), (DxfGroup{100, "AcDbEntity"}))
      << "handle, owner and reactors are the writer's to give";
  ASSERT_TRUE(d->Find(0x105)->As<OpaqueEntity>()) << "a paper-space INSERT";
  EXPECT_EQ(d->FindBlock("B")->entities.at(0).As<OpaqueEntity>()->type, "XLINE");
  EXPECT_EQ(EntityTypeName(d->FindBlock("*Paper_Space0")->entities.at(0)), std::string("CIRCLE"));

  auto back = RoundTrip(*d, "saved.dxf");
  ASSERT_TRUE(back);
  ExpectSameEntities(Live(*back), Live(*d));
  EXPECT_EQ(back->blocks().size(), d->blocks().size());
  for (const auto& b : d->blocks())  // layouts are written first
    EXPECT_TRUE(back->FindBlock(b.name) && *back->FindBlock(b.name) == b) << b.name;
  ASSERT_TRUE(WriteDxf(*back, Path("again.dxf").string()).ok);
  EXPECT_EQ(ReadBytes(Path("again.dxf")), ReadBytes(Path("saved.dxf")));

  if (std::system("/usr/bin/python3 -c 'import ezdxf' > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-ezdxf is not installed";
  WriteBytes(
      Path("check.py"),
      "import sys, ezdxf\n"
      "doc = ezdxf.readfile(sys.argv[1])\n"
      "def p(v): return ' '.join('%g' % c for c in v)\n"
      "for e in doc.modelspace():\n"
      "  t, x = e.dxftype(), e.dxf\n"
      "  if t == 'ELLIPSE': print(t, x.layer, p(x.center), p(x.major_axis), x.ratio)\n"
      "  elif t == 'XLINE': print(t, p(x.start), p(x.unit_vector))\n"
      "  elif t == '3DFACE': print(t, *(p(x.get('vtx%d' % i)) for i in range(4)))\n"
      "  elif t == 'POLYLINE': print(t, *(p(v.dxf.location) for v in e.vertices))\n"
      "for e in doc.layout('Layout1'): print(e.dxftype(), *(a.dxf.text for a in e.attribs))\n"
      "for e in doc.blocks.get('B'): print('B', e.dxftype(), p(e.dxf.unit_vector))\n"
      "for e in doc.blocks.get('*Paper_Space0'): print(e.dxftype(), p(e.dxf.center))\n");
  std::string cmd = "/usr/bin/python3 '" + Path("check.py").string() + "' '" +
                    Path("saved.dxf").string() + "' > '" + Path("ezdxf.txt").string() + "' 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << ReadBytes(Path("ezdxf.txt"));
  EXPECT_EQ(ReadBytes(Path("ezdxf.txt")),
            "ELLIPSE 墙体 100 200 0 50 0 0 0.5\n"
            "XLINE 1 2 0 1 0 0\n"
            "3DFACE 0 0 0 1 0 0 1 1 1 0 1 1\n"
            "POLYLINE 1 2 3 4 5 6\n"
            "INSERT 值\n"
            "B XLINE 0.6 0.8 0\n"
            "CIRCLE 5 6 0\n");
}

TEST_F(DxfFiles, FailedWritesLeaveTheOldFileAndNoTemporaryFiles) {
  Drawing good = MakeSampleDrawing();
  const fs::path target = Path("plan.dxf");
  ASSERT_TRUE(WriteDxf(good, target.string()).ok);
  const std::string before = ReadBytes(target);
  // Temporary files of an interrupted save: ours of a process that is gone go at the next save
  // of that file; a live process's and another file's stay.
  pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string stale = ".plan.dxf.tmp" + std::to_string(gone) + "_0";
  const std::string live = ".plan.dxf.tmp" + std::to_string(getppid()) + "_3";
  const std::string other = ".other.dxf.tmp" + std::to_string(gone) + "_0";
  for (const auto& name : {stale, live, other}) WriteBytes(Path(name), std::string(4096, 'x'));
  Drawing linked = MakeSampleDrawing();
  linked.Add(Make(OpaqueEntity{"IMAGE", {{8, "0"}, {340, "2F"}}}));

  Drawing not_finite = MakeSampleDrawing();
  not_finite.Add(Make(Line{{0, std::numeric_limits<double>::quiet_NaN(), 0}, {1, 1, 0}}));
  Drawing too_long = MakeSampleDrawing();
  Text long_text;
  long_text.text = std::string(600 * 3, 'x');
  too_long.Add(Make(long_text));
  Drawing long_mtext = MakeSampleDrawing();
  MText m;
  for (int i = 0; i < 600; ++i) m.text += "灯";
  long_mtext.Add(Make(m));

  struct Case {
    const char* name;
    const Drawing* drawing;
    std::string path;
    bool ok;
    const char* message;
  } cases[] = {
      {"not a finite number", &not_finite, target.string(), false, "not a finite number"},
      {"text longer than a line", &too_long, target.string(), false, "too long"},
      {"missing folder", &good, Path("no/such/plan.dxf").string(), false, "No such file"},
      {"folder as target", &good, dir.str(), false, "is a folder"},
      {"links to objects not kept", &linked, target.string(), false,
       "would lose the links to objects this program does not keep, of 1 IMAGE"},
      {"long MTEXT is split, not refused", &long_mtext, Path("mtext.dxf").string(), true, ""},
  };
  for (const auto& c : cases) {
    DxfResult r = WriteDxf(*c.drawing, c.path);
    EXPECT_EQ(r.ok, c.ok) << c.name << ": " << r.error;
    EXPECT_NE(r.error.find(c.message), std::string::npos) << c.name << ": " << r.error;
    if (!c.ok) {
      EXPECT_NE(r.error.find(c.path), std::string::npos) << c.name << ": " << r.error;
    }
  }
  EXPECT_EQ(ReadBytes(target), before);
  ASSERT_TRUE(WriteDxf(good, target.string()).ok);
  EXPECT_FALSE(fs::exists(Path(stale)));
  fs::remove(Path(live));
  fs::remove(Path(other));
  for (const auto& e : fs::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().extension(), ".dxf") << "left behind: " << e.path();
  DxfResult r;
  auto back = ReadDxf(Path("mtext.dxf").string(), r);
  ASSERT_TRUE(back) << r.error;
  EXPECT_EQ(back->entities().back().As<MText>()->text, m.text);
}

TEST_F(DxfFiles, ReadOnlyFolderIsReportedAndTheOldFileKept) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const fs::path target = Path("plan.dxf");
  ASSERT_TRUE(WriteDxf(MakeSampleDrawing(), target.string()).ok);
  const std::string before = ReadBytes(target);
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  Drawing other;
  DxfResult r = WriteDxf(other, target.string());
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("Permission denied"), std::string::npos) << r.error;
  EXPECT_EQ(ReadBytes(target), before);
}

// LibreCAD reads what we write: its dxf2pdf must render the sample to a non-trivial PDF.
TEST_F(DxfFiles, LibreCadRendersTheWrittenFile) {
  if (std::system("command -v librecad > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "librecad is not installed";
  ASSERT_TRUE(WriteDxf(MakeSampleDrawing(), Path("plan.dxf").string()).ok);
  fs::create_directories(Path("pdf"));
  std::string cmd = "cd '" + dir.str() +
                    "' && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp timeout 120 "
                    "librecad dxf2pdf -a -t pdf plan.dxf > librecad.log 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << ReadBytes(Path("librecad.log"));
  fs::path pdf = Path("pdf") / "plan.pdf";
  ASSERT_TRUE(fs::exists(pdf)) << ReadBytes(Path("librecad.log"));
  EXPECT_GT(fs::file_size(pdf), 1024u);
  // LibreCAD draws texts as strokes, so look at the page itself: it must carry ink.
  if (std::system("command -v pdftoppm > /dev/null 2>&1") != 0) return;
  std::string raster =
      "pdftoppm -r 40 -gray -singlefile '" + pdf.string() + "' '" + Path("page").string() + "'";
  ASSERT_EQ(std::system(raster.c_str()), 0);
  std::ifstream pgm(Path("page.pgm"), std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  pgm >> magic >> width >> height >> maxval;
  pgm.get();
  ASSERT_EQ(magic, "P5");
  std::string pixels(static_cast<std::size_t>(width) * height, '\0');
  pgm.read(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  auto dark = std::count_if(pixels.begin(), pixels.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 160; });
  EXPECT_GT(dark, 300) << "a blank page";
}

// The committed example plan holds what examples/README.md describes.
TEST(ExamplePlan, HoldsTheDocumentedRoomsAndLuminaires) {
  DxfResult r;
  auto d = ReadDxf(std::string(NYLUXORA_TEST_EXAMPLES_DIR) + "/office.dxf", r);
  ASSERT_TRUE(d) << r.error;
  EXPECT_EQ(d->arch_scale(), 1);
  EXPECT_EQ(d->draw_scale(), 100);

  // Room walls: closed, 200 wide, centre line 100 outside the interior rectangle.
  std::vector<std::array<double, 4>> rooms;
  for (const Entity& e : Live(*d)) {
    const auto* pl = e.As<Polyline>();
    if (!pl || e.layer != "墙体") continue;
    EXPECT_TRUE(pl->closed);
    EXPECT_EQ(pl->constant_width, 200);
    ASSERT_EQ(pl->vertices.size(), 4u);
    rooms.push_back({pl->vertices[0].x + 100, pl->vertices[0].y + 100, pl->vertices[2].x - 100,
                     pl->vertices[2].y - 100});
  }
  using Room = std::array<double, 4>;
  ASSERT_EQ(rooms, (std::vector<Room>{{0, 0, 6000, 6000},
                                      {6200, 0, 12200, 6000},
                                      {12400, 0, 18000, 6000},
                                      {0, 6200, 18000, 9000}}));

  struct Kind {
    std::string block, name, model, height;
    int count = 0, tilted = 0;
    Room room;
  };
  std::vector<Kind> kinds = {{"ZM1A格栅灯", "格栅荧光灯", "YG701-3", "2.25", 6, 2, rooms[0]},
                             {"ZM3B平板灯", "LED平板灯", "LED-P600", "2.25", 4, 0, rooms[1]},
                             {"ZM2筒灯", "筒灯", "TD-150", "2.25", 4, 0, rooms[2]},
                             {"ZM2筒灯", "壁灯", "BD-01", "1.45", 1, 0, rooms[2]}};
  std::map<std::string, int> devices;
  int luminaires = 0;
  for (const Entity& e : Live(*d)) {
    const auto* ref = e.As<BlockReference>();
    if (!ref) continue;
    ASSERT_NE(d->FindBlock(ref->block), nullptr) << ref->block;
    if (e.layer == "电气") ++devices[ref->block];
    if (e.layer != "照明") continue;
    ++luminaires;
    std::string name, model, height, tilt;
    NyXData::GetEntXData(name, e, "名称");
    NyXData::GetEntXData(model, e, "型号");
    NyXData::GetEntXData(height, e, "设备高");
    bool tilted = NyXData::GetEntXData(tilt, e, "X轴旋转");
    auto it = std::find_if(kinds.begin(), kinds.end(), [&](const Kind& k) {
      return k.block == ref->block && k.name == name && k.model == model && k.height == height;
    });
    ASSERT_NE(it, kinds.end()) << ref->block << " " << name << " " << model << " " << height;
    const Point3& p = ref->position;
    EXPECT_TRUE(p.x > it->room[0] && p.x < it->room[2] && p.y > it->room[1] && p.y < it->room[3])
        << name << " at " << p.x << "," << p.y;
    --it->count;
    if (tilted) {
      EXPECT_EQ(tilt, "15");
      --it->tilted;
    }
  }
  EXPECT_EQ(luminaires, 15);
  for (const Kind& k : kinds) {
    EXPECT_EQ(k.count, 0) << k.name;
    EXPECT_EQ(k.tilted, 0) << k.name;
  }
  EXPECT_EQ(devices, (std::map<std::string, int>{{"KG1开关", 3}, {"CZ1插座", 6}}));

  std::set<std::string> names;
  for (const Entity& e : Live(*d))
    if (const auto* t = e.As<Text>(); t && e.layer == "文字") names.insert(t->text);
  EXPECT_EQ(names, (std::set<std::string>{"办公室一", "办公室二", "会议室", "走廊"}));
}

}  // namespace
