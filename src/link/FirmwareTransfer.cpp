#include "link/FirmwareTransfer.h"

#include <algorithm>
#include <array>

#include "link/Commands.h"

namespace rkvt {

namespace {

constexpr std::uint8_t kEraseCode = 23;  // + segment
constexpr std::uint8_t kWriteCode = 43;  // + segment

std::uint8_t EraseCode(std::size_t k) { return static_cast<std::uint8_t>(kEraseCode + k); }
std::uint8_t WriteCode(std::size_t k) { return static_cast<std::uint8_t>(kWriteCode + k); }
int SegmentEndProgress(std::size_t k) { return static_cast<int>(20 * (k + 1)); }

std::span<const std::uint8_t, kBlockDataSize> Block(const CommandContext& ctx, std::size_t k, std::size_t offset) {
  return ctx.image.subspan(k * kSegmentSize + offset).first<kBlockDataSize>();
}

bool IsBlankBlock(std::span<const std::uint8_t, kBlockDataSize> block) {
  return std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0xFF; });
}

// The worker's block request: byte 0 unsent, offset high and low, 24 bytes.
using BlockRequest = std::array<std::uint8_t, 3 + kBlockDataSize>;

void FillBlockRequest(BlockRequest& request, std::uint16_t offset,
                      std::span<const std::uint8_t, kBlockDataSize> block) {
  request[1] = static_cast<std::uint8_t>(offset >> 8);
  request[2] = static_cast<std::uint8_t>(offset & 0xFF);
  std::copy(block.begin(), block.end(), request.begin() + 3);
}

}  // namespace

int BlockProgress(std::size_t segment, std::size_t offset) {
  return static_cast<int>(((segment * kSegmentSize + offset) * 100 + 2400) / (kImageSize - 1));
}

std::uint8_t UpdateViaLoader(CommandContext& ctx) {
  ctx.reply[0] = result::kUpdatedViaLoader;
  ctx.worker.ShowStatusText(QStringLiteral(" Erase software ..."));
  for (std::size_t k = 0; k < kSegmentCount; ++k) {
    if (!ctx.Ok(ctx.link.LoaderCommand(EraseCode(k)))) return result::kEraseFailed;
    ctx.worker.ShowProgress(SegmentEndProgress(k));
  }
  ctx.worker.ShowStatusText(QStringLiteral(" Update software ..."));
  for (std::size_t k = 0; k < kSegmentCount; ++k) {
    for (std::size_t o = 0; o <= kLastRegularOffset; o += kBlockDataSize) {
      // Blank blocks are not sent, but still count for progress and stop.
      if (!ctx.Ok(ctx.link.LoaderWriteBlock(WriteCode(k), static_cast<std::uint16_t>(o), Block(ctx, k, o))))
        return result::kWriteFailed;
      ctx.worker.ShowProgress(BlockProgress(k, o));
      if (ctx.Stopped()) return result::kUpdateStopped;
    }
    if (!ctx.Ok(ctx.link.LoaderWriteBlock(WriteCode(k), kFinalBlockOffset, Block(ctx, k, kFinalBlockOffset))))
      return result::kWriteFailed;
    ctx.worker.ShowProgress(SegmentEndProgress(k));
  }
  return result::kUpdatedViaLoader;
}

std::uint8_t UpdateViaFirmware(CommandContext& ctx) {
  BlockRequest request{};
  ctx.worker.ShowStatusText(QStringLiteral(" Erase software ..."));
  for (std::size_t k = 0; k < kSegmentCount; ++k) {
    const bool erased = ctx.Ok(ctx.link.SendRequestTwoReplies(EraseCode(k), request, 0));
    ctx.worker.ShowProgress(SegmentEndProgress(k));
    if (!erased) return result::kEraseFailed;
  }
  ctx.worker.ShowStatusText(QStringLiteral(" Update software ..."));
  for (std::size_t k = 0; k < kSegmentCount; ++k) {
    for (std::size_t o = 0; o <= kLastRegularOffset; o += kBlockDataSize) {
      const auto block = Block(ctx, k, o);
      if (IsBlankBlock(block)) continue;
      FillBlockRequest(request, static_cast<std::uint16_t>(o), block);
      const bool written = ctx.Ok(ctx.link.SendRequestTwoReplies(WriteCode(k), request, 26));
      if (ctx.Stopped()) return result::kUpdateStopped;
      if (!written) return result::kWriteFailed;
      ctx.worker.ShowProgress(BlockProgress(k, o));
    }
    const auto last = Block(ctx, k, kFinalBlockOffset);
    if (!IsBlankBlock(last)) {
      FillBlockRequest(request, kFinalBlockOffset, last);
      const bool written = ctx.Ok(ctx.link.SendRequestTwoReplies(WriteCode(k), request, 26));
      if (ctx.Stopped()) return result::kUpdateStopped;
      if (!written) return result::kWriteFailed;
    }
    if (k + 1 < kSegmentCount) ctx.worker.ShowProgress(SegmentEndProgress(k));
  }
  ctx.worker.ShowProgress(100);
  ctx.worker.Pause(200);
  return result::kUpdatedViaFirmware;
}

}  // namespace rkvt
