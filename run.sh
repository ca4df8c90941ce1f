#!/usr/bin/env bash
# Installs what is missing, builds, and starts Corvinal on FILE (by default
# the bundled example). Without a display it renders the map to an image.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
# The preset "build" (CMakePresets.json) builds in build/, as ./test.sh does.
cmake --preset build > /dev/null
cmake --build --preset build --target corvinal

file="${1:-examples/delta.pathway}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  mkdir -p out
  image="out/$(basename "${file%.*}").png"
  echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so Corvinal cannot open its window."
  echo "Rendering the map of $file to $image instead."
  build/app/corvinal --export "$image" "$file"
  echo "Wrote $image"
  exit 0
fi
exec build/app/corvinal "$file"
