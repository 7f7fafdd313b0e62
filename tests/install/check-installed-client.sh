#!/usr/bin/env bash
# The installed executable, started from another working directory under a
# virtual X server, finds its pictures in ../share/vantor, shows its window
# and starts its server child, whose launch line the client passes on.
#   check-installed-client.sh <build folder>
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
mkdir "$root/elsewhere"
cd "$root/elsewhere"
export VANTOR_ROOT=$root
exec xvfb-run -a -s "-screen 0 640x800x24" bash -euo pipefail -c '
  "$VANTOR_ROOT/usr/bin/vantor" >"$VANTOR_ROOT/output" 2>&1 &
  pid=$!
  trap "kill $pid 2>/dev/null; wait $pid 2>/dev/null || true" EXIT
  # Polls with a generous bound: the machine may be busy.
  window=""
  for _ in $(seq 600); do
    kill -0 $pid 2>/dev/null || break
    window=$(xdotool search --onlyvisible --name "^Vantor\$" 2>/dev/null | head -n1 || true)
    if [ -n "$window" ] && grep -q "server launched on port" "$VANTOR_ROOT/output"; then break; fi
    sleep 0.1
  done
  cat "$VANTOR_ROOT/output"
  if ! kill -0 $pid 2>/dev/null; then echo "FAIL: the client ended" >&2; exit 1; fi
  [ -n "$window" ] || { echo "FAIL: no Vantor window" >&2; exit 1; }
  grep -q "server launched on port" "$VANTOR_ROOT/output" ||
    { echo "FAIL: no launch line from the server child" >&2; exit 1; }
  xwininfo -id "$window" | grep -q "Map State: IsViewable" ||
    { echo "FAIL: the window is not shown" >&2; exit 1; }
  resources=$(readlink "/proc/$pid/cwd")
  [ "$resources" -ef "$VANTOR_ROOT/usr/share/vantor" ] ||
    { echo "FAIL: the client reads its resources from $resources" >&2; exit 1; }
  echo "The installed client shows its window and starts its server child."
'
