#include <gtest/gtest.h>

#include "Decode.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using test::Block;

// Identification block: reserved byte, type, version byte, third character,
// variant code.
Block IdentityBlock(std::uint8_t type, const char* version, std::uint8_t variantCode = 0) {
  const auto versionByte = static_cast<std::uint8_t>((version[0] - '0') << 4 | (version[2] - '0'));
  return Block{{0, 2}, {1, 0x00}, {2, type}, {3, versionByte}, {4, static_cast<std::uint8_t>(version[3])},
               {5, variantCode}};
}

constexpr const char* kMs = "Vorak R-KVT-MS";
constexpr const char* kMs2 = "Vorak R-KVT-MS-2";
constexpr const char* kNotSupported = " This version of software modem is not support!";

struct TypeCase {
  std::uint8_t type;
  const char* version;
  const char* typeText;
  const char* versionText;
  std::int32_t level;
  std::optional<UiState> uiState;      // nullopt: supported, the window chains
  std::optional<bool> workingFirmware;
};

class IdentifyType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(IdentifyType, TextsLevelAndOutcome) {
  const TypeCase& c = GetParam();
  MainWindowControls controls;
  Block block = IdentityBlock(c.type, c.version);
  const IdentificationOutcome out = DecodeIdentification(block.bytes, controls);

  EXPECT_EQ(controls.StaticTextModem.Text(), QString(c.typeText));
  EXPECT_EQ(controls.StaticTextVersion.Text(), QString(c.versionText));
  EXPECT_EQ(out.softwareLevel, c.level);
  EXPECT_EQ(out.uiState, c.uiState);
  EXPECT_EQ(out.workingFirmware, c.workingFirmware);
  const bool unsupported = c.uiState == UiState::UnsupportedVersion;
  EXPECT_EQ(out.supported, !c.uiState.has_value());
  EXPECT_EQ(out.beep, unsupported);
  EXPECT_EQ(out.message, unsupported ? QString(kNotSupported) : QString());
}

constexpr auto kSpecial = UiState::IdentifiedSpecial;
constexpr auto kUnsupported = UiState::UnsupportedVersion;

INSTANTIATE_TEST_SUITE_P(
    Table, IdentifyType,
    ::testing::Values(
        TypeCase{1, "1.05", kMs, "1.05", 1, {}, {}}, TypeCase{1, "2.08", kMs, "2.08", 4, {}, {}},
        TypeCase{1, "2.09", kMs, "2.09", 5, {}, {}}, TypeCase{1, "2.25", kMs, "2.25", 7, {}, {}},
        TypeCase{1, "2.26", kMs, "2.26", 8, {}, {}},
        TypeCase{1, "1.52", kMs, "1.52", 0, kUnsupported, {}},
        TypeCase{1, "2.30", kMs, "2.30", 0, kUnsupported, {}},
        TypeCase{1, "3.00", kMs, "3.00", 0, kUnsupported, {}},
        TypeCase{2, "1.02", kMs, "1.02 - bootloader", 21, kSpecial, false},
        TypeCase{3, "2.25", kMs, "2.25 - test_AFC", 0, kSpecial, false},
        TypeCase{4, "2.25", kMs, "2.25 - test_dig_dop", 0, kSpecial, false},
        TypeCase{5, "3.00", kMs2, "3.00 - bootloader", 22, kSpecial, {}},
        TypeCase{6, "3.05", kMs2, "3.05 - KAP", 9, {}, {}}, TypeCase{6, "3.14", kMs2, "3.14 - KAP", 11, {}, {}},
        TypeCase{6, "3.15", kMs2, "3.15 - KAP", 12, {}, {}}, TypeCase{6, "7.00", kMs2, "7.00 - ???", 17, {}, {}},
        TypeCase{6, "3.20", kMs2, "3.20 - KAP", 0, kUnsupported, {}},
        TypeCase{6, "8.00", kMs2, "8.00 - KAP", 0, kUnsupported, {}},
        TypeCase{7, "4.00", kMs2, "4.00 - test_AFC", 0, kSpecial, false},
        TypeCase{8, "4.00", kMs2, "4.00 - test_dig_dop", 0, kSpecial, false},
        TypeCase{9, "5.01", kMs2, "5.01 - bootloader", 23, kSpecial, {}}));

