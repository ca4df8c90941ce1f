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
  fonts-dejavu-core locales
  xvfb xauth librsvg2-bin poppler-utils
  # The package and the checks of what it installs (scripts/package.sh,
  # scripts/check-install.sh, scripts/check-fresh-install.sh).
  dpkg-dev file lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin
  man-db groff-base debootstrap
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# The tests run under a locale with a decimal point and one with a decimal
# comma; both must exist for the C runtime, not only for Qt.
locales=(en_US de_DE)
missing_locales=()
for l in "${locales[@]}"; do
  if ! locale -a 2>/dev/null | grep -qix "$l.utf-\?8"; then
    missing_locales+=("$l")
  fi
done

[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "Missing (and neither root nor sudo is available): ${missing[*]} ${missing_locales[*]}" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${SUDO[@]}" apt-get update -qq
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
for l in "${missing_locales[@]}"; do
  echo "Generating the locale $l.UTF-8"
  "${SUDO[@]}" localedef -i "$l" -c -f UTF-8 "$l.UTF-8"
done
