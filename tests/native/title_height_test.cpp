// The title font's pixel height at the resolutions that matter. Where pixelsPerInch x points is a
// multiple of 72 the height is that whole quotient in double precision; x87 intermediates (the
// i386 tree) would land a hair below it and truncate one pixel lower.
#include <gtest/gtest.h>

#include "ui/title_height.h"

namespace {

TEST(TitleFontHeight, IsTheTruncatedDoubleProductAtEveryTitleSize) {
  for (int dpi : {72, 96, 120, 144}) {
    for (int points = 26; points >= 6; --points) {
      SCOPED_TRACE(testing::Message() << dpi << " dpi, " << points << " points");
      // Away from multiples of 72 the double product is far from any whole number, and on them
      // it is exact: the integer quotient is the double-precision result.
      EXPECT_EQ(TitleFontHeight(dpi, points), dpi * points / 72);
    }
  }
}

TEST(TitleFontHeight, KnownSizes) {
  const struct {
    int dpi;
    double points;
    int height;
  } cases[] = {
      {96, 26.0, 34},  {96, 24.0, 32},  {96, 6.0, 8},    {120, 26.0, 43}, {120, 18.0, 30},
      {72, 26.0, 26},  {72, 7.0, 7},    {144, 26.0, 52}, {144, 6.0, 12},  {96, 25.5, 34},
      {96, 0.0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " dpi, " << c.points << " points");
    EXPECT_EQ(TitleFontHeight(c.dpi, c.points), c.height);
  }
}

}  // namespace
