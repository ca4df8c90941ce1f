#!/usr/bin/env bash
# Checks an installed Corvinal the way a desktop meets it: every file in its
# place, the menu entry, the software centre's description, the file type
# and the program that opens it, the icons, the manual page, and the program
# drawing a map from where it was installed, without a display.
#
#   scripts/check-install.sh PREFIX         # an installed tree, e.g. DESTDIR/usr
#   scripts/check-install.sh --build BUILD  # `cmake --install` BUILD to a
#                                           # temporary prefix, then check it
#
# Prints one line per check and fails when any check fails.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "${1:-}" = --build ]; then
  [ $# -eq 2 ] || { echo "usage: $0 PREFIX | --build BUILD" >&2; exit 2; }
  cmake --install "$2" --prefix "$work/installed/usr" > "$work/install.log"
  prefix=$work/installed/usr
else
  [ $# -eq 1 ] || { echo "usage: $0 PREFIX | --build BUILD" >&2; exit 2; }
  prefix=$(cd "$1" && pwd)
fi

id=org.corvinal.Corvinal
type=application/x-corvinal-pathway
sizes=(16 32 48 64 128 256)
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
mime=$prefix/share/mime/packages/$id.xml
program=$prefix/bin/corvinal

# The program as a user starts it: no display, no Qt platform chosen, no
# library path of ours.
run_bare() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LD_LIBRARY_PATH "$@"
}

check_files() {
  local missing=0 f
  local files=(
    bin/corvinal
    share/applications/$id.desktop
    share/mime/packages/$id.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/metainfo/$id.metainfo.xml
    share/doc/corvinal/copyright
  )
  for s in "${sizes[@]}"; do files+=("share/icons/hicolor/${s}x${s}/apps/$id.png"); done
  for f in "${files[@]}"; do
    [ -f "$prefix/$f" ] || { echo "missing: $f"; missing=1; }
  done
  [ -x "$program" ] || { echo "not executable: bin/corvinal"; missing=1; }
  # Debian compresses manual pages, a plain install does not.
  [ -f "$prefix/share/man/man1/corvinal.1" ] || [ -f "$prefix/share/man/man1/corvinal.1.gz" ] ||
    { echo "missing: share/man/man1/corvinal.1"; missing=1; }
  return $missing
}

check_desktop_entry() {
  desktop-file-validate "$desktop"
  local key
  for key in "Name=Corvinal" "GenericName=Adaptation pathways map editor" "Exec=corvinal %f" \
             "Icon=$id" "Categories=Qt;Science;Geoscience;" "MimeType=$type;"; do
    grep -qxF "$key" "$desktop" || { echo "no line \"$key\""; return 1; }
  done
  grep -q '^Comment=.' "$desktop" || { echo "no Comment"; return 1; }
  grep -q '^Keywords=.' "$desktop" || { echo "no Keywords"; return 1; }
}

check_metainfo() {
  appstreamcli validate --no-net "$metainfo"
  grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
  local version
  version=$(run_bare "$program" --version | sed -n 's/^corvinal //p')
  grep -qF "<release version=\"$version\"" "$metainfo" ||
    { echo "no release $version in the metainfo"; return 1; }
}

# The file type, as a file manager resolves it: the description installed
# with update-mime-database into a data folder of its own, and the desktop
# entry's file types indexed as the desktop-file-utils trigger does.
mime_env() {
  env XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/data:/usr/share" "$@"
}

prepare_data_folder() {
  mkdir -p "$work/data/mime/packages" "$work/data/applications"
  cp "$mime" "$work/data/mime/packages/"
  cp "$desktop" "$work/data/applications/"
  mime_env update-mime-database "$work/data/mime"
  update-desktop-database "$work/data/applications"
  cp "$source_dir/examples/delta.pathway" "$work/x.pathway"
}

check_file_type() {
  prepare_data_folder
  local found
  found=$(mime_env gio info -a standard::content-type "$work/x.pathway" |
            sed -n 's/^ *standard::content-type: //p')
  echo "x.pathway is $found"
  [ "$found" = "$type" ]
}

# A double-click: the desktop starts the program of the desktop entry with
# the file as its one argument. A stand-in for corvinal notes what it is given.
check_double_click() {
  mkdir -p "$work/stand-in"
  cat > "$work/stand-in/corvinal" <<EOF
#!/bin/sh
printf '%s\n' "\$@" > "$work/arguments"
EOF
  chmod +x "$work/stand-in/corvinal"
  local file="$work/my plan.pathway"
  cp "$work/x.pathway" "$file"
  local default
  default=$(PATH="$work/stand-in:$PATH" mime_env gio mime "$type" 2>&1 | head -n 1 || true)
  echo "$default"
  case $default in *": $id.desktop") ;; *) return 1 ;; esac
  PATH="$work/stand-in:$PATH" mime_env gio open "$file"
  local i
  for i in $(seq 50); do [ -s "$work/arguments" ] && break; sleep 0.1; done
  echo "started with: $(cat "$work/arguments" 2>/dev/null)"
  [ "$(cat "$work/arguments")" = "$file" ]
}

check_icons() {
  local s info
  for s in "${sizes[@]}"; do
    info=$(file -b "$prefix/share/icons/hicolor/${s}x${s}/apps/$id.png")
    case $info in
      "PNG image data, $s x $s,"*) ;;
      *) echo "${s}x${s}: $info"; return 1 ;;
    esac
  done
  rsvg-convert --width 64 --height 64 "$prefix/share/icons/hicolor/scalable/apps/$id.svg" > /dev/null
}

check_manual_page() {
  local page=$prefix/share/man/man1/corvinal.1
  [ -f "$page" ] || page=$page.gz
  lexgrog "$page"
  # man and groff print warnings about the page on the standard error.
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 > /dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
  local option
  for option in '\\-\\-export' '\\-\\-series' '\\-\\-scale' '\\-\\-help' '\\-\\-version' 'EXIT STATUS'; do
    zcat -f "$page" | grep -q -- "$option" || { echo "the page does not mention $option"; return 1; }
  done
}

check_export() {
  if ldd "$program" | grep -F "not found"; then return 1; fi
  run_bare "$program" --export "$work/map.png" "$source_dir/examples/delta.pathway"
  run_bare "$program" --export "$work/map.svg" "$source_dir/examples/drought.pathway"
  run_bare "$program" --export "$work/map.pdf" --scale 2 "$source_dir/examples/delta.pathway"
  file -b "$work/map.png" | grep -q '^PNG image data'
  grep -q '<svg' "$work/map.svg"
  head -c 5 "$work/map.pdf" | grep -q '%PDF-'
  echo "map.png: $(file -b "$work/map.png")"
  # Without --export the window needs a display, and says so.
  local status=0
  run_bare "$program" "$source_dir/examples/delta.pathway" 2> /dev/null || status=$?
  [ "$status" -eq 2 ] || { echo "without a display: exit status $status, not 2"; return 1; }
}

source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"

echo "Checking the installed tree $prefix"
check "installed files" check_files
check "desktop entry (desktop-file-validate)" check_desktop_entry
check "metainfo (appstreamcli validate --no-net)" check_metainfo
check "x.pathway is $type (update-mime-database, gio)" check_file_type
check "a double-click starts corvinal with the file" check_double_click
check "icons at ${sizes[*]} px and scalable" check_icons
check "manual page" check_manual_page
check "the installed program exports maps without a display" check_export
echo "install check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
