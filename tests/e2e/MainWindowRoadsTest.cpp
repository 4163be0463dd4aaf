// Whole roads through the program's real main window, offscreen, against the
// emulated modem on a pty: the window is started the way the program starts
// it, from a placement file that names the port.
#include <QAccessible>
#include <QComboBox>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include "RoadsHarness.h"
#include "ui/widgets/QtLamp.h"
#include "ui/widgets/QtPortDialog.h"

namespace rkvt {
namespace {

using test::kHangGuardMs;

class Roads : public test::PlainStyleTest {
 protected:
  // Starts the program with a placement file naming `port` (the emulator's when empty).
  void Start(sim::ModemModel model, QString port = {}) {
    program_.reset();  // before the modem it talks to
    modem_ = std::make_unique<sim::ModemEmulator>(std::move(model));
    port_ = port.isEmpty() ? QString::fromStdString(modem_->PortPath()) : port;
    program_ = test::StartProgram(dir_.path(), port_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
  }
  // Started on a modem from emulator options, then State and what it chains into.
  void Identified(std::vector<std::string> options = {}) {
    Start(test::EmulatedModem(std::move(options)));
    Press("ButtonState");
    ASSERT_TRUE(WaitIdle());
  }
  // State on a modem that answers nothing, its first request on the line.
  void StateOnSilentModem() {
    Start(test::EmulatedModem());
    modem_->AddFault({.fault = sim::Fault::NoReply});
    Press("ButtonState");
    ASSERT_TRUE(QTest::qWaitFor([&] { return modem_->FrameCount() >= 1; }, kHangGuardMs));
  }

  QString IniPath() const { return dir_.filePath(QStringLiteral("R-Kvt-ms.ini")); }
  QtMainWindow& Window() { return program_->MainWindow(); }
  TFormMain& Form() { return program_->FormMain(); }

  template <typename W = QWidget>
  W& Get(const char* name) {
    auto* widget = Window().findChild<W*>(QLatin1String(name));
    if (widget == nullptr) ADD_FAILURE() << "no widget " << name;
    return *widget;
  }
  QString Text(const char* name) { return Get<QLabel>(name).text(); }
  void Press(const char* name) { QTest::mouseClick(&Get<QPushButton>(name), Qt::LeftButton); }
  // '1' for each named widget that is enabled (or what `is` asks).
  std::string Flags(std::initializer_list<const char*> names, bool (QWidget::*is)() const = &QWidget::isEnabled) {
    std::string flags;
    for (const char* name : names) flags += (Get(name).*is)() ? '1' : '0';
    return flags;
  }
  // The main commands: State Setup Reset Soft Port Statistics Test Local Remote.
  std::string Commands() {
    return Flags({"ButtonState", "ButtonSetup", "ButtonReset", "ButtonSoftware", "ButtonPort", "ButtonStatistics",
                  "ButtonTest", "RadioButtonLocal", "RadioButtonRemote"});
  }
  // The signal panels shown: E1, port 2, Ethernet.
  std::string Panels() { return Flags({"GroupBoxE1", "GroupBoxP2Nets", "GroupBoxEthernet"}, &QWidget::isVisible); }

  // The command, and whatever it chains into, has ended.
  bool WaitIdle() {
    return QTest::qWaitFor([&] { return !Form().CommandRunning(); }, kHangGuardMs);
  }

  QTemporaryDir dir_;
  std::unique_ptr<sim::ModemEmulator> modem_;
  std::unique_ptr<Application> program_;  // goes before the modem
  QString port_;
};

TEST_F(Roads, StateWorkingModemChainsIntoStatisticsAndEndsReady) {
  Start(test::EmulatedModem());
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("R-KVT-MS_v2.48 ") + port_);

  Press("ButtonState");
  EXPECT_EQ(Text("StaticTextMessages") + "|" + Get<QPushButton>("ButtonState").text(), " Check modem state ...|&Stop");
  ASSERT_TRUE(WaitIdle());

