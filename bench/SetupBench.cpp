// What the setup window's logic costs: building the largest list (the E1 + KSI
// view) from a record, and one rule application (a flip and a choice, each
// followed by the send decision), in microseconds.
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "setup/SetupModel.h"

namespace {

using namespace rkvt::setup;

// The median of `rounds` timings of `step`, each over `inner` repetitions.
double MedianMicros(int rounds, int inner, const std::function<void()>& step) {
  std::vector<double> samples;
  for (int r = 0; r < rounds; ++r) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < inner; ++i) step();
    samples.push_back(clock.nsecsElapsed() / 1000.0 / inner);
  }
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

}  // namespace

int main() {
  // Level 11, variant 3, E1 + KSI at "512" with CCS: multiplexer, signalling, port 2.
  RecordBytes record{};
  record[1] = 7;
  record[6] = 0x08;
  record[11] = 4;
  record[15] = 80;
  record[22] = 0x64;
  SetupModel model({11, 3});
  model.Build(record);
  std::printf("E1 + KSI list: %lld rows\n", static_cast<long long>(model.List().Rows().size()));

  const double build = MedianMicros(21, 200, [&] { model.Build(record); });
  std::printf("%-34s %8.2f us\n", "build list from record", build);

  bool due = false;
  const double flip = MedianMicros(21, 200, [&] {
    model.ClickLink(u"E1Crc4");
    due ^= model.SendDue();
  });
  std::printf("%-34s %8.2f us\n", "flip E1Crc4 + send decision", flip);

  int k = 0;
  const QStringList levels = model.ChoiceList(u"MTransmitLevel");
  const double choice = MedianMicros(21, 200, [&] {
    const SetupModel::Click click = model.ClickLink(u"MTransmitLevel");
    model.Choose(u"MTransmitLevel", click.entries[k++ % click.entries.size()]);
    due ^= model.SendDue();
  });
  std::printf("%-34s %8.2f us  (%lld entries)\n", "open transmit level list + choose", choice,
              static_cast<long long>(levels.size()));
  const double interface = MedianMicros(21, 200, [&] {
    const SetupModel::Click click = model.ClickLink(u"Interface");
    model.Choose(u"Interface", click.entries.last());
    due ^= model.SendDue();
  });
  std::printf("%-34s %8.2f us\n", "open interface list + choose", interface);
  return due ? 0 : 0;
}
