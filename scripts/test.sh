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

passed=0 failed=0
run_suite() {
  local log
  log=$(mktemp)
  ctest --preset "$1" "${@:2}" 2>&1 | tee "$log"
  # "100% tests passed, 0 tests failed out of 42"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  if [ -z "$line" ]; then total=1 bad=1; fi
  passed=$((passed + total - bad)) failed=$((failed + bad))
  rm -f "$log"
}

echo "== native tests"
run_suite debian-native -j 2
echo "== Wine tests"
run_suite debian-win32

echo "tavrilo: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
