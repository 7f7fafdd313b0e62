#!/usr/bin/env bash
# Installs the build into a temporary root, as a package would, and checks
# what a desktop takes from it: the file list, the desktop entry and the
# AppStream metainfo as their own validators read them, the icons' sizes.
#   check-install.sh <build folder>
# A validator that is not installed is skipped with a message (exit 77), but
# fails the test under CI=true.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
id=org.example.Vantor
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

expected=(
  bin/vantor
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/man/man6/vantor.6.gz
  share/vantor/PNG/mainmenu.png
  share/vantor/PNG/gamebg.png
  share/vantor/TTF/matisse.ttf
  share/vantor/TTF/matisse-copyright.txt
  share/vantor/TTF/FreeSans.ttf
  share/vantor/TTF/FreeSans-copyright.txt
)
for size in 48 128 256 512; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for path in "${expected[@]}"; do
  [ -f "$usr/$path" ] || fail "$path is not installed"
done
[ -x "$usr/bin/vantor" ] || fail "bin/vantor is not executable"

# Nothing but these: the pictures and fonts go to share/vantor alone.
while IFS= read -r path; do
  case "$path" in
    bin/vantor | share/applications/$id.desktop | share/metainfo/$id.metainfo.xml) ;;
    share/man/man6/vantor.6.gz | share/icons/hicolor/*x*/apps/$id.png) ;;
    share/vantor/PNG/*.png | share/vantor/TTF/*) ;;
    *) fail "$path is installed but belongs nowhere" ;;
  esac
done < <(cd "$usr" && find . -type f | sed 's|^\./||')
[ -z "$(find "$root" -mindepth 1 -maxdepth 1 ! -name usr)" ] || fail "files outside the prefix"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 48 128 256 512; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$icon" ] || continue
  dimensions=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dimensions" = "${size}x${size}" ] || fail "the ${size} pixel icon is $dimensions"
done

skipped=0
have() {
  if command -v "$1" >/dev/null 2>&1; then return 0; fi
  if [ "${CI:-}" = true ]; then
    fail "$1 is missing (scripts/install-deps installs it)"
  else
    echo "SKIPPED: $1 is missing; scripts/install-deps installs it" >&2
    skipped=1
  fi
  return 1
}
if have desktop-file-validate; then
  desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
fi
if have appstreamcli; then
  appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" ||
    fail "appstreamcli validate"
fi
# The manual page as man formats it, when man is there: groff's warnings
# (an unknown macro, a line too long) are faults of the page.
if command -v man >/dev/null 2>&1; then
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
    "$usr/share/man/man6/vantor.6.gz" 2>&1 >/dev/null || echo "man failed")
  [ -z "$warnings" ] || fail "vantor.6.gz: $warnings"
fi

[ $status -ne 0 ] && exit $status
[ $skipped -ne 0 ] && exit 77
echo "The install tree holds what a desktop needs."
