// Stands in for libFuzzer where it is not available (g++ builds): runs every
// seed file, then a fixed number of inputs mutated from them with a fixed
// random seed, so a test run is repeatable. On a crash the input is printed
// in hex and kept in a file, to be replayed with the same program.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "FuzzCheck.h"

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes g_current;  // the input being run, for the crash report

void ReportCurrentInput() {
  const char* path = "fuzz-crash.bin";
  if (std::FILE* f = std::fopen(path, "wb")) {
    std::fwrite(g_current.data(), 1, g_current.size(), f);
    std::fclose(f);
  }
  std::fprintf(stderr, "\ncrashing input (%zu bytes, kept in %s):", g_current.size(), path);
  for (std::size_t i = 0; i < g_current.size() && i < 1024; ++i) std::fprintf(stderr, "%s%02X", i % 32 ? " " : "\n", g_current[i]);
  std::fprintf(stderr, "\n");
}

void OnSignal(int signal) {
  ReportCurrentInput();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void Run(const Bytes& input) {
  g_current = input;
  LLVMFuzzerTestOneInput(g_current.data(), g_current.size());
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Bytes> LoadSeeds(const std::vector<std::string>& paths) {
  std::vector<Bytes> seeds;
  for (const auto& p : paths) {
    if (std::filesystem::is_directory(p)) {
      for (const auto& entry : std::filesystem::directory_iterator(p))
        if (entry.is_regular_file()) seeds.push_back(ReadFile(entry.path()));
    } else {
      seeds.push_back(ReadFile(p));
    }
  }
  return seeds;
}

class Mutator {
 public:
  Mutator(std::uint64_t seed, std::size_t maxLength) : random_(seed), maxLength_(maxLength) {}

  Bytes Next(const std::vector<Bytes>& seeds) {
    Bytes input = seeds.empty() ? Bytes{} : seeds[Below(seeds.size())];
    const std::size_t steps = 1 + Below(8);
    for (std::size_t i = 0; i < steps; ++i) Mutate(input, seeds);
    if (input.size() > maxLength_) input.resize(maxLength_);
    return input;
  }

 private:
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(random_()); }

  void Mutate(Bytes& b, const std::vector<Bytes>& seeds) {
    // Values that tend to sit on boundaries.
    static constexpr std::uint8_t kInteresting[] = {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFE, 0xFF, 0x30, 0x3F, 0xE7};
    switch (Below(b.empty() ? 1 : 7)) {
      case 0: b.insert(b.begin() + static_cast<long>(Below(b.size() + 1)), Byte()); break;
      case 1: b[Below(b.size())] ^= static_cast<std::uint8_t>(1u << Below(8)); break;
      case 2: b[Below(b.size())] = Byte(); break;
      case 3: b[Below(b.size())] = kInteresting[Below(std::size(kInteresting))]; break;
      case 4: b.erase(b.begin() + static_cast<long>(Below(b.size()))); break;
      case 5: b.resize(Below(b.size() + 1)); break;
      case 6: {
        if (seeds.empty()) break;
        const Bytes& other = seeds[Below(seeds.size())];
        if (other.empty()) break;
        const std::size_t from = Below(other.size());
        const std::size_t length = 1 + Below(other.size() - from);
        const std::size_t to = Below(b.size());
        for (std::size_t i = 0; i < length && to + i < b.size(); ++i) b[to + i] = other[from + i];
        break;
      }
    }
  }

  std::mt19937_64 random_;
  std::size_t maxLength_;
};

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--runs N] [--seed S] [--max-len L] [SEED_FILE_OR_DIR...]\n", program);
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t runs = 10000, maxLength = 4096;
  std::uint64_t seed = 1;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--runs" && hasValue) runs = std::stoul(argv[++i]);
    else if (arg == "--seed" && hasValue) seed = std::stoull(argv[++i]);
    else if (arg == "--max-len" && hasValue) maxLength = std::stoul(argv[++i]);
    else if (arg.rfind("--", 0) == 0) return Usage(argv[0]);
    else paths.push_back(arg);
  }

  std::signal(SIGABRT, OnSignal);
  std::signal(SIGSEGV, OnSignal);
  if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(ReportCurrentInput);

  const std::vector<Bytes> seeds = LoadSeeds(paths);
  for (const Bytes& s : seeds) Run(s);
  Mutator mutator(seed, maxLength);
  for (std::size_t i = 0; i < runs; ++i) Run(mutator.Next(seeds));
  std::printf("%zu seed inputs and %zu mutated inputs ran clean\n", seeds.size(), runs);
  return 0;
}
