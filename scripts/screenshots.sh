#!/usr/bin/env bash
# Pictures of the main window against emulated modems of every kind of
# interface, taken under Xvfb: scripts/screenshots.sh [OUT_DIR]
# Each picture shows the window after "State" (identification and statistics);
# the test-* ones after a loop test has been connected and read a few times.
# scripts/screenshots.sh --docs renews the README's pictures in docs/: the main
# window, each window it opens, and the message line's tooltip on a missing port.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build/release"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build_dir" -G Ninja >/dev/null
cmake --build "$build_dir" --target r-kvt-ms-sim r-kvt-ms-shot >/dev/null

docs=0
if [[ "${1:-}" == --docs ]]; then
  docs=1
  shift
fi
out="${1:-$(mktemp -d "${TMPDIR:-/tmp}/r-kvt-ms-looks.XXXXXX")}"
((docs)) && out="$root/docs"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# shot NAME SIM_OPTIONS SHOT_OPTIONS...: one picture against a fresh emulator;
# SIM_OPTIONS "port:PATH" runs without one, on PATH.
shot() {
  local name="$1" sim_options="$2" link="$work/$1" sim_pid=""
  shift 2
  if [[ "$sim_options" == port:* ]]; then
    link="${sim_options#port:}"
  else
    local -a options
    read -r -a options <<<"$sim_options"
    "$build_dir/sim/r-kvt-ms-sim" "${options[@]}" --link "$link" >/dev/null 2>"$work/$name.sim.log" &
    sim_pid=$!
    for _ in $(seq 100); do [[ -e "$link" ]] && break; sleep 0.05; done
  fi
  XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build_dir/tools/r-kvt-ms-shot" --port "$link" "$@" "$out/$name.png" >"$work/$name.log" 2>&1 ||
    { echo "screenshots: $name failed:" >&2; cat "$work/$name.log" >&2; }
  if [[ -n "$sim_pid" ]]; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  echo "$out/$name.png"
}

if ((docs)); then
  shot main-window "--preset gen2-e1 --interface e1-port2 --cable 30"
  shot port-dialog port:ttyS0 --open ButtonPort
  shot setup-window "--preset gen2-e1" --open ButtonSetup
  shot update-window "--preset gen2-e1" --open ButtonSoftware
  shot missing-port port:/dev/ttyUSB7 --hover StaticTextMessages
  exit 0
fi

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

# The setup window of five modems, one with a choice list dropped down; each
# also at 200 % (*-200.png).
pln1k_manual=A0430000C4010000C800CA00CCCD00645AA5010201010000D8D9
setup_cases=(
  "setup-p2-sync-gen1:--preset gen1-old --interface p2-sync"
  "setup-ethernet:--preset gen2-e1 --interface eth100"
  "setup-p2-async:--preset gen1-old --interface p2-async"
  "setup-e1-ksi:--preset gen2-e1 --interface e1-port2"
  "setup-pln1k-manual:--firmware 5.00 --variant-code 7 --record $pln1k_manual"
  "setup-choices:--preset gen2-e1 --interface e1|Interleaver"
)
for entry in "${setup_cases[@]}"; do
  name="${entry%%:*}"
  rest="${entry#*:}"
  drop=()
  if [[ "$rest" == *"|"* ]]; then drop=(--drop "${rest##*|}"); rest="${rest%|*}"; fi
  shot "$name" "$rest" --open ButtonSetup "${drop[@]}"
  QT_SCALE_FACTOR=2 shot "$name-200" "$rest" --open ButtonSetup "${drop[@]}"
done

for entry in "${cases[@]}"; do
  name="${entry%%:*}"
  rest="${entry#*:}"
  test=()
  if [[ "$rest" == *"|"* ]]; then test=(--test "${rest##*|}"); rest="${rest%|*}"; fi
  shot "$name" "$rest" "${test[@]}"
done

# The update window idle, with an image chosen, during the transfer and after
# a rejected file, at 100 % and 200 %.
link="$work/update"
"$build_dir/sim/r-kvt-ms-sim" --preset gen2-e1 --baud 115200 --link "$link" >/dev/null 2>"$work/update.sim.log" &
sim_pid=$!
for _ in $(seq 100); do [[ -e "$link" ]] && break; sleep 0.05; done
for scale in 1 2; do
  XDG_CONFIG_HOME="$work/config" QT_SCALE_FACTOR="$scale" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build_dir/tools/r-kvt-ms-shot" --port "$link" --update "$out/update-${scale}00.png" \
    >"$work/update.log" 2>&1 || { echo "screenshots: update window failed:" >&2; cat "$work/update.log" >&2; }
  grep '\.png$' "$work/update.log" || true
done
kill -TERM "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true
