#!/usr/bin/env bash
# Installs what is missing, builds both architectures and the host tests, runs every test.
# Ends with "N passed, N failed"; exits non-zero when any test fails.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh || exit 1
bash scripts/build.sh || exit 1

echo "== building host tests"
if [ ! -f build/native/build.ninja ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
cmake --build build/native -j "$(nproc)" || exit 1

passed=0; failed=0; skipped=0
tally() {  # reads ctest's summary line from a log; a run without one counts as a failure
  local line total bad skip
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  skip=$(grep -cE '^[[:space:]]+[0-9]+ - .*\(Skipped\)$' "$1" || true)
  passed=$((passed + total - bad - skip)); failed=$((failed + bad)); skipped=$((skipped + skip))
}

mkdir -p build/logs
echo "== host tests"
ctest --test-dir build/native --output-on-failure --timeout 120 -j 2 2>&1 | tee build/logs/native.log
tally build/logs/native.log

echo "== Windows tests under Wine"
. scripts/wine-env.sh
SORVALEN_OWN_DISPLAY=1 wine_start
trap wine_stop EXIT
ctest --test-dir build/x86_64 --output-on-failure --timeout 180 2>&1 | tee build/logs/wine.log
tally build/logs/wine.log
wine_stop
trap - EXIT

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
