# Sourced by the scripts that run the program: private folders, the emulator or a real
# port, the placement file naming it, and the clean-up of all of it on exit.
# Expects $root; messages start with "$me: ".

build_dir="$root/build/release"
sim="$build_dir/sim/r-kvt-ms-sim"
program="$build_dir/src/app/r-kvt-ms"

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

# Configures the release build if needed and builds the given targets.
build_release() {
  if [[ ! -f "$build_dir/build.ninja" ]]; then
    cmake -S "$root" -B "$build_dir" -G Ninja
  fi
  cmake --build "$build_dir" --target "$@"
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
      echo "$me: the emulator stopped before its port was ready:" >&2
      cat "$log" >&2
      sim_pid=""
      return 1
    fi
    if ((++tries > 100)); then
      echo "$me: the emulator's port did not appear at $link" >&2
      cat "$log" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "$me: emulator (pid $sim_pid) on $link -> $(readlink "$link")"
  port="$link"
}

use_real_port() {
  port="$RKVT_PORT"
  if (($# > 0)); then
    echo "$me: RKVT_PORT is set, so the emulator options ($*) are not used" >&2
  fi
  echo "$me: real port $port"
}

# The placement file as the program reads it at start: only the port is given, the
# line settings keep their defaults (115200 8N1, no flow control).
write_placement_file() {
  printf '[ComPort]\nPort=%s\n' "$port" >"$tmp_dir/config/R-Kvt-ms.ini"
}

# Private folders, then RKVT_PORT or the emulator (with the given options), then the
# placement file naming the port.
open_modem_session() {
  make_private_dirs
  if [[ -n "${RKVT_PORT:-}" ]]; then
    use_real_port "$@"
  else
    start_emulator "$@"
  fi
  write_placement_file
}
