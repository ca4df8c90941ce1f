#!/usr/bin/env bash
# Builds the Debian package dist/corvinal_<version>-<revision>_<arch>.deb
# (in release mode, in package-build/) and checks it: its control fields,
# its file list, lintian, and the tree unpacked from it as
# scripts/check-install.sh checks an install, the unpacked program drawing
# maps with the system's Qt. Fails when any check fails.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

# The package does not change with the time it is built: dates come from
# the last commit (reproducible-builds.org's convention).
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2> /dev/null || date +%s)
  export SOURCE_DATE_EPOCH
fi
# The compiler and linker flags of Debian's own packages, with every
# hardening option; the debugging information would only be stripped.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# The preset "package" (CMakePresets.json) builds in package-build/; the
# flags are Debian's of the day, so they are given here.
cmake --preset package "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" > /dev/null
cmake --build --preset package

version=$(package-build/app/corvinal --version | sed -n 's/^corvinal //p')
arch=$(dpkg --print-architecture)
deb_version=$version-1
deb=dist/corvinal_${deb_version}_${arch}.deb
rm -f dist/corvinal_*.deb
(cd package-build && cpack -G DEB -D "CPACK_OUTPUT_FILE_PREFIX=$PWD/../dist" > cpack.log) ||
  { cat package-build/cpack.log; exit 1; }
[ -f "$deb" ] || { echo "cpack wrote no $deb:" >&2; ls dist >&2; exit 1; }
echo "Built $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"

check_control() {
  local field want got
  while IFS='|' read -r field want; do
    got=$(dpkg-deb -f "$deb" "$field")
    [ "$got" = "$want" ] || { echo "$field: \"$got\", not \"$want\""; return 1; }
  done <<EOF
Package|corvinal
Version|$deb_version
Architecture|$arch
Maintainer|The Corvinal developers <corvinal@example.org>
Section|science
EOF
  # What the binary needs, found by dpkg-shlibdeps.
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  local lib
  for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
    case ", $depends" in *", $lib ("*) ;; *) echo "Depends lacks $lib"; return 1 ;; esac
  done
  # The synopsis, and an extended description below it.
  local description
  description=$(dpkg-deb -f "$deb" Description)
  [ "$(head -n 1 <<< "$description")" = "adaptation pathways map editor" ] ||
    { echo "Description: $(head -n 1 <<< "$description")"; return 1; }
  [ "$(wc -l <<< "$description")" -gt 3 ]
}

check_file_list() {
  dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' > "$work/files"
  local id=org.corvinal.Corvinal missing=0 f s
  local files=(
    /usr/bin/corvinal
    /usr/share/applications/$id.desktop
    /usr/share/mime/packages/$id.xml
    /usr/share/icons/hicolor/scalable/apps/$id.svg
    /usr/share/metainfo/$id.metainfo.xml
    /usr/share/man/man1/corvinal.1.gz
    /usr/share/doc/corvinal/copyright
    /usr/share/doc/corvinal/changelog.Debian.gz
  )
  for s in 16 32 48 64 128 256; do files+=("/usr/share/icons/hicolor/${s}x${s}/apps/$id.png"); done
  for f in "${files[@]}"; do
    grep -qxF "$f" "$work/files" || { echo "not in the package: $f"; missing=1; }
  done
  # Nothing of the build folder, nothing outside /usr.
  if grep -v '^/usr/' "$work/files" | grep -v '^/$'; then missing=1; fi
  return $missing
}

check_changelog() {
  dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/corvinal/changelog.Debian.gz > "$work/changelog.gz"
  local first
  first=$(zcat "$work/changelog.gz" | head -n 1)
  echo "$first"
  [ "$first" = "corvinal ($deb_version) unstable; urgency=medium" ]
  # gzip -9n: neither a file name nor a time in the header.
  [ "$(od -An -tx1 -j3 -N5 "$work/changelog.gz" | tr -d ' ')" = 0000000000 ]
}

check_lintian() {
  # Every tag is shown, overridden ones too: the overrides shipped in the
  # package say why each does not apply. A warning fails the check as an
  # error does.
  local status=0
  lintian --tag-display-limit 0 --show-overrides "$deb" > "$work/lintian" 2>&1 || status=$?
  grep -v 'running with root privileges' "$work/lintian" || true
  [ "$status" -eq 0 ] || { echo "lintian exited with status $status"; return 1; }
  if grep -q '^[EW]: ' "$work/lintian"; then return 1; fi
}

check_stripped() {
  local info
  info=$(file -b "$work/root/usr/bin/corvinal")
  echo "$info"
  case $info in *", stripped"*) ;; *) return 1 ;; esac
}

show_all_output=1
source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"

check "control fields, dependencies from dpkg-shlibdeps" check_control
check "file list (dpkg-deb -c)" check_file_list
check "Debian changelog for $deb_version" check_changelog
check "lintian" check_lintian
check "binary stripped" check_stripped
echo "package check: $passed passed, $failed failed"

# The tree unpacked with dpkg-deb -x, as a plain install is checked.
install_status=0
scripts/check-install.sh "$work/root/usr" || install_status=$?
[ "$failed" -eq 0 ] && [ "$install_status" -eq 0 ]
