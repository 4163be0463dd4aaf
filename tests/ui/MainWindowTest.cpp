// The main window over bare models, and the hint routing its status line relies on.
#include <gtest/gtest.h>

#include <limits>

#include <QApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QLayout>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolTip>

#include "mainwin/MainWindowControls.h"
#include "ui/widgets/QtHintRouter.h"
#include "app/QtMainWindow.h"
#include "ui/widgets/QtTextField.h"

namespace rkvt {
namespace {

// Only against a hang: every wait ends on its event.
constexpr int kHangGuardMs = 60000;

// No window logic behind the models, so each test sets what it needs.
class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  QWidget* Widget(const char* name) {
    auto* widget = window.findChild<QWidget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  int Left(const char* name) { return Widget(name)->mapTo(&window, QPoint()).x(); }
  void Settle() {
    window.centralWidget()->layout()->activate();
    QApplication::processEvents();
  }

  MainWindowControls controls;
  QtMainWindow window{controls};
};

TEST_F(MainWindow, EveryControlHasANamedWidgetAScreenReaderCanSpeak) {
  const auto models = controls.findChildren<ui::Control*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_EQ(models.size(), 74);
  for (ui::Control* model : models) {
    auto* widget = window.findChild<QWidget*>(model->Name());
    ASSERT_NE(widget, nullptr) << model->Name().toStdString();
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << model->Name().toStdString();
  }
}

TEST_F(MainWindow, TabVisitsTheCommandsInConsoleOrderMnemonicsReachTheirControls) {
  EXPECT_EQ(QApplication::focusWidget(), Widget("ButtonState")) << "State has the focus at start";
  QStringList pressed;
  for (ui::Button* button :
       {&controls.ButtonState, &controls.ButtonPort, &controls.ButtonStatistics, &controls.ButtonTest})
    button->OnClick = [&pressed, button] { pressed << button->Name(); };
  for (char key : {'S', 'P', 'A', 'C'}) {
    const qsizetype before = pressed.size();
    QTest::keyClick(&window, key, Qt::AltModifier);
    // A mnemonic clicks at the end of a short press animation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return pressed.size() > before; }, kHangGuardMs)) << key;
  }
  EXPECT_EQ(pressed, QStringList({"ButtonState", "ButtonPort", "ButtonStatistics", "ButtonTest"}));
  QTest::keyClick(&window, 'T', Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), Widget("ComboBoxTest"));

