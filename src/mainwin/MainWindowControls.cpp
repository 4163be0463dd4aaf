#include "mainwin/MainWindowControls.h"

namespace rkvt {

MainWindowControls::MainWindowControls() {
  setObjectName(QStringLiteral("FormMain"));
  // Plain members, parented so that they can be found by name. Members are
  // destroyed before this object, and each unlinks itself first.
  const auto adopt = [this](std::initializer_list<ui::Control*> controls) {
    for (ui::Control* c : controls) c->setParent(this);
  };
  adopt({&RadioButtonLocal, &RadioButtonRemote, &ButtonState, &ButtonSetup, &ButtonReset, &ButtonSoftware, &ButtonPort, &LabelModem, &StaticTextModem,
         &LabelVersion, &StaticTextVersion, &LabelState, &StaticTextState, &LabelInterface, &StaticTextInterface,
         &LabelSpeed, &StaticTextSpeed, &LabelCable, &StaticTextCable, &LabelQual, &StaticTextQual,
         &LabelBitRateLine, &StaticTextBitRateLine, &LabelBitRatePx, &StaticTextBitRatePx, &GroupBoxP2Nets,
         &ShapeP2DTR, &ShapeP2DSR, &ShapeP2RTS, &ShapeP2CTS, &ShapeP2DCD, &GroupBoxEthernet, &ShapeELNK, &ShapeELRX,
         &ShapeELTX, &ShapeECOLL, &GroupBoxE1, &ShapeLOF, &ShapeLOS, &ShapeRA, &ShapeAI, &ShapeLOT, &ShapeE,
         &ShapeCRC, &ShapeCV, &LabelFillTime, &StaticTextFillTime, &LabelCurrTime, &StaticTextCurrTime,
         &LabelNoLineTime, &StaticTextNoLineTime, &LabelErrorsTime, &StaticTextErrorsTime, &LabelFaults,
         &StaticTextFaults, &ButtonStatistics, &ButtonClearStatistics, &LabelTest, &ComboBoxTest, &ButtonTest,
         &ButtonClearTest, &LabelRdTime, &StaticTextRdTime, &LabelNRdTime, &StaticTextNRdTime, &LabelESTime,
         &StaticTextESTime, &LabelSESTime, &StaticTextSESTime, &LabelBits, &StaticTextBits, &StaticTextMessages,
         &AdvProgress, &StatusBar});
}

}  // namespace rkvt
