#!/usr/bin/env bash
# The one test command: installs what is missing, then builds and tests
#   release  default build, every test
#   asan     AddressSanitizer + UndefinedBehaviorSanitizer, every test
#   tsan     ThreadSanitizer, the tests labelled "threaded"
# After the release tests it builds the Debian package and checks its file list.
# Usage: scripts/test.sh [release|asan|tsan ...]   (no argument: all three, in that order)
# Each configuration keeps its own folder under build/, so a second run rebuilds only
# what changed. A failing configuration does not stop the next one; the exit status
# is non-zero if any phase failed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
supp="$root/tests/sanitizers"
jobs="$(nproc 2>/dev/null || echo 2)"

configs=("$@")
if ((${#configs[@]} == 0)); then
  configs=(release asan tsan)
fi
for config in "${configs[@]}"; do
  case "$config" in
    release | asan | tsan) ;;
    *)
      echo "usage: scripts/test.sh [release|asan|tsan ...]" >&2
      exit 2
      ;;
  esac
done

# Tests never need a display; windows render offscreen.
export QT_QPA_PLATFORM=offscreen
# Set for the build as well: gtest_discover_tests runs each test program to list it.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$supp/ubsan.supp:print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1:print_suppressions=0:ignore_noninstrumented_modules=1"

phases=()  # "name seconds status" per phase, printed at the end
failed=0
tests_ran=0
passed_total=0
failed_total=0

record() { phases+=("$1 $2 $3"); }

summary() {
  echo
  echo "== time per phase"
  local line name secs status
  for line in "${phases[@]}"; do
    read -r name secs status <<<"$line"
    printf '  %-16s %5ds  %s\n' "$name" "$secs" "$status"
  done
  printf '  %-16s %5ds\n' "total" "$SECONDS"
  # One closing line over all configurations.
  if ((tests_ran)); then
    echo "tests: $passed_total passed, $failed_total failed"
  fi
}
trap summary EXIT

# Sanitizer builds keep assertions (ours and Qt's) and compile at -O1 with line tables
# only: faster to build than -O2 -g, and the reports still name file and line.
sanitizer_build=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1")

build() {
  local config="$1" dir="$root/build/$1"
  local -a options=()
  case "$config" in
    asan) options=("${sanitizer_build[@]}" -DRKVT_SANITIZER=address) ;;
    tsan) options=("${sanitizer_build[@]}" -DRKVT_SANITIZER=thread -DRKVT_BUILD_BENCH=OFF) ;;
  esac
  # Re-running cmake on an existing folder is cheap and keeps the options right.
  cmake -S "$root" -B "$dir" -G Ninja "${options[@]}" &&
    cmake --build "$dir"
}

# Adds the counts of ctest's closing line ("N% tests passed, F tests failed out of T").
count() {
  local log="$1" line total fails
  line="$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)"
  [[ -n "$line" ]] || return 0
  fails="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")"
  total="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")"
  passed_total=$((passed_total + total - fails))
  failed_total=$((failed_total + fails))
}

run_tests() {
  local config="$1" dir="$root/build/$1" log
  local -a options=()
  if [[ "$config" == tsan ]]; then
    options=(-L threaded)
  fi
  log="$dir/ctest.log"
  tests_ran=1
  # A hung test must not eat the whole run; 300 s leaves room for TSan's slowdown.
  local status=0
  ctest --test-dir "$dir" --output-on-failure --no-tests=ignore --timeout 300 \
    -j "$jobs" "${options[@]}" 2>&1 | tee "$log" || status=$?
  count "$log"
  return "$status"
}

phase() {
  local name="$1" start=$SECONDS status=0
  shift
  echo
  echo "== $name"
  "$@" || status=$?
  if ((status == 0)); then
    record "$name" $((SECONDS - start)) ok
  else
    record "$name" $((SECONDS - start)) FAILED
    failed=1
  fi
  return "$status"
}

phase setup "$root/scripts/setup.sh" || exit 1

for config in "${configs[@]}"; do
  if phase "build-$config" build "$config"; then
    phase "test-$config" run_tests "$config" || true
    # The package reuses the release folder: only packing is left to do.
    if [[ "$config" == release ]]; then
      phase package "$root/scripts/check-package.sh" "$root/build/release" || true
    fi
  fi
done

exit "$failed"
