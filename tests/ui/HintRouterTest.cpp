#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include "QtHintRouter.h"

namespace rkvt::ui {
namespace {

struct Window {
  QMainWindow window;
  QPushButton* state = new QPushButton(QStringLiteral("State"));
  QPushButton* port = new QPushButton(QStringLiteral("Port"));
  Window() {
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(state);
    layout->addWidget(port);
    window.setCentralWidget(central);
    state->setStatusTip(QStringLiteral("Identify the modem"));
    port->setStatusTip(QStringLiteral("Serial port settings"));
  }
};

TEST(HintRouter, EnteringAndLeavingAControlRoutesItsHint) {
  QStringList hints;
  QtHintRouter router([&](const QString& hint) { hints << hint; });
  Window w;

  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(w.state, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(w.state, &leave);
  EXPECT_EQ(hints, (QStringList{QStringLiteral("Identify the modem"), QString()}));
  EXPECT_TRUE(w.window.statusBar()->currentMessage().isEmpty()) << "the window must not show it on its own";
}

TEST(HintRouter, OnlyKeyboardFocusRoutesAHint) {
  QStringList hints;
  QtHintRouter router([&](const QString& hint) { hints << hint; });
  Window w;
  w.window.show();
  QApplication::setActiveWindow(&w.window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));

  w.state->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(w.state, Qt::Key_Tab);
  EXPECT_EQ(hints, QStringList{QStringLiteral("Serial port settings")});
  QTest::keyClick(w.port, Qt::Key_Backtab);
  EXPECT_EQ(hints.size(), 2);

  // Disabling the focused button moves the focus on, which Qt calls a tab:
  // the user did nothing, the status line must not change.
  ASSERT_EQ(QApplication::focusWidget(), w.state);
  w.state->setEnabled(false);
  EXPECT_EQ(QApplication::focusWidget(), w.port);
  EXPECT_EQ(hints.size(), 2);
}

TEST(HintRouter, ProviderTextReplacesTheTooltip) {
  QPushButton* asked = nullptr;
  Window w;
  QtHintRouter router([](const QString&) {},
                      [&](QWidget* widget) -> std::optional<QString> {
                        if (widget != w.state) return std::nullopt;
                        asked = w.state;
                        return QStringLiteral(" Setup activated by remote terminal");
                      });
  w.window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));

  // Nothing to say: Qt's own (empty) tooltip stays.
  QHelpEvent other(QEvent::ToolTip, QPoint(2, 2), w.port->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(w.port, &other);
  EXPECT_TRUE(QToolTip::text().isEmpty());

  QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w.state->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(w.state, &help);
  EXPECT_EQ(asked, w.state);
  EXPECT_EQ(QToolTip::text(), QStringLiteral(" Setup activated by remote terminal"));
  QToolTip::hideText();
}

}  // namespace
}  // namespace rkvt::ui