TEST(Identify, UnknownTypeDumpsBytesOneToFourInUpperCaseHex) {
  MainWindowControls controls;
  Block block{{0, 2}, {1, 0xA5}, {2, 0x0B}, {3, 0x3c}, {4, 0x7f}, {5, 0x07}};
  const IdentificationOutcome out = DecodeIdentification(block.bytes, controls);
  EXPECT_EQ(controls.StaticTextModem.Text(), QString("Unknown modem !"));
  EXPECT_EQ(controls.StaticTextVersion.Text(), QString("0xA50B3C7F"));
  EXPECT_EQ(out.uiState, UiState::UnknownModem);
  EXPECT_TRUE(out.beep);
  EXPECT_FALSE(out.supported);
  EXPECT_EQ(out.softwareLevel, 0);
  EXPECT_FALSE(out.workingFirmware.has_value());
  EXPECT_TRUE(out.message.isEmpty());
}

TEST(Identify, TruncatedBlockReadsMissingBytesAsZero) {
  MainWindowControls controls;
  const std::array<std::uint8_t, 2> shortBlock{2, 0x11};
  EXPECT_EQ(DecodeIdentification(shortBlock, controls).uiState, UiState::UnknownModem);
  EXPECT_EQ(controls.StaticTextVersion.Text(), QString("0x11000000"));
}

TEST(Identify, ThirdCharacterThatIsNoDigitIsShownAndMakesTheVersionUnsupported) {
  MainWindowControls controls;
  Block block = IdentityBlock(6, "3.1A", 7);
  const IdentificationOutcome out = DecodeIdentification(block.bytes, controls);
  EXPECT_EQ(controls.StaticTextVersion.Text(), QString("3.1A - KAP"));
  EXPECT_EQ(out.softwareLevel, 0);
  EXPECT_EQ(out.modemVariant, 0);
  EXPECT_EQ(out.uiState, UiState::UnsupportedVersion);
  EXPECT_EQ(out.message, QString(kNotSupported));

  Block first = IdentityBlock(1, "2.2 ");
  EXPECT_EQ(DecodeIdentification(first.bytes, controls).uiState, UiState::UnsupportedVersion);
  EXPECT_EQ(controls.StaticTextVersion.Text(), QString("2.2 "));
}

TEST(Identify, FirstGenerationIgnoresTheVariantByte) {
  MainWindowControls controls;
  Block block = IdentityBlock(1, "2.25", 7);
  const IdentificationOutcome out = DecodeIdentification(block.bytes, controls);
  EXPECT_EQ(controls.StaticTextVersion.Text(), QString("2.25"));
  EXPECT_EQ(out.modemVariant, 0);
}

struct VariantCase {
  const char* version;
  std::uint8_t variantByte;
  std::int32_t variant;
  const char* suffix;
};

class IdentifyVariant : public ::testing::TestWithParam<VariantCase> {};

TEST_P(IdentifyVariant, CodeAndVersionGiveVariantAndSuffix) {
  const VariantCase& c = GetParam();
  MainWindowControls controls;
  Block block = IdentityBlock(6, c.version, c.variantByte);
  const IdentificationOutcome out = DecodeIdentification(block.bytes, controls);
  EXPECT_EQ(out.modemVariant, c.variant);
  EXPECT_EQ(controls.StaticTextVersion.Text(), QString(c.version) + c.suffix);
  EXPECT_TRUE(out.supported);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IdentifyVariant,
    ::testing::Values(
        // Older firmware: the full code table.
        VariantCase{"3.05", 0, 0, " - KAP"}, VariantCase{"3.05", 1, 1, " - KBL"},
        VariantCase{"3.05", 2, 4, " - KT60U"}, VariantCase{"3.05", 3, 0, " - KAP"},
        VariantCase{"3.05", 4, 5, " - KT24"}, VariantCase{"3.05", 5, 2, " - KBU"},
        VariantCase{"3.05", 6, 3, " - KT60L"}, VariantCase{"3.05", 7, 0, " - KAP"},
        // Only bits 0-2 hold the code.
        VariantCase{"3.05", 0xF9, 1, " - KBL"},
        // Code 7 turns into KAP3K from 3.15 on and PLN-3K in 4.xx.
        VariantCase{"3.10", 7, 0, " - KAP"}, VariantCase{"3.14", 7, 0, " - KAP"},
        VariantCase{"3.15", 7, 7, " - KAP3K"}, VariantCase{"3.15", 6, 3, " - KT60L"},
        VariantCase{"4.27", 7, 7, " - PLN-3K"}, VariantCase{"4.01", 5, 2, " - KBU"},
        // Newer firmware knows code 7 only.
        VariantCase{"5.10", 7, 8, " - PLN-1K"}, VariantCase{"5.03", 0, 0, " - ???"},
        VariantCase{"6.01", 7, 7, " - PLN-3K"}, VariantCase{"6.01", 3, 0, " - ???"},
        VariantCase{"7.99", 7, 9, " - PLN-2K"}, VariantCase{"7.00", 6, 0, " - ???"}));

}  // namespace
}  // namespace rkvt
