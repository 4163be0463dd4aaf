// r-kvt-ms-listshot [--linger] OUT.png [KEY]: the parameter list with rows of
// a P2 Sync and an E1 modem, the pointer on the clock mode link, and with KEY
// the choice list of that key dropped down; for looking at the widget at
// 100 % and 200 % (QT_SCALE_FACTOR=2) before the setup window exists.
// --linger keeps it open afterwards, every link dropping the clock modes,
// for trying it by hand or through an accessibility client.
#include <QApplication>
#include <QPainter>
#include <QTest>

#include "ui/widgets/QtChoicePopup.h"
#include "ui/widgets/QtParamListBox.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool linger = argc > 1 && QByteArray(argv[1]) == "--linger";
  if (linger) --argc, ++argv;
  if (argc < 2) return 64;
  const QStringList kModes = {"Internal (TxC)", "External (CLK)", "Receiver (RxC)"};
  rkvt::ui::QtParamListBox list;
  list.setObjectName(QStringLiteral("ParamListBoxSetup"));
  list.SetRows({
      R"( Parameter : <IND x="140">|<IND x="150">Value :<HR>)",
      R"( Interface : <IND x="150"><A href="Interface">P2 Sync</A><HR>)",
      R"( Modulation :</A>)",
      R"(     Bit Rate, Kbit/s : <IND x="150"><A href="MBitRate">128</A>)",
      R"(     Bit Rate Up To, Kbit/s : <IND x="150">48)",
      R"(     Transmit Level, dB : <IND x="150"><A href="MTransmitLevel">-50</A>)",
      R"(     Connection : <IND x="150"><A href="MConnection">Long</A>)",
      R"(       Channels : <IND x="150"><A href="MChannels">1-2-3</A>)",
      R"(     LLC :<IND x="150"><A href="LLC">Disabled</A>)",
      R"( Interleaver : <IND x="150"><A href="Interleaver">Off</A><HR>)",
      R"( Port 2 :</A>)",
      R"(     Sync BitRate, Kbit/s : <IND x="150">128)",
      R"(     Clock Mode : <IND x="150"><A href="SClockMode">Internal (TxC)</A>)",
      R"( E1 :</A>)",
      R"(     Jitter Attenuatordepth, bit : <IND x="150"><A href="E1JittAttDepth">128</A>)",
      R"(     DCD Management : <IND x="150"><A href="DCDManagement">Always active</A>)",
  });
  list.resize(list.sizeHint());
  list.show();
  if (!QTest::qWaitForWindowExposed(&list)) return 1;
  const QRect clock = list.RowRect(list.RowOfKey(QStringLiteral("SClockMode")));
  QTest::mouseMove(list.viewport(), list.viewport()->mapFrom(&list, QPoint(list.LinkX(12) + 8, clock.center().y())));
  QTest::qWait(50);
  QImage shot(list.size() * list.devicePixelRatio() + QSize(0, argc > 2 ? 200 : 0), QImage::Format_RGB32);
  shot.setDevicePixelRatio(list.devicePixelRatio());
  shot.fill(Qt::white);
  QPainter painter(&shot);
  painter.drawPixmap(0, 0, list.grab());
  if (argc > 2) {
    list.DropChoices(QString::fromLocal8Bit(argv[2]), kModes);
    QTest::qWait(50);
    if (list.Choices() != nullptr)
      painter.drawPixmap(list.mapFromGlobal(list.Choices()->pos()), list.Choices()->grab());
  }
  painter.end();
  if (!shot.save(QString::fromLocal8Bit(argv[1]))) return 1;
  if (!linger) return 0;
  QObject::connect(&list, &rkvt::ui::QtParamListBox::LinkActivated,
                   [&](const QString& key) { list.DropChoices(key, kModes); });
  QObject::connect(&list, &rkvt::ui::QtParamListBox::ChoicePicked,
                   [&](const QString& key, int, const QString& text) { list.SetValue(key, text); });
  return app.exec();
}
