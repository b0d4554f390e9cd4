#!/usr/bin/env bash
# Installs what is missing, builds, and starts Sorvalen under Wine from the demo
# profile (build/x86_64/demo: config.ini, four small databases, sample files).
# With DISPLAY set the program opens on that display; without, on a virtual
# desktop on Xvfb. The Wine prefix of these runs is build/wineprefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

demo="$root/build/x86_64/demo"
. "$root/scripts/wine-env.sh"
mkdir -p "$root/build/wineprefix"
if [ -n "${DISPLAY:-}" ]; then
  wine_start "$root/build/wineprefix"; trap wine_stop EXIT
  echo "Starting Sorvalen on display $DISPLAY (demo profile: $demo)."
  cd "$demo" && "$WINE64" Sorvalen.exe || true
else
  wine_start "$root/build/wineprefix"; trap wine_stop EXIT
  echo "No DISPLAY: Sorvalen runs on a virtual desktop on Xvfb display $DISPLAY."
  echo "Look at it with: import -display $DISPLAY -window root screenshot.png"
  echo "Press Ctrl-C to end."
  cd "$demo" && "$WINE64" explorer /desktop=Sorvalen,1024x768 Sorvalen.exe || true
fi
