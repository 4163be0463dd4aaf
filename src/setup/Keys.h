#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include <QStringView>

namespace rkvt::setup {

// Every parameter key a value link of the setup list can carry.
enum class Key : std::uint8_t {
  Interface,
  MBitRate, MRateMode, MBitRateUpTo, MTransmitLevel, MAspType, MMSDefault, MTransitions, MConnection, MChannels,
  LLC, CarrierShift, Interleaver, MClockFreq, SClockMode,
  EDuplex, EFilter, ECompression, ESpeed,
  ABitRate, ADataBits, AStopBits, AParity, AFlowControl,
  DCDManagement, CTSManagement, DSRManagement, DTRSensibility,
  E1Mode, E1TSMap, E1TSSig, E1TSNumber, E1Crc4, E1JittAtt, E1JittAttDepth, E1RCGain, E1AIS, E1RAI, E1Sig,
};
inline constexpr std::size_t kKeyCount = static_cast<std::size_t>(Key::E1Sig) + 1;

// What a click on the key's value link does.
enum class KeyKind {
  Composed,  // a choice list the rules compose (Interface)
  Choice,    // opens a choice list
  Flip,      // changes at once between two texts
  Display,   // shows its value only
};

constexpr std::size_t Index(Key key) { return static_cast<std::size_t>(key); }

struct KeySpec {
  Key key;
  std::string_view name;
  KeyKind kind;
};


inline constexpr std::array<KeySpec, kKeyCount> kKeySpecs{{
    {Key::Interface, "Interface", KeyKind::Composed},
    {Key::MBitRate, "MBitRate", KeyKind::Choice},
    {Key::MRateMode, "MRateMode", KeyKind::Flip},
    {Key::MBitRateUpTo, "MBitRateUpTo", KeyKind::Choice},
    {Key::MTransmitLevel, "MTransmitLevel", KeyKind::Choice},
    {Key::MAspType, "MAspType", KeyKind::Choice},
    {Key::MMSDefault, "MMSDefault", KeyKind::Flip},
    {Key::MTransitions, "MTransitions", KeyKind::Choice},
    {Key::MConnection, "MConnection", KeyKind::Flip},
    {Key::MChannels, "MChannels", KeyKind::Choice},
    {Key::LLC, "LLC", KeyKind::Flip},
    {Key::CarrierShift, "CarrierShift", KeyKind::Flip},
    {Key::Interleaver, "Interleaver", KeyKind::Choice},
    {Key::MClockFreq, "MClockFreq", KeyKind::Choice},
    {Key::SClockMode, "SClockMode", KeyKind::Choice},
    {Key::EDuplex, "EDuplex", KeyKind::Flip},
    {Key::EFilter, "EFilter", KeyKind::Flip},
    {Key::ECompression, "ECompression", KeyKind::Flip},
    {Key::ESpeed, "ESpeed", KeyKind::Flip},
    {Key::ABitRate, "ABitRate", KeyKind::Choice},
    {Key::ADataBits, "ADataBits", KeyKind::Display},
    {Key::AStopBits, "AStopBits", KeyKind::Display},
    {Key::AParity, "AParity", KeyKind::Display},
    {Key::AFlowControl, "AFlowControl", KeyKind::Display},
    {Key::DCDManagement, "DCDManagement", KeyKind::Display},
    {Key::CTSManagement, "CTSManagement", KeyKind::Display},
    {Key::DSRManagement, "DSRManagement", KeyKind::Display},
    {Key::DTRSensibility, "DTRSensibility", KeyKind::Display},
    {Key::E1Mode, "E1Mode", KeyKind::Flip},
    {Key::E1TSMap, "E1TSMap", KeyKind::Choice},
    {Key::E1TSSig, "E1TSSig", KeyKind::Choice},
    {Key::E1TSNumber, "E1TSNumber", KeyKind::Flip},
    {Key::E1Crc4, "E1Crc4", KeyKind::Flip},
    {Key::E1JittAtt, "E1JittAtt", KeyKind::Choice},
    {Key::E1JittAttDepth, "E1JittAttDepth", KeyKind::Flip},
    {Key::E1RCGain, "E1RCGain", KeyKind::Flip},
    {Key::E1AIS, "E1AIS", KeyKind::Flip},
    {Key::E1RAI, "E1RAI", KeyKind::Flip},
    {Key::E1Sig, "E1Sig", KeyKind::Flip},
}};

constexpr bool KeysInOrder() {
  for (std::size_t i = 0; i < kKeySpecs.size(); ++i)
    if (Index(kKeySpecs[i].key) != i || kKeySpecs[i].name.empty()) return false;
  return true;
}
static_assert(KeysInOrder(), "one row per key, in the order of the Key enum");


std::optional<Key> FindKey(QStringView name);
std::string_view KeyName(Key key);
KeyKind KindOf(Key key);


}  // namespace rkvt::setup
