#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "QtPortDialog.h"

namespace rkvt::ui {
namespace {

PortSettings Unusual() {
  PortSettings s;
  s.name = QStringLiteral("ttyUSB3");
  s.baudRate = 9600;
  s.dataBits = QSerialPort::Data7;
  s.parity = QSerialPort::EvenParity;
  s.stopBits = QSerialPort::TwoStop;
  s.flowControl = QSerialPort::HardwareControl;
  return s;
}

TEST(PortSettingsForm, HasTheSixSettingsUnderItsCaptions) {
  QtPortSettingsForm form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Setup"));
  auto* group = form.findChild<QGroupBox*>(QStringLiteral("GroupBoxSettings"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), QStringLiteral(" Settings "));

  auto* rows = qobject_cast<QFormLayout*>(group->layout());
  ASSERT_NE(rows, nullptr);
  const std::pair<QWidget*, const char*> fields[] = {{form.port, "Port"},          {form.baudRate, "Baud rate"},
                                                     {form.dataBits, "Data bits"}, {form.stopBits, "Stop bits"},
                                                     {form.parity, "Parity"},      {form.flowControl, "Flow control"}};
  for (const auto& [field, caption] : fields) {
    auto* label = qobject_cast<QLabel*>(rows->labelForField(field));
    ASSERT_NE(label, nullptr) << caption;
    EXPECT_EQ(label->text().remove(QLatin1Char('&')), QString::fromLatin1(caption));
    EXPECT_EQ(label->buddy(), field) << caption;
    EXPECT_EQ(field->accessibleName(), QString::fromLatin1(caption));
  }
  EXPECT_EQ(form.ok->text(), QStringLiteral("OK"));
  EXPECT_EQ(form.cancel->text(), QStringLiteral("Cancel"));
}

TEST(PortSettingsForm, ShowsAndReturnsEverySetting) {
  QtPortSettingsForm form;
  form.Load(Unusual(), {QStringLiteral("ttyS0"), QStringLiteral("ttyS1")});
  EXPECT_EQ(form.port->currentText(), QStringLiteral("ttyUSB3")) << "a port the machine does not list stays";
  EXPECT_EQ(form.port->count(), 2);
  EXPECT_EQ(form.parity->currentText(), QStringLiteral("Even"));
  EXPECT_EQ(form.stopBits->currentText(), QStringLiteral("2"));
  EXPECT_EQ(form.Edited(PortSettings{}), Unusual());

  form.port->setCurrentIndex(1);
  form.dataBits->setCurrentIndex(form.dataBits->findText(QStringLiteral("8")));
  const PortSettings edited = form.Edited(Unusual());
  EXPECT_EQ(edited.name, QStringLiteral("ttyS1"));
  EXPECT_EQ(edited.dataBits, QSerialPort::Data8);
  EXPECT_EQ(edited.parity, QSerialPort::EvenParity);
}

TEST(PortSettingsForm, TakesAFreeBaudRateAndPortPath) {
  QtPortSettingsForm form;
  form.Load(PortSettings{}, {});
  form.baudRate->setEditText(QStringLiteral("12345"));
  form.port->setEditText(QStringLiteral("  /dev/pts/7 "));
  const PortSettings edited = form.Edited(PortSettings{});
  EXPECT_EQ(edited.baudRate, 12345);
  EXPECT_EQ(edited.name, QStringLiteral("/dev/pts/7"));
  EXPECT_TRUE(form.ok->isEnabled());
}

TEST(PortSettingsForm, RefusesABlankPortOrAnUnusableRate) {
  QtPortSettingsForm form;
  form.Load(PortSettings{}, {});
  form.port->setEditText(QStringLiteral("   "));
  EXPECT_FALSE(form.ok->isEnabled());
  form.port->setEditText(QStringLiteral("ttyS0"));
  EXPECT_TRUE(form.ok->isEnabled());

  for (const char* bad : {"", "fast", "0", "-9600"}) {
    form.baudRate->setEditText(QString::fromLatin1(bad));
    EXPECT_FALSE(form.ok->isEnabled()) << bad;
    EXPECT_EQ(form.Edited(PortSettings{}).baudRate, 115200) << "an unusable rate keeps the old one: " << bad;
  }
}

// Answers the next modal dialog once the event loop runs it.
void AnswerDialog(const std::function<void(QtPortSettingsForm&)>& answer) {
  QTimer::singleShot(0, [answer] {
    auto* form = qobject_cast<QtPortSettingsForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    answer(*form);
  });
}

TEST(PortDialog, CancelLeavesTheSettingsAlone) {
  QtPortDialog dialog(nullptr, [] { return QStringList{QStringLiteral("ttyS0")}; });
  PortSettings settings = Unusual();
  AnswerDialog([](QtPortSettingsForm& form) {
    form.port->setEditText(QStringLiteral("ttyS0"));
    form.cancel->click();
  });
  EXPECT_FALSE(dialog.Edit(settings));
  EXPECT_EQ(settings, Unusual());
}

TEST(PortDialog, OkAppliesTheEdits) {
  QtPortDialog dialog(nullptr, [] { return QStringList{QStringLiteral("ttyS0")}; });
  PortSettings settings = Unusual();
  AnswerDialog([](QtPortSettingsForm& form) {
    form.port->setCurrentIndex(0);
    form.flowControl->setCurrentIndex(form.flowControl->findData(QSerialPort::NoFlowControl));
    form.ok->click();
  });
  EXPECT_TRUE(dialog.Edit(settings));
  EXPECT_EQ(settings.name, QStringLiteral("ttyS0"));
  EXPECT_EQ(settings.flowControl, QSerialPort::NoFlowControl);
  EXPECT_EQ(settings.baudRate, 9600);
}

}  // namespace
}  // namespace rkvt::ui
