#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "port/PortListing.h"
#include "ui/Dialogs.h"

class QComboBox;
class QLabel;
class QStandardItemModel;
class QDialogButtonBox;
class QPushButton;

namespace rkvt::ui {

// The serial port settings form: caption "Setup", group " Settings ".
// The port is a free entry with the ports found on the machine to pick from:
// the list shows what the system knows of each device beside its name, and
// offers the /dev/serial/by-id/ names that survive re-plugging; only the
// name is taken.
class QtPortSettingsForm : public QDialog {
  Q_OBJECT

 public:
  explicit QtPortSettingsForm(QWidget* parent = nullptr);

  void Load(const PortSettings& settings, const QList<PortListing>& availablePorts);
  // `start` with the six settings the form shows.
  PortSettings Edited(const PortSettings& start) const;
  // OK is offered only for a port name and a positive baud rate.
  bool Acceptable() const;

  QComboBox* port;
  // What is known of the port now entered, under the field.
  QLabel* portInfo;
  QComboBox* baudRate;
  QComboBox* dataBits;
  QComboBox* stopBits;
  QComboBox* parity;
  QComboBox* flowControl;
  QPushButton* ok;
  QPushButton* cancel;

 private:
  void UpdateOk();
  void UpdatePortInfo();

  QStandardItemModel* portRows_;
  QList<PortListing> ports_;
};

// The dialog behind the main window's "Port" button.
class QtPortDialog : public PortDialog {
 public:
  // `lister` names the ports to offer, asked each time the dialog opens; by
  // default those QSerialPortInfo finds.
  explicit QtPortDialog(QWidget* parent = nullptr, PortLister lister = {});
  void SetParent(QWidget* parent) { parent_ = parent; }

  bool Edit(PortSettings& settings) override;

 private:
  QPointer<QWidget> parent_;
  PortLister lister_;
};

}  // namespace rkvt::ui
