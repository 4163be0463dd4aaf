#include <array>

#include "mainwin/BlockBytes.h"
#include "mainwin/Decode.h"
#include "link/SoftwareLevel.h"

namespace rkvt {

namespace {

constexpr const char* kFirstGeneration = "Vorak R-KVT-MS";
constexpr const char* kSecondGeneration = "Vorak R-KVT-MS-2";

// Per type: what the version text gets behind it and what the type does to
// the window. A null suffix means the channel variant's suffix.
struct TypeRow {
  std::uint8_t type;
  const char* typeText;
  const char* suffix;
  bool clearsWorkingFirmware;  // loaders of type 5 and 9 leave the flag alone
  bool special;                // loader or test firmware: no state read
};

constexpr std::array kTypes{
    TypeRow{1, kFirstGeneration, "", false, false},
    TypeRow{2, kFirstGeneration, " - bootloader", true, true},
    TypeRow{3, kFirstGeneration, " - test_AFC", true, true},
    TypeRow{4, kFirstGeneration, " - test_dig_dop", true, true},
    TypeRow{5, kSecondGeneration, " - bootloader", false, true},
    TypeRow{6, kSecondGeneration, nullptr, false, false},
    TypeRow{7, kSecondGeneration, " - test_AFC", true, true},
    TypeRow{8, kSecondGeneration, " - test_dig_dop", true, true},
    TypeRow{9, kSecondGeneration, " - bootloader", false, true},
};

struct Variant {
  std::int32_t value;
  const char* suffix;
};

constexpr Variant kDefaultVariant{0, " - KAP"};
constexpr Variant kUnrecognisedVariant{0, " - ???"};

// Variant code (byte 5, bits 0-2) of the older firmware, codes 0-6; code 7
// depends on the version and comes from the family row.
constexpr std::array<Variant, 7> kOlderCodes{
    Variant{0, " - KAP"},   Variant{1, " - KBL"},  Variant{4, " - KT60U"}, Variant{0, " - KAP"},
    Variant{5, " - KT24"}, Variant{2, " - KBU"}, Variant{3, " - KT60L"},
};

// Version families of type 6 (inclusive ranges of minor and last digit).
// Newer firmware knows code 7 only.
struct Family {
  int major;
  int minorLow, minorHigh;
  int lastLow, lastHigh;
  bool newer;
  Variant code7;
};

constexpr std::array kFamilies{
    Family{3, 0, 0, 0, 9, false, {0, " - KAP"}},      Family{3, 1, 1, 0, 4, false, {0, " - KAP"}},
    Family{3, 1, 1, 5, 9, false, {7, " - KAP3K"}},    Family{4, 0, 15, 0, 9, false, {7, " - PLN-3K"}},
    Family{5, 0, 15, 0, 9, true, {8, " - PLN-1K"}},   Family{6, 0, 15, 0, 9, true, {7, " - PLN-3K"}},
    Family{7, 0, 15, 0, 9, true, {9, " - PLN-2K"}},
};

Variant DecodeVariant(std::uint8_t versionByte, std::uint8_t third, std::uint8_t variantByte) {
  // A last character that is no digit matches no family: the version is unlisted.
  if (third < '0' || third > '9') return kDefaultVariant;
  const int major = versionByte >> 4;
  const int minor = versionByte & 0x0F;
  const int last = third - '0';
  const int code = variantByte & 0x07;
  for (const Family& f : kFamilies) {
    if (f.major != major || minor < f.minorLow || minor > f.minorHigh || last < f.lastLow || last > f.lastHigh)
      continue;
    if (code == 7) return f.code7;
    return f.newer ? kUnrecognisedVariant : kOlderCodes[code];
  }
  return kDefaultVariant;
}

}  // namespace

IdentificationOutcome DecodeIdentification(std::span<const std::uint8_t> block, MainWindowControls& controls) {
  IdentificationOutcome outcome;
  const std::uint8_t type = ByteAt(block, 2);
  const std::uint8_t versionByte = ByteAt(block, 3);
  const std::uint8_t third = ByteAt(block, 4);

  const TypeRow* row = nullptr;
  for (const TypeRow& r : kTypes)
    if (r.type == type) row = &r;

  if (row == nullptr) {
    controls.StaticTextModem.SetText(QStringLiteral("Unknown modem !"));
    const std::array<std::uint8_t, 4> identification{ByteAt(block, 1), type, versionByte, third};
    controls.StaticTextVersion.SetText(QStringLiteral("0x") + HexDigits(identification));
    outcome.beep = true;
    outcome.uiState = UiState::UnknownModem;
    return outcome;
  }

  // A third character that is no digit is shown as the modem sent it.
  QString version = QString::number(versionByte >> 4) + QLatin1Char('.') + QString::number(versionByte & 0x0F) +
                    QChar::fromLatin1(static_cast<char>(third));
  outcome.softwareLevel = SoftwareLevel(type, versionByte, third);
  if (row->suffix != nullptr) {
    version += QLatin1String(row->suffix);
  } else {
    const Variant variant = DecodeVariant(versionByte, third, ByteAt(block, 5));
    outcome.modemVariant = variant.value;
    version += QLatin1String(variant.suffix);
  }
  controls.StaticTextModem.SetText(QLatin1String(row->typeText));
  controls.StaticTextVersion.SetText(version);

  if (row->clearsWorkingFirmware) outcome.workingFirmware = false;
  if (row->special) {
    outcome.uiState = UiState::IdentifiedSpecial;
  } else if (outcome.softwareLevel == 0) {
    outcome.beep = true;
    outcome.message = QStringLiteral(" This version of software modem is not support!");
    outcome.uiState = UiState::UnsupportedVersion;
  } else {
    outcome.supported = true;
  }
  return outcome;
}

}  // namespace rkvt
