#include "ui/widgets/QtPortDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace rkvt::ui {

namespace {

const int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};

struct Choice {
  const char* text;
  int value;
};

const Choice kDataBits[] = {{"5", QSerialPort::Data5}, {"6", QSerialPort::Data6}, {"7", QSerialPort::Data7},
                            {"8", QSerialPort::Data8}};
const Choice kStopBits[] = {{"1", QSerialPort::OneStop}, {"1.5", QSerialPort::OneAndHalfStop}, {"2", QSerialPort::TwoStop}};
const Choice kParity[] = {{"None", QSerialPort::NoParity},   {"Odd", QSerialPort::OddParity},
                          {"Even", QSerialPort::EvenParity}, {"Mark", QSerialPort::MarkParity},
                          {"Space", QSerialPort::SpaceParity}};
const Choice kFlowControl[] = {{"None", QSerialPort::NoFlowControl},
                               {"Hardware (RTS/CTS)", QSerialPort::HardwareControl},
                               {"Software (XON/XOFF)", QSerialPort::SoftwareControl}};

template <std::size_t N>
QComboBox* ChoiceBox(QWidget* parent, const QString& name, const Choice (&choices)[N]) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (const Choice& c : choices) box->addItem(QString::fromLatin1(c.text), c.value);
  return box;
}

// Columns of the port list; the first is what the field takes.
enum PortColumn { kName, kDescription, kManufacturer, kUsbId, kSerial, kPortColumns };
const char* const kPortHeaders[kPortColumns] = {"Port", "Description", "Manufacturer", "USB id", "Serial number"};

void Select(QComboBox* box, int value) {
  const int at = box->findData(value);
  box->setCurrentIndex(at >= 0 ? at : 0);
}

}  // namespace

QtPortSettingsForm::QtPortSettingsForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PortSettings"));
  setWindowTitle(QStringLiteral("Setup"));

  auto* group = new QGroupBox(QStringLiteral(" Settings "), this);
  group->setObjectName(QStringLiteral("GroupBoxSettings"));

  port = new QComboBox(group);
  port->setObjectName(QStringLiteral("ComboBoxPort"));
  port->setEditable(true);
  port->setInsertPolicy(QComboBox::NoInsert);
  port->setMinimumContentsLength(24);
  portRows_ = new QStandardItemModel(0, kPortColumns, port);
  for (int c = 0; c < kPortColumns; ++c)
    portRows_->setHeaderData(c, Qt::Horizontal, QString::fromLatin1(kPortHeaders[c]));
  auto* portView = new QTreeView(port);
  portView->setRootIsDecorated(false);
  portView->setItemsExpandable(false);
  portView->setUniformRowHeights(true);
  portView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  port->setModel(portRows_);
  port->setView(portView);
  port->setModelColumn(kName);
  portInfo = new QLabel(group);
  portInfo->setObjectName(QStringLiteral("LabelPortInfo"));
  portInfo->setTextFormat(Qt::PlainText);
  portInfo->setWordWrap(true);

  baudRate = new QComboBox(group);
  baudRate->setObjectName(QStringLiteral("ComboBoxBaudRate"));
  baudRate->setEditable(true);
  baudRate->setInsertPolicy(QComboBox::NoInsert);
  for (int rate : kBaudRates) baudRate->addItem(QString::number(rate), rate);
  baudRate->lineEdit()->setValidator(new QIntValidator(1, 16000000, baudRate));

  dataBits = ChoiceBox(group, QStringLiteral("ComboBoxDataBits"), kDataBits);
  stopBits = ChoiceBox(group, QStringLiteral("ComboBoxStopBits"), kStopBits);
  parity = ChoiceBox(group, QStringLiteral("ComboBoxParity"), kParity);
  flowControl = ChoiceBox(group, QStringLiteral("ComboBoxFlowControl"), kFlowControl);

  auto* form = new QFormLayout(group);
  form->addRow(QStringLiteral("&Port"), port);
  form->addRow(QString(), portInfo);
  form->addRow(QStringLiteral("&Baud rate"), baudRate);
  form->addRow(QStringLiteral("&Data bits"), dataBits);
  form->addRow(QStringLiteral("&Stop bits"), stopBits);
  form->addRow(QStringLiteral("P&arity"), parity);
  form->addRow(QStringLiteral("&Flow control"), flowControl);
  // The form's labels name the fields for screen readers too.
  const struct {
    QWidget* field;
    const char* name;
  } names[] = {{port, "Port"},         {baudRate, "Baud rate"}, {dataBits, "Data bits"},
               {stopBits, "Stop bits"}, {parity, "Parity"},      {flowControl, "Flow control"}};
  for (const auto& n : names) n.field->setAccessibleName(QString::fromLatin1(n.name));

  auto* buttons = new QDialogButtonBox(this);
  ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("ButtonOk"));
  ok->setDefault(true);
  cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("ButtonCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(port, &QComboBox::editTextChanged, this, &QtPortSettingsForm::UpdateOk);
  connect(port, &QComboBox::editTextChanged, this, &QtPortSettingsForm::UpdatePortInfo);
  connect(baudRate, &QComboBox::editTextChanged, this, &QtPortSettingsForm::UpdateOk);
}

