#include "setup/ListBuilder.h"

#include <array>

namespace rkvt::setup {

namespace {

struct RowSpec {
  Row row;
  const char* text;
};

constexpr std::array kRows{
    RowSpec{Row::Header, R"( Parameter : <IND x="140">|<IND x="150">Value :<HR>)"},
    RowSpec{Row::InterfaceP2Sync, R"( Interface : <IND x="150"><A href="Interface">P2 Sync</A><HR>)"},
    RowSpec{Row::InterfaceEthernet, R"( Interface : <IND x="150"><A href="Interface">Ethernet</A><HR>)"},
    RowSpec{Row::InterfaceP2Async, R"( Interface : <IND x="150"><A href="Interface">P2 Async</A><HR>)"},
    RowSpec{Row::InterfaceE1, R"( Interface : <IND x="150"><A href="Interface">E1</A><HR>)"},
    RowSpec{Row::InterfaceE1Ksi, R"( Interface : <IND x="150"><A href="Interface">E1 + KSI</A><HR>)"},
    RowSpec{Row::Modulation, R"( Modulation :</A>)"},
    RowSpec{Row::BitRate, R"(     Bit Rate, Kbit/s : <IND x="150"><A href="MBitRate">64</A>)"},
    RowSpec{Row::RateMode, R"(     Rate Mode : <IND x="150"><A href="MRateMode">Auto</A>)"},
    RowSpec{Row::Ceiling, R"(     Bit Rate Up To, Kbit/s : <IND x="150"><A href="MBitRateUpTo">64</A>)"},
    RowSpec{Row::FixedCeiling, R"(     Bit Rate Up To, Kbit/s : <IND x="150">48)"},
    RowSpec{Row::TransmitLevel, R"(     Transmit Level, dB : <IND x="150"><A href="MTransmitLevel">-50</A>)"},
    RowSpec{Row::AspType, R"(     ASP type : <IND x="150"><A href="MAspType">ASK 3</A>)"},
    RowSpec{Row::MsDefault, R"(     M/S Default : <IND x="150"><A href="MMSDefault">Master</A>)"},
    RowSpec{Row::Transitions, R"(     Transitions : <IND x="150"><A href="MTransitions">None</A>)"},
    RowSpec{Row::Repeaters, R"(     Repiters : <IND x="150"><A href="MTransitions">None</A>)"},
    RowSpec{Row::Connection, R"(     Connection : <IND x="150"><A href="MConnection">Long</A>)"},
    RowSpec{Row::Channels, R"(       Channels : <IND x="150"><A href="MChannels">1-2-3</A>)"},
    RowSpec{Row::ReceiverOption, R"( Receiver option :</A>)"},
    RowSpec{Row::Llc, R"(     LLC :<IND x="150"><A href="LLC">Disabled</A>)"},
    RowSpec{Row::CarrierShift, R"(     Carrier Shift : <IND x="150"><A href="CarrierShift">Standart</A>)"},
    RowSpec{Row::Interleaver, R"( Interleaver : <IND x="150"><A href="Interleaver">Off</A><HR>)"},
    RowSpec{Row::Port2, R"( Port 2 :</A>)"},
    RowSpec{Row::SyncBitRate, R"(     Sync BitRate, Kbit/s : <IND x="150">)"},
    RowSpec{Row::ClockFrequency, R"(     Clock Frequency, kHz : <IND x="150"><A href="MClockFreq">As Bit Rate</A>)"},
    RowSpec{Row::ClockMode, R"(     Clock Mode : <IND x="150"><A href="SClockMode">Internal (TxC)</A>)"},
    RowSpec{Row::Ethernet, R"( Ethernet :</A>)"},
    RowSpec{Row::Duplex, R"(     Duplex : <IND x="150"><A href="EDuplex">Enabled</A>)"},
    RowSpec{Row::Filter, R"(     Filter : <IND x="150"><A href="EFilter">Enabled</A>)"},
    RowSpec{Row::Compression, R"(     Compression : <IND x="150"><A href="ECompression">Enabled</A>)"},
    RowSpec{Row::Speed, R"(     Speed, Mbit/s : <IND x="150"><A href="ESpeed">10</A>)"},
    RowSpec{Row::AsyncBitRate, R"(     Async BitRate, Kbit/s : <IND x="150"><A href="ABitRate">57.6</A>)"},
    RowSpec{Row::DataBits, R"(     Data bits : <IND x="150"><A href="ADataBits">5</A>)"},
    RowSpec{Row::StopBits, R"(     Stop bits : <IND x="150"><A href="AStopBits">1</A>)"},
    RowSpec{Row::Parity, R"(     Parity : <IND x="150"><A href="AParity">None</A>)"},
    RowSpec{Row::FlowControl, R"(     Flow Control : <IND x="150"><A href="AFlowControl">RTS/CTS</A>)"},
    RowSpec{Row::DcdManagement, R"(     DCD Management : <IND x="150"><A href="DCDManagement">Always active</A>)"},
    RowSpec{Row::CtsManagement, R"(     CTS Management : <IND x="150"><A href="CTSManagement">Always active</A>)"},
    RowSpec{Row::DsrManagement, R"(     DSR Management : <IND x="150"><A href="DSRManagement">Always active</A>)"},
    RowSpec{Row::DtrSensibility, R"(     DTR Sensibility : <IND x="150"><A href="DTRSensibility">Normal</A>)"},
    RowSpec{Row::E1, R"( E1 :</A>)"},
    RowSpec{Row::E1Mode, R"(     Mode : <IND x="150"><A href="E1Mode">1</A>)"},
    RowSpec{Row::Multiplexer, R"(     Multiplexer :</A>)"},
    RowSpec{Row::MuxMapping, R"(       TS Mapping : <IND x="150"><A href="E1TSMap">0, 1-2</A>)"},
    RowSpec{Row::MuxSignalling, R"(       TS Signaling : <IND x="150"><A href="E1TSSig">16</A>)"},
    RowSpec{Row::TsNumber, R"(     TS Number : <IND x="150"><A href="E1TSNumber">1</A>)"},
    RowSpec{Row::FixedTsNumber, R"(     TS Number : <IND x="150">1)"},
    RowSpec{Row::TsMapping, R"(     TS Mapping : <IND x="150"><A href="E1TSMap">1</A>)"},
    RowSpec{Row::Crc4, R"(     CRC4 : <IND x="150"><A href="E1Crc4">Disabled</A>)"},
    RowSpec{Row::JitterAttenuator, R"(     Jitter Attenuator : <IND x="150"><A href="E1JittAtt">Disabled</A>)"},
    RowSpec{Row::JitterDepth, R"(     Jitter Attenuatordepth, bit : <IND x="150"><A href="E1JittAttDepth">128</A>)"},
    RowSpec{Row::RcGain, R"(     RC Gain, dB : <IND x="150"><A href="E1RCGain">-12</A>)"},
    RowSpec{Row::Ais, R"(     AIS : <IND x="150"><A href="E1AIS">Disabled</A>)"},
    RowSpec{Row::Rai, R"(     RAI : <IND x="150"><A href="E1RAI">Disabled</A>)"},
    RowSpec{Row::E1Signalling, R"(     Signaling : <IND x="150"><A href="E1Sig">CAS</A>)"},
    RowSpec{Row::FixedSyncBitRate, R"(     Sync BitRate, Kbit/s : <IND x="150">64)"},
};

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kRows.size(); ++i)
    if (static_cast<std::size_t>(kRows[i].row) != i) return false;
  return kRows.size() == static_cast<std::size_t>(Row::FixedSyncBitRate) + 1;
}
static_assert(RowsInOrder(), "one text per row, in the order of the Row enum");

