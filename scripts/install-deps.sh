#!/usr/bin/env bash
# Installs what building, testing and running Corvinal needs on Debian 12.
# Idempotent: when every package is already there it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins
  libgl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  clang libclang-rt-dev
  fonts-dejavu-core
  xvfb xauth librsvg2-bin poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
