#!/usr/bin/env bash
# Builds the Debian package from the release build folder and checks what it holds:
# the file list against scripts/package-files.txt, and that its dependencies came
# from the libraries the programs link.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default build/release, configured and built)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/release}"

cmake --build "$build" --target package
deb="$(ls -t "$build"/r-kvt-ms_*.deb | head -n 1)"
echo "package: $deb"

# Files only (directories vary with dpkg-deb's listing), without the leading "./".
actual="$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|' | sort)"
expected="$(grep -v '^#' "$root/scripts/package-files.txt" | grep -v '^$' | sort)"
if [[ "$actual" != "$expected" ]]; then
  echo "the package's files differ from scripts/package-files.txt (< expected, > package):" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi

depends="$(dpkg-deb --field "$deb" Depends)"
echo "depends: $depends"
for library in libqt6core6 libqt6serialport6 libqt6widgets6 libstdc++6 qt6-qpa-plugins; do
  if ! grep -q "$library" <<<"$depends"; then
    echo "the package does not depend on $library" >&2
    exit 1
  fi
done
echo "package OK: $(wc -l <<<"$actual") files"
