#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <filesystem>
#include <fstream>
#include <thread>

#include "host/text_codec.h"
#include "support/ny_common.h"
#include "support/ny_ini_file.h"
#include "support/ny_str.h"
#include "support/ny_xdata.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

using nytest::ReadAll;

TEST(IniFile, TypedKeysRoundTripAndSectionsKeepFileOrder) {
  nytest::TempDir dir;
  std::string f = (dir.path() / "NYLuxora.ini").string();
  EXPECT_EQ(NyIniFile::ReadKey("CNYDrawIsolineDlg", "m_sCalCount", "80", f), "80")
      << "missing file gives the default";
  ASSERT_TRUE(NyIniFile::WriteKey("照度标准—岚序软件", "父", "办公建筑", f));
  ASSERT_TRUE(NyIniFile::WriteKey("照度标准—岚序软件", "m_dStandLPD", 9.16, f));
  ASSERT_TRUE(NyIniFile::WriteKey("CZirIrodoDlg", "灯具数", 12, f));
  ASSERT_TRUE(NyIniFile::WriteKey("Alpha", "x", std::string("a=b; c"), f));
  EXPECT_EQ(NyIniFile::ReadKey("照度标准—岚序软件", "父", "", f), "办公建筑");
  EXPECT_DOUBLE_EQ(NyIniFile::ReadKey("照度标准—岚序软件", "m_dStandLPD", 0.0, f), 9.16);
  EXPECT_EQ(NyIniFile::ReadKey("CZirIrodoDlg", "灯具数", 0, f), 12);
  EXPECT_EQ(NyIniFile::ReadKey("Alpha", "x", "", f), "a=b; c");
  EXPECT_EQ(NyIniFile::ReadKey("CZirIrodoDlg", "灯具", -1, f), -1);

  std::vector<std::string> sections;
  ASSERT_TRUE(NyIniFile::GetAllSeg(sections, f));
  EXPECT_EQ(sections, (std::vector<std::string>{"照度标准—岚序软件", "CZirIrodoDlg", "Alpha"}));
  ASSERT_TRUE(NyIniFile::DeleteSeg("CZirIrodoDlg", f));
  NyIniFile::GetAllSeg(sections, f);
  EXPECT_EQ(sections.size(), 2u);
  std::string text = ReadAll(f);
  EXPECT_TRUE(nyhost::IsValidUtf8(text));
  EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF") << "written without a byte-order mark";
}

TEST(IniFile, LegacyGbkFilesReadAndKeysDifferingOnlyInGbkTrailBytesStayApart) {
  nytest::TempDir dir;
  fs::path f = dir.path() / "old.ini";
  // 丄 (81 41) and 乤 (81 61) differ only by an ASCII-case-like trail byte.
  std::string utf8 = "[方案一]\n丄=1\n乤=2\n房间长=12.5\n";
  std::ofstream(f, std::ios::binary) << *nyhost::Utf8ToGbk(utf8);
  EXPECT_EQ(NyIniFile::ReadKey("方案一", "丄", 0, f.string()), 1);
  EXPECT_EQ(NyIniFile::ReadKey("方案一", "乤", 0, f.string()), 2);
  EXPECT_DOUBLE_EQ(NyIniFile::ReadKey("方案一", "房间长", 0.0, f.string()), 12.5);
  // Writing converts the whole file to UTF-8 and keeps the old keys.
  ASSERT_TRUE(NyIniFile::WriteKey("方案一", "房间宽", 6, f.string()));
  EXPECT_TRUE(nyhost::IsValidUtf8(ReadAll(f)));
  EXPECT_EQ(NyIniFile::ReadKey("方案一", "乤", 0, f.string()), 2);
}

TEST(IniFile, AFailedWriteLeavesTheOldFileWhole) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  nytest::TempDir dir;
  fs::path f = dir.path() / "s.ini";
  ASSERT_TRUE(NyIniFile::WriteKey("A", "k", "old", f.string()));
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(NyIniFile::WriteKey("A", "k", "new", f.string()));
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_EQ(NyIniFile::ReadKey("A", "k", "", f.string()), "old");
}

