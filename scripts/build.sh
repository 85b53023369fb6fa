#!/usr/bin/env bash
# Configures and builds one tree: "win32" (tavrilo.exe and the Wine tests, cross-compiled) or
# "native" (the platform-free logic and its tests, with sanitizers), or "win64" (a check that
# the program also compiles, warning-free, for 64-bit Windows).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case ${1:?usage: build.sh win32|native|win64} in
win32) cmake --preset debian-win32 -S "$root" >/dev/null && cmake --build --preset debian-win32 ;;
native) cmake --preset debian-native -S "$root" >/dev/null && cmake --build --preset debian-native ;;
win64) cmake --preset debian-win64-check -S "$root" >/dev/null && cmake --build --preset debian-win64-check ;;
*) echo "usage: build.sh win32|native|win64" >&2; exit 2 ;;
esac
