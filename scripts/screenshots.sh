#!/usr/bin/env bash
# Pictures of the main window against emulated modems of every kind of
# interface, taken under Xvfb: scripts/screenshots.sh [OUT_DIR]
# Each picture shows the window after "State" (identification and statistics);
# the setup-* pictures show the setup window after "Setup", each also with the
# font at twice its size (*-200.png).
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
)

# name|shot options|emulator options
pln1k_manual="A0430000C4010000C800CA00CCCD00645AA5010201010000D8D9"
setup_cases=(
  "setup-p2-sync-gen1||--preset gen1-old --interface p2-sync"
  "setup-ethernet||--preset gen2-e1 --interface eth100"
  "setup-p2-async||--preset gen1-old --interface p2-async"
  "setup-e1-ksi||--preset gen2-e1 --interface e1-port2"
  "setup-pln1k-manual||--firmware 5.00 --variant-code 7 --record $pln1k_manual"
  "setup-choices|--drop Interleaver|--preset gen2-e1 --interface e1"
)

# shoot NAME SHOT-OPTIONS SIM-OPTIONS
shoot() {
  local name="$1" link="$work/$1"
  local -a shot_options sim_options
  read -r -a shot_options <<<"$2"
  read -r -a sim_options <<<"$3"
  "$build_dir/sim/r-kvt-ms-sim" "${sim_options[@]}" --link "$link" >/dev/null 2>"$work/$name.sim.log" &
  local sim_pid=$!
  for _ in $(seq 100); do [[ -e "$link" ]] && break; sleep 0.05; done
  XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build_dir/tests/e2e/r-kvt-ms-shot" --port "$link" "${shot_options[@]}" "$out/$name.png" >"$work/$name.log" 2>&1 ||
    { echo "screenshots: $name failed:" >&2; cat "$work/$name.log" "$work/$name.sim.log" >&2; }
  kill -TERM "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  rm -f "$link"
  echo "$out/$name.png"
}

for entry in "${setup_cases[@]}"; do
  IFS='|' read -r name shot_options sim_options <<<"$entry"
  shoot "$name" "--setup $shot_options" "$sim_options"
  shoot "$name-200" "--setup $shot_options --font-scale 2" "$sim_options"
done

for entry in "${cases[@]}"; do
  name="${entry%%:*}"
  read -r -a options <<<"${entry#*:}"
  link="$work/$name"
  "$build_dir/sim/r-kvt-ms-sim" "${options[@]}" --link "$link" >/dev/null 2>"$work/$name.sim.log" &
  sim_pid=$!
  for _ in $(seq 100); do [[ -e "$link" ]] && break; sleep 0.05; done
  XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build_dir/tests/e2e/r-kvt-ms-shot" --port "$link" "$out/$name.png" >"$work/$name.log" 2>&1 ||
    { echo "screenshots: $name failed:" >&2; cat "$work/$name.log" >&2; }
  kill -TERM "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  echo "$out/$name.png"
done
