#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "SettingsTestFiles.h"
#include "support/TIni.h"

namespace rkvt {
namespace {

class PlacementFile : public testing::Test {
 protected:
  QString IniPath() const { return dir_.filePath("R-Kvt-ms.ini"); }
  void WriteIni(const QString& text) { ASSERT_TRUE(test::WriteAll(IniPath(), text)); }
  QString OnDisk(const QString& key) const {
    return QSettings(IniPath(), QSettings::IniFormat).value(key, "<absent>").toString();
  }
  PortSettings LoadPort() const {
    PortSettings port;
    TIni(dir_.path()).LoadPortSettings(port);
    return port;
  }

  QTemporaryDir dir_;
};

// --- Making the file available ----------------------------------------------

TEST_F(PlacementFile, MissingDirectoryAndFileCreatedEmptyAgainIfDeletedWhileOpen) {
  const QString directory = dir_.filePath("fresh home/.config");
  {
    TIni ini(directory);
    EXPECT_EQ(std::tuple(ini.Available(), ini.Path(), QFileInfo(ini.Path()).size()),
              std::tuple(true, directory + "/R-Kvt-ms.ini", 0));
    ASSERT_TRUE(QFile::remove(ini.Path()));
  }
  ASSERT_TRUE(QFile::exists(directory + "/R-Kvt-ms.ini"));
  EXPECT_EQ(QFileInfo(directory + "/R-Kvt-ms.ini").size(), 0);
}

#ifndef Q_OS_WIN
// The run script gives the program a private configuration directory this way.
TEST_F(PlacementFile, DefaultDirectoryFollowsXdgConfigHome) {
  const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
  const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
  const QString path = TIni().Path();
  wasSet ? qputenv("XDG_CONFIG_HOME", previous) : qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(path, IniPath());
  EXPECT_TRUE(QFile::exists(IniPath()));
}
#endif

TEST_F(PlacementFile, ExistingFileReadAndKept) {
  WriteIni("[FormSoftware]\nLoadFileNameSoftwareModem=old.vrk\nLoadInitialDirSoftwareModem=/data/a, b\n");
  {
    TIni ini(dir_.path());
    EXPECT_EQ(ini.ReadString("FormSoftware", "LoadFileNameSoftwareModem", "none"), QString("old.vrk"));
    // A hand-written comma list is read back as the text it was.
    EXPECT_EQ(ini.ReadString("FormSoftware", "LoadInitialDirSoftwareModem", ""), QString("/data/a, b"));
    EXPECT_EQ(ini.ReadString("FormSoftware", "Absent", "/start"), QString("/start"));
    EXPECT_EQ(ini.ReadString("Nowhere", "LoadFileNameSoftwareModem", ""), QString(""));
  }
  EXPECT_EQ(OnDisk("FormSoftware/LoadFileNameSoftwareModem"), QString("old.vrk"));
  EXPECT_EQ(LoadPort(), PortSettings{});  // no ComPort section
}

TEST_F(PlacementFile, CannotCreateReadsDefaultsAndDropsWrites) {
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
    ini.SavePortSettings({.name = "ttyUSB7"});
    PortSettings loaded;
    ini.LoadPortSettings(loaded);
    EXPECT_EQ(loaded, PortSettings{});
  }
  EXPECT_FALSE(QFile::exists(blocked));
  EXPECT_EQ(test::ReadAll(dir_.filePath("file-not-dir")), QString("keep me"));
}

TEST_F(PlacementFile, WriteStringRoundTripsAwkwardTexts) {
  const QStringList texts = {"/home/tech/Firmware, 2024/new dir", "C:\\Modems\\R-KVT\\", "  leading blanks",
                             "Прошивка.vrk", "a=b;c#d", ""};
  for (int i = 0; i < texts.size(); ++i) TIni(dir_.path()).WriteString("FormSoftware", QString::number(i), texts[i]);
  TIni ini(dir_.path());
  for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(ini.ReadString("FormSoftware", QString::number(i), "?"), texts[i]);
}

// --- Window placement -------------------------------------------------------

// All four keys are written; FormMain and FormSetup read back the position only.
TEST_F(PlacementFile, PlacementSavedThenLoaded) {
  const std::pair<const char*, WindowPlacement> windows[] = {
      {"FormMain", {10, 20, 3, 4}}, {"FormSetup", {10, 20, 3, 4}}, {"FormSoftware", {10, 20, 300, 400}}};
  for (const auto& [window, restored] : windows) {
    TIni(dir_.path()).SavePlacement(window, {10, 20, 300, 400});
    const QString w = window;
    EXPECT_EQ(OnDisk(w + "/Top") + OnDisk(w + "/Left") + OnDisk(w + "/Height") + OnDisk(w + "/Width"),
              QString("1020300400")) << window;
    WindowPlacement placement{1, 2, 3, 4};
    TIni(dir_.path()).LoadPlacement(window, placement);
    EXPECT_EQ(placement, restored) << window;
  }
}

TEST_F(PlacementFile, PlacementAbsentOrBadValuesKeepCurrent) {
  WriteIni("[FormSoftware]\nTop=abc\nLeft=-15\nHeight=\nWidth=12.5\n");
  TIni ini(dir_.path());
  const std::tuple<const char*, WindowPlacement, WindowPlacement> windows[] = {  // before, and after loading
      {"FormSoftware", {1, 2, 3, 4}, {1, -15, 3, 4}}, {"FormSetup", {5, 6, 7, 8}, {5, 6, 7, 8}}};
  for (auto [window, placement, loaded] : windows) {
    ini.LoadPlacement(window, placement);
    EXPECT_EQ(placement, loaded) << window;
  }
}

// --- Serial port settings ---------------------------------------------------

// Saved in QSerialPort's enum names over a file that held a custom rate:
// CustomBaudRate is written only while the rate is not a standard one. On disk:
// BaudRate DataBits Parity StopBits FlowControl CustomBaudRate.
using PortSaveCase = std::pair<PortSettings, const char*>;

class PlacementFilePortSave : public PlacementFile, public testing::WithParamInterface<PortSaveCase> {};

TEST_P(PlacementFilePortSave, WrittenByNameAndReadBack) {
  TIni(dir_.path()).SavePortSettings({.baudRate = 250000});
  const auto& [port, onDisk] = GetParam();
  TIni(dir_.path()).SavePortSettings(port);
  QStringList values;
  for (const char* key : {"BaudRate", "DataBits", "Parity", "StopBits", "FlowControl", "CustomBaudRate"})
    values << OnDisk(QString("ComPort/") + key);
  EXPECT_EQ(OnDisk("ComPort/Port"), port.name);
  EXPECT_EQ(values.join(' '), QString(onDisk));
  EXPECT_EQ(LoadPort(), port);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PlacementFilePortSave,
    testing::Values(PortSaveCase{{}, "115200 Data8 NoParity OneStop NoFlowControl <absent>"},
                    PortSaveCase{{"ttyUSB0", 9600, QSerialPort::Data7, QSerialPort::EvenParity, QSerialPort::TwoStop,
                                  QSerialPort::HardwareControl}, "9600 Data7 EvenParity TwoStop HardwareControl <absent>"},
                    PortSaveCase{{.baudRate = 250000, .flowControl = QSerialPort::SoftwareControl},
                                 "250000 Data8 NoParity OneStop SoftwareControl 250000"}));

// Hand-written lines: a bad value costs only its own field.
using PortLineCase = std::pair<const char*, PortSettings>;

class PlacementFilePortLine : public PlacementFile, public testing::WithParamInterface<PortLineCase> {};

TEST_P(PlacementFilePortLine, LoadsFieldOrKeepsDefault) {
  const auto& [lines, expected] = GetParam();
  WriteIni(QString("[ComPort]\n") + lines + "\n");
  EXPECT_EQ(LoadPort(), expected) << lines;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PlacementFilePortLine,
    testing::Values(
        PortLineCase{"Port=ttyUSB1\nBaudRate=fast\nDataBits=Data5", {.name = "ttyUSB1", .dataBits = QSerialPort::Data5}},
        PortLineCase{"Port=\nBaudRate= 38400 ", {.baudRate = 38400}}, PortLineCase{"BaudRate=0\nDataBits=Data9", {}},
        PortLineCase{"BaudRate=-9600\nDataBits=7", {}}, PortLineCase{"BaudRate=9600.5\nStopBits=2", {}},
        PortLineCase{"BaudRate=x\nCustomBaudRate=250000", {.baudRate = 250000}},
        PortLineCase{"BaudRate=4800\nCustomBaudRate=250000", {.baudRate = 4800}},
        PortLineCase{"DataBits=data6\nParity=MarkParity\nStopBits=OneAndHalfStop",
                     {.dataBits = QSerialPort::Data6, .parity = QSerialPort::MarkParity, .stopBits = QSerialPort::OneAndHalfStop}},
        PortLineCase{"BaudRate=99999999999\nFlowControl=Hardware\nStopBits=", {}},
        PortLineCase{"FlowControl=NoFlowControl,HardwareControl", {}},
        PortLineCase{"DataBits=@Variant(\\0\\0\\0\\x7f)\nFlowControl=@Invalid()", {}}));

}  // namespace
}  // namespace rkvt