// The value pass, in the order the list is filled.
constexpr std::array kValueOrder{
    Key::SClockMode,   Key::MTransitions,  Key::MAspType,     Key::MMSDefault,   Key::MTransmitLevel,
    Key::MBitRate,     Key::MChannels,     Key::LLC,          Key::CarrierShift, Key::Interleaver,
    Key::MRateMode,    Key::MClockFreq,    Key::MBitRateUpTo, Key::MConnection,  Key::ABitRate,
    Key::ADataBits,    Key::AStopBits,     Key::AParity,      Key::AFlowControl, Key::ECompression,
    Key::ESpeed,       Key::EFilter,       Key::EDuplex,      Key::E1JittAtt,    Key::E1Mode,
    Key::E1TSNumber,   Key::E1TSMap,       Key::E1TSSig,      Key::E1Crc4,       Key::E1JittAttDepth,
    Key::E1RCGain,     Key::E1AIS,         Key::E1RAI,        Key::E1Sig,
};

const char* InitialRate(int variant) {
  switch (variant) {
    case 7: return "16";
    case 8: return "9.6";
    case 9: return "12.0";
    default: return "64";
  }
}

class Builder {
 public:
  Builder(const ConfigRecord& record, ParamList& list)
      : r_(record), list_(list), level_(record.Context().level), variant_(record.Context().variant) {}

