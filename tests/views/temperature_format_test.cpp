#include <gtest/gtest.h>

#include "views/temperature_format.h"

namespace orvandry::views {
namespace {

TEST(TemperatureFormat, CelsiusTruncatesTowardZero) {
  EXPECT_EQ(fahrenheit_to_celsius(212), 100);
  EXPECT_EQ(fahrenheit_to_celsius(32), 0);
  EXPECT_EQ(fahrenheit_to_celsius(0), -17);
  EXPECT_EQ(fahrenheit_to_celsius(-40), -40);
  EXPECT_EQ(fahrenheit_to_celsius(100), 37);
  EXPECT_EQ(fahrenheit_to_celsius(-4), -20);
  EXPECT_EQ(fahrenheit_to_celsius(180), 82);
  EXPECT_EQ(fahrenheit_to_celsius(-32768), -18222);
}

TEST(TemperatureFormat, SignAndLetterVariants) {
  EXPECT_EQ(format_temperature(180, false, true, true), "180\xB0" "F");
  EXPECT_EQ(format_temperature(180, true, true, true), "82\xB0" "C");
  EXPECT_EQ(format_temperature(180, false, false, true), "180F");
  EXPECT_EQ(format_temperature(180, true, false, true), "82C");
  EXPECT_EQ(format_temperature(180, false, true, false), "180");
  EXPECT_EQ(format_temperature(-4, true, false, false), "-20");
  EXPECT_EQ(format_temperature(-12, false, true, true), "-12\xB0" "F");
}

}  // namespace
}  // namespace orvandry::views
