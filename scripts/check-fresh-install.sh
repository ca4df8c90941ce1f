#!/usr/bin/env bash
# Installs the package built by scripts/package.sh on a fresh, minimal
# Debian 12 (bookworm) the way a planner would, with
# `apt install ./dist/corvinal_*.deb`, which fetches whatever the package
# depends on, and draws a map there from the PATH without a display.
#
# The fresh system is a debootstrap root in fresh-install/root (ignored by
# git), made anew on every run and removed afterwards (KEEP_ROOT=1 keeps it
# for a look around); the packages debootstrap downloads are kept in
# fresh-install/cache, the logs and the map beside them. Run it by hand: it
# needs root (or sudo), the Debian mirror and some minutes, too slow for
# every CI run.
#
#   scripts/check-fresh-install.sh [MIRROR]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
  command -v sudo > /dev/null || { echo "Needs root, and sudo is not there." >&2; exit 1; }
  exec sudo "$0" "$@"
fi

mirror=${1:-http://deb.debian.org/debian}
security=http://deb.debian.org/debian-security

debs=(dist/corvinal_*.deb)
if [ ! -f "${debs[0]}" ] || [ ${#debs[@]} -ne 1 ]; then
  echo "Expected one package in dist/; run scripts/package.sh first." >&2
  exit 1
fi
deb=${debs[0]}

./scripts/install-deps.sh

base=$PWD/fresh-install
root=$base/root
cache=$base/cache

cleanup() {
  if mountpoint -q "$root/proc" 2> /dev/null; then umount "$root/proc"; fi
  if [ "${KEEP_ROOT:-0}" != 1 ]; then rm -rf "$root"; fi
}
trap cleanup EXIT

rm -rf "$root"
mkdir -p "$root" "$cache"
echo "Making a fresh Debian 12 in $root (debootstrap, minbase)..."
debootstrap --variant=minbase --cache-dir="$cache" bookworm "$root" "$mirror" > "$base/debootstrap.log" 2>&1 ||
  { tail -n 20 "$base/debootstrap.log"; exit 1; }

# As a fresh install has it: the release, its updates and security updates.
cat > "$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
EOF

mkdir -p "$root/root/work/dist"
cp "$deb" "$root/root/work/dist/"
cp -r examples "$root/root/work/"
mount -t proc proc "$root/proc" 2> /dev/null || echo "(Could not mount /proc in the root; going on without it.)"

# A clean environment: no display, no Qt platform, nothing of this machine.
in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

before=$(in_root dpkg-query -W -f='${Package}\n' | wc -l)
echo "The fresh system has $before packages. Installing $(basename "$deb")..."
in_root sh -c 'apt-get update -q' > "$base/apt.log" 2>&1 || { tail -n 20 "$base/apt.log"; exit 1; }
in_root sh -c "cd /root/work && apt install -y ./dist/$(basename "$deb")" >> "$base/apt.log" 2>&1 ||
  { tail -n 30 "$base/apt.log"; exit 1; }
after=$(in_root dpkg-query -W -f='${Package}\n' | wc -l)
echo "apt installed corvinal and $((after - before - 1)) packages it needs (log: $base/apt.log)."

echo "In the fresh system:"
in_root sh -c 'echo "  $(command -v corvinal): $(corvinal --version)"'
in_root sh -c 'cd /root/work && corvinal --export map.png examples/delta.pathway'
cp "$root/root/work/map.png" "$base/map.png"
info=$(file -b "$base/map.png")
echo "  corvinal --export map.png examples/delta.pathway: $info"
case $info in
  "PNG image data, "*) ;;
  *) echo "The map is not a PNG image." >&2; exit 1 ;;
esac
for f in /usr/share/applications/org.corvinal.Corvinal.desktop \
         /usr/share/icons/hicolor/256x256/apps/org.corvinal.Corvinal.png \
         /usr/share/man/man1/corvinal.1.gz; do
  [ -f "$root$f" ] || { echo "  missing: $f" >&2; exit 1; }
done
echo "  the menu entry, the icon and the manual page are installed."
# shared-mime-info comes along with Qt's dependencies; its trigger adds the
# file type to the system's database.
if [ -f "$root/usr/share/mime/application/x-corvinal-pathway.xml" ]; then
  echo "  the file type application/x-corvinal-pathway is in the system's MIME database."
else
  echo "  (shared-mime-info is not installed, so the file type is not registered.)"
fi
echo "Fresh install: corvinal installs on Debian 12 and draws a map (copied to $base/map.png)."