  const QStringList order{"RadioButtonLocal", "ButtonState", "ButtonSetup",  "ButtonReset", "ButtonSoftware",
                          "ButtonPort", "ButtonStatistics", "ButtonClearStatistics", "ComboBoxTest", "ButtonTest",
                          "ButtonClearTest"};
  controls.RadioButtonLocal.SetChecked(true);
  Widget("RadioButtonLocal")->setFocus(Qt::TabFocusReason);
  QStringList visited;
  for (int i = 0; i < order.size(); ++i) {
    visited << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(visited, order);
}

// Texts never resize the window: toggle buttons fit their longest caption, long
// texts are elided and only state and status line show them whole as the tooltip.
TEST_F(MainWindow, TextsKeepTheWindowStillLongOnesShowInTheTooltip) {
  controls.ButtonTest.SetCaption("Connect");
  Settle();
  QWidget* button = Widget("ButtonTest");
  const int width = button->width();
  const QSize size = window.size();
  const QString longState = " Setup activated by remote terminal through the far end of the line";
  const QString longHint = " " + QString(40, 'h') + QString(200, '.');
  controls.ButtonTest.SetCaption("Disconnect");
  controls.StaticTextState.SetText(longState);
  controls.StaticTextMessages.SetText(QString(300, 'x'));
  controls.StatusBar.SetSimpleText(longHint);
  Settle();
  EXPECT_GE(button->width(), button->sizeHint().width()) << "text would be clipped";
  EXPECT_EQ(std::pair(button->width(), window.size()), std::pair(width, size));
  EXPECT_EQ(window.FullTextTooltip(Widget("StaticTextState")), longState);
  EXPECT_EQ(window.FullTextTooltip(window.statusBar()), longHint);
  EXPECT_EQ(window.FullTextTooltip(Widget("StaticTextMessages")), std::nullopt);

  controls.StaticTextState.SetText(" Normal");
  controls.StatusBar.SetSimpleText(" before");
  EXPECT_EQ(window.FullTextTooltip(Widget("StaticTextState")), std::nullopt);
  EXPECT_EQ(window.FullTextTooltip(window.statusBar()), std::nullopt);
  // Status tips are left to the hint routing.
  QStatusTipEvent tip("Identify the modem");
  QApplication::sendEvent(&window, &tip);
  EXPECT_EQ(window.statusBar()->currentMessage() + "|" + window.findChild<ui::QtTextField*>("StatusBarText")->text(),
            "| before");
}

TEST_F(MainWindow, FieldsThatShareAPlaceShareItPanelsSitBetweenStateAndTarget) {
  controls.GroupBoxP2Nets.SetLeft(MainWindowControls::kPanelLeftBesideE1);
  Settle();
  EXPECT_EQ(Widget("StaticTextSpeed")->geometry(), Widget("StaticTextCable")->geometry());
  EXPECT_EQ(Widget("StaticTextBits")->geometry(), Widget("StaticTextRdTime")->geometry());
  EXPECT_GT(Left("GroupBoxE1"), Left("GroupBoxState"));
  EXPECT_GT(Left("GroupBoxTarget"), Left("GroupBoxP2Nets"));

  // Both captions shown at once (blanked, before any decode): one covers the
  // other, so the place reads exactly as with the later caption alone.
  const QRect place = Widget("LabelSpeed")->geometry().united(Widget("LabelCable")->geometry());
  QWidget* group = Widget("GroupBoxState");
  const QImage both = group->grab(place).toImage();
  controls.LabelSpeed.SetVisible(false);
  EXPECT_EQ(group->grab(place).toImage(), both);

  // A hidden field keeps its row: the group does not shrink under the operator.
  const int below = Widget("StaticTextQual")->y();
  controls.StaticTextSpeed.SetVisible(false);
  controls.StaticTextCable.SetVisible(false);
  controls.LabelCable.SetVisible(false);
  Settle();
  EXPECT_EQ(Widget("StaticTextQual")->y(), below);
}

TEST_F(MainWindow, PlacementMovesTheWindowOnlyOntoAScreen) {
  window.ApplyPlacement({.top = 40, .left = 30, .height = 1, .width = 1});
  const WindowPlacement placed = window.Placement();
  EXPECT_EQ(QPoint(placed.left, placed.top), QPoint(30, 40));
  EXPECT_GT(placed.width, 1) << "the main window keeps its designed size";
  window.ApplyPlacement({.top = -9000, .left = -9000});
  EXPECT_EQ(window.Placement(), placed);
  // Hand-edited extremes from the placement file (UBSan watches the sums).
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  window.ApplyPlacement({.top = kMax, .left = kMax});
  window.ApplyPlacement({.top = kMin, .left = kMin});
  EXPECT_EQ(window.Placement(), placed);
}

// Hints go out on mouse-over and on the user's keyboard focus, never on their own.
TEST_F(MainWindow, HintRouterRoutesHintsOfTheUsersControlProviderTextReplacesTheTooltip) {
  QWidget* state = Widget("ButtonState");
  QWidget* setup = Widget("ButtonSetup");
  controls.ButtonState.SetHint("Identify the modem");
  controls.ButtonSetup.SetHint("Modem settings");
  QStringList hints;
  ui::QtHintRouter router([&](const QString& hint) { hints << hint; }, [&](QWidget* widget) {
    return widget == state ? std::optional<QString>(" Setup activated by remote terminal") : std::nullopt;
  });
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(state, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(state, &leave);
  EXPECT_EQ(hints, QStringList({"Identify the modem", ""}));

  state->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(state, Qt::Key_Tab);
  EXPECT_EQ(hints.value(2), "Modem settings");
  QTest::keyClick(setup, Qt::Key_Backtab);
  EXPECT_EQ(hints.size(), 4);
  // Disabling the focused button moves the focus on, which Qt calls a tab:
  // the user did nothing, the status line must not change.
  ASSERT_EQ(QApplication::focusWidget(), state);
  controls.ButtonState.SetEnabled(false);
  EXPECT_EQ(QApplication::focusWidget(), setup);
  EXPECT_EQ(hints.size(), 4);

  // Nothing to say: Qt's own (empty) tooltip stays.
  QHelpEvent other(QEvent::ToolTip, QPoint(2, 2), setup->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(setup, &other);
  EXPECT_TRUE(QToolTip::text().isEmpty());
  QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), state->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(state, &help);
  EXPECT_EQ(QToolTip::text(), " Setup activated by remote terminal");
  QToolTip::hideText();
}

}  // namespace
}  // namespace rkvt