TEST(AtomicWrite, ReplacesWholeFilesAndFailsCleanlyWhereItCannotWrite) {
  nytest::TempDir dir;
  fs::path f = dir.path() / "x.txt";
  ASSERT_TRUE(NyCommon::WriteFileAtomic(f.string(), "one"));
  ASSERT_TRUE(NyCommon::WriteFileAtomic(f.string(), "two"));
  EXPECT_EQ(ReadAll(f), "two");
  EXPECT_FALSE(NyCommon::WriteFileAtomic((dir.path() / "no" / "such" / "x").string(), "z"));
  std::size_t files = 0;
  for (auto& e : fs::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1u) << "no temporary file left behind";
}

TEST(Seeding, CopiesMissingFilesAndKeepsTheUsersOwnWhateverTheirCase) {
  nytest::TempDir shipped, user, fresh;
  fs::create_directories(shipped.path() / "data");
  std::ofstream(shipped.path() / "data" / "NyData.mdb") << std::string(1 << 20, 'd');
  std::ofstream(shipped.path() / "setup.ini") << "[x]";
  fs::create_directories(shipped.path() / "data" / "照度曲线");
  std::ofstream(shipped.path() / "data" / "照度曲线" / "A.bmp") << "BM";
  fs::create_directories(user.path() / "data");
  std::ofstream(user.path() / "data" / "NYDATA.mdb") << "mine";
  ASSERT_TRUE(NyCommon::SeedFolder(shipped.str(), user.str()));
  EXPECT_EQ(ReadAll(user.path() / "data" / "NYDATA.mdb"), "mine");
  // A folder seeded before the pictures were shipped gets them too.
  EXPECT_EQ(ReadAll(user.path() / "data" / "照度曲线" / "A.bmp"), "BM");
  EXPECT_FALSE(fs::exists(user.path() / "data" / "NyData.mdb")) << "never a second copy";
  EXPECT_EQ(ReadAll(user.path() / "setup.ini"), "[x]");
  // Programs starting at once on a fresh folder: every file whole, no temporary file left.
  std::vector<std::thread> starts;
  std::atomic<int> seeded{0};
  for (int i = 0; i < 8; ++i)
    starts.emplace_back([&] { seeded += NyCommon::SeedFolder(shipped.str(), fresh.str()); });
  for (auto& t : starts) t.join();
  EXPECT_EQ(seeded, 8);
  EXPECT_EQ(ReadAll(fresh.path() / "data" / "NyData.mdb"),
            ReadAll(shipped.path() / "data" / "NyData.mdb"));
  EXPECT_EQ(std::distance(fs::directory_iterator(fresh.path() / "data"), {}), 2);
  EXPECT_EQ(std::distance(fs::directory_iterator(fresh.path() / "data" / "照度曲线"), {}), 1);
}

