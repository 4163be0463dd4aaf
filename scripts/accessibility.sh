#!/usr/bin/env bash
# The main window as a screen reader or a test driver sees it: runs the program under
# Xvfb with the accessibility bus, against the emulator (or RKVT_PORT), presses the
# buttons named by RKVT_PRESS (default "State") through the accessibility interface,
# and prints every control with its name, text, description (lamp colours) and text
# colours.
#   scripts/accessibility.sh [emulator options]
#   RKVT_PRESS="State Start" scripts/accessibility.sh --preset gen1-p2
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
me=accessibility
# shellcheck source=scripts/modem-session.sh
source "$root/scripts/modem-session.sh"

"$root/scripts/setup.sh"
"$root/scripts/setup.sh" "$root/scripts/packages-a11y.txt"
build_release r-kvt-ms-sim r-kvt-ms
open_modem_session "$@"

read -r -a presses <<<"${RKVT_PRESS-State}"
# One session bus for the accessibility bus, the program and the reader; all of it
# ends with the session.
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  bus=$!
  (cd "$1/work" && XDG_CONFIG_HOME="$1/config" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$2" >"$1/program.log" 2>&1) &
  program=$!
  status=0
  /usr/bin/python3 "$3" "${@:4}" || status=$?
  kill "$program" "$bus" 2>/dev/null
  wait "$program" 2>/dev/null
  exit $status
' accessibility "$tmp_dir" "$program" "$root/scripts/accessibility-tree.py" "${presses[@]}"