void QtPortSettingsForm::Load(const PortSettings& settings, const QList<PortListing>& availablePorts) {
  ports_ = availablePorts;
  portRows_->removeRows(0, portRows_->rowCount());
  auto addRow = [this](const QString& name, const QStringList& details) {
    QList<QStandardItem*> row{new QStandardItem(name)};
    for (const QString& detail : details) row << new QStandardItem(detail);
    portRows_->appendRow(row);
  };
  for (const PortListing& p : ports_) addRow(p.name, {p.description, p.manufacturer, p.usbId, p.serialNumber});
  for (const PortListing& p : ports_) {
    if (!p.stableLink.isEmpty())
      addRow(p.stableLink, {QStringLiteral("%1, the same after re-plugging").arg(p.name), p.manufacturer, p.usbId,
                            p.serialNumber});
  }
  port->setCurrentIndex(-1);
  port->setEditText(settings.name);
  const int known = baudRate->findData(static_cast<int>(settings.baudRate));
  if (known >= 0) baudRate->setCurrentIndex(known);
  baudRate->setEditText(QString::number(settings.baudRate));
  Select(dataBits, settings.dataBits);
  Select(stopBits, settings.stopBits);
  Select(parity, settings.parity);
  Select(flowControl, settings.flowControl);
  UpdateOk();
}

PortSettings QtPortSettingsForm::Edited(const PortSettings& start) const {
  PortSettings edited = start;
  edited.name = port->currentText().trimmed();
  bool ok = false;
  const int rate = baudRate->currentText().trimmed().toInt(&ok);
  if (ok && rate > 0) edited.baudRate = rate;
  edited.dataBits = static_cast<QSerialPort::DataBits>(dataBits->currentData().toInt());
  edited.stopBits = static_cast<QSerialPort::StopBits>(stopBits->currentData().toInt());
  edited.parity = static_cast<QSerialPort::Parity>(parity->currentData().toInt());
  edited.flowControl = static_cast<QSerialPort::FlowControl>(flowControl->currentData().toInt());
  return edited;
}

bool QtPortSettingsForm::Acceptable() const {
  bool numeric = false;
  const int rate = baudRate->currentText().trimmed().toInt(&numeric);
  return !port->currentText().trimmed().isEmpty() && numeric && rate > 0;
}

void QtPortSettingsForm::UpdateOk() { ok->setEnabled(Acceptable()); }

void QtPortSettingsForm::UpdatePortInfo() {
  const QString entered = port->currentText().trimmed();
  for (const PortListing& p : ports_) {
    if (entered == p.name || entered == p.location || (!p.stableLink.isEmpty() && entered == p.stableLink)) {
      portInfo->setText(p.Label() == p.name ? QStringLiteral("Found on this machine; the system names no device.")
                                            : p.Label());
      return;
    }
  }
  portInfo->setText(entered.isEmpty() ? QString() : QStringLiteral("Not among the ports found; used as typed."));
}

QtPortDialog::QtPortDialog(QWidget* parent, PortLister lister) : parent_(parent), lister_(std::move(lister)) {
  if (!lister_) lister_ = &SystemPorts;
}

bool QtPortDialog::Edit(PortSettings& settings) {
  QtPortSettingsForm form(parent_);
  form.Load(settings, lister_());
  if (form.exec() != QDialog::Accepted) return false;
  settings = form.Edited(settings);
  return true;
}

}  // namespace rkvt::ui
