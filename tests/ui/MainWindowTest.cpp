#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLayout>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>

#include "MainWindowControls.h"
#include "QtMainWindow.h"
#include "QtTextField.h"

namespace rkvt {
namespace {

// The window over bare models: no logic, so each test sets what it needs.
struct Console {
  MainWindowControls controls;
  QtMainWindow window{controls};
  Console() {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  template <typename W = QWidget>
  W* Widget(const char* name) {
    auto* widget = window.findChild<W*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Settle() {
    window.centralWidget()->layout()->activate();
    QApplication::processEvents();
  }
};

TEST(MainWindow, EveryControlHasANamedWidgetAScreenReaderCanSpeak) {
  Console c;
  const auto models = c.controls.findChildren<ui::Control*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_EQ(models.size(), 74);
  for (ui::Control* model : models) {
    auto* widget = c.window.findChild<QWidget*>(model->Name());
    ASSERT_NE(widget, nullptr) << model->Name().toStdString();
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << model->Name().toStdString();
  }
}

TEST(MainWindow, TabVisitsTheCommandsInConsoleOrder) {
  Console c;
  const QStringList expected{
      QStringLiteral("RadioButtonLocal"), QStringLiteral("ButtonState"),      QStringLiteral("ButtonSetup"),
      QStringLiteral("ButtonReset"),      QStringLiteral("ButtonSoftware"),   QStringLiteral("ButtonPort"),
      QStringLiteral("ButtonStatistics"), QStringLiteral("ButtonClearStatistics"), QStringLiteral("ComboBoxTest"),
      QStringLiteral("ButtonTest"),       QStringLiteral("ButtonClearTest")};
  c.controls.RadioButtonLocal.SetChecked(true);
  QApplication::setActiveWindow(&c.window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&c.window));
  c.Widget("RadioButtonLocal")->setFocus(Qt::TabFocusReason);
  QStringList visited;
  for (int i = 0; i < expected.size(); ++i) {
    visited << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(visited, expected);
}

TEST(MainWindow, MnemonicsReachTheirControls) {
  Console c;
  QApplication::setActiveWindow(&c.window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&c.window));
  EXPECT_EQ(QApplication::focusWidget(), c.Widget("ButtonState")) << "State has the focus at start";

  QStringList pressed;
  for (ui::Button* button : {&c.controls.ButtonState, &c.controls.ButtonPort, &c.controls.ButtonStatistics,
                             &c.controls.ButtonTest})
    button->OnClick = [&pressed, button] { pressed << button->Name(); };
  for (char key : {'S', 'P', 'A', 'C'}) {
    const qsizetype before = pressed.size();
    QTest::keyClick(&c.window, key, Qt::AltModifier);
    // A mnemonic clicks at the end of a short press animation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return pressed.size() > before; }, 5000)) << key;
  }
  EXPECT_EQ(pressed, (QStringList{QStringLiteral("ButtonState"), QStringLiteral("ButtonPort"),
                                  QStringLiteral("ButtonStatistics"), QStringLiteral("ButtonTest")}));

  QTest::keyClick(&c.window, 'T', Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), c.Widget("ComboBoxTest"));
}

TEST(MainWindow, ToggleButtonsFitTheirLongestCaption) {
  Console c;
  c.controls.ButtonTest.SetCaption(QStringLiteral("Connect"));
  c.Settle();
  auto* button = c.Widget<QAbstractButton>("ButtonTest");
  const int width = button->width();
  c.controls.ButtonTest.SetCaption(QStringLiteral("Disconnect"));
  c.Settle();
  EXPECT_GE(button->width(), button->sizeHint().width()) << "text would be clipped";
  EXPECT_EQ(button->width(), width) << "the window must not jump";
}

TEST(MainWindow, LongTextsNeitherWidenTheWindowNorGetLost) {
  Console c;
  c.Settle();
  const QSize size = c.window.size();
  const QString longState = QStringLiteral(" Setup activated by remote terminal through the far end of the line");
  c.controls.StaticTextState.SetText(longState);
  c.controls.StaticTextMessages.SetText(QString(300, QLatin1Char('x')));
  c.Settle();
  EXPECT_EQ(c.window.size(), size);

  auto* state = c.Widget("StaticTextState");
  EXPECT_EQ(c.window.FullTextTooltip(state), longState);
  c.controls.StaticTextState.SetText(QStringLiteral(" Normal"));
  EXPECT_EQ(c.window.FullTextTooltip(state), std::nullopt);
  EXPECT_EQ(c.window.FullTextTooltip(c.Widget("StaticTextModem")), std::nullopt) << "only state and status line";
}

TEST(MainWindow, StatusLineTooltipShowsItsWholeText) {
  Console c;
  const QString hint = QStringLiteral(" ") + QString(40, QLatin1Char('h')) + QString(200, QLatin1Char('.'));
  c.controls.StatusBar.SetSimpleText(hint);
  c.Settle();
  EXPECT_EQ(c.window.FullTextTooltip(c.window.statusBar()), hint);
  c.controls.StatusBar.SetSimpleText(QStringLiteral(" Port"));
  EXPECT_EQ(c.window.FullTextTooltip(c.window.statusBar()), std::nullopt);
}

TEST(MainWindow, FieldsThatShareAPlaceShareIt) {
  Console c;
  c.Settle();
  EXPECT_EQ(c.Widget("StaticTextSpeed")->geometry(), c.Widget("StaticTextCable")->geometry());
  EXPECT_EQ(c.Widget("StaticTextBits")->geometry(), c.Widget("StaticTextRdTime")->geometry());

  // Both captions shown at once (blanked, before any decode): one covers the
  // other, so the place reads exactly as with the later caption alone.
  const QRect place = c.Widget("LabelSpeed")->geometry().united(c.Widget("LabelCable")->geometry());
  QWidget* group = c.Widget("GroupBoxState");
  const QImage both = group->grab(place).toImage();
  c.controls.LabelSpeed.SetVisible(false);
  EXPECT_EQ(group->grab(place).toImage(), both);
  c.controls.LabelSpeed.SetVisible(true);

  // A hidden field keeps its row: the group does not shrink under the operator.
  const int below = c.Widget("StaticTextQual")->y();
  c.controls.StaticTextSpeed.SetVisible(false);
  c.controls.StaticTextCable.SetVisible(false);
  c.controls.LabelSpeed.SetVisible(false);
  c.controls.LabelCable.SetVisible(false);
  c.Settle();
  EXPECT_EQ(c.Widget("StaticTextQual")->y(), below);
}

TEST(MainWindow, PortTwoPanelStandsRightOfE1WhenBothShow) {
  Console c;
  c.controls.GroupBoxEthernet.SetVisible(false);
  c.controls.GroupBoxP2Nets.SetLeft(MainWindowControls::kPanelLeftBesideE1);
  c.Settle();
  const QWidget* e1 = c.Widget("GroupBoxE1");
  const QWidget* port2 = c.Widget("GroupBoxP2Nets");
  EXPECT_GE(port2->x(), e1->x() + e1->width());
  const auto left = [&](QWidget* w) { return w->mapTo(&c.window, QPoint()).x(); };
  EXPECT_GT(left(c.Widget("GroupBoxTarget")), left(c.Widget("GroupBoxP2Nets"))) << "panels sit between State and Target";
  EXPECT_GT(left(c.Widget("GroupBoxE1")), left(c.Widget("GroupBoxState")));
}

TEST(MainWindow, StatusTipsAreLeftToTheHintRouting) {
  Console c;
  c.controls.StatusBar.SetSimpleText(QStringLiteral(" before"));
  QStatusTipEvent tip(QStringLiteral("Identify the modem"));
  QApplication::sendEvent(&c.window, &tip);
  EXPECT_TRUE(c.window.statusBar()->currentMessage().isEmpty());
  EXPECT_EQ(c.window.findChild<ui::QtTextField*>(QStringLiteral("StatusBarText"))->text(), QStringLiteral(" before"));
}

TEST(MainWindow, PlacementMovesTheWindowOnlyOntoAScreen) {
  MainWindowControls controls;
  QtMainWindow window(controls);
  window.ApplyPlacement({.top = 40, .left = 30, .height = 1, .width = 1});
  EXPECT_EQ(window.Placement().top, 40);
  EXPECT_EQ(window.Placement().left, 30);
  EXPECT_GT(window.Placement().width, 1) << "the main window keeps its designed size";

  window.ApplyPlacement({.top = -9000, .left = -9000});
  EXPECT_EQ(window.Placement().top, 40);
  EXPECT_EQ(window.Placement().left, 30);
}

}  // namespace
}  // namespace rkvt
