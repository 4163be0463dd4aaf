#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLayout>

#include "QtBinders.h"
#include "QtPanelRow.h"

namespace rkvt::ui {
namespace {

// The three signal panels as the main window has them: all at 184, hidden.
struct Panels {
  QtPanelRow row;
  GroupBox port2{QStringLiteral("GroupBoxP2Nets"), QStringLiteral(" Port 2 "), 184};
  GroupBox ethernet{QStringLiteral("GroupBoxEthernet"), QStringLiteral(" Ethernet "), 184};
  GroupBox e1{QStringLiteral("GroupBoxE1"), QStringLiteral(" E1 "), 184};
  QGroupBox* port2Box = new QGroupBox;
  QGroupBox* ethernetBox = new QGroupBox;
  QGroupBox* e1Box = new QGroupBox;

  Panels() {
    for (auto [model, box] : {std::pair{&port2, port2Box}, {&ethernet, ethernetBox}, {&e1, e1Box}}) {
      box->setMinimumSize(60, 40);
      Bind(*model, *box);
      model->SetVisible(false);
      row.AddPanel(box);
    }
    row.resize(400, 100);
    row.show();
  }
  void Settle() { row.layout()->activate(); }
};

TEST(PanelRow, PortTwoMovedTo256StandsRightOfE1) {
  Panels p;
  p.e1.SetVisible(true);
  p.port2.SetVisible(true);
  p.port2.SetLeft(256);
  p.Settle();
  EXPECT_GT(p.port2Box->x(), p.e1Box->x() + p.e1Box->width() - 1);
  EXPECT_EQ(p.row.Order(), (std::vector<QWidget*>{p.ethernetBox, p.e1Box, p.port2Box}));

  // Back to 184 and alone: it takes the common place again.
  p.port2.SetLeft(184);
  p.e1.SetVisible(false);
  p.Settle();
  EXPECT_EQ(p.row.Order().front(), p.port2Box);
  EXPECT_EQ(p.port2Box->x(), 0);
}

TEST(PanelRow, PanelsSharingALeftEdgeTakeTurnsInOnePlace) {
  Panels p;
  p.ethernet.SetVisible(true);
  p.Settle();
  const int ethernetX = p.ethernetBox->x();
  p.ethernet.SetVisible(false);
  p.e1.SetVisible(true);
  p.Settle();
  EXPECT_EQ(p.e1Box->x(), ethernetX);
  EXPECT_EQ(ethernetX, 0);
}

}  // namespace
}  // namespace rkvt::ui
