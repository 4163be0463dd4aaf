#include "link/ProtocolRunner.h"

#include <QPointer>

#include "link/QtSerialPort.h"
#include "link/TProtocol.h"

namespace rkvt {

namespace {

struct Progress {
  bool completed = false;
  QString fault;
};

class Handle final : public RunningCommand {
 public:
  Handle(TProtocol* worker, std::shared_ptr<Progress> progress)
      : worker_(worker), progress_(std::move(progress)) {}

  ~Handle() override {
    // Dropped before its end (the window goes away): the worker must neither
    // go on nor call back into the window.
    if (!progress_->completed && worker_) {
      worker_->OnTerminate = nullptr;
      worker_->Terminate();
    }
  }

  QString Fault() const override { return progress_->fault; }

  void Terminate() override {
    if (!progress_->completed && worker_) worker_->Terminate();
  }

 private:
  QPointer<TProtocol> worker_;  // the worker frees itself after its completion
  std::shared_ptr<Progress> progress_;
};

}  // namespace

ProtocolRunner::ProtocolRunner(const PortSettings& settings, LinkTimings timings, PortMaker makePort)
    : settings_(settings), timings_(timings), makePort_(std::move(makePort)) {
  if (!makePort_) makePort_ = [](const PortSettings& s) { return std::make_unique<QtSerialPort>(s); };
}

std::unique_ptr<RunningCommand> ProtocolRunner::Start(const CommandRequest& request,
                                                      std::function<void()> onCompleted) {
  ProtocolSetup setup;
  setup.makePort = [settings = settings_, make = makePort_] { return make(settings); };
  setup.timings = timings_;
  setup.host = request.host;
  setup.softwareLevel = request.softwareLevel;
  setup.image = request.image;
  auto* worker = new TProtocol(request.command, request.subAddress, request.local,
                               static_cast<std::uint16_t>(request.block.size()), request.block.data(),
                               std::move(setup));
  auto progress = std::make_shared<Progress>();
  worker->OnTerminate = [progress, done = std::move(onCompleted)](TProtocol& ended) {
    progress->completed = true;
    // A stop needs no explaining, and a port error has given its reason itself.
    const FaultKind kind = ended.Fault().kind;
    if (kind != FaultKind::Stopped && kind != FaultKind::PortError) progress->fault = ended.FaultDescription();
    if (done) done();
  };
  auto handle = std::make_unique<Handle>(worker, progress);
  worker->Start();
  return handle;
}

}  // namespace rkvt
