#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "SettingsTestFiles.h"
#include "TIni.h"

namespace rkvt {
namespace {

using test::ReadAll;
using test::WriteAll;

class TIniTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString IniPath() const { return dir_.filePath("R-Kvt-ms.ini"); }
  void WriteIni(const QString& text) { ASSERT_TRUE(WriteAll(IniPath(), text)); }
  QString ValueOnDisk(const QString& key) const {
    return QSettings(IniPath(), QSettings::IniFormat).value(key, "<absent>").toString();
  }

  QTemporaryDir dir_;
};

// --- Making the file available ----------------------------------------------

TEST_F(TIniTest, MissingFile_CreatedEmpty) {
  TIni ini(dir_.path());
  EXPECT_TRUE(ini.Available());
  EXPECT_EQ(ini.Path(), IniPath());
  ASSERT_TRUE(QFile::exists(IniPath()));
  EXPECT_EQ(QFileInfo(IniPath()).size(), 0);
}

#ifndef Q_OS_WIN
// The run script gives the program a private configuration directory this way.
TEST_F(TIniTest, DefaultDirectory_FollowsXdgConfigHome) {
  const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
  const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
  const QString directory = TIni::DefaultDirectory();
  {
    TIni ini;
    EXPECT_EQ(ini.Path(), IniPath());
  }
  if (wasSet) {
    qputenv("XDG_CONFIG_HOME", previous);
  } else {
    qunsetenv("XDG_CONFIG_HOME");
  }
  EXPECT_EQ(directory, dir_.path());
  EXPECT_TRUE(QFile::exists(IniPath()));
}
#endif

TEST_F(TIniTest, MissingDirectory_CreatedWithFile) {
  const QString directory = dir_.filePath("fresh home/.config");
  TIni ini(directory);
  EXPECT_TRUE(ini.Available());
  EXPECT_TRUE(QFile::exists(directory + "/R-Kvt-ms.ini"));
}

TEST_F(TIniTest, ExistingFile_KeptAndRead) {
  WriteIni("[FormSoftware]\nLoadFileNameSoftwareModem=old.vrk\n");
  {
    TIni ini(dir_.path());
    EXPECT_EQ(ini.ReadString("FormSoftware", "LoadFileNameSoftwareModem", "none"), QString("old.vrk"));
  }
  EXPECT_EQ(ValueOnDisk("FormSoftware/LoadFileNameSoftwareModem"), QString("old.vrk"));
}

TEST_F(TIniTest, CannotCreate_ReadsDefaultsAndDropsWrites) {
  const QString blocked = test::BlockedDirectory(dir_.path());
  {
    TIni ini(blocked);
    EXPECT_FALSE(ini.Available());
    ini.WriteString("FormSoftware", "LoadFileNameSoftwareModem", "new.vrk");
    EXPECT_EQ(ini.ReadString("FormSoftware", "LoadFileNameSoftwareModem", "dflt"), QString("dflt"));

    WindowPlacement placement{1, 2, 3, 4};
    ini.SavePlacement("FormSoftware", {10, 20, 30, 40});
    ini.LoadPlacement("FormSoftware", placement);
    EXPECT_EQ(placement, (WindowPlacement{1, 2, 3, 4}));

    PortSettings port;
    port.name = "ttyUSB7";
    ini.SavePortSettings(port);
    PortSettings loaded;
    ini.LoadPortSettings(loaded);
    EXPECT_EQ(loaded, PortSettings{});
  }
  EXPECT_FALSE(QFile::exists(blocked));
  EXPECT_EQ(ReadAll(dir_.filePath("file-not-dir")), QString("keep me"));
}

TEST_F(TIniTest, Release_FileDeletedMeanwhile_RecreatedEmpty) {
  {
    TIni ini(dir_.path());
    ASSERT_TRUE(QFile::remove(IniPath()));
  }
  ASSERT_TRUE(QFile::exists(IniPath()));
  EXPECT_EQ(QFileInfo(IniPath()).size(), 0);
}

// --- Strings ----------------------------------------------------------------

TEST_F(TIniTest, ReadString_AbsentKeyOrSection_GivesDefault) {
  WriteIni("[FormSoftware]\nOther=x\n");
  TIni ini(dir_.path());
  EXPECT_EQ(ini.ReadString("FormSoftware", "LoadInitialDirSoftwareModem", "/start"), QString("/start"));
  EXPECT_EQ(ini.ReadString("Nowhere", "Other", ""), QString(""));
}

TEST_F(TIniTest, WriteString_RoundTripsAwkwardTexts) {
  const QStringList texts = {"/home/tech/Firmware, 2024/new dir", "C:\\Modems\\R-KVT\\", "  leading blanks",
                             "Прошивка.vrk", "a=b;c#d", ""};
  {
    TIni ini(dir_.path());
    for (int i = 0; i < texts.size(); ++i) ini.WriteString("FormSoftware", QString("Key%1").arg(i), texts[i]);
  }
  TIni ini(dir_.path());
  for (int i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(ini.ReadString("FormSoftware", QString("Key%1").arg(i), "<default>"), texts[i]) << i;
  }
}

TEST_F(TIniTest, ReadString_HandWrittenCommaList_ReadAsText) {
  WriteIni("[FormSoftware]\nLoadInitialDirSoftwareModem=/data/a, b\n");
  TIni ini(dir_.path());
  EXPECT_EQ(ini.ReadString("FormSoftware", "LoadInitialDirSoftwareModem", ""), QString("/data/a, b"));
}

// --- Window placement -------------------------------------------------------

struct PlacementCase {
  const char* window;
  WindowPlacement restored;  // saved {10, 20, 300, 400} onto current {1, 2, 3, 4}
};

class TIniPlacementTest : public TIniTest, public testing::WithParamInterface<PlacementCase> {};

TEST_P(TIniPlacementTest, SavedThenLoaded) {
  const QString window = GetParam().window;
  {
    TIni ini(dir_.path());
    ini.SavePlacement(window, {10, 20, 300, 400});
  }
  // Every window writes all four keys, whatever it reads back.
  EXPECT_EQ(ValueOnDisk(window + "/Top"), QString("10"));
  EXPECT_EQ(ValueOnDisk(window + "/Left"), QString("20"));
  EXPECT_EQ(ValueOnDisk(window + "/Height"), QString("300"));
  EXPECT_EQ(ValueOnDisk(window + "/Width"), QString("400"));

  TIni ini(dir_.path());
  WindowPlacement placement{1, 2, 3, 4};
  ini.LoadPlacement(window, placement);
  EXPECT_EQ(placement, GetParam().restored);
}

INSTANTIATE_TEST_SUITE_P(Windows, TIniPlacementTest,
                         testing::Values(PlacementCase{"FormMain", {10, 20, 3, 4}},
                                         PlacementCase{"FormSetup", {10, 20, 3, 4}},
                                         PlacementCase{"FormSoftware", {10, 20, 300, 400}}),
                         [](const auto& info) { return std::string(info.param.window); });

TEST_F(TIniTest, Placement_AbsentOrBadValues_KeepCurrent) {
  WriteIni("[FormSoftware]\nTop=abc\nLeft=-15\nHeight=\nWidth=12.5\n");
  TIni ini(dir_.path());
  WindowPlacement software{1, 2, 3, 4};
  ini.LoadPlacement("FormSoftware", software);
  EXPECT_EQ(software, (WindowPlacement{1, -15, 3, 4}));
  WindowPlacement setup{5, 6, 7, 8};
  ini.LoadPlacement("FormSetup", setup);
  EXPECT_EQ(setup, (WindowPlacement{5, 6, 7, 8}));
}

// --- Serial port settings ---------------------------------------------------

TEST_F(TIniTest, ComPort_NoSection_LeavesDefaults) {
  TIni ini(dir_.path());
  PortSettings port;
  ini.LoadPortSettings(port);
  EXPECT_EQ(port, PortSettings{});
}

TEST_F(TIniTest, ComPort_Defaults_WrittenInQSerialPortNames) {
  {
    TIni ini(dir_.path());
    ini.SavePortSettings(PortSettings{});
  }
  EXPECT_EQ(ValueOnDisk("ComPort/Port"), PortSettings{}.name);
  EXPECT_EQ(ValueOnDisk("ComPort/BaudRate"), QString("115200"));
  EXPECT_EQ(ValueOnDisk("ComPort/DataBits"), QString("Data8"));
  EXPECT_EQ(ValueOnDisk("ComPort/Parity"), QString("NoParity"));
  EXPECT_EQ(ValueOnDisk("ComPort/StopBits"), QString("OneStop"));
  EXPECT_EQ(ValueOnDisk("ComPort/FlowControl"), QString("NoFlowControl"));
  EXPECT_EQ(ValueOnDisk("ComPort/CustomBaudRate"), QString("<absent>"));
}

TEST_F(TIniTest, ComPort_RoundTrip) {
  const PortSettings saved{"ttyUSB0", 9600, QSerialPort::Data7, QSerialPort::EvenParity, QSerialPort::TwoStop,
                           QSerialPort::HardwareControl};
  {
    TIni ini(dir_.path());
    ini.SavePortSettings(saved);
  }
  EXPECT_EQ(ValueOnDisk("ComPort/Parity"), QString("EvenParity"));
  EXPECT_EQ(ValueOnDisk("ComPort/StopBits"), QString("TwoStop"));
  EXPECT_EQ(ValueOnDisk("ComPort/FlowControl"), QString("HardwareControl"));
  TIni ini(dir_.path());
  PortSettings loaded;
  ini.LoadPortSettings(loaded);
  EXPECT_EQ(loaded, saved);
}

TEST_F(TIniTest, ComPort_CustomRate_WrittenOnlyWhileCustom) {
  PortSettings port;
  port.baudRate = 250000;
  {
    TIni ini(dir_.path());
    ini.SavePortSettings(port);
  }
  EXPECT_EQ(ValueOnDisk("ComPort/BaudRate"), QString("250000"));
  EXPECT_EQ(ValueOnDisk("ComPort/CustomBaudRate"), QString("250000"));
  {
    TIni ini(dir_.path());
    PortSettings loaded;
    ini.LoadPortSettings(loaded);
    EXPECT_EQ(loaded.baudRate, 250000);
    loaded.baudRate = 57600;
    ini.SavePortSettings(loaded);
  }
  EXPECT_EQ(ValueOnDisk("ComPort/BaudRate"), QString("57600"));
  EXPECT_EQ(ValueOnDisk("ComPort/CustomBaudRate"), QString("<absent>"));
}

// One line of the section at a time: a bad value costs only its own field.
struct PortLineCase {
  const char* line;
  PortSettings expected;
};

PortSettings With(void (*change)(PortSettings&)) {
  PortSettings port;
  change(port);
  return port;
}

class TIniPortLineTest : public TIniTest, public testing::WithParamInterface<PortLineCase> {};

TEST_P(TIniPortLineTest, LoadsFieldOrKeepsDefault) {
  // The port name is valid and not the default, to show it is not disturbed.
  WriteIni(QString("[ComPort]\nPort=ttyUSB1\n") + GetParam().line + "\n");
  TIni ini(dir_.path());
  PortSettings port;
  ini.LoadPortSettings(port);
  PortSettings expected = GetParam().expected;
  expected.name = "ttyUSB1";
  EXPECT_EQ(port, expected) << GetParam().line;
}

const PortSettings kDefaults{};

INSTANTIATE_TEST_SUITE_P(
    Lines, TIniPortLineTest,
    testing::Values(
        PortLineCase{"BaudRate=19200", With([](PortSettings& p) { p.baudRate = 19200; })},
        PortLineCase{"BaudRate= 38400 ", With([](PortSettings& p) { p.baudRate = 38400; })},
        PortLineCase{"BaudRate=fast", kDefaults}, PortLineCase{"BaudRate=0", kDefaults},
        PortLineCase{"BaudRate=-9600", kDefaults}, PortLineCase{"BaudRate=99999999999", kDefaults},
        PortLineCase{"BaudRate=9600.5", kDefaults},
        PortLineCase{"BaudRate=x\nCustomBaudRate=250000", With([](PortSettings& p) { p.baudRate = 250000; })},
        PortLineCase{"BaudRate=4800\nCustomBaudRate=250000", With([](PortSettings& p) { p.baudRate = 4800; })},
        PortLineCase{"DataBits=Data5", With([](PortSettings& p) { p.dataBits = QSerialPort::Data5; })},
        PortLineCase{"DataBits=data6", With([](PortSettings& p) { p.dataBits = QSerialPort::Data6; })},
        PortLineCase{"DataBits=Data9", kDefaults}, PortLineCase{"DataBits=7", kDefaults},
        PortLineCase{"StopBits=OneAndHalfStop", With([](PortSettings& p) { p.stopBits = QSerialPort::OneAndHalfStop; })},
        PortLineCase{"StopBits=", kDefaults}, PortLineCase{"StopBits=2", kDefaults},
        PortLineCase{"Parity=MarkParity", With([](PortSettings& p) { p.parity = QSerialPort::MarkParity; })},
        PortLineCase{"FlowControl=SoftwareControl",
                     With([](PortSettings& p) { p.flowControl = QSerialPort::SoftwareControl; })},
        PortLineCase{"FlowControl=@Invalid()", kDefaults}, PortLineCase{"FlowControl=Hardware", kDefaults},
        PortLineCase{"FlowControl=NoFlowControl,HardwareControl", kDefaults},
        PortLineCase{"DataBits=@Variant(\\0\\0\\0\\x7f)", kDefaults}));

TEST_F(TIniTest, ComPort_EmptyPortName_KeepsDefault) {
  WriteIni("[ComPort]\nPort=\nBaudRate=9600\n");
  TIni ini(dir_.path());
  PortSettings port;
  ini.LoadPortSettings(port);
  EXPECT_EQ(port.name, PortSettings{}.name);
  EXPECT_EQ(port.baudRate, 9600);
}

}  // namespace
}  // namespace rkvt
