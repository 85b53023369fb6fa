#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the platform-free logic
# natively under sanitizers, a 64-bit compile check, then the Wine suites (Win32 code
# in-process, and the real tavrilo.exe end to end on a virtual display).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh || exit 1
for tree in native win64 win32; do
  echo "== build $tree"
  scripts/build.sh "$tree" || exit 1
done

status=0
summary() { grep -E 'tests passed, [0-9]+ tests? failed out of' | tail -n 1; }
echo "== native tests"
native_log=$(mktemp)
ctest --preset debian-native -j 2 2>&1 | tee "$native_log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
echo "== Wine tests"
rm -rf build/win32/gtest-reports
ctest --preset debian-win32 || status=1

# One closing line over every test case: ctest counts the native cases one by one, and each
# Wine program's own report counts its cases.
native_line=$(summary <"$native_log")
native=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$native_line")
native_failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$native_line")
rm -f "$native_log"
read -r wine wine_failed < <(cat build/win32/gtest-reports/*.xml 2>/dev/null |
  grep -o '<testsuites tests="[0-9]*" failures="[0-9]*"' |
  sed -E 's/.*tests="([0-9]+)" failures="([0-9]+)"/\1 \2/' |
  awk '{t += $1; f += $2} END {print t + 0, f + 0}')
native=${native:-0} native_failed=${native_failed:-1}
passed=$(( native - native_failed + wine - wine_failed ))
failed=$(( native_failed + wine_failed ))
# A Wine program that crashed or never ran leaves no report: that counts as a failure too.
expected=$(ctest --preset debian-win32 -N -L gtest-report -FA '.*' | sed -nE 's/^Total Tests: ([0-9]+)/\1/p')
reports=$(ls build/win32/gtest-reports/*.xml 2>/dev/null | wc -l)
[ "$reports" -eq "$expected" ] || { failed=$(( failed + expected - reports )); status=1; }
[ "$failed" -eq 0 ] || status=1
echo "tavrilo: $passed passed, $failed failed"
exit $status