  EXPECT_EQ(QStringList({Text("StaticTextMessages"), Text("StaticTextModem"), Text("StaticTextInterface")}),
            QStringList({" Get statistics OK.", "Vorak R-KVT-MS-2", "E1"}));
  EXPECT_NE(Get<QLabel>("StaticTextMessages").palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+:\\d\\d:\\d\\d$")).match(Text("StaticTextFillTime")).hasMatch())
      << Text("StaticTextFillTime").toStdString();

  // IdentifiedReady with the local target: every command offered, the
  // statistics button back at "Start", nothing left to clear.
  EXPECT_EQ(Get<QPushButton>("ButtonState").text() + "|" + Get<QPushButton>("ButtonStatistics").text(), "&State|St&art");
  EXPECT_EQ(Commands(), "111111111");
  EXPECT_EQ(Flags({"ComboBoxTest", "ButtonClearStatistics"}), "10");
  EXPECT_EQ(Form().AdvProgress.Position(), 0);

  // The E1 panel alone, its lamps lit in the two indicator colours.
  EXPECT_EQ(Panels(), "100");
  for (const char* lamp : {"ShapeLOF", "ShapeLOS", "ShapeCRC", "ShapeCV"}) {
    const QColor colour = Get<ui::QtLamp>(lamp).FillColor();
    EXPECT_TRUE(colour == QColor(0, 0x80, 0) || colour == QColor(0, 0xFF, 0)) << lamp << colour.name().toStdString();
  }
}

TEST_F(Roads, StatePortCannotBeOpenedShowsPortErrorInRed) {
  Start(test::EmulatedModem(), dir_.filePath(QStringLiteral("no-such-port")));

  Press("ButtonState");
  ASSERT_TRUE(WaitIdle());

  EXPECT_EQ(Text("StaticTextMessages"), QStringLiteral(" Can't open COM-port!"));
  EXPECT_EQ(Get<QLabel>("StaticTextMessages").palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
  // The reason is the message line's tooltip.
  const QString reason = Get("StaticTextMessages").toolTip();
  EXPECT_TRUE(reason.startsWith(port_ + ": no such port (the system answered \"No such file or directory\")."))
      << reason.toStdString();
  // PortError: the Unidentified set, and the caption stays "Stop" until pressed.
  EXPECT_EQ(Get<QPushButton>("ButtonState").text(), QStringLiteral("&Stop"));
  EXPECT_EQ(Commands(), "100010011");
  EXPECT_TRUE(Text("StaticTextModem").isEmpty());
  EXPECT_EQ(Panels(), "000");

  Press("ButtonState");  // "Stop" with nothing running only restores the caption
  EXPECT_EQ(Get<QPushButton>("ButtonState").text(), QStringLiteral("&State"));
}

TEST_F(Roads, StateE1WithPort2ShowsBothPanelsPortTwoOnTheRight) {
  ASSERT_NO_FATAL_FAILURE(Identified({"--interface", "e1-port2"}));
  ASSERT_EQ(Text("StaticTextMessages"), QStringLiteral(" Get statistics OK."));
  ASSERT_EQ(Panels(), "110");
  QWidget &e1 = Get("GroupBoxE1"), &port2 = Get("GroupBoxP2Nets");
  EXPECT_GE(port2.mapTo(&Window(), QPoint()).x(), e1.mapTo(&Window(), QPoint()).x() + e1.width());
  EXPECT_EQ(Flags({"StaticTextCable", "StaticTextBitRatePx", "StaticTextSpeed"}, &QWidget::isVisible), "110");
}

TEST_F(Roads, StateFirstGenerationP2SyncShowsPort2PanelAndRates) {
  ASSERT_NO_FATAL_FAILURE(Identified({"--preset", "gen1-old", "--interface", "p2-sync"}));
  ASSERT_EQ(Text("StaticTextMessages"), QStringLiteral(" Get statistics OK."));
  EXPECT_EQ(QStringList({Text("StaticTextModem"), Text("StaticTextVersion"), Text("StaticTextInterface")}),
            QStringList({"Vorak R-KVT-MS", "2.15", "P2 Sync"}));
  EXPECT_EQ(Form().SoftwareLevel(), 5);
  EXPECT_EQ(Panels(), "010");
  // Synchronous P2 of the first generation: the port runs at the line rate.
  EXPECT_EQ(Text("StaticTextBitRatePx"), Text("StaticTextBitRateLine"));
  EXPECT_EQ(Flags({"StaticTextCable", "StaticTextSpeed"}, &QWidget::isVisible), "10");
  const auto journal = modem_->Journal();
  ASSERT_GE(journal.size(), 2u);
  EXPECT_EQ(journal[1].frame[4], 1) << "first-generation state page";
}

TEST_F(Roads, StateStopWhileTheModemIsSilentEndsStopped) {
  ASSERT_NO_FATAL_FAILURE(StateOnSilentModem());
  Press("ButtonState");  // now "Stop"
  ASSERT_TRUE(WaitIdle());

  EXPECT_EQ(Text("StaticTextMessages") + "|" + Get<QPushButton>("ButtonState").text(), " Check modem type stopped.|&State");
  EXPECT_FALSE(Get("ButtonSetup").isEnabled());
}

TEST_F(Roads, SoftCloseGivesTheButtonsBack) {
  ASSERT_NO_FATAL_FAILURE(Identified());
  Press("ButtonSoftware");
  QWidget& update = program_->UpdateWindow();
  ASSERT_TRUE(update.isVisible());
  EXPECT_FALSE(Get("ButtonState").isEnabled());
  update.close();  // the window's close box
  EXPECT_FALSE(update.isVisible());
  EXPECT_EQ(Flags({"ButtonState", "ButtonSetup"}), "11");
}

// However Remote is picked, the whole target change runs: the remote modem
// must never be offered a reset.
enum class Gesture { Mouse, Key, Accessible };
class RemotePicked : public Roads, public testing::WithParamInterface<Gesture> {};
INSTANTIATE_TEST_SUITE_P(Ways, RemotePicked, testing::Values(Gesture::Mouse, Gesture::Key, Gesture::Accessible));

TEST_P(RemotePicked, RefillsTheTestSelectorBlanksTheDisplaysLocksTheCommands) {
  ASSERT_NO_FATAL_FAILURE(Identified());
  ASSERT_TRUE(Get("ButtonReset").isEnabled());

  auto& remote = Get<QRadioButton>("RadioButtonRemote");
  switch (GetParam()) {
    case Gesture::Mouse: QTest::mouseClick(&remote, Qt::LeftButton); break;
    case Gesture::Key:
      Get("RadioButtonLocal").setFocus();
      QTest::keyClick(&Get("RadioButtonLocal"), Qt::Key_Down);
      break;
    case Gesture::Accessible:
      QAccessible::queryAccessibleInterface(&remote)->actionInterface()->doAction(
          QAccessibleActionInterface::toggleAction());
      break;
  }
  EXPECT_EQ(std::pair(remote.isChecked(), Get<QRadioButton>("RadioButtonLocal").isChecked()), std::pair(true, false));
  EXPECT_EQ(Form().TargetWord(), QStringLiteral("remote "));
  auto& selector = Get<QComboBox>("ComboBoxTest");
  ASSERT_EQ(selector.count(), 4);
  EXPECT_EQ(selector.itemText(1), QStringLiteral("RDL"));
  EXPECT_EQ(Text("StaticTextMessages") + Text("StaticTextModem"), "");
  EXPECT_EQ(Panels(), "000");
  EXPECT_EQ(Commands(), "100010011");
}

TEST_F(Roads, PortChosenInTheDialogRenamesTheWindowAndIsStored) {
  Start(test::EmulatedModem());
  const QString other = dir_.filePath(QStringLiteral("other-port"));
  QTimer::singleShot(0, [&] {
    auto* form = qobject_cast<ui::QtPortSettingsForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->port->currentText(), port_);
    form->port->setEditText(other);
    form->ok->click();
  });
  Press("ButtonPort");
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("R-KVT-MS_v2.48 ") + other);

