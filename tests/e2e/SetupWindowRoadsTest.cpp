// The setup road through the real windows, offscreen, against the emulated
// modem on a pty: each change is driven the way an accessibility client
// drives it, and the exact request frames are read back from the modem.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/Application.h"
#include "app/QtMainWindow.h"
#include "app/QtSetupWindow.h"
#include "link/Frame.h"
#include "mainwin/TFormMain.h"
#include "setup/TFormSetup.h"
#include "sim/ModemEmulator.h"
#include "sim/SimOptions.h"
#include "ui/widgets/QtParamListBox.h"

namespace rkvt {
namespace {

constexpr int kRoadLimitMs = 60000;  // generous: sanitizer builds are slow
using Record = std::array<std::uint8_t, 26>;

class SetupRoad : public testing::Test {
 protected:
  static void SetUpTestSuite() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows"))); }

  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    auto options = sim::ParseSimOptions({"--link", "unused"});
    modem_ = std::make_unique<sim::ModemEmulator>(
        std::get<sim::ModemModel>(sim::BuildModel(std::get<sim::SimOptions>(options))));
    QSettings(dir_.filePath(QStringLiteral("R-Kvt-ms.ini")), QSettings::IniFormat)
        .setValue(QStringLiteral("ComPort/Port"), QString::fromStdString(modem_->PortPath()));
    program_ = std::make_unique<Application>(Application::Options{
        .placementDirectory = dir_.path(),
        .workingDirectory = dir_.path(),
        .timings = {.acknowledgementMs = 150, .answerMs = 1500, .attempts = 3}});
    program_->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program_->MainWindow()));
    Main("ButtonState");
    ASSERT_TRUE(MainIdle());
    Main("ButtonSetup");
    ASSERT_TRUE(MainIdle());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
  }
  void TearDown() override {
    program_.reset();
    modem_.reset();
  }

  QtSetupWindow& Window() { return program_->SetupWindow(); }
  TFormSetup& Form() { return program_->FormSetup(); }
  ui::QtParamListBox& List() { return Window().List(); }
  template <typename W = QWidget>
  W& Get(const char* name) {
    auto* widget = Window().findChild<W*>(QLatin1String(name));
    if (widget == nullptr) ADD_FAILURE() << "no widget " << name;
    return *widget;
  }
  void Main(const char* button) {
    QTest::mouseClick(program_->MainWindow().findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
  }
  void Press(const char* button) { QTest::mouseClick(&Get<QPushButton>(button), Qt::LeftButton); }
  bool MainIdle() { return QTest::qWaitFor([&] { return !program_->FormMain().CommandRunning(); }, kRoadLimitMs); }
  bool SetupIdle() { return QTest::qWaitFor([&] { return !Form().CommandRunning(); }, kRoadLimitMs); }
  QString Message() { return Form().StatusBarMessages.Text(); }

  Record ModemRecord() {
    Record r{};
    modem_->Examine([&](const sim::ModemModel& m) { r = m.Local().config.Record(); });
    return r;
  }
  // The accessible press of a list row or of a dropped-down entry.
  static void PressAccessible(QAccessibleInterface* item) {
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->actionInterface(), nullptr);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  }
  QAccessibleInterface* RowItem(const QString& text) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&List());
    for (int i = 0; i < list->childCount(); ++i)
      if (list->child(i)->text(QAccessible::Name) == text) return list->child(i);
    ADD_FAILURE() << "no row " << text.toStdString();
    return nullptr;
  }
  // The first request with this code from frame `from` on.
  std::optional<Frame> Request(std::size_t from, std::uint8_t code) {
    const auto journal = modem_->Journal();
    for (std::size_t i = from; i < journal.size(); ++i)
      if (journal[i].frame[2] == code) return journal[i].frame;
    return std::nullopt;
  }
  static Frame Expected(std::uint8_t code, std::span<const std::uint8_t> data) {
    return BuildRequest(RequestAddress(true, TFormSetup::kSubAddress), code, data);
  }

  QTemporaryDir dir_;
  std::unique_ptr<sim::ModemEmulator> modem_;
  std::unique_ptr<Application> program_;
};

