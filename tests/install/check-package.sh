#!/usr/bin/env bash
# The .deb that `make package` made: its contents list and the Depends line
# dpkg-shlibdeps worked out. A package missing, or older than the
# executable, is skipped with a message (exit 77), but fails under CI=true,
# where .ci/run makes the package before the tests.
#   check-package.sh <build folder> <executable> <version>
set -euo pipefail
build=$1
executable=$2
version=$3
deb=$(ls "$build"/package/vantor_"$version"_*.deb 2>/dev/null | head -n1 || true)
if [ -z "$deb" ] || [ "$deb" -ot "$executable" ]; then
  message="no package as new as the executable in $build/package: run make package"
  if [ "${CI:-}" = true ]; then
    echo "FAIL: $message" >&2
    exit 1
  fi
  echo "SKIPPED: $message" >&2
  exit 77
fi
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

id=org.example.Vantor
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
[ -n "$contents" ] || fail "dpkg-deb cannot list the package"
expected=(
  ./usr/bin/vantor
  ./usr/share/applications/$id.desktop
  ./usr/share/metainfo/$id.metainfo.xml
  ./usr/share/man/man6/vantor.6.gz
  ./usr/share/vantor/PNG/mainmenu.png
  ./usr/share/vantor/TTF/matisse.ttf
  ./usr/share/vantor/TTF/matisse-copyright.txt
  ./usr/share/vantor/TTF/FreeSans.ttf
  ./usr/share/vantor/TTF/FreeSans-copyright.txt
)
for size in 48 128 256 512; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$contents" || fail "$path is not in the package"
done
if grep -v '^\./usr/' <<<"$contents" | grep -qv '^\./$'; then
  fail "the package holds files outside /usr"
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# freeglut's library package is libglut3.12 since Debian 12 (freeglut3 before).
for library in 'libglut\|freeglut' libpng libfreetype libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends does not name $library"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the version is not $version"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the section is not games"

[ $status -eq 0 ] && echo "The package holds the game and depends on its libraries."
exit $status