TEST(Str, NumbersSplittingAndDuplicates) {
  struct Case {
    const char* text;
    int is_number;
    double value;
  } cases[] = {{"12", 1, 12},  {" 2.5 ", 1, 2.5}, {"-5", 1, -5},  {"1e3", 1, 1000},
               {"abc", 0, 0},  {"", 0, 0},        {"3m", 0, 0},   {"inf", 0, 0},
               {"0x10", 0, 0}, {"nan", 0, 0},     {"1e400", 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    double v = -99;
    EXPECT_EQ(NyStr::IsDigit(v, c.text), c.is_number);
    if (c.is_number) {
      EXPECT_DOUBLE_EQ(v, c.value);
    }
  }
  // C atof / atoi of keyed and database texts, without infinities or overflow.
  const struct {
    const char* text;
    double real;
    int whole;
  } leading[] = {{"2.25m", 2.25, 2},
                 {"inf", 0, 0},
                 {"-nan", 0, 0},
                 {"1e400", 0, 1},
                 {"", 0, 0},
                 {"99999999999", 99999999999, INT_MAX},
                 {"-99999999999", -99999999999, INT_MIN}};
  for (const auto& c : leading) {
    EXPECT_EQ(NyStr::LeadingReal(c.text), c.real) << c.text;
    EXPECT_EQ(NyStr::LeadingInt(c.text), c.whole) << c.text;
  }

  std::vector<std::string> parts;
  NyStr::SplitStrBySymbol(parts, "筒灯^吸顶灯^^", "^");
  EXPECT_EQ(parts, (std::vector<std::string>{"筒灯", "吸顶灯", "", ""}));
  std::vector<std::string> items = {"LED", "led", "荧光灯", "LED"};
  NyStr::RemoveSameStr(items, 0);
  EXPECT_EQ(items, (std::vector<std::string>{"LED", "led", "荧光灯"}));
  NyStr::RemoveSameStr(items, 1);
  EXPECT_EQ(items, (std::vector<std::string>{"LED", "荧光灯"}));
  EXPECT_TRUE(NyStr::IfHasChinese("ZM1A格栅灯"));
  EXPECT_FALSE(NyStr::IfHasChinese("ZM1A"));
  EXPECT_FALSE(NyStr::IfHasChinese("m² ±5°")) << "other non-ASCII text is not Chinese";
  EXPECT_TRUE(NyStr::IfHasChinese("x𠀀"));
}

TEST(TextCodec, GbkLengthsPrefixesAndEscapes) {
  EXPECT_EQ(nyhost::GbkByteLength("荧光灯T8"), 8u);
  EXPECT_EQ(nyhost::GbkPrefix("ZM1A格栅灯", 5), "ZM1A") << "half a character is dropped";
  EXPECT_EQ(nyhost::GbkPrefix("ZM1A格栅灯", 6), "ZM1A格");
  std::string escaped = nyhost::Utf8ToGbkEscaped("面积m²");
  EXPECT_NE(escaped.find("\\U+00B2"), std::string::npos);
  EXPECT_EQ(nyhost::DecodeDxfEscapes(*nyhost::GbkToUtf8(escaped)), "面积m²");
  EXPECT_EQ(nyhost::DecodeDxfEscapes("\\U+7167\\U+660E"), "照明");
  EXPECT_EQ(nyhost::DecodeDxfEscapes("\\U+zz \\U+12"), "\\U+zz \\U+12") << "malformed stays";
  EXPECT_EQ(nyhost::LegacyTextToUtf8(*nyhost::Utf8ToGbk("照度标准")), "照度标准");
  EXPECT_EQ(nyhost::LegacyTextToUtf8("\xEF\xBB\xBF照度"), "照度");
  EXPECT_FALSE(nyhost::IsValidUtf8("\xC0\xAF"));
}

class XData : public nytest::HostFixture {};

TEST_F(XData, KeyedTextsReadBackAndReplaceOlderValues) {
  nyhost::Entity e;
  e.data = nyhost::BlockReference{};
  NyXData::SetEntXData(e, "设备高", "2.5");
  auto id = drawing().Add(e);
  ASSERT_TRUE(NyXData::SetEntXData(id, "X轴旋转", "15.7"));
  ASSERT_TRUE(NyXData::SetEntXData(id, "设备高", "3=高"));
  std::string v;
  EXPECT_TRUE(NyXData::GetEntXData(v, id, "设备高"));
  EXPECT_EQ(v, "3=高");
  NyXData::GetEntXData(v, id, "X轴旋转");
  EXPECT_EQ(v, "15.7");
  EXPECT_FALSE(NyXData::GetEntXData(v, id, "设备"));
  EXPECT_EQ(v, "") << "a missing key reads as empty text";
  EXPECT_EQ(drawing().Find(id)->xdata.front().items.size(), 2u);
  drawing().Erase(id);
  EXPECT_FALSE(NyXData::SetEntXData(id, "名称", "x")) << "erased entities are not written";
}

}  // namespace
