#include "mainwin/StateFields.h"

#include <array>

#include "mainwin/BlockBytes.h"
#include "mainwin/Decode.h"
#include "mainwin/DecodeColors.h"
#include "mainwin/SignalPanels.h"

namespace rkvt {

namespace {

using ui::Color;

struct Shown {
  const char* text;
  Color font;
  Color background;
};

constexpr Color kNormal = Color::WindowText();
constexpr Color kFace = Color::ButtonFace();

void Show(ui::StaticText& field, const QString& text, Color font, Color background) {
  field.SetText(text);
  field.SetFontColor(font);
  field.SetBackground(background);
}

constexpr std::array<Shown, 8> kQuality{
    Shown{"A", kNormal, kFace},
    Shown{"B", colors::kTeal, kFace},
    Shown{"C", colors::kPurple, kFace},
    Shown{"D", colors::kMaroon, kFace},
    Shown{"E", colors::kOlive, kFace},
    Shown{"No Line", ui::colors::kRed, kFace},
    Shown{"Unknown", ui::colors::kWhite, ui::colors::kRed},
    Shown{"Unknown", ui::colors::kWhite, ui::colors::kRed},
};
constexpr int kNoLineClass = 5;

constexpr const char* kUnknownRate = " Unknown";

// First-generation line rate index (3 bits).
constexpr std::array<const char*, 8> kFirstGenerationLineRate{
    " 64000", " 128000", " 192000", " 256000", " 320000", kUnknownRate, kUnknownRate, kUnknownRate,
};

// Asynchronous port rate index (2 bits).
constexpr std::array<const char*, 4> kAsyncRate{" 57600", " 115200", " 230400", kUnknownRate};

// Hundreds of bit/s for the power-line variants.
constexpr std::array<int, 8> kT8{96, 144, 168, 192, 240, 56, 240, 240};
constexpr std::array<int, 8> kT9{240, 288, 336, 384, 504, 120, 240, 240};

struct CableRow {
  int code;
  const char* text;
  Color font;
};

constexpr const char* kDteNotSupported = "DTE not support";
constexpr std::array kCables{
    CableRow{2, kDteNotSupported, colors::kTeal},    CableRow{4, kDteNotSupported, colors::kTeal},
    CableRow{5, kDteNotSupported, colors::kTeal},    CableRow{12, kDteNotSupported, colors::kTeal},
    CableRow{13, kDteNotSupported, colors::kTeal},   CableRow{14, kDteNotSupported, colors::kTeal},
    CableRow{18, "DCE RS-232/V.24", kNormal},        CableRow{20, "DCE RS-449/530", kNormal},
    CableRow{28, "DCE RS-449/530", kNormal},         CableRow{21, "DCE RS-485", kNormal},
    CableRow{30, "DCE V.35", kNormal},               CableRow{31, "No Cable", ui::colors::kGreen},
};
constexpr CableRow kCableError{-1, "Cable error", ui::colors::kRed};

struct Condition {
  std::uint8_t bit;
  const char* text;
};
// In order of precedence.
constexpr std::array kConditions{
    Condition{0x10, "Freq shift too high"},
    Condition{0x08, "Input level too low"},
    Condition{0x04, "Input level too high"},
};

void ShowRate(ui::StaticText& field, const QString& text) {
  const bool unknown = text == QLatin1String(kUnknownRate);
  Show(field, text, unknown ? ui::colors::kWhite : kNormal, unknown ? ui::colors::kRed : kFace);
}

// Second-generation rates by channel variant: 7 in steps of 16 kbit/s, 8 and
// 9 from their own tables, the others in steps of 64 kbit/s.
QString VariantRate(std::int32_t modemVariant, int n) {
  switch (modemVariant) {
    case 7:
      return QLatin1Char(' ') + QString::number(16 * n + 16) + QStringLiteral("000");
    case 8:
      return QLatin1Char(' ') + QString::number(kT8[n & 7]) + QStringLiteral("00");
    case 9:
      return QLatin1Char(' ') + QString::number(kT9[n & 7]) + QStringLiteral("00");
    default:
      return QLatin1Char(' ') + QString::number(64 * n + 64) + QStringLiteral("000");
  }
}

QString LineRateText(std::span<const std::uint8_t> block, std::int32_t softwareLevel, std::int32_t modemVariant) {
  const std::uint8_t byte5 = ByteAt(block, 5);
  if (IsSecondGeneration(softwareLevel)) return VariantRate(modemVariant, (byte5 >> 3) & 0x0F);
  return QLatin1String(kFirstGenerationLineRate[(byte5 >> 3) & 0x07]);
}

}  // namespace

void ShowCable(std::uint8_t cableCode, MainWindowControls& controls) {
  const CableRow* row = &kCableError;
  for (const CableRow& r : kCables)
    if (r.code == (cableCode & 0x1F)) row = &r;
  controls.StaticTextCable.SetText(QLatin1String(row->text));
  controls.StaticTextCable.SetFontColor(row->font);
}

void ShowLineQuality(std::span<const std::uint8_t> block, MainWindowControls& controls) {
  const Shown& q = kQuality[ByteAt(block, 5) & 0x07];
  Show(controls.StaticTextQual, QLatin1String(q.text), q.font, q.background);
}

void ShowLineBitRate(std::span<const std::uint8_t> block, std::int32_t softwareLevel, std::int32_t modemVariant,
                     MainWindowControls& controls) {
  ShowRate(controls.StaticTextBitRateLine, LineRateText(block, softwareLevel, modemVariant));
}

void ShowPortBitRate(std::span<const std::uint8_t> block, std::int32_t softwareLevel, std::int32_t modemVariant,
                     int interfaceCode, MainWindowControls& controls) {
  ui::StaticText& field = controls.StaticTextBitRatePx;
  if (!IsSecondGeneration(softwareLevel)) {
    // A synchronous port runs at the line rate.
    if (interfaceCode == 1) ShowRate(field, LineRateText(block, softwareLevel, modemVariant));
    if (interfaceCode == 4) ShowRate(field, QLatin1String(kAsyncRate[ByteAt(block, 5) >> 6]));
    return;
  }
  const Slot slot = ChooseSlot(block);
  if (slot == Slot::None) return;
  const std::uint8_t rate = ByteAt(block, SlotOffset(slot) + 3);
  if (interfaceCode == 1 || interfaceCode == 6) ShowRate(field, VariantRate(modemVariant, rate & 0x0F));
  if (interfaceCode == 4) ShowRate(field, QLatin1String(kAsyncRate[(rate >> 4) & 0x03]));
}

void ShowLineCondition(std::span<const std::uint8_t> block, MainWindowControls& controls) {
  const std::uint8_t condition = ByteAt(block, 4);
  for (const Condition& c : kConditions) {
    if (condition & c.bit) {
      controls.StaticTextState.SetText(QLatin1String(c.text));
      controls.StaticTextState.SetFontColor(ui::colors::kRed);
      return;
    }
  }
  controls.StaticTextState.SetText(QStringLiteral("Normal"));
  controls.StaticTextState.SetFontColor(kNormal);
}

void ShowStateText(std::span<std::uint8_t> block, std::size_t activityAt, bool targetLocal,
                   MainWindowControls& controls) {
  ui::StaticText& state = controls.StaticTextState;
  if ((ByteAt(block, 5) & 0x07) == kNoLineClass) {
    state.SetText(QStringLiteral("Error"));
    state.SetFontColor(ui::colors::kRed);
    return;
  }
  const QString activity = ActivityText(block, activityAt, targetLocal);
  // The " ??? 0x" dump means nobody holds the modem: the line is the news.
  if (activity.size() > 1 && activity[1] == QLatin1Char('?')) {
    ShowLineCondition(block, controls);
    return;
  }
  state.SetText(activity);
  state.SetFontColor(ui::colors::kGreen);
}

}  // namespace rkvt
