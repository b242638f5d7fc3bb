#include <gtest/gtest.h>

#include <cstring>

#include "link/crc16.h"
#include "link/frame_constants.h"
#include "link_test_support.h"

namespace orvandry::link {
namespace {

TEST(LinkCrc16, CheckValueOfTheNineDigitsIsSentLowByteFirst) {
  std::uint8_t bytes[11] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0, 0};
  EXPECT_EQ(LinkCrc16Value(bytes, 9), 0x4B37);
  link_crc16(bytes, 9);
  EXPECT_EQ(bytes[9], 0x37);
  EXPECT_EQ(bytes[10], 0x4B);
  EXPECT_TRUE(link_crc16_check(bytes, 9));
}

TEST(LinkCrc16, FixedFramesCarryTheirCrc) {
  std::uint8_t null_frame[7] = {0x07, 0x00, 0x00, 0x00, 0x00, 0, 0};
  link_crc16(null_frame, 5);
  EXPECT_EQ(testing::Bytes(null_frame, null_frame + 7), testing::NullFrame());

  std::uint8_t reset_frame[4] = {0x06, 0x00, 0, 0};
  link_crc16(reset_frame, 2);
  EXPECT_EQ(testing::Bytes(reset_frame, reset_frame + 4), testing::ResetFrame());
}

TEST(LinkCrc16, CheckRejectsAnySingleAlteredByte) {
  testing::TestFrame frame;
  for (std::size_t i = 0; i < kStateSize; ++i) frame.data[i] = static_cast<std::uint8_t>(i * 7);
  const testing::Bytes good = frame.Sealed();
  ASSERT_TRUE(link_crc16_check(good.data(), kStateSize));
  for (std::size_t i = 0; i < good.size(); i += 13) {
    testing::Bytes bad = good;
    bad[i] ^= 0x01;
    EXPECT_FALSE(link_crc16_check(bad.data(), kStateSize)) << "byte " << i;
  }
  testing::Bytes swapped = good;
  std::swap(swapped[300], swapped[301]);
  EXPECT_FALSE(link_crc16_check(swapped.data(), kStateSize));
}

}  // namespace
}  // namespace orvandry::link
