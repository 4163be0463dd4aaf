#pragma once

#include <QObject>

#include "ui/Controls.h"

namespace rkvt {

// Every control of the main window as a model, named as the control. The
// window logic and the decoders set them; the Qt window mirrors them. All
// models are children of this object, so they can also be found by name.
class MainWindowControls : public QObject {
 public:
  MainWindowControls();

  // Target and commands.
  ui::RadioButton RadioButtonLocal{"RadioButtonLocal", "Local"};
  ui::RadioButton RadioButtonRemote{"RadioButtonRemote", "Remote"};
  ui::Button ButtonState{"ButtonState", "State"};
  ui::Button ButtonSetup{"ButtonSetup", "Setup"};
  ui::Button ButtonReset{"ButtonReset", "Reset"};
  ui::Button ButtonSoftware{"ButtonSoftware", "Soft"};
  ui::Button ButtonPort{"ButtonPort", "Port"};

  // State group.
  ui::Label LabelModem{"LabelModem", "Modem :"};
  ui::StaticText StaticTextModem{"StaticTextModem"};
  ui::Label LabelVersion{"LabelVersion", "Version :"};
  ui::StaticText StaticTextVersion{"StaticTextVersion"};
  ui::Label LabelState{"LabelState", "State :"};
  ui::StaticText StaticTextState{"StaticTextState"};
  ui::Label LabelInterface{"LabelInterface", "Interface :"};
  ui::StaticText StaticTextInterface{"StaticTextInterface"};
  ui::Label LabelSpeed{"LabelSpeed", "Speed :"};
  ui::StaticText StaticTextSpeed{"StaticTextSpeed"};
  ui::Label LabelCable{"LabelCable", "Cable :"};
  ui::StaticText StaticTextCable{"StaticTextCable"};
  ui::Label LabelQual{"LabelQual", "Line quality :"};
  ui::StaticText StaticTextQual{"StaticTextQual"};
  ui::Label LabelBitRateLine{"LabelBitRateLine", "BitRate Line :"};
  ui::StaticText StaticTextBitRateLine{"StaticTextBitRateLine"};
  ui::Label LabelBitRatePx{"LabelBitRatePx", "BitRate P2 :"};
  ui::StaticText StaticTextBitRatePx{"StaticTextBitRatePx"};

  // Signal panels: same place right of the State group; port 2 moves right
  // of the E1 panel when both are shown.
  static constexpr int kPanelLeft = 184;
  static constexpr int kPanelLeftBesideE1 = 256;
  ui::GroupBox GroupBoxP2Nets{"GroupBoxP2Nets", " Port 2 ", kPanelLeft};
  ui::Shape ShapeP2DTR{"ShapeP2DTR", ui::Color::ButtonFace()};
  ui::Shape ShapeP2DSR{"ShapeP2DSR", ui::Color::ButtonFace()};
  ui::Shape ShapeP2RTS{"ShapeP2RTS", ui::Color::ButtonFace()};
  ui::Shape ShapeP2CTS{"ShapeP2CTS", ui::Color::ButtonFace()};
  ui::Shape ShapeP2DCD{"ShapeP2DCD", ui::Color::ButtonFace()};
  ui::GroupBox GroupBoxEthernet{"GroupBoxEthernet", " Ethernet ", kPanelLeft};
  ui::Shape ShapeELNK{"ShapeELNK", ui::Color::ButtonFace()};
  ui::Shape ShapeELRX{"ShapeELRX", ui::Color::ButtonFace()};
  ui::Shape ShapeELTX{"ShapeELTX", ui::Color::ButtonFace()};
  ui::Shape ShapeECOLL{"ShapeECOLL", ui::Color::ButtonFace()};
  ui::GroupBox GroupBoxE1{"GroupBoxE1", " E1 ", kPanelLeft};
  ui::Shape ShapeLOF{"ShapeLOF", ui::Color::ButtonFace()};
  ui::Shape ShapeLOS{"ShapeLOS", ui::Color::ButtonFace()};
  ui::Shape ShapeRA{"ShapeRA", ui::Color::ButtonFace()};
  ui::Shape ShapeAI{"ShapeAI", ui::Color::ButtonFace()};
  ui::Shape ShapeLOT{"ShapeLOT", ui::Color::ButtonFace()};
  ui::Shape ShapeE{"ShapeE", ui::Color::ButtonFace()};
  ui::Shape ShapeCRC{"ShapeCRC", ui::Color::ButtonFace()};
  ui::Shape ShapeCV{"ShapeCV", ui::Color::ButtonFace()};

  // Statistics group.
  ui::Label LabelFillTime{"LabelFillTime", "Full time :"};
  ui::StaticText StaticTextFillTime{"StaticTextFillTime"};
  ui::Label LabelCurrTime{"LabelCurrTime", "Curr. time :"};
  ui::StaticText StaticTextCurrTime{"StaticTextCurrTime"};
  ui::Label LabelNoLineTime{"LabelNoLineTime", "NoLine time :"};
  ui::StaticText StaticTextNoLineTime{"StaticTextNoLineTime"};
  ui::Label LabelErrorsTime{"LabelErrorsTime", "Errors time :"};
  ui::StaticText StaticTextErrorsTime{"StaticTextErrorsTime"};
  ui::Label LabelFaults{"LabelFaults", "Faults :"};
  ui::StaticText StaticTextFaults{"StaticTextFaults"};
  ui::Button ButtonStatistics{"ButtonStatistics", "Start"};
  ui::Button ButtonClearStatistics{"ButtonClearStatistics", "Clear"};

  // Tests group.
  ui::Label LabelTest{"LabelTest", "Test :"};
  ui::ComboBox ComboBoxTest{"ComboBoxTest"};
  ui::Button ButtonTest{"ButtonTest", "Connect"};
  ui::Button ButtonClearTest{"ButtonClearTest", "Clear"};
  ui::Label LabelRdTime{"LabelRdTime", "Rd time :"};
  ui::StaticText StaticTextRdTime{"StaticTextRdTime"};
  ui::Label LabelNRdTime{"LabelNRdTime", "NRd time :"};
  ui::StaticText StaticTextNRdTime{"StaticTextNRdTime"};
  ui::Label LabelESTime{"LabelESTime", "ES time :"};
  ui::StaticText StaticTextESTime{"StaticTextESTime"};
  ui::Label LabelSESTime{"LabelSESTime", "SES time :"};
  ui::StaticText StaticTextSESTime{"StaticTextSESTime"};
  ui::Label LabelBits{"LabelBits", "Bits :"};
  ui::StaticText StaticTextBits{"StaticTextBits"};

  // Bottom of the window.
  ui::StaticText StaticTextMessages{"StaticTextMessages"};
  ui::ProgressBar AdvProgress{"AdvProgress", 181};
  ui::StatusBar StatusBar{"StatusBar"};
};

}  // namespace rkvt
