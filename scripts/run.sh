#!/usr/bin/env bash
# Installs what is missing, builds tavrilo.exe and runs it under Wine: on $DISPLAY when there
# is one, else on a virtual display of its own (it says where to look).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
scripts/build.sh win32 >/dev/null
. scripts/wine-env.sh

if [ -z "${DISPLAY:-}" ]; then
  exec 3< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
  read -r -u 3 number
  export DISPLAY=:$number
  trap 'pkill -f "Xvfb -displayfd 1" 2>/dev/null || true' EXIT
  echo "No display here: Tavrilo runs on the virtual display $DISPLAY (1920 x 1080)."
  echo "To see it:  xwd -root -display $DISPLAY -out tavrilo.xwd   (then open tavrilo.xwd in an image viewer)"
fi
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
echo "Tavrilo is running; close its window (or press Esc in it) to end."
wine build/win32/tavrilo.exe && status=0 || status=$?
echo "Tavrilo ended with exit code $status."
