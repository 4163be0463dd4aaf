// The setup window's widgets over its logic, with the worker replaced.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "app/QtSetupWindow.h"
#include "setup/TFormSetup.h"
#include "ui/ManualClock.h"
#include "ui/widgets/QtChoicePopup.h"
#include "ui/widgets/QtParamListBox.h"

namespace rkvt {
namespace {

// Keeps what was started; these tests look only at starts.
struct StartsRunner : CommandRunner {
  struct Handle : RunningCommand {
    void Terminate() override {}
  };
  std::unique_ptr<RunningCommand> Start(const CommandRequest& r, std::function<void()>) override {
    starts.emplace_back(r.block.begin(), r.block.begin() + 27);
    return std::make_unique<Handle>();
  }
  std::vector<std::vector<std::uint8_t>> starts;  // bytes 0-26 of each request
};
struct Silent : ui::Beeper {
  void Beep() override {}
};

// Level 7, variant 0: P2 Sync (byte 11 = 1) or E1 + KSI (4); interleaver "Off".
setup::RecordBytes Record(std::uint8_t field) {
  setup::RecordBytes r{};
  r[11] = field;
  return r;
}

class SetupWindow : public testing::Test {
 protected:
  void SetUp() override {
    form.EnterSetup("R-KVT-MS - Setup local modem", " Enter modem setup OK.", Record(1), {7, 0});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  ui::QtParamListBox& List() { return window.List(); }
  QPoint OnLink(const char* key) {
    const int row = List().RowOfKey(QString::fromLatin1(key));
    return {List().LinkX(row) - List().viewport()->x() + 3, List().RowRect(row).center().y() - List().viewport()->y()};
  }

  ui::ManualClock clock;
  StartsRunner runner;
  Silent beeper;
  TFormSetup form{runner, clock, beeper};
  QtSetupWindow window{form};
};

TEST_F(SetupWindow, NamedControls_HeightOfTheView_NoWayOutButClose) {
  for (const char* name : {"ParamListBoxSetup", "GroupBoxProfiles", "ComboBoxProfilesLoad", "ButtonProfilesLoad",
                           "ComboBoxProfilesSave", "ButtonProfilesSave", "ButtonClose", "StatusBarMessages",
                           "StatusBarHelpLine"})
    EXPECT_NE(window.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
  EXPECT_EQ(window.windowTitle(), "R-KVT-MS - Setup local modem");
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(window.findChild<QComboBox*>("ComboBoxProfilesSave")->count(), 4);

  const double scale = List().RowHeight() / 16.0;
  const int low = window.height();
  EXPECT_GE(low, qRound(450 * scale));
  EXPECT_GE(List().height(), qRound(307 * scale));
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
  form.EnterSetup("R-KVT-MS - Setup local modem", " m", Record(4), {7, 0});
  EXPECT_GE(window.height(), qRound(650 * scale));
  EXPECT_EQ(window.height() - low, qRound(190 * scale)) << "the list grows by the view's difference";
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_GE(window.width(), List().sizeHint().width()) << "the widest label pushes the values right, never out";

  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_TRUE(window.isVisible());
  window.close();  // the window manager's close asks for the exit
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.findChild<QPushButton*>("ButtonClose")->accessibleName(), "Stop");
  clock.Advance(TFormSetup::kExitWaitMs);
  ASSERT_EQ(runner.starts.size(), 1u);
  EXPECT_FALSE(List().isEnabled());
}

TEST_F(SetupWindow, Keyboard_EnterDropsTheListAndAPickSendsIt) {
  List().setFocus();
  while (List().CurrentRow() != List().RowOfKey("Interleaver")) {
    const int before = List().CurrentRow();
    QTest::keyClick(&List(), Qt::Key_Down);
    ASSERT_NE(List().CurrentRow(), before) << "Down moves on";
  }
  QTest::keyClick(&List(), Qt::Key_Return);
  ASSERT_TRUE(List().ChoicesShown());
  ASSERT_TRUE(form.ParamListBoxSetup.Dropped());
  ui::QtChoicePopup* popup = List().Choices();
  QTest::keyClick(popup, Qt::Key_Down);
  QTest::keyClick(popup, Qt::Key_Return);
  EXPECT_FALSE(List().ChoicesShown());
  ASSERT_EQ(runner.starts.size(), 1u);
  EXPECT_EQ(runner.starts[0][1] & 0x60, 0x20) << "the next interleaver in byte 0";
  EXPECT_EQ(List().Value("Interleaver"), "Low");
  EXPECT_FALSE(List().isEnabled());
}

TEST_F(SetupWindow, ChoiceListClosedWithoutAPick_SendsNothing_HoverNamesTheChoices) {
  QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, OnLink("Interleaver"));
  ASSERT_TRUE(List().ChoicesShown());
  QTest::keyClick(List().Choices(), Qt::Key_Escape);
  QTest::qWait(0);
  EXPECT_FALSE(form.ParamListBoxSetup.Dropped());
  EXPECT_TRUE(runner.starts.empty());

  form.StatusBarHelpLine.SetSimpleText(" Modem setup parameters");
  QTest::mouseMove(List().viewport(), OnLink("MConnection"));
  const auto* help = window.findChild<QLabel*>("StatusBarHelpLineText");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->text(), form.Model().HelpText(QStringLiteral("MConnection")));
  QTest::mouseMove(List().viewport(), {4, OnLink("MConnection").y()});
  EXPECT_EQ(help->text(), " Modem setup parameters");
}

}  // namespace
}  // namespace rkvt
