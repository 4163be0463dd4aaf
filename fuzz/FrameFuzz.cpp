// Bytes from the line: working-framing decode, the reply checks, and frames
// built from arbitrary request data.
#include <algorithm>
#include <span>

#include "link/Frame.h"
#include "FuzzCheck.h"

namespace {

using namespace rkvt;

void CheckWorkingFrame(std::span<const std::uint8_t, kWorkingFrameSize> chars) {
  const Frame frame = DecodeWorking(chars);
  // Decoding ignores the upper four bits, so encoding what came out and
  // decoding again must give the same frame.
  const WorkingFrame again = EncodeWorking(frame);
  FUZZ_CHECK(DecodeWorking(again) == frame);
  FUZZ_CHECK(std::all_of(again.begin(), again.end(), [](std::uint8_t c) { return c >= 0x30 && c <= 0x3F; }));

  const bool answer = IsValidAnswer(frame);
  FUZZ_CHECK(answer == (frame[0] == kFrameStart && ChecksumMatches(frame)));
  FUZZ_CHECK(!IsValidAcknowledgement(frame, frame[2]) || answer);
  FUZZ_CHECK(!IsValidAcknowledgement(frame, static_cast<std::uint8_t>(frame[2] + 1)));
}

void CheckLoaderFrame(std::span<const std::uint8_t> bytes) {
  Frame frame{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), frame.size()), frame.begin());
  Frame sealed = frame;
  SealFrame(sealed);
  FUZZ_CHECK(ChecksumMatches(sealed));
  FUZZ_CHECK(std::equal(frame.begin(), frame.begin() + 29, sealed.begin()));
  FUZZ_CHECK(ChecksumMatches(frame) == (StoredChecksum(frame) == StoredChecksum(sealed)));
}

void CheckRequest(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 2) return;
  const std::uint8_t address = RequestAddress((bytes[0] & 1) != 0, bytes[0] >> 1);
  const auto data = bytes.subspan(2);
  const Frame request = BuildRequest(address, bytes[1], data);
  FUZZ_CHECK(request[0] == kFrameStart && request[1] == address && request[2] == bytes[1]);
  const std::size_t used = std::min(data.size(), kFrameDataMax);
  FUZZ_CHECK(std::equal(data.begin(), data.begin() + used, request.begin() + 3));
  FUZZ_CHECK(std::all_of(request.begin() + 3 + used, request.begin() + 29, [](std::uint8_t b) { return b == 0; }));
  FUZZ_CHECK(IsValidAnswer(request));
  FUZZ_CHECK(ExpectedAnswerAddress(ExpectedAnswerAddress(address)) == address);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  if (bytes.size() >= kWorkingFrameSize) CheckWorkingFrame(bytes.first<kWorkingFrameSize>());
  CheckLoaderFrame(bytes);
  CheckRequest(bytes);
  return 0;
}
