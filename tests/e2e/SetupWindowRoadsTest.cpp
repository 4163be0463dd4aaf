// The setup road through the real windows, offscreen, against the emulated
// modem on a pty: changes are made the way an accessibility client makes
// them, and the exact request frames are read back from the modem.
#include <QAccessible>
#include <QTemporaryDir>

#include "RoadsHarness.h"
#include "app/QtSetupWindow.h"
#include "link/Frame.h"
#include "ui/widgets/QtParamListBox.h"

namespace rkvt {
namespace {

using test::kHangGuardMs;
using Record = std::array<std::uint8_t, 26>;

struct SetupRoad : test::PlainStyleTest {
  void SetUp() override {
    program = test::StartProgram(dir.path(), QString::fromStdString(modem.PortPath()));
    for (const char* button : {"ButtonState", "ButtonSetup"}) ASSERT_TRUE(test::Run(*program, button));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
  }

  QtSetupWindow& Window() { return program->SetupWindow(); }
  TFormSetup& Form() { return program->FormSetup(); }
  ui::QtParamListBox& List() { return Window().List(); }
  QPushButton& Button(const char* name) { return *Window().findChild<QPushButton*>(name); }
  bool Idle() { return QTest::qWaitFor([&] { return !Form().CommandRunning(); }, kHangGuardMs); }
  Record ModemRecord(int profile = 0) {
    Record r{};
    modem.Examine([&](const auto& m) { r = profile ? *m.Local().config.Profile(profile) : m.Local().config.Record(); });
    return r;
  }
  static void Press(QAccessibleInterface* item) {
    ASSERT_TRUE(item && item->actionInterface());
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  }
  // The accessible row of `key`: the list's children are its rows, in order.
  QAccessibleInterface* Row(const char* key) { return QAccessible::queryAccessibleInterface(&List())->child(List().RowOfKey(key)); }
  // The first request with this code from frame `from` on, and the frame it must be.
  std::optional<Frame> Sent(std::size_t from, std::uint8_t code) {
    const auto journal = modem.Journal();
    for (std::size_t i = from; i < journal.size(); ++i)
      if (journal[i].frame[2] == code) return journal[i].frame;
    return std::nullopt;
  }
  static Frame Request(std::uint8_t code, std::span<const std::uint8_t> data) {
    return BuildRequest(RequestAddress(true, 2), code, data);
  }

  QTemporaryDir dir;
  sim::ModemEmulator modem{test::EmulatedModem()};
  std::unique_ptr<Application> program;  // goes before the modem
};

TEST_F(SetupRoad, FlipChooseLoadSaveCloseExactFrames) {
  EXPECT_EQ(Window().windowTitle(), "R-KVT-MS - Setup local modem");
  EXPECT_FALSE(program->MainWindow().findChild<QWidget*>("ButtonState")->isEnabled()) << "locked while setup is open";
  EXPECT_EQ(List().RowText(1), "Interface : E1");
  Record record = ModemRecord();

  std::size_t from = modem.FrameCount();
  Press(Row("E1Crc4"));  // CRC4: bit 4 of byte 7
  EXPECT_FALSE(List().isEnabled());
  EXPECT_EQ(Button("ButtonClose").accessibleName(), "Stop");
  ASSERT_TRUE(Idle());
  record[7] ^= 0x10;
  EXPECT_EQ(Sent(from, 20), Request(20, record));
  EXPECT_EQ(ModemRecord(), record);
  EXPECT_EQ(Form().StatusBarMessages.Text(), " Set new mode OK.");
  EXPECT_EQ(List().Value("E1Crc4"), "Enabled");

  from = modem.FrameCount();
  Press(Row("Interleaver"));  // bits 5-6 of byte 0
  ASSERT_TRUE(List().ChoicesShown());
  const int pick = (List().Choices()->Current() + 1) % 4;
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&List());
  QAccessibleInterface* popup = list->child(list->childCount() - 1);
  EXPECT_EQ(popup->child(pick)->text(QAccessible::Name), List().Choices()->Entries().value(pick));
  Press(popup->child(pick));
  EXPECT_FALSE(List().ChoicesShown()) << "a pick closes the list";
  ASSERT_TRUE(Idle());
  record[0] = static_cast<std::uint8_t>((record[0] & ~0x60) | pick << 5);
  EXPECT_EQ(Sent(from, 20), Request(20, record));

  from = modem.FrameCount();
  Form().ComboBoxProfilesLoad.Choose(2);
  QTest::mouseClick(&Button("ButtonProfilesLoad"), Qt::LeftButton);
  ASSERT_TRUE(Idle());
  Form().ComboBoxProfilesSave.Choose(2);
  QTest::mouseClick(&Button("ButtonProfilesSave"), Qt::LeftButton);
  ASSERT_TRUE(Idle());
  const std::uint8_t load3[] = {0, 3}, save4[] = {0, 4};
  EXPECT_EQ(Sent(from, 22), Request(22, load3));
  EXPECT_EQ(Sent(from, 21), Request(21, save4));
  EXPECT_EQ(Form().Model().Record().Received(), ModemRecord(3));
  EXPECT_EQ(Form().StatusBarMessages.Text(), " Save profile OK.");

  from = modem.FrameCount();
  QTest::mouseClick(&Button("ButtonClose"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().isVisible() && !program->FormMain().CommandRunning(); }, kHangGuardMs));
  const Record loaded = ModemRecord(3);
  EXPECT_EQ(Sent(from, 24), Request(24, std::span(loaded).subspan(16, 4)));
  EXPECT_EQ(program->FormMain().StaticTextMessages.Text(), " Get statistics OK.") << "identified again";
  EXPECT_TRUE(program->MainWindow().findChild<QWidget*>("ButtonSetup")->isEnabled());
}

TEST_F(SetupRoad, KeyboardAndNoWayOutButClose) {
  List().setFocus();  // Down to the interleaver, Enter drops its list, Esc closes it unpicked
  while (List().CurrentRow() < List().RowOfKey("Interleaver")) QTest::keyClick(&List(), Qt::Key_Down);
  QTest::keyClick(&List(), Qt::Key_Return);
  ASSERT_TRUE(List().ChoicesShown());
  QTest::keyClick(List().Choices(), Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Form().ParamListBoxSetup.Dropped(); }, kHangGuardMs));
  EXPECT_FALSE(Form().CommandRunning());

  const std::size_t from = modem.FrameCount();
  EXPECT_FALSE(Window().windowFlags() & Qt::WindowCloseButtonHint);
  QTest::keyClick(&Window(), Qt::Key_Escape);
  Window().close();  // the window manager's close asks for the exit first
  EXPECT_TRUE(Window().isVisible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().isVisible(); }, kHangGuardMs));
  EXPECT_TRUE(Sent(from, 24));
}

TEST(SetupPlacement, NotOpenedThisRunNoPositionIsMadeUp) {
  QTemporaryDir dir;
  std::make_unique<Application>(Application::Options{.placementDirectory = dir.path(), .workingDirectory = dir.path()}).reset();
  EXPECT_FALSE(QSettings(dir.filePath("R-Kvt-ms.ini"), QSettings::IniFormat).contains("FormSetup/Top"))
      << "the window manager places the window on its first showing";
}

}  // namespace
}  // namespace rkvt
