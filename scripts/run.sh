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
me=run
# shellcheck source=scripts/modem-session.sh
source "$root/scripts/modem-session.sh"
shot="$build_dir/tools/r-kvt-ms-shot"

headless() {
  [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]
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
targets=(r-kvt-ms-sim r-kvt-ms)
if headless; then
  targets+=(r-kvt-ms-shot)
fi
build_release "${targets[@]}"
open_modem_session "$@"
if headless; then
  echo "run: no display; building the window under Xvfb"
  take_screenshots
else
  run_program
fi
