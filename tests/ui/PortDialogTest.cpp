#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QAbstractItemModel>
#include <QPushButton>
#include <QTimer>

#include "ui/widgets/QtPortDialog.h"

namespace rkvt::ui {
namespace {

const PortSettings kUnusual{"ttyUSB3", 9600, QSerialPort::Data7, QSerialPort::EvenParity, QSerialPort::TwoStop,
                            QSerialPort::HardwareControl};

// Six settings under their captions; shown and returned whole; OK only for a port and a usable rate.
TEST(PortSettingsForm, ShowsAndReturnsEverySettingRefusesABlankPortOrAnUnusableRate) {
  QtPortSettingsForm form;
  auto* group = form.findChild<QGroupBox*>("GroupBoxSettings");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(form.windowTitle() + "|" + group->title() + "|" + form.ok->text() + "|" + form.cancel->text(),
            "Setup| Settings |OK|Cancel");
  auto* rows = qobject_cast<QFormLayout*>(group->layout());
  ASSERT_NE(rows, nullptr);
  const std::pair<QWidget*, const char*> fields[] = {{form.port, "Port"},          {form.baudRate, "Baud rate"},
                                                     {form.dataBits, "Data bits"}, {form.stopBits, "Stop bits"},
                                                     {form.parity, "Parity"},      {form.flowControl, "Flow control"}};
  for (const auto& [field, caption] : fields) {
    auto* label = qobject_cast<QLabel*>(rows->labelForField(field));
    ASSERT_NE(label, nullptr) << caption;
    EXPECT_EQ(std::tuple(label->text().remove('&'), label->buddy(), field->accessibleName()),
              std::tuple(QString(caption), field, QString(caption)));
  }

  form.Load(kUnusual, {{.name = "ttyS0"}, {.name = "ttyS1"}});
  EXPECT_EQ(std::pair(form.port->currentText(), form.port->count()), std::pair(QString("ttyUSB3"), 2))
      << "a port the machine does not list stays";
  EXPECT_EQ(form.parity->currentText() + "|" + form.stopBits->currentText(), "Even|2");
  EXPECT_EQ(form.Edited(PortSettings{}), kUnusual);

  form.port->setCurrentIndex(1);
  form.dataBits->setCurrentIndex(form.dataBits->findText("8"));
  form.baudRate->setEditText("12345");  // a free rate
  EXPECT_EQ(form.Edited(kUnusual), (PortSettings{"ttyS1", 12345, QSerialPort::Data8, QSerialPort::EvenParity,
                                                 QSerialPort::TwoStop, QSerialPort::HardwareControl}));
  form.port->setEditText("  /dev/pts/7 ");  // a free port path
  EXPECT_TRUE(form.ok->isEnabled());
  EXPECT_EQ(form.Edited(kUnusual).name, "/dev/pts/7");

  form.port->setEditText("   ");
  EXPECT_FALSE(form.ok->isEnabled());
  form.port->setEditText("ttyS0");
  for (const char* bad : {"", "fast", "0", "-9600"}) {
    form.baudRate->setEditText(bad);
    EXPECT_FALSE(form.ok->isEnabled()) << bad;
    EXPECT_EQ(form.Edited(PortSettings{}).baudRate, 115200) << "an unusable rate keeps the old one: " << bad;
  }
}

TEST(PortDialog, CancelLeavesTheSettingsAloneOkAppliesTheEdits) {
  QtPortDialog dialog(nullptr, [] { return QList<PortListing>{{.name = "ttyS0"}}; });
  PortSettings settings = kUnusual;
  const PortSettings edited{"ttyS0", 9600, QSerialPort::Data7, QSerialPort::EvenParity, QSerialPort::TwoStop,
                            QSerialPort::NoFlowControl};
  for (const bool ok : {false, true}) {
    // Answers the modal dialog once the event loop runs it.
    QTimer::singleShot(0, [ok] {
      auto* form = qobject_cast<QtPortSettingsForm*>(QApplication::activeModalWidget());
      ASSERT_NE(form, nullptr);
      form->port->setCurrentIndex(0);
      form->flowControl->setCurrentIndex(form->flowControl->findData(QSerialPort::NoFlowControl));
      (ok ? form->ok : form->cancel)->click();
    });
    EXPECT_EQ(dialog.Edit(settings), ok);
    EXPECT_EQ(settings, ok ? edited : kUnusual);
  }
}

// The list shows what the system knows beside each name, offers the by-id link of a USB adapter, and
// is asked again each time the dialog opens; the field takes the name alone.
TEST(PortDialog, ListsPortsWithTheirDevicesFieldTakesTheNameAloneListIsFreshEachOpening) {
  const PortListing adapter{"ttyUSB0", "/dev/ttyUSB0", "CP2102 USB to UART Bridge Controller", "Silicon Labs",
                            "10c4:ea60", "0001", "/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0"};
  QList<PortListing> ports{{.name = "ttyS0", .location = "/dev/ttyS0"}};
  QtPortDialog dialog(nullptr, [&] { return ports; });
  PortSettings settings;
  QStringList rows, info;
  for (const bool plugged : {false, true}) {
    if (plugged) ports << adapter;  // plugged in between two openings
    QTimer::singleShot(0, [&] {
      auto* form = qobject_cast<QtPortSettingsForm*>(QApplication::activeModalWidget());
      const QAbstractItemModel* model = form->port->model();
      rows.clear();
      for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) cells << model->index(r, c).data().toString();
        rows << cells.join('|');
      }
      form->port->setCurrentIndex(rows.size() - 1);
      info << form->portInfo->text();
      form->port->setEditText("/dev/pts/9");
      info << form->portInfo->text();
      form->port->setCurrentIndex(rows.size() > 1 ? 1 : 0);
      form->ok->click();
    });
    ASSERT_TRUE(dialog.Edit(settings));
  }
  EXPECT_EQ(rows, QStringList({"ttyS0||||", "ttyUSB0|CP2102 USB to UART Bridge Controller|Silicon Labs|10c4:ea60|0001",
                               "/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0|ttyUSB0, the same after "
                               "re-plugging|Silicon Labs|10c4:ea60|0001"}));
  EXPECT_EQ(info, QStringList({"Found on this machine; the system names no device.", "Not among the ports found; used as typed.",
                               "ttyUSB0 - CP2102 USB to UART Bridge Controller, Silicon Labs, 10c4:ea60, serial 0001",
                               "Not among the ports found; used as typed."}));
  EXPECT_EQ(settings.name, "ttyUSB0");
}

}  // namespace
}  // namespace rkvt::ui
