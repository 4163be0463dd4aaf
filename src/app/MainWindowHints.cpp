#include "app/MainWindowHints.h"

namespace rkvt {

namespace {

struct Hint {
  const char* control;
  const char* text;
};

const Hint kHints[] = {
    {"RadioButtonLocal", "Commands go to the local modem (the one on the cable)"},
    {"RadioButtonRemote", "Commands go through the line to the remote modem"},
    {"ButtonState", "Identify the modem and read its state"},
    {"ButtonSetup", "Enter the modem's setup"},
    {"ButtonReset", "Reset the local modem"},
    {"ButtonSoftware", "Load new firmware into the local modem"},
    {"ButtonPort", "Serial port settings"},
    {"StaticTextModem", "Modem type"},
    {"StaticTextVersion", "Firmware version"},
    {"StaticTextState", "Line state"},
    {"StaticTextInterface", "Active interface of the modem"},
    {"StaticTextSpeed", "Ethernet speed"},
    {"StaticTextCable", "Cable on port 2"},
    {"StaticTextQual", "Line quality"},
    {"StaticTextBitRateLine", "Bit rate on the line"},
    {"StaticTextBitRatePx", "Bit rate on port 2"},
    {"GroupBoxP2Nets", "Port 2 circuits: dark green = set, light green = clear"},
    {"GroupBoxEthernet", "Ethernet indicators: dark green = set, light green = clear"},
    {"GroupBoxE1", "E1 alarms: dark green = set, light green = clear"},
    {"StaticTextFillTime", "Time since the statistics were cleared"},
    {"StaticTextCurrTime", "Time since the line came up"},
    {"StaticTextNoLineTime", "Time without line"},
    {"StaticTextErrorsTime", "Time with errors"},
    {"StaticTextFaults", "Faults word"},
    {"ButtonStatistics", "Read the line statistics again and again"},
    {"ButtonClearStatistics", "Clear the line statistics at the next read"},
    {"ComboBoxTest", "Loop or bit-error test"},
    {"ButtonTest", "Connect or disconnect the selected test"},
    {"ButtonClearTest", "Clear the test counters at the next read"},
    {"StaticTextRdTime", "Ready time"},
    {"StaticTextNRdTime", "Not-ready time"},
    {"StaticTextESTime", "Errored seconds"},
    {"StaticTextSESTime", "Severely errored seconds"},
    {"StaticTextBits", "Bit counter"},
    {"StaticTextMessages", "Messages line"},
    {"AdvProgress", "Time the modem has to answer"},
};

}  // namespace

void ApplyMainWindowHints(MainWindowControls& controls) {
  for (const Hint& hint : kHints) {
    if (auto* control = controls.findChild<ui::Control*>(QLatin1String(hint.control), Qt::FindDirectChildrenOnly))
      control->SetHint(QString::fromLatin1(hint.text));
  }
}

}  // namespace rkvt