  program_.reset();  // the program ends: port settings and placement are stored
  QSettings ini(IniPath(), QSettings::IniFormat);
  EXPECT_EQ(ini.value("ComPort/Port").toString() + "|" + ini.value("ComPort/BaudRate").toString(), other + "|115200");
  EXPECT_TRUE(ini.contains(QStringLiteral("FormMain/Top")) && ini.contains(QStringLiteral("FormMain/Width")));
  EXPECT_TRUE(QFile::exists(dir_.filePath(QStringLiteral("r-kvt-ms_v2.48.cfg"))));
}

TEST_F(Roads, HintOfTheControlUnderTheMouseReachesTheStatusLine) {
  Start(test::EmulatedModem());
  QApplication::setActiveWindow(&Window());
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));

  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(&Get("ButtonPort"), &enter);
  EXPECT_EQ(Text("StatusBarText"), QStringLiteral(" Serial port settings"));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&Get("ButtonPort"), &leave);
  EXPECT_EQ(Text("StatusBarText"), QStringLiteral(" "));
}

TEST_F(Roads, CloseWhileACommandRunsWaitsForItsEnd) {
  ASSERT_NO_FATAL_FAILURE(StateOnSilentModem());
  ASSERT_TRUE(Form().CommandRunning());
  program_.reset();  // must stop the worker before the window's block goes
  EXPECT_TRUE(QSettings(IniPath(), QSettings::IniFormat).contains(QStringLiteral("FormMain/Top")))
      << "the shut-down ran to its end";
}

