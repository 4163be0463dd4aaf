#pragma once

#include <QString>

#include "setup/ConfigRecord.h"
#include "setup/ParamList.h"

namespace rkvt::setup {

// Every row text the setup list can hold, exactly as the list shows it.
enum class Row {
  Header, InterfaceP2Sync, InterfaceEthernet, InterfaceP2Async, InterfaceE1, InterfaceE1Ksi,
  Modulation, BitRate, RateMode, Ceiling, FixedCeiling, TransmitLevel, AspType, MsDefault,
  Transitions, Repeaters, Connection, Channels, ReceiverOption, Llc, CarrierShift, Interleaver,
  Port2, SyncBitRate, ClockFrequency, ClockMode, Ethernet, Duplex, Filter, Compression, Speed,
  AsyncBitRate, DataBits, StopBits, Parity, FlowControl, DcdManagement, CtsManagement, DsrManagement,
  DtrSensibility, E1, E1Mode, Multiplexer, MuxMapping, MuxSignalling, TsNumber, FixedTsNumber,
  TsMapping, Crc4, JitterAttenuator, JitterDepth, RcGain, Ais, Rai, E1Signalling, FixedSyncBitRate,
};
QString RowText(Row row);

struct ListLayout {
  int windowHeight;
  int listHeight;
};
ListLayout LayoutFor(int interfaceView);

// The profiles the load and save lists show for a record (its byte 21).
struct ProfileSelection {
  int load;  // 1-5
  int save;  // 2-5
};
ProfileSelection ProfilesFor(const RecordBytes& record);

// Clears the list and adds the rows of the record's view, then fills every
// value from the working copy. The record has been taken in already.
void BuildRows(const ConfigRecord& record, ParamList& list);
void ValuePass(const ConfigRecord& record, ParamList& list);

// The text of the fixed sync bit rate row of the P2 Sync view.
QString SyncRateText(const ConfigRecord& record);

}  // namespace rkvt::setup
