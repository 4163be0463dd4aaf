#!/usr/bin/env bash
# The one run command: installs what is missing, builds the release configuration and
# identifies a modem.
#   RKVT_PORT=/dev/ttyUSB0 scripts/run.sh    a real modem on that port
#   scripts/run.sh [emulator options]        the emulator on a private pty, e.g.
#                                            scripts/run.sh --preset NAME
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build/release"
sim="$build_dir/sim/r-kvt-ms-sim"
cli="$build_dir/src/cli/r-kvt-ms-cli"

tmp_dir=""
sim_pid=""
port=""

stop_emulator() {
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
trap stop_emulator EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

install_packages() {
  "$root/scripts/setup.sh"
}

build_release() {
  if [[ ! -f "$build_dir/build.ninja" ]]; then
    cmake -S "$root" -B "$build_dir" -G Ninja
  fi
  cmake --build "$build_dir" --target r-kvt-ms-sim r-kvt-ms-cli
}

# Starts the emulator on a pty reached through a symlink in a private folder and sets
# $port to that symlink.
start_emulator() {
  tmp_dir="$(mktemp -d "${TMPDIR:-/tmp}/r-kvt-ms.XXXXXX")"
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

identify() {
  "$cli" --port "$port" identify
}

install_packages
build_release
if [[ -n "${RKVT_PORT:-}" ]]; then
  use_real_port "$@"
else
  start_emulator "$@"
fi
identify
