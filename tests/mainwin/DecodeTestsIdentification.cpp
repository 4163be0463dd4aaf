// Who the modem is (identification reply) and who holds it (activity record).

#include "mainwin/Decode.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using test::Block;

constexpr const char* kNotSupported = " This version of software modem is not support!";
constexpr auto kSpecial = UiState::IdentifiedSpecial;
constexpr auto kUnsupported = UiState::UnsupportedVersion;

TEST(Identify, TextsLevelVariantAndOutcome) {
  const struct {
    std::uint8_t type;
    const char* version;  // "M.mD": major and minor in one byte, then the third character
    std::uint8_t code;    // variant code byte
    const char* suffix;   // shown behind the version
    std::int32_t level, variant;
    std::optional<UiState> uiState{};  // none: supported, the window chains
    std::optional<bool> workingFirmware{};
  } cases[] = {
      // First generation: no variant, whatever byte 5 holds.
      {1, "2.08", 0, "", 4, 0}, {1, "2.09", 0, "", 5, 0}, {1, "2.25", 7, "", 7, 0}, {1, "1.05", 0, "", 1, 0},
      {1, "2.26", 0, "", 8, 0}, {1, "2.30", 0, "", 0, 0, kUnsupported}, {1, "2.2 ", 0, "", 0, 0, kUnsupported},
      // Loaders and test firmware: a fixed suffix; loaders 5 and 9 leave the firmware flag alone.
      {2, "1.02", 7, " - bootloader", 21, 0, kSpecial, false}, {5, "3.00", 7, " - bootloader", 22, 0, kSpecial},
      {9, "5.01", 0, " - bootloader", 23, 0, kSpecial}, {3, "2.25", 0, " - test_AFC", 0, 0, kSpecial, false},
      {7, "4.00", 0, " - test_AFC", 0, 0, kSpecial, false}, {4, "2.25", 0, " - test_dig_dop", 0, 0, kSpecial, false},
      {8, "4.00", 0, " - test_dig_dop", 0, 0, kSpecial, false},
      // Type 6, older firmware: the full code table (bits 0-2 only).
      {6, "3.05", 0, " - KAP", 9, 0}, {6, "3.05", 1, " - KBL", 9, 1}, {6, "3.05", 2, " - KT60U", 9, 4},
      {6, "3.05", 3, " - KAP", 9, 0}, {6, "3.05", 4, " - KT24", 9, 5}, {6, "3.05", 5, " - KBU", 9, 2},
      {6, "3.05", 6, " - KT60L", 9, 3}, {6, "3.05", 7, " - KAP", 9, 0}, {6, "3.05", 0xF9, " - KBL", 9, 1},
      // Code 7 is KAP3K from 3.15 on and PLN-3K in 4.xx.
      {6, "3.10", 7, " - KAP", 10, 0}, {6, "3.14", 7, " - KAP", 11, 0}, {6, "3.15", 7, " - KAP3K", 12, 7},
      {6, "3.15", 6, " - KT60L", 12, 3}, {6, "4.27", 7, " - PLN-3K", 13, 7}, {6, "4.01", 5, " - KBU", 13, 2},
      // Newer firmware knows code 7 only.
      {6, "5.10", 7, " - PLN-1K", 15, 8}, {6, "5.03", 0, " - ???", 14, 0}, {6, "6.01", 7, " - PLN-3K", 16, 7},
      {6, "6.01", 3, " - ???", 16, 0}, {6, "7.99", 7, " - PLN-2K", 17, 9}, {6, "7.00", 6, " - ???", 17, 0},
      // Unlisted versions, a third character that is no digit among them, get no variant.
      {6, "3.20", 0, " - KAP", 0, 0, kUnsupported}, {6, "8.00", 7, " - KAP", 0, 0, kUnsupported},
      {6, "3.1A", 7, " - KAP", 0, 0, kUnsupported}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " " << c.version << " code " << int(c.code));
    MainWindowControls controls;
    const auto versionByte = static_cast<std::uint8_t>((c.version[0] - '0') << 4 | (c.version[2] - '0'));
    Block block{{0, 2}, {2, c.type}, {3, versionByte}, {4, static_cast<std::uint8_t>(c.version[3])}, {5, c.code}};
    const IdentificationOutcome out = DecodeIdentification(block.bytes, controls);
    EXPECT_EQ(QStringList({controls.StaticTextModem.Text(), controls.StaticTextVersion.Text()}),
              QStringList({c.type < 5 ? "Vorak R-KVT-MS" : "Vorak R-KVT-MS-2", QString(c.version) + c.suffix}));
    EXPECT_EQ(std::tuple(out.softwareLevel, out.modemVariant, out.uiState, out.workingFirmware),
              std::tuple(c.level, c.variant, c.uiState, c.workingFirmware));
    const bool unsupported = c.uiState == kUnsupported;
    EXPECT_EQ(std::tuple(out.supported, out.beep, out.message),
              std::tuple(!c.uiState.has_value(), unsupported, QString(unsupported ? kNotSupported : "")));
  }
}

