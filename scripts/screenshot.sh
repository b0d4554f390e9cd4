#!/usr/bin/env bash
# Screenshots of the program for the README, under Xvfb: the start-up message
# over the skinned main window (docs/start.png) and the main window (docs/main-window.png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" >/dev/null
build="$root/build/x86_64"
work=$(mktemp -d /tmp/sorvalen-shot.XXXXXX)
cp -r "$build/demo/." "$work/"

. "$root/scripts/wine-env.sh"
SORVALEN_OWN_DISPLAY=1 wine_start
trap 'wine_stop; rm -rf "$work"' EXIT
mkdir -p "$root/docs"

(cd "$work" && "$WINE64" Sorvalen.exe) &
sleep 4
crop() { convert "$1" -crop 320x440+$(( (1280 - 320) / 2 ))+$(( (1024 - 440) / 2 )) +repage "$1"; }
import -window root "$root/docs/start.png"; crop "$root/docs/start.png"
"$WINE64" "$build/tests/e2e/answer_box.exe" 10
sleep 1
import -window root "$root/docs/main-window.png"; crop "$root/docs/main-window.png"
echo "wrote docs/start.png and docs/main-window.png"
