#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt (or in the list
# file given) that are missing.
# Safe to run again: when everything is there it only asks dpkg and returns.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
list="${1:-$here/packages.txt}"

# One package per line; '#' starts a comment.
mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$list" | grep -v '^$')

if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
  echo "setup: dpkg/apt-get not found; this script is for Debian 12." >&2
  echo "setup: install the equivalents of: ${wanted[*]}" >&2
  exit 1
fi

# dpkg-query exits non-zero when it has never heard of a package; that just means missing.
installed="$(dpkg-query -W -f='${Package} ${Status}\n' "${wanted[@]}" 2>/dev/null \
  | awk '$2 == "install" && $4 == "installed" { print $1 }' || true)"

missing=()
for pkg in "${wanted[@]}"; do
  if ! grep -qxF -- "$pkg" <<<"$installed"; then
    missing+=("$pkg")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if ((EUID == 0)); then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and neither root nor sudo available" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${missing[@]}"
