#!/usr/bin/env bash
# start | stop: one virtual 1920 x 1080 display and one wineserver for a whole test run.
# The display number and the environment go to $TAVRILO_SESSION_DIR for tests/wine/run.sh.
set -euo pipefail
. "$(dirname "$0")/../../scripts/wine-env.sh"
dir=${TAVRILO_SESSION_DIR:?}

stop() {
  [ -f "$dir/display" ] && DISPLAY=:$(cat "$dir/display") wineserver -k 2>/dev/null || true
  [ -f "$dir/xvfb.pid" ] && kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
  rm -f "$dir/display" "$dir/xvfb.pid"
}

case ${1:-} in
start)
  stop
  mkdir -p "$dir" "$WINEPREFIX"  # wineserver -p refuses a prefix folder that does not exist yet
  # -displayfd picks a free display number and writes it once the server is ready.
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$dir/display.tmp" >/dev/null 2>&1 &
  echo $! >"$dir/xvfb.pid"
  for _ in $(seq 100); do [ -s "$dir/display.tmp" ] && break; sleep 0.1; done
  tr -d '\n' <"$dir/display.tmp" >"$dir/display" && rm -f "$dir/display.tmp"
  [ -s "$dir/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(cat "$dir/display")
  # Stays up between the test programs, so each start is quick. Its output goes nowhere: a
  # daemon holding our stdout would keep a test runner waiting for the end of it.
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot -i >/dev/null 2>&1
  # With no window manager on the display, a "managed" window waits 2 s at every close or hide
  # for a window manager's answer that never comes; Wine then manages the windows itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  echo "virtual display $DISPLAY, prefix $WINEPREFIX"
  ;;
stop) stop ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
