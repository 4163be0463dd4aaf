#include "app/CommandDrain.h"

#include <QEventLoop>
#include <QTimer>

namespace rkvt {

class CommandDrain::Tracked final : public RunningCommand {
 public:
  Tracked(CommandDrain& owner, std::unique_ptr<RunningCommand> inner) : owner_(owner), inner_(std::move(inner)) {
    owner_.live_.insert(this);
  }
  ~Tracked() override { owner_.live_.erase(this); }
  void Terminate() override {
    if (inner_) inner_->Terminate();
  }

 private:
  CommandDrain& owner_;
  std::unique_ptr<RunningCommand> inner_;
};

std::unique_ptr<RunningCommand> CommandDrain::Start(const CommandRequest& request, std::function<void()> onCompleted) {
  // A refused start looks like a command that never ends; nobody waits for it.
  if (draining_) return std::make_unique<Tracked>(*this, nullptr);
  ++inFlight_;
  auto completed = [this, done = std::move(onCompleted)] {
    --inFlight_;
    if (done) done();
    if (inFlight_ == 0 && onIdle_) onIdle_();
  };
  return std::make_unique<Tracked>(*this,
                                   inner_.Start(request, std::move(completed)));
}

bool CommandDrain::Drain(int limitMs) {
  draining_ = true;
  if (inFlight_ == 0) return true;
  for (Tracked* command : live_) command->Terminate();
  QEventLoop loop;
  onIdle_ = [&loop] { loop.quit(); };
  QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
  loop.exec();
  onIdle_ = nullptr;
  return inFlight_ == 0;
}

}  // namespace rkvt