// A test through the real window on first-generation pages: connect, three
// reads, Disconnect; the exact frames on the line and what the window shows.
TEST_F(Roads, LoopEsAndRdlConnectThreeReadsDisconnect) {
  const std::tuple<int, std::uint8_t, std::uint8_t> tests[] = {{2, 6, 5}, {3, 2, 6}};  // item, test code, page
  for (const auto& [item, testCode, pageCode] : tests) {
    ASSERT_NO_FATAL_FAILURE(Identified({"--preset", "gen1-old", "--interface", "p2-sync"}));
    const std::size_t before = modem_->FrameCount();
    Form().ComboBoxTest.Choose(item);
    Press("ButtonTest");
    const auto connectAndThreeReads = [&] { return modem_->FrameCount() - before == 4 && !Form().CommandRunning(); };
    ASSERT_TRUE(QTest::qWaitFor(connectAndThreeReads, kHangGuardMs));
    EXPECT_EQ(QStringList({Form().ButtonTest.Caption(), Text("StaticTextState"), Text("StaticTextQual")}),
              QStringList({"Disconnect", "Normal", "A"}));
    if (item == 2) {
      EXPECT_TRUE(QRegularExpression("^0:00:\\d\\d $").match(Text("StaticTextRdTime")).hasMatch()) << item;
      EXPECT_FALSE(Get("GroupBoxP2Nets").isVisible());
    } else {
      EXPECT_EQ(QStringList({Text("StaticTextInterface"), Text("StaticTextCable"), Text("StaticTextBitRatePx")}),
                QStringList({"P2 Sync", "DCE V.35", Text("StaticTextBitRateLine")}));
      EXPECT_TRUE(Get("GroupBoxP2Nets").isVisible() && !Get("StaticTextRdTime").isVisible());
    }
    Press("ButtonTest");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Text("StaticTextMessages"), QStringLiteral(" Disconnecting loop OK."));
    std::vector<Frame> sent;
    for (const auto& e : modem_->Journal()) sent.push_back(e.frame);
    const Frame read = BuildRequest(0xD2, 19, std::vector<std::uint8_t>{0, pageCode});
    EXPECT_EQ(std::vector<Frame>(sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end()),
              (std::vector<Frame>{BuildRequest(0xD2, 2, std::vector<std::uint8_t>{0, testCode}), read, read, read,
                                  BuildRequest(0xD2, 18, std::vector<std::uint8_t>{0, testCode})}));
  }
}

}  // namespace
}  // namespace rkvt
