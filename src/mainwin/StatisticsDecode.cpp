#include <array>

#include "mainwin/BlockBytes.h"
#include "mainwin/CounterTexts.h"
#include "mainwin/Decode.h"

namespace rkvt {

namespace {

constexpr std::int32_t kPartsPerSecond = 42000;
constexpr std::int32_t kMinutesPerDay = 1440;
constexpr std::int32_t kSecondsPerDay = 86400;

using Controls = MainWindowControls;
using TextMember = ui::StaticText Controls::*;

// Where each statistics time sits: part of the minute, then whole minutes.
struct TimeField {
  TextMember field;
  std::size_t part;
  std::size_t minutes;
};
constexpr std::array kStatisticsTimes{
    TimeField{&Controls::StaticTextFillTime, 32, 36},
    TimeField{&Controls::StaticTextCurrTime, 40, 44},
    TimeField{&Controls::StaticTextNoLineTime, 60, 64},
    TimeField{&Controls::StaticTextErrorsTime, 68, 72},
};
constexpr std::size_t kParameters = 76;  // four big-endian words

// The ES tests' four counters, seconds each, from byte 8 on.
constexpr std::array<TextMember, 4> kTestTimes{
    &Controls::StaticTextRdTime,
    &Controls::StaticTextNRdTime,
    &Controls::StaticTextESTime,
    &Controls::StaticTextSESTime,
};
constexpr std::size_t kTestCounters = 8;
constexpr int kLastEsTest = 2;
constexpr int kDlTest = 5;

QString TwoDigits(std::int32_t value) {
  return (value < 10 ? QStringLiteral("0") : QString()) + QString::number(value);
}

QString ClockText(std::int32_t days, std::int32_t hours, std::int32_t mins, std::int32_t secs) {
  QString text;
  if (days >= 1) text = QString::number(days) + QStringLiteral(" d ");
  return text + QString::number(hours) + QLatin1Char(':') + TwoDigits(mins) + QLatin1Char(':') + TwoDigits(secs);
}

QString HexWord(std::uint16_t value) {
  return QStringLiteral("0x") + QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QString StatisticsTimeText(std::int32_t part, std::int32_t minutes) {
  const std::int32_t days = minutes / kMinutesPerDay;
  const std::int32_t hours = (minutes - days * kMinutesPerDay) / 60;
  const std::int32_t mins = minutes - days * kMinutesPerDay - hours * 60;
  return ClockText(days, hours, mins, part / kPartsPerSecond);
}

QString TestTimeText(std::int32_t seconds) {
  const std::int32_t days = seconds / kSecondsPerDay;
  const std::int32_t hours = (seconds - days * kSecondsPerDay) / 3600;
  const std::int32_t mins = (seconds - days * kSecondsPerDay - hours * 3600) / 60;
  const std::int32_t secs = seconds - days * kSecondsPerDay - hours * 3600 - mins * 60;
  return ClockText(days, hours, mins, secs) + QLatin1Char(' ');
}

QString BitCounterText(std::int32_t count) {
  QString text = QString::number(count);
  // Groups are cut by character count, so a minus sign fills a digit's place.
  for (qsizetype cut = text.size() - 3; cut > 0; cut -= 3) text.insert(cut, QLatin1Char('.'));
  return text + QLatin1Char(' ');
}

std::array<QString, 4> DecodeStatistics(std::span<const std::uint8_t> block, MainWindowControls& controls) {
  for (const TimeField& t : kStatisticsTimes)
    (controls.*t.field).SetText(StatisticsTimeText(BigEndian32(block, t.part), BigEndian32(block, t.minutes)));
  const std::array<QString, 4> parameters{
      HexWord(BigEndian16(block, kParameters)),
      HexWord(BigEndian16(block, kParameters + 2)),
      QString::number(BigEndian16(block, kParameters + 4)),
      QString::number(BigEndian16(block, kParameters + 6)),
  };
  controls.StaticTextFaults.SetText(parameters[0]);
  return parameters;
}

void DecodeTestCounters(std::span<const std::uint8_t> block, int testIndex, MainWindowControls& controls) {
  if (testIndex >= 0 && testIndex <= kLastEsTest) {
    for (std::size_t i = 0; i < kTestTimes.size(); ++i)
      (controls.*kTestTimes[i]).SetText(TestTimeText(BigEndian32(block, kTestCounters + 4 * i)));
  } else if (testIndex == kDlTest) {
    controls.StaticTextBits.SetText(BitCounterText(BigEndian32(block, kTestCounters)));
  }
}

}  // namespace rkvt
