#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its own figures.
#   scripts/bench.sh [name ...]   names: md5 match walk check report (default: all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
if [ ! -f build/native/build.ninja ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build/native --target md5_bench match_bench >/dev/null

wanted=${*:-md5 match walk check report}
want() { [[ " $wanted " == *" $1 "* ]]; }

want md5 && { echo "== md5 (1 GiB file, ours against md5sum)"; build/native/bench/md5_bench; }
want match && { echo "== match (1,000,000-entry databases, 100,000 lookups)"; build/native/bench/match_bench; }

if want walk || want check || want report; then
  . scripts/wine-env.sh
  SORVALEN_OWN_DISPLAY=1 wine_start
  trap wine_stop EXIT
  want walk && { echo "== walk (100,000 files, ours against a bare listing loop)"; "$WINE64" build/x86_64/walk_bench.exe; }
  want check && { echo "== check phase (10,000 files against the pacing floor)"; "$WINE64" build/x86_64/check_bench.exe; }
  # The full 10,000-file run takes many minutes under Wine (process snapshots are slow there).
  want report && { echo "== reports (${REPORT_FILES:-2000} records for one note)"; "$WINE64" build/x86_64/report_bench.exe "${REPORT_FILES:-2000}"; }
fi