  void Build() {
    list_.Clear();
    Add(Row::Header);
    const int v = r_.InterfaceView();
    switch (v) {
      case view::kEthernet:
      case view::kEthernet100:
        Add(Row::InterfaceEthernet);
        CommonModulation(true);
        Add(Row::Interleaver);
        Add(Row::Ethernet);
        Add(Row::Duplex);
        Add(Row::Filter);
        Add(v == view::kEthernet ? Row::Compression : Row::Speed);
        break;
      case view::kP2Async:
        Add(Row::InterfaceP2Async);
        CommonModulation(false);
        Add(Row::Port2);
        for (Row row = Row::AsyncBitRate; row <= Row::DtrSensibility; row = static_cast<Row>(static_cast<int>(row) + 1))
          Add(row);
        break;
      case view::kE1:
      case view::kE1Ksi:
        Add(v == view::kE1 ? Row::InterfaceE1 : Row::InterfaceE1Ksi);
        E1Modulation();
        Add(Row::Interleaver);
        E1Block();
        if (v == view::kE1Ksi) {
          Add(Row::Port2);
          Add(Row::FixedSyncBitRate);
        }
        break;
      default:
        Add(Row::InterfaceP2Sync);
        CommonModulation(true);
        Add(Row::Interleaver);
        Add(Row::Port2);
        list_.Add(RowText(Row::SyncBitRate) + SyncRateText(r_));
        Add(Row::ClockFrequency);
        Add(Row::ClockMode);
        break;
    }
  }

 private:
  void Add(Row row) { list_.Add(RowText(row)); }
  void Add(Row row, const QString& initial) {
    const QString text = RowText(row);
    if (list_.Add(text)) list_.SetValue(*LinkKey(text), initial);
  }
  bool RateModeVariant() const { return IsRateModeVariant(variant_); }

  // Rate mode, then the line rate when Manual, else the ceiling row.
  void RateModeRows(Row autoRow) {
    Add(Row::RateMode);
    if (r_.Manual()) Add(Row::BitRate, QLatin1String(InitialRate(variant_)));
    else if (autoRow == Row::Ceiling) Add(Row::Ceiling, QLatin1String(variant_ == 8 ? "24.0" : variant_ == 9 ? "50.4" : "64"));
    else Add(autoRow);
  }

  void RatesOfVariants8And9(bool slave) {
    if (level_ < level::kRateMode) Add(Row::BitRate, QLatin1String(InitialRate(variant_)));
    else if (!slave) RateModeRows(Row::Ceiling);
  }

  void AspRows() {
    if ((variant_ == 7 && level_ >= level::kPln3k) || variant_ == 8 || variant_ == 9) {
      Add(Row::AspType, QLatin1String(variant_ == 8 ? "ASK 1" : variant_ == 9 ? "AVC" : "ASK 3"));
      Add(Row::MsDefault);
    }
  }

  void ReceiverRows() {
    if (level_ < level::kReceiverOption) return;
    Add(Row::ReceiverOption);
    Add(Row::Llc);
    Add(Row::CarrierShift);
  }

  bool TransitionsVariant() const { return variant_ >= 0 && variant_ <= 2; }

  // The P2 Async view ignores the M/S default.
  void CommonModulation(bool slaveMatters) {
    const bool slave = slaveMatters && r_.Slave();
    Add(Row::Modulation);
    if (variant_ == 8 || variant_ == 9) RatesOfVariants8And9(slave);
    else if (variant_ == 7 && level_ >= level::kPln3k) {
      if (!slave) RateModeRows(r_.Clock64() ? Row::FixedCeiling : Row::Ceiling);
    } else {
      Add(Row::BitRate, QLatin1String(InitialRate(variant_)));
    }
    Add(Row::TransmitLevel);
    AspRows();
    if (level_ < level::kChannelRates) Add(Row::Transitions);
    else if (level_ <= level::kPln3k && variant_ != 7) Add(TransitionsVariant() ? Row::Transitions : Row::Repeaters);
    if (level_ < level::kPln3k) {
      Add(Row::Connection);
      if (variant_ == 7) Add(Row::Channels);
    }
    ReceiverRows();
  }