TEST_F(SetupRoad, FlipChooseLoadSaveClose_ExactFramesAndMessages) {
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("R-KVT-MS - Setup local modem"));
  EXPECT_EQ(Message(), QStringLiteral(" Enter modem setup OK."));
  EXPECT_EQ(List().RowText(1), QStringLiteral("Interface : E1"));
  EXPECT_EQ(Get<QPushButton>("ButtonClose").accessibleName(), QStringLiteral("Close"));
  const Record entered = ModemRecord();

  // A flip by its press action: CRC4 is bit 4 of byte 7.
  std::size_t before = modem_->FrameCount();
  const QString crc = List().RowText(List().RowOfKey(QStringLiteral("E1Crc4")));
  PressAccessible(RowItem(crc));
  EXPECT_FALSE(List().isEnabled());
  EXPECT_EQ(Get<QPushButton>("ButtonClose").accessibleName(), QStringLiteral("Stop"));
  ASSERT_TRUE(SetupIdle());
  Record flipped = entered;
  flipped[7] ^= 0x10;
  EXPECT_EQ(Request(before, 20), Expected(20, flipped));
  EXPECT_EQ(ModemRecord(), flipped);
  EXPECT_EQ(Message(), QStringLiteral(" Set new mode OK."));
  EXPECT_NE(List().RowText(List().RowOfKey(QStringLiteral("E1Crc4"))), crc);

  // A choice: the list drops down, its second entry is picked by name.
  before = modem_->FrameCount();
  const int interleaver = List().RowOfKey(QStringLiteral("Interleaver"));
  PressAccessible(RowItem(List().RowText(interleaver)));
  ASSERT_TRUE(List().ChoicesShown());
  const QStringList entries = List().Choices()->Entries();
  const int pick = (List().Choices()->Current() + 1) % static_cast<int>(entries.size());  // another value
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&List());
  QAccessibleInterface* popup = list->child(list->childCount() - 1);
  ASSERT_EQ(popup->childCount(), entries.size());
  ASSERT_EQ(popup->child(pick)->text(QAccessible::Name), entries[pick]);
  PressAccessible(popup->child(pick));
  EXPECT_FALSE(List().ChoicesShown()) << "a pick closes the list";
  ASSERT_TRUE(SetupIdle());
  Record chosen = flipped;
  chosen[0] = static_cast<std::uint8_t>((chosen[0] & ~0x60) | (pick << 5));
  EXPECT_EQ(Request(before, 20), Expected(20, chosen));
  EXPECT_EQ(List().Value(QStringLiteral("Interleaver")), entries[pick]);

  // Load profile 3, then save it as profile 4.
  Record profile3{};
  modem_->Examine([&](const sim::ModemModel& m) { profile3 = *m.Local().config.Profile(3); });
  before = modem_->FrameCount();
  Form().ComboBoxProfilesLoad.Choose(2);
  Press("ButtonProfilesLoad");
  ASSERT_TRUE(SetupIdle());
  const std::uint8_t three[] = {0, 3};
  EXPECT_EQ(Request(before, 22), Expected(22, three));
  EXPECT_EQ(Message(), QStringLiteral(" Load profile OK."));
  EXPECT_EQ(Form().Model().Record().Received(), profile3);

  before = modem_->FrameCount();
  Form().ComboBoxProfilesSave.Choose(2);
  Press("ButtonProfilesSave");
  ASSERT_TRUE(SetupIdle());
  const std::uint8_t four[] = {0, 4};
  EXPECT_EQ(Request(before, 21), Expected(21, four));
  EXPECT_EQ(Message(), QStringLiteral(" Save profile OK."));

  // Close: exit with bytes 16-19 of the record received last.
  before = modem_->FrameCount();
  Press("ButtonClose");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().isVisible(); }, kRoadLimitMs));
  ASSERT_TRUE(MainIdle());
  EXPECT_EQ(Request(before, 24), Expected(24, std::span(profile3).subspan(16, 4)));
  EXPECT_EQ(program_->FormMain().StaticTextMessages.Text(), QStringLiteral(" Get statistics OK."));
}

TEST_F(SetupRoad, StopDuringLoad_StoppedAndTheListKeepsTheModemsRecord) {
  const QStringList rows = Form().ParamListBoxSetup.Rows();
  modem_->AddFault({.fault = sim::Fault::NoReply});
  const std::size_t before = modem_->FrameCount();
  Press("ButtonProfilesLoad");
  ASSERT_TRUE(modem_->WaitForFrames(before + 1, std::chrono::seconds(30)));
  EXPECT_EQ(Get<QPushButton>("ButtonProfilesLoad").accessibleName(), QStringLiteral("Stop"));
  EXPECT_FALSE(Get("ButtonClose").isEnabled());
  Press("ButtonProfilesLoad");
  ASSERT_TRUE(SetupIdle());
  EXPECT_EQ(Message(), QStringLiteral(" Load profile stopped."));
  EXPECT_EQ(Form().ParamListBoxSetup.Rows(), rows);
  EXPECT_TRUE(Window().isVisible());

  // Esc and the window manager's close do not leave setup behind Close's back.
  modem_->ClearFaults();
  QTest::keyClick(&Window(), Qt::Key_Escape);
  EXPECT_TRUE(Window().isVisible());
  Window().close();
  EXPECT_TRUE(Window().isVisible()) << "the exit request runs first";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().isVisible(); }, kRoadLimitMs));
  EXPECT_TRUE(Request(before, 24).has_value());
}

}  // namespace
}  // namespace rkvt
