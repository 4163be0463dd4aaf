#!/usr/bin/env bash
# Pictures of the main window against emulated modems of every kind of
# interface, taken under Xvfb: scripts/screenshots.sh [OUT_DIR]
# Each picture shows the window after "State" (identification and statistics);
# the test-* ones after a loop test has been connected and read a few times.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build/release"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build_dir" -G Ninja >/dev/null
cmake --build "$build_dir" --target r-kvt-ms-sim r-kvt-ms-shot >/dev/null

out="${1:-$(mktemp -d "${TMPDIR:-/tmp}/r-kvt-ms-looks.XXXXXX")}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# name: emulator options
cases=(
  "p2-sync:--preset gen1-old --interface p2-sync"
  "p2-sync-gen2:--preset gen1-p2 --interface p2-sync --cable 30"
  "p2-async:--preset gen1-old --interface p2-async --cable 18"
  "ethernet-10-100:--preset gen2-e1 --interface eth100"
  "e1:--preset gen2-e1 --interface e1"
  "e1-ksi:--preset gen2-e1 --interface e1-port2 --cable 30"
  "activity:--preset gen2-e1 --activity rdl-es --actor local-modem"
  "unknown-modem:--preset unknown"
  "test-rdl:--preset gen2-e1 --interface e1-port2 --cable 30|RDL"
  "test-es:--preset gen1-old --interface p2-sync|ES"
  "test-dl:--preset gen1-p2 --interface p2-sync --cable 18|DL"
)

for entry in "${cases[@]}"; do
  name="${entry%%:*}"
  rest="${entry#*:}"
  test=()
  if [[ "$rest" == *"|"* ]]; then test=(--test "${rest##*|}"); rest="${rest%|*}"; fi
  read -r -a options <<<"$rest"
  link="$work/$name"
  "$build_dir/sim/r-kvt-ms-sim" "${options[@]}" --link "$link" >/dev/null 2>"$work/$name.sim.log" &
  sim_pid=$!
  for _ in $(seq 100); do [[ -e "$link" ]] && break; sleep 0.05; done
  XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build_dir/tests/e2e/r-kvt-ms-shot" --port "$link" "${test[@]}" "$out/$name.png" >"$work/$name.log" 2>&1 ||
    { echo "screenshots: $name failed:" >&2; cat "$work/$name.log" >&2; }
  kill -TERM "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  echo "$out/$name.png"
done