TEST(Identify, UnknownTypeDumpsBytesOneToFourEvenFromATruncatedBlock) {
  MainWindowControls controls;
  Block block{{0, 2}, {1, 0xA5}, {2, 0x0B}, {3, 0x3c}, {4, 0x7f}, {5, 0x07}};
  const IdentificationOutcome out = DecodeIdentification(block.bytes, controls);
  EXPECT_EQ(QStringList({controls.StaticTextModem.Text(), controls.StaticTextVersion.Text()}),
            QStringList({"Unknown modem !", "0xA50B3C7F"}));
  EXPECT_EQ(std::tuple(out.uiState, out.beep, out.supported, out.workingFirmware, out.softwareLevel, out.message),
            std::tuple(UiState::UnknownModem, true, false, std::optional<bool>(), 0, QString()));
  const std::array<std::uint8_t, 2> shortBlock{2, 0x11};
  EXPECT_EQ(DecodeIdentification(shortBlock, controls).uiState, UiState::UnknownModem);
  EXPECT_EQ(controls.StaticTextVersion.Text(), QString("0x11000000"));
}

// ---- activity record: b0..b5 as the modem sent them, at byte 4

TEST(Activity, Text) {
  constexpr bool kLocal = true, kRemote = false;
  const struct { std::array<std::uint8_t, 6> record; bool targetLocal; const char* text; } cases[] = {
      // A remote target turns b0's local bit round.
      {{0x50, 0x40}, kLocal, "Test RDL-ES (master) from local modem"},
      {{0x50, 0x40}, kRemote, "Test RDL-ES (master) from remote modem"},
      {{0x10, 0x40}, kRemote, "Test RDL-ES (master) from local modem"},
      {{0xD0, 0x80}, kLocal, "Test RDL (master) from local terminal"},
      {{0x11, 0x00}, kLocal, "Test AL-ES from remote modem"}, {{0x11, 0x80}, kLocal, "Test ES from remote modem"},
      {{0x11, 0xC0}, kLocal, "Test AL from remote modem"},    {{0x12, 0x00}, kLocal, "Test DL from remote modem"},
      {{0x12, 0x80}, kLocal, "Test LL from remote modem"},
      {{0x10, 0xC0}, kLocal, "Test from remote modem"},  // a test code without a name
      // Setup wins over access denied, which wins over a test.
      {{0xE0, 0x00}, kLocal, "Setup activated from local terminal"},
      {{0x38, 0x40}, kLocal, "Setup activated from remote modem"},
      {{0x98, 0x40}, kLocal, "Access denied on remote terminal"}, {{0x08}, kRemote, "Access denied on local modem"},
      // Code 9 with a test running: the far end of a loop, record from b2
      // (whose local bit is the one turned for a local target).
      {{0x12, 0x40, 0x10, 0x40}, kLocal, "Test RDL-ES (slave) from local modem"},
      {{0x12, 0x40, 0x50, 0x80}, kLocal, "Test RDL (slave) from remote modem"},
      {{0x12, 0x40, 0x00, 0x00, 0xAB, 0xCD}, kLocal, " ??? 0x4000ABCD ??? "},
      {{0x02, 0x40}, kLocal, " ??? 0x02404000 ??? "},  // code 9 without the test bit
      // None of bits 3-5: the dump, showing the turned bit.
      {{0x40, 0x00, 0x01, 0xFF}, kRemote, " ??? 0x000001FF ??? "}, {{}, kLocal, " ??? 0x00004000 ??? "}};
  for (const auto& c : cases) {
    Block block;
    for (int i = 0; i < 6; ++i) block[4 + i] = c.record[static_cast<std::size_t>(i)];
    EXPECT_EQ(ActivityText(block.bytes, 4, c.targetLocal), QString(c.text));
  }
}

TEST(Activity, RecordAtTheEndOfAShortBlockNeitherCrashesNorWritesPastIt) {
  std::array<std::uint8_t, 6> buffer{0, 0, 0, 0, 0x50, 0x40};
  std::span<std::uint8_t> block(buffer.data(), 5);  // the record starts in the last byte
  EXPECT_EQ(ActivityText(block, 4, true), QString("Test from local modem"));
  EXPECT_EQ(buffer[5], 0x40) << "byte past the block was touched";
  EXPECT_EQ(ActivityText(block, 200, false), QString(" ??? 0x00000000 ??? "));
}

}  // namespace
}  // namespace rkvt