  void E1Modulation() {
    Add(Row::Modulation);
    if (variant_ == 8 || variant_ == 9) {
      RatesOfVariants8And9(r_.Slave());
    } else if (variant_ == 7) {
      if (!r_.Slave()) RateModeRows(r_.TwoTimeSlots() ? Row::Ceiling : Row::FixedCeiling);
    } else if (level_ < level::kPln3k) {
      Add(Row::BitRate, QStringLiteral("256"));
    }
    Add(Row::TransmitLevel);
    AspRows();
    if (level_ < level::kChannelRates) Add(Row::Transitions);
    else if (level_ < level::kPln3k) Add(TransitionsVariant() ? Row::Transitions : Row::Repeaters);
    ReceiverRows();
  }

  void Multiplexer(const char* mode1, const char* mode2) {
    Add(Row::Multiplexer);
    Add(Row::MuxMapping, QLatin1String(r_.E1Mode() == 1 ? mode1 : mode2));
    if (r_.SignallingBit()) Add(Row::MuxSignalling);
  }

  void E1Block() {
    Add(Row::E1);
    const bool older = level_ < level::kPln3k && variant_ != 7;
    if (older) Add(Row::E1Mode);
    const int rate = r_.Received()[1];
    if (level_ == level::kMultiplexer) {
      if ((rate & 7) == 3) Multiplexer("0, 1-2", "1-2-3");
      if ((rate & 7) == 4) Multiplexer("0, 1-2-3", "1-2-3-4");
    }
    if (level_ >= level::kWideMultiplexer && level_ < level::kPln3k && variant_ != 7) {
      const int index = rate & 0x0F;
      if (IsChannelVariant(variant_)) {
        if (index == 7) Multiplexer("0, 1...6", "1...7");
        if (index == 9) Multiplexer("0, 1...8", "1...9");
      } else if (variant_ == 0) {
        if (index == 3) Multiplexer("0, 1...2", "1...3");
        if (index == 4) Multiplexer("0, 1...3", "1...4");
      }
    }
    if (variant_ == 7 && level_ >= level::kPln3k) {
      Add(Row::TsNumber);
      Add(Row::TsMapping);
    } else if (variant_ == 8 || variant_ == 9) {
      Add(Row::FixedTsNumber);
      Add(Row::TsMapping);
    }
    for (Row row : {Row::Crc4, Row::JitterAttenuator, Row::JitterDepth, Row::RcGain, Row::Ais, Row::Rai}) Add(row);
    if (older) Add(Row::E1Signalling);
  }

  const ConfigRecord& r_;
  ParamList& list_;
  int level_;
  int variant_;
};

}  // namespace

QString RowText(Row row) { return QString::fromLatin1(kRows[static_cast<std::size_t>(row)].text); }

ListLayout LayoutFor(int interfaceView) {
  return interfaceView == view::kE1Ksi ? ListLayout{650, 497} : ListLayout{450, 307};
}

ProfileSelection ProfilesFor(const RecordBytes& record) {
  const int active = record[byte::kActiveProfile];
  const bool saved = active >= 2 && active <= 5;
  return {saved ? active : 1, saved ? active : 2};
}

void BuildRows(const ConfigRecord& record, ParamList& list) { Builder(record, list).Build(); }

void ValuePass(const ConfigRecord& record, ParamList& list) {
  const bool signalling = (record.Working()[6] & 0x08) != 0;
  for (Key key : kValueOrder) {
    if (key == Key::E1TSSig && !signalling) continue;
    if (const auto text = record.Decode(key)) list.SetValue(Text(KeyName(key)), *text);
  }
}

QString SyncRateText(const ConfigRecord& record) {
  const ModemContext& c = record.Context();
  const int b = record.Received()[1];
  if (IsRateModeVariant(c.variant)) {
    // The variant's own table at every level, the index from four bits.
    return Text(LineRateTable({std::max(c.level, level::kChannelRates), c.variant}, view::kP2Sync).TextOf(b & 0x0F));
  }
  const bool wide = c.level >= level::kChannelRates;
  const RateTable table = wide && c.variant != 0 ? RateTable{"128", kRates128} : RateTable{"64", kRates64};
  return Text(table.TextOf(wide ? (b & 0x0F) : (b & 0x07)));
}

}  // namespace rkvt::setup
