#!/usr/bin/env bash
# The one run command: installs what is missing, builds the release configuration and
# runs the program against a modem.
#   scripts/run.sh [emulator options]        the emulator on a private pty, e.g.
#                                            scripts/run.sh --preset gen1-p2 --interface p2-async
#   RKVT_PORT=/dev/ttyUSB0 scripts/run.sh    a real modem on that port
# The program keeps its files in private folders here (placement file R-Kvt-ms.ini in a
# configuration folder of its own, the .cfg file in a working folder of its own), so a
# run never touches the user's own settings; both folders are removed at the end.
# Without a display ($DISPLAY and $WAYLAND_DISPLAY empty) the main window is built under
# Xvfb, State is pressed, and pictures of the window at 100 % and 200 % are saved; their
# paths are printed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build/release"
sim="$build_dir/sim/r-kvt-ms-sim"
program="$build_dir/src/app/r-kvt-ms"
shot="$build_dir/tests/e2e/r-kvt-ms-shot"

tmp_dir=""
sim_pid=""
port=""

clean_up() {
  if [[ -n "$sim_pid" ]] && kill -0 "$sim_pid" 2>/dev/null; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    # It closes its pty and removes its link on SIGTERM; do not hang if it is stuck.
    local tries=0
    while kill -0 "$sim_pid" 2>/dev/null && ((tries++ < 50)); do
      sleep 0.1
    done
    kill -KILL "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  sim_pid=""
  if [[ -n "$tmp_dir" ]]; then
    rm -rf -- "$tmp_dir"
    tmp_dir=""
  fi
}
trap clean_up EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

headless() {
  [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]
}

build_release() {
  if [[ ! -f "$build_dir/build.ninja" ]]; then
    cmake -S "$root" -B "$build_dir" -G Ninja
  fi
  local targets=(r-kvt-ms-sim r-kvt-ms)
  if headless; then
    targets+=(r-kvt-ms-shot)
  fi
  cmake --build "$build_dir" --target "${targets[@]}"
}

# Private folders: the emulator's link, the configuration folder, the working folder.
make_private_dirs() {
  tmp_dir="$(mktemp -d "${TMPDIR:-/tmp}/r-kvt-ms.XXXXXX")"
  mkdir -p "$tmp_dir/config" "$tmp_dir/work"
  chmod 700 "$tmp_dir"
}

# Starts the emulator on a pty reached through a symlink in the private folder and sets
# $port to that symlink.
start_emulator() {
  local link="$tmp_dir/modem" log="$tmp_dir/sim.log"
  "$sim" "$@" --link "$link" >"$log" 2>&1 &
  sim_pid=$!

  # The symlink appears once the pty is ready; give up after 10 s.
  local tries=0
  until [[ -L "$link" ]]; do
    if ! kill -0 "$sim_pid" 2>/dev/null; then
      echo "run: the emulator stopped before its port was ready:" >&2
      cat "$log" >&2
      sim_pid=""
      return 1
    fi
    if ((++tries > 100)); then
      echo "run: the emulator's port did not appear at $link" >&2
      cat "$log" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "run: emulator (pid $sim_pid) on $link -> $(readlink "$link")"
  port="$link"
}

use_real_port() {
  port="$RKVT_PORT"
  if (($# > 0)); then
    echo "run: RKVT_PORT is set, so the emulator options ($*) are not used" >&2
  fi
  echo "run: real port $port"
}

# The placement file as the program reads it at start: only the port is given, the
# line settings keep their defaults (115200 8N1, no flow control).
write_placement_file() {
  printf '[ComPort]\nPort=%s\n' "$port" >"$tmp_dir/config/R-Kvt-ms.ini"
}

run_program() {
  (cd "$tmp_dir/work" && XDG_CONFIG_HOME="$tmp_dir/config" "$program")
}

# Under Xvfb: State pressed, the window saved once at 100 % and once at 200 %.
take_screenshots() {
  local shots
  shots="$(mktemp -d "${TMPDIR:-/tmp}/r-kvt-ms-shots.XXXXXX")"
  local -a xvfb=(xvfb-run -a -s "-screen 0 1920x1440x24")
  local scale name status=0
  for scale in 1 2; do
    name="$shots/main-window-${scale}00.png"
    (cd "$tmp_dir/work" &&
      XDG_CONFIG_HOME="$tmp_dir/config" XDG_RUNTIME_DIR="$tmp_dir" QT_SCALE_FACTOR="$scale" \
        "${xvfb[@]}" "$shot" "$name" >"$tmp_dir/shot.log" 2>&1) || status=$?
    if [[ -f "$name" ]]; then
      echo "run: screenshot at ${scale}00 %: $name"
    else
      echo "run: no screenshot at ${scale}00 % (status $status):" >&2
      cat "$tmp_dir/shot.log" >&2
      return 1
    fi
  done
  sed -n 's/^message:/run: message line after State:/p' "$tmp_dir/shot.log"
}

"$root/scripts/setup.sh"
build_release
make_private_dirs
if [[ -n "${RKVT_PORT:-}" ]]; then
  use_real_port "$@"
else
  start_emulator "$@"
fi
write_placement_file
if headless; then
  echo "run: no display; building the window under Xvfb"
  take_screenshots
else
  run_program
fi
