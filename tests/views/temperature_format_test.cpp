#include "views/temperature_format.h"

#include <gtest/gtest.h>

namespace orvandry::views {
namespace {

TEST(TemperatureFormat, CelsiusTruncatesTowardZero) {
  const std::pair<int, int> cases[] = {{212, 100}, {32, 0},   {0, -17},  {-40, -40},
                                       {100, 37},  {-4, -20}, {180, 82}, {-32768, -18222}};
  for (auto [f, c] : cases) EXPECT_EQ(fahrenheit_to_celsius(f), c) << f;
}

TEST(TemperatureFormat, SignAndLetterVariants) {
  const std::string deg = "\xB0";
  EXPECT_EQ(format_temperature(180, false, true, true), "180" + deg + "F");
  EXPECT_EQ(format_temperature(180, true, true, true), "82" + deg + "C");
  EXPECT_EQ(format_temperature(-12, false, true, true), "-12" + deg + "F");
  EXPECT_EQ(format_temperature(180, true, false, true), "82C");
  EXPECT_EQ(format_temperature(180, false, true, false), "180");
  EXPECT_EQ(format_temperature(-4, true, false, false), "-20");
}

}  // namespace
}  // namespace orvandry::views
