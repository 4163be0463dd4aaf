#include "mainwin/MainWindowLog.h"

#include <QDir>

namespace rkvt {

MainWindowLog::MainWindowLog(TFormMain& form, bool enabled, QString directory, TLog::Now now)
    : form_(form), enabled_(enabled), directory_(std::move(directory)), now_(std::move(now)) {
  Open(form.PortName());
  form.EventLog.add = [this](const QString& text) { log_->Add(text); };
  form.EventLog.reopen = [this](const QString& portName) { Open(portName); };
  form.EventLog.setMonitoring = [this](bool on) { log_->SetMonitoring(on); };
  form.EventLog.monitor = [this](std::span<const std::uint8_t> snapshot) {
    if (log_->Enabled()) log_->Monitor(View(form_, snapshot));
  };
}

MainWindowLog::~MainWindowLog() { form_.EventLog = {}; }

void MainWindowLog::Open(const QString& portName) {
  log_ = std::make_unique<TLog>(QString::fromLatin1(TFormMain::kProgramTitle), portName, enabled_,
                                directory_.isEmpty() ? QDir::currentPath() : directory_, now_);
}

TLog::Window MainWindowLog::View(const TFormMain& f, std::span<const std::uint8_t> snapshot) {
  return {
      .snapshot = snapshot,
      .interfaceCode = f.InterfaceCode(),
      .targetWord = f.TargetWord(),
      .modem = f.StaticTextModem.Text(),
      .version = f.StaticTextVersion.Text(),
      .interface = f.StaticTextInterface.Text(),
      .cable = f.StaticTextCable.Text(),
      .fullTime = f.StaticTextFillTime.Text(),
      .currTime = f.StaticTextCurrTime.Text(),
      .noLineTime = f.StaticTextNoLineTime.Text(),
      .errorsTime = f.StaticTextErrorsTime.Text(),
      .lineRate = f.StaticTextBitRateLine.Text(),
      .quality = f.StaticTextQual.Text(),
      .parameters = f.ParameterTexts(),
      .port2 = {f.ShapeP2DTR.BrushColor(), f.ShapeP2DSR.BrushColor(), f.ShapeP2RTS.BrushColor(),
                f.ShapeP2CTS.BrushColor(), f.ShapeP2DCD.BrushColor()},
      .ethernetLink = f.ShapeELNK.BrushColor(),
      .los = f.ShapeLOS.BrushColor(),
      .lof = f.ShapeLOF.BrushColor(),
      .ais = f.ShapeAI.BrushColor(),
      .ra = f.ShapeRA.BrushColor(),
      .lot = f.ShapeLOT.BrushColor(),
  };
}

}  // namespace rkvt
