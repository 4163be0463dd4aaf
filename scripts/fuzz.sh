#!/usr/bin/env bash
# Open-ended fuzzing with libFuzzer: builds the targets in fuzz/ with clang
# (ASan + UBSan) in build/libfuzzer and runs each for SECONDS.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: frame image decode settings; default all, 60 s)
# New interesting inputs go to build/libfuzzer/corpus/TARGET; the seeds in
# fuzz/seeds are only read. A finding is left as build/libfuzzer/crash-* and can
# be replayed by any build: build/release/fuzz/fuzz_TARGET --runs 0 FILE.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(frame image decode settings)

"$root/scripts/setup.sh"
"$root/scripts/setup.sh" "$root/scripts/packages-fuzz.txt"

dir="$root/build/libfuzzer"
cmake -S "$root" -B "$dir" -G Ninja -DRKVT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$dir" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$root/tests/sanitizers/ubsan.supp:print_stacktrace=1:halt_on_error=1"
cd "$dir"
for t in "${targets[@]}"; do
  mkdir -p "corpus/$t"
  echo "== fuzz_$t for $seconds s"
  "./fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -max_len=4096 \
    "corpus/$t" "$root/fuzz/seeds/$t"
done
