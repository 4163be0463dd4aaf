#include <gtest/gtest.h>

#include <string_view>

#include "Frame.h"
#include "FrameChecksum.h"

namespace rkvt {
namespace {

std::uint16_t ChecksumOf(std::string_view text) {
  return FrameChecksum({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(FrameChecksum, CheckValues) {
  EXPECT_EQ(ChecksumOf("abc"), 0x638E);
  EXPECT_EQ(ChecksumOf("123456789"), 0x27CE);
  EXPECT_EQ(ChecksumOf(""), 0x0000);
}

TEST(FrameChecksum, IsNotXmodem) {
  // CRC-16/XMODEM of "abc" is 0x9DD6; the link's function differs on purpose.
  EXPECT_NE(ChecksumOf("abc"), 0x9DD6);
}

Frame IdentifyFrame(bool local) { return BuildRequest(RequestAddress(local, 1), 3, {}); }

TEST(Frame, IdentifyRequestLocalIsExact) {
  Frame expected{};
  expected[0] = 0xE7;
  expected[1] = 0xD1;
  expected[2] = 0x03;
  expected[29] = 0xB8;
  expected[30] = 0xF3;
  EXPECT_EQ(IdentifyFrame(true), expected);
}

TEST(Frame, IdentifyRequestRemoteIsExact) {
  Frame expected{};
  expected[0] = 0xE7;
  expected[1] = 0xC1;
  expected[2] = 0x03;
  expected[29] = 0xF2;
  expected[30] = 0xF3;
  EXPECT_EQ(IdentifyFrame(false), expected);
}

TEST(Frame, WorkingFramingOfLocalIdentify) {
  const WorkingFrame chars = EncodeWorking(IdentifyFrame(true));
  const std::array<std::uint8_t, 6> head{0x3E, 0x37, 0x3D, 0x31, 0x30, 0x33};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), chars.begin()));
  for (std::size_t i = 6; i < 58; ++i) EXPECT_EQ(chars[i], 0x30) << "character " << i;
  const std::array<std::uint8_t, 4> tail{0x3B, 0x38, 0x3F, 0x33};
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), chars.begin() + 58));
  for (std::uint8_t c : chars) EXPECT_TRUE(c >= 0x30 && c <= 0x3F);
}

TEST(Frame, DecodingIgnoresUpperBitsOfEachCharacter) {
  EXPECT_EQ(DecodePair(0x3E, 0x37), 0xE7);
  EXPECT_EQ(DecodePair(0x7E, 0x77), 0xE7);
  EXPECT_EQ(DecodePair(0xFE, 0x07), 0xE7);
}

TEST(Frame, EncodeDecodeRoundTripsEveryByte) {
  Frame frame{};
  for (int v = 0; v < 256; v += 31) {
    for (std::size_t i = 0; i < kFrameSize; ++i) frame[i] = static_cast<std::uint8_t>(v + i);
    EXPECT_EQ(DecodeWorking(EncodeWorking(frame)), frame);
  }
}

TEST(Frame, RequestDataIsZeroFilledAndCutAt26Bytes) {
  std::array<std::uint8_t, 30> data{};
  data.fill(0xAA);
  const Frame full = BuildRequest(0xD2, 20, data);
  for (std::size_t i = 3; i <= 28; ++i) EXPECT_EQ(full[i], 0xAA);
  EXPECT_TRUE(ChecksumMatches(full));

  const std::array<std::uint8_t, 2> two{0x00, 0x05};
  const Frame shortFrame = BuildRequest(0xD2, 22, two);
  EXPECT_EQ(shortFrame[3], 0x00);
  EXPECT_EQ(shortFrame[4], 0x05);
  for (std::size_t i = 5; i <= 28; ++i) EXPECT_EQ(shortFrame[i], 0) << "byte " << i;
}

struct AddressCase {
  std::uint8_t request;
  std::uint8_t answer;
};
class ExpectedAddress : public ::testing::TestWithParam<AddressCase> {};
TEST_P(ExpectedAddress, SwapsStationFields) {
  EXPECT_EQ(ExpectedAnswerAddress(GetParam().request), GetParam().answer);
}
INSTANTIATE_TEST_SUITE_P(AllRequestAddresses, ExpectedAddress,
                         ::testing::Values(AddressCase{0xD1, 0x71}, AddressCase{0xD2, 0x72},
                                           AddressCase{0xC1, 0x31}, AddressCase{0xC2, 0x32}));

TEST(Frame, RequestAddressFromTargetAndSubAddress) {
  EXPECT_EQ(RequestAddress(true, 1), 0xD1);
  EXPECT_EQ(RequestAddress(true, 2), 0xD2);
  EXPECT_EQ(RequestAddress(false, 1), 0xC1);
  EXPECT_EQ(RequestAddress(false, 0x12), 0xC2);  // only the low four bits count
}

Frame Ack(std::uint8_t code, std::uint8_t status, std::uint8_t address = 0x71) {
  Frame f{};
  f[0] = 0xE7;
  f[1] = address;
  f[2] = code;
  f[3] = status;
  SealFrame(f);
  return f;
}

TEST(Frame, AcknowledgementValidation) {
  EXPECT_TRUE(IsValidAcknowledgement(Ack(3, 0), 3));
  EXPECT_TRUE(IsValidAcknowledgement(Ack(3, 0, 0x00), 3)) << "the address is not examined";
  EXPECT_FALSE(IsValidAcknowledgement(Ack(3, 1), 3)) << "non-zero status";
  EXPECT_FALSE(IsValidAcknowledgement(Ack(4, 0), 3)) << "other code echoed";
  Frame badSum = Ack(3, 0);
  badSum[30] ^= 1;
  EXPECT_FALSE(IsValidAcknowledgement(badSum, 3));
  Frame badStart = Ack(3, 0);
  badStart[0] = 0xE6;
  EXPECT_FALSE(IsValidAcknowledgement(badStart, 3));
}

TEST(Frame, AnswerValidationLooksOnlyAtStartAndChecksum) {
  Frame answer = Ack(0x29, 7, 0x00);
  EXPECT_TRUE(IsValidAnswer(answer));
  answer[29] ^= 0x80;
  EXPECT_FALSE(IsValidAnswer(answer));
}

}  // namespace
}  // namespace rkvt
