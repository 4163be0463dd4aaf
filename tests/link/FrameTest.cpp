#include <gtest/gtest.h>

#include <string_view>

#include "link/Frame.h"
#include "link/FrameChecksum.h"

namespace rkvt {
namespace {

std::uint16_t ChecksumOf(std::string_view text) {
  return FrameChecksum({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(FrameChecksum, CheckValues) {
  // CRC-16/XMODEM would give 0x9DD6 for "abc": the link's function differs.
  EXPECT_EQ(ChecksumOf("abc"), 0x638E);
  EXPECT_EQ(ChecksumOf("123456789"), 0x27CE);
  EXPECT_EQ(ChecksumOf(""), 0x0000);
}

using Chars = std::vector<std::uint8_t>;

// The identify request: E7, address, 03, zeros, then the checksum; in the
// working framing each byte as two characters 0x30 + nibble.
TEST(Frame, IdentifyRequestsAreExactInBothFramings) {
  for (const auto& [local, address, sum, sumChars] :
       {std::tuple(true, 0xD1, 0xB8, Chars{0x3B, 0x38}), std::tuple(false, 0xC1, 0xF2, Chars{0x3F, 0x32})}) {
    const Frame frame = BuildRequest(RequestAddress(local, 1), 3, {});
    Frame expected{0xE7, std::uint8_t(address), 0x03};
    expected[29] = std::uint8_t(sum);
    expected[30] = 0xF3;
    EXPECT_EQ(frame, expected);
    Chars chars{0x3E, 0x37, std::uint8_t(local ? 0x3D : 0x3C), 0x31, 0x30, 0x33};
    chars.resize(58, 0x30);
    chars.insert(chars.end(), sumChars.begin(), sumChars.end());
    chars.insert(chars.end(), {0x3F, 0x33});
    const WorkingFrame working = EncodeWorking(frame);
    EXPECT_EQ(Chars(working.begin(), working.end()), chars);
  }
}

TEST(Frame, DecodingIgnoresUpperBitsAndRoundTripsEveryByte) {
  EXPECT_EQ(DecodePair(0x3E, 0x37), 0xE7);
  EXPECT_EQ(DecodePair(0x7E, 0x77), 0xE7);
  EXPECT_EQ(DecodePair(0xFE, 0x07), 0xE7);
  Frame frame{};
  for (int v = 0; v < 256; v += 31) {
    for (std::size_t i = 0; i < kFrameSize; ++i) frame[i] = static_cast<std::uint8_t>(v + i);
    EXPECT_EQ(DecodeWorking(EncodeWorking(frame)), frame);
  }
}

TEST(Frame, RequestDataIsZeroFilledAndCutAt26Bytes) {
  const Frame cut = BuildRequest(0xD2, 20, Chars(30, 0xAA));
  EXPECT_EQ(Chars(cut.begin() + 3, cut.begin() + 29), Chars(26, 0xAA));
  EXPECT_TRUE(ChecksumMatches(cut));
  const Frame filled = BuildRequest(0xD2, 22, Chars{0x00, 0x05});
  Chars expected(26, 0);
  expected[1] = 0x05;
  EXPECT_EQ(Chars(filled.begin() + 3, filled.begin() + 29), expected);
}

TEST(Frame, AddressesFromTargetAndSubAddressAndOfTheAnswer) {
  EXPECT_EQ(Chars({RequestAddress(true, 1), RequestAddress(true, 2), RequestAddress(false, 1), RequestAddress(false, 0x12)}),
            (Chars{0xD1, 0xD2, 0xC1, 0xC2})) << "only the low four bits of the sub-address count";
  EXPECT_EQ(Chars({ExpectedAnswerAddress(0xD1), ExpectedAnswerAddress(0xD2), ExpectedAnswerAddress(0xC1),
                   ExpectedAnswerAddress(0xC2)}),
            (Chars{0x71, 0x72, 0x31, 0x32}));
}

Frame Reply(std::uint8_t code, std::uint8_t status, std::uint8_t address = 0x71) {
  Frame f{0xE7, address, code, status};
  SealFrame(f);
  return f;
}

TEST(Frame, AcknowledgementAndAnswerValidation) {
  EXPECT_TRUE(IsValidAcknowledgement(Reply(3, 0), 3));
  EXPECT_TRUE(IsValidAcknowledgement(Reply(3, 0, 0x00), 3)) << "the address is not examined";
  EXPECT_FALSE(IsValidAcknowledgement(Reply(3, 1), 3)) << "non-zero status";
  EXPECT_FALSE(IsValidAcknowledgement(Reply(4, 0), 3)) << "other code echoed";
  Frame badSum = Reply(3, 0), badStart = Reply(3, 0);
  badSum[30] ^= 1;
  badStart[0] = 0xE6;
  EXPECT_FALSE(IsValidAcknowledgement(badSum, 3));
  EXPECT_FALSE(IsValidAcknowledgement(badStart, 3));
  // An answer is judged by its start and checksum only.
  Frame answer = Reply(0x29, 7, 0x00);
  EXPECT_TRUE(IsValidAnswer(answer));
  answer[29] ^= 0x80;
  EXPECT_FALSE(IsValidAnswer(answer));
  EXPECT_FALSE(IsValidAnswer(badStart));
}

}  // namespace
}  // namespace rkvt
