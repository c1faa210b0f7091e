#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the benchmarks and the Debian
# package need, and only those that are missing. Runs apt-get as root, through sudo when
# not root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  qt6-base-dev qt6-svg-dev libqt6opengl6-dev libgl-dev libassimp-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri fonts-dejavu-core
  desktop-file-utils appstream man-db file dpkg-dev lintian
)
[ "${1:-}" = "--bench" ] && packages+=(valgrind)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
