#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include <QString>
#include <QStringList>

namespace rkvt::setup {

// The two facts from identification that shape the record: the software
// level (1-17) and the modem variant (0-9).
struct ModemContext {
  int level = 0;
  int variant = 0;
};

// Software-level thresholds the setup rules compare with.
namespace level {
inline constexpr int kFirst = 1;            // transmit level in byte 1
inline constexpr int kSecondLayout = 7;     // module slot codes in byte 22, E1 and E1 + KSI
inline constexpr int kMultiplexer = 8;      // E1 multiplexer at 256 / 320
inline constexpr int kChannelRates = 9;     // rates by variant, four index bits
inline constexpr int kWideMultiplexer = 10; // E1 multiplexer at 512 / 640 too
inline constexpr int kKsi = 11;             // E1 + KSI offered
inline constexpr int kRateMode = 12;        // rate mode rows for variants 8 and 9
inline constexpr int kPln3k = 13;           // variant 7 rate mode, ASP type, two time slots
inline constexpr int kAvcCheck = 14;        // byte 20 decides whether AVC is offered
inline constexpr int kReceiverOption = 15;  // LLC, carrier shift; 5.6 kbit/s for variant 8
}  // namespace level

inline bool IsRateModeVariant(int variant) { return variant >= 7 && variant <= 9; }
inline bool IsChannelVariant(int variant) { return variant >= 1 && variant <= 6; }

struct IndexText {
  int index;
  std::string_view text;
};

// A field value to text table: the listed indexes, every other one shows `otherwise`.
struct RateTable {
  std::string_view otherwise;
  std::span<const IndexText> entries;
  std::string_view TextOf(int index) const {
    for (const IndexText& e : entries)
      if (e.index == index) return e.text;
    return otherwise;
  }
};

inline constexpr IndexText kRates64[] = {{1, "128"}, {2, "192"}, {3, "256"}, {4, "320"}};
inline constexpr IndexText kRatesE1Low[] = {{4, "320"}};
inline constexpr IndexText kRates128[] = {{3, "256"}, {5, "384"}, {7, "512"}, {9, "640"}};
inline constexpr IndexText kRatesE1High[] = {{9, "640"}};
inline constexpr IndexText kRatesV7[] = {{1, "32"}, {2, "48"}, {3, "64"}, {4, "80"}};
inline constexpr IndexText kRatesV8[] = {{1, "14.4"}, {2, "16.8"}, {3, "19.2"}, {4, "24.0"}};
inline constexpr IndexText kRatesV8Level15[] = {{1, "14.4"}, {2, "16.8"}, {3, "19.2"}, {4, "24.0"}, {5, "5.6"}};
inline constexpr IndexText kRatesV9[] = {{0, "24.0"}, {1, "28.8"}, {2, "33.6"}, {3, "38.4"}, {4, "50.4"}};

// Text to field value when a rate is stored.
inline constexpr IndexText kStoreRates[] = {{0, "64"},  {1, "128"}, {2, "192"}, {3, "256"},
                                            {4, "320"}, {5, "384"}, {7, "512"}, {9, "640"}};
inline constexpr IndexText kStoreRatesV7[] = {{0, "16"}, {1, "32"}, {2, "48"}, {3, "64"}, {4, "80"}};
inline constexpr IndexText kStoreRatesV8[] = {{0, "9.6"},  {1, "14.4"}, {2, "16.8"},
                                              {3, "19.2"}, {4, "24.0"}, {5, "5.6"}};
inline constexpr IndexText kStoreRatesV9[] = {{0, "24.0"}, {1, "28.8"}, {2, "33.6"},
                                              {3, "38.4"}, {4, "50.4"}, {5, "12.0"}};

// The rate table for the line bit rate field; view is the interface view 1-6.
RateTable LineRateTable(const ModemContext& ctx, int view);
// Where the index sits: bits 0-3 (true) or bits 0-2.
bool FourIndexBits(const ModemContext& ctx);
std::span<const IndexText> StoreRateTable(const ModemContext& ctx);

using TextList = std::span<const std::string_view>;

inline constexpr std::string_view kCeilingV7[] = {"48", "64", "80"};
inline constexpr std::string_view kCeilingV8[] = {"16.8", "19.2", "24.0"};
inline constexpr std::string_view kCeilingV9[] = {"33.6", "38.4", "50.4"};
TextList CeilingList(int variant);  // empty for variants without a ceiling

inline constexpr std::string_view kTransitions[] = {"None", "1", "2", "3"};
inline constexpr std::string_view kRepeaters[] = {"None", "5", "10", "14"};
// Variants 3 to 6, 8 and 9 from level 9 count regenerators instead of transitions.
bool RepeatersForm(const ModemContext& ctx);

inline constexpr std::string_view kLevelOneTransmit[] = {"-50", "-49", "-48", "-47", "-46",
                                                         "-45", "-42", "-27.5", "-9.5", "-3"};
inline constexpr std::string_view kChannels[] = {"1-2-3", "2-3-4",  "3-4-5",   "4-5-6",    "5-6-7",
                                                 "6-7-8", "7-8-9", "8-9-10", "9-10-11", "10-11-12"};
inline constexpr std::string_view kInterleaver[] = {"Off", "Low", "Middle", "High"};
inline constexpr std::string_view kClockModes[] = {"Internal (TxC)", "External (CLK)", "Receiver (RxC)"};
inline constexpr std::string_view kAsyncRates[] = {"57.6", "115.2", "230.4"};
inline constexpr std::string_view kTimeSlotSignalling[] = {"16", "19", "28", "31"};
inline constexpr std::string_view kJitterDecode[] = {"Receiver", "Disabled", "Transmitter", "Disabled"};
inline constexpr std::string_view kJitterChoices[] = {"Disabled", "Receiver", "Transmitter"};

inline constexpr std::string_view kAspV8[] = {"ASK 1",      "AVS 1",     "ET6n",       "AVC",
                                              "AVC-8 High", "AVC-8 Low", "SPI 1st ch", "SPI 2nd ch",
                                              "SPI 1ch w/o sys", "SPI 2ch w/o sys"};
inline constexpr std::string_view kAspV7[] = {"ASK 3", "AVS 3", "AVC", "WBC12"};
inline constexpr std::string_view kAspV9[] = {"AVC"};
// The ASP type names of the variant; empty where the byte means something else.
TextList AspTypes(const ModemContext& ctx);

// Transmit level families; Level1 is the four-bit index of level 1.
enum class TransmitFamily { Level1, A, B, C, D };
TransmitFamily FamilyOf(const ModemContext& ctx);
// Choices in half dB (the code is 160 + this), in list order.
std::span<const int> FamilyHalfDb(const ModemContext& ctx);
// "-49.5", "-49": a level in half dB as the list writes it.
QString HalfDbText(int halfDb);
QString DecodeTransmitCode(const ModemContext& ctx, int code);

// E1 time-slot groups of variants 0 to 6, by E1 mode and line bit rate text.
struct TimeSlotRow {
  int mode;
  std::string_view rate;
  std::array<std::string_view, 4> entries;
  int count;
};
inline constexpr std::array<TimeSlotRow, 8> kTimeSlotRows{{
    {1, "256", {"0, 1...2", "0, 9...10", "0, 17...18", "0, 25...26"}, 4},
    {1, "320", {"0, 1...3", "0, 9...11", "0, 17...19", "0, 25...27"}, 4},
    {2, "256", {"1...3", "9...11", "17...19", "25...27"}, 4},
    {2, "320", {"1...4", "9...12", "17...20", "25...28"}, 4},
    {1, "512", {"0, 1...6", "0, 17...22", {}, {}}, 2},
    {1, "640", {"0, 1...8", "0, 17...24", {}, {}}, 2},
    {2, "512", {"1...7", "17...23", {}, {}}, 2},
    {2, "640", {"1...9", "17...25", {}, {}}, 2},
}};
const TimeSlotRow* FindTimeSlotRow(int e1Mode, QStringView rateText);

// How the time-slot field of the E1 block reads for this modem.
enum class TimeSlotForm { None, Groups, OneSlot, TwoSlots };
// e1TsNumberText: the TS number value text ("1" or other).
TimeSlotForm TimeSlotFormOf(const ModemContext& ctx, QStringView e1TsNumberText);
QString OneSlotText(int t);
QString TwoSlotText(int t);

QString Text(std::string_view latin1);
QStringList Texts(TextList list);
int IndexOf(TextList list, QStringView text);  // -1 when absent

}  // namespace rkvt::setup
