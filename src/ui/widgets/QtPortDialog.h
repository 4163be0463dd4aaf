#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "ui/Dialogs.h"

class QComboBox;
class QDialogButtonBox;
class QPushButton;

namespace rkvt::ui {

// The serial port settings form: caption "Setup", group " Settings ".
// The port is a free entry with the ports found on the machine to pick from.
class QtPortSettingsForm : public QDialog {
  Q_OBJECT

 public:
  explicit QtPortSettingsForm(QWidget* parent = nullptr);

  void Load(const PortSettings& settings, const QStringList& availablePorts);
  // `start` with the six settings the form shows.
  PortSettings Edited(const PortSettings& start) const;
  // OK is offered only for a port name and a positive baud rate.
  bool Acceptable() const;

  QComboBox* port;
  QComboBox* baudRate;
  QComboBox* dataBits;
  QComboBox* stopBits;
  QComboBox* parity;
  QComboBox* flowControl;
  QPushButton* ok;
  QPushButton* cancel;

 private:
  void UpdateOk();
};

// The dialog behind the main window's "Port" button.
class QtPortDialog : public PortDialog {
 public:
  using PortLister = std::function<QStringList()>;
  // `lister` names the ports to offer; by default those QSerialPortInfo finds.
  explicit QtPortDialog(QWidget* parent = nullptr, PortLister lister = {});
  void SetParent(QWidget* parent) { parent_ = parent; }

  bool Edit(PortSettings& settings) override;

  // The serial ports of this machine by name, sorted.
  static QStringList SystemPorts();

 private:
  QPointer<QWidget> parent_;
  PortLister lister_;
};

}  // namespace rkvt::ui
