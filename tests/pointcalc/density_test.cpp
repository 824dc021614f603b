#include <gtest/gtest.h>

#include "pointcalc/density.h"

namespace {

// No grid below one cell or beyond an int; "1e9*1e9" parses (the dialog refuses its size).
TEST(Density, TextsGiveTheGridCounts) {
  struct Case {
    const char* text;
    bool ok;
    int x, y;
    bool two;
  } cases[] = {
      {"30", true, 30, 30, false},       {"30x40", true, 30, 40, true},
      {"30X40", true, 30, 40, true},     {"30*40", true, 30, 40, true},
      {"30×40", true, 30, 40, true},     {"50*75", true, 50, 75, true},
      {"30.7*15.2", true, 30, 15, true}, {"", false, 0, 0, false},
      {"abc", false, 0, 0, false},       {"30*", false, 0, 0, false},
      {"*40", false, 0, 0, false},       {"30x40x5", false, 0, 0, false},
      {"0", false, 0, 0, false},         {"-5", false, 0, 0, false},
      {"30*0", false, 0, 0, false},      {"2147483648", false, 0, 0, false},
      {"1e400", false, 0, 0, false},     {"1e9*1e9", true, 1000000000, 1000000000, true},
  };
  for (const auto& c : cases) {
    Density d;
    EXPECT_EQ(ParseDensity(c.text, d), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(d.x, c.x) << c.text;
    EXPECT_EQ(d.y, c.y) << c.text;
    EXPECT_EQ(d.two_numbers, c.two) << c.text;
  }
}

TEST(Density, SpinSteps) {
  struct Case {
    const char* text;
    int step;
    const char* after;
  } cases[] = {
      {"10*25", 1, "10*15"},  {"10*25", -1, "20*35"}, {"30", 1, "20"},
      {"30", -1, "40"},       {"5*8", 1, "5*8"},      {"30×40", 1, "20*30"},
  };
  for (const auto& c : cases) {
    Density d;
    ASSERT_TRUE(ParseDensity(c.text, d)) << c.text;
    EXPECT_EQ(SpinDensity(d, c.step), c.after) << c.text << " " << c.step;
  }
}

}  // namespace
