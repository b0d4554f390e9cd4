#!/usr/bin/env bash
# Screenshots of the skin demo (skin/demo) under Xvfb and Wine, without and with
# the skin, to compare by eye:
#   scripts/skin-screenshot.sh [build folder]      default: build/x86_64
# Writes build/screenshots/skin-off.png and build/screenshots/skin-on.png.
# Uses its own Wine prefix and X display (SKIN_SCREENSHOT_DISPLAY, default :59).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$repo/build/x86_64}" && pwd)
out=$repo/build/screenshots
display=${SKIN_SCREENSHOT_DISPLAY:-:59}
wine=${WINE:-/usr/lib/wine/wine64}
export WINEPREFIX=${SKIN_SCREENSHOT_PREFIX:-/tmp/wineprefix-skin-screenshot}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export DISPLAY=$display

cmake --build "$build" --target skin_demo skin_library_file
mkdir -p "$out"
ready=$(mktemp -u /tmp/skin-demo-ready.XXXXXX)

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$ready"
}
trap cleanup EXIT
sleep 1

"$wine" wineboot -u >/dev/null 2>&1
# No window manager runs on the display: let Wine draw the window frames itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

# shot NAME [demo arguments...]: runs the demo, waits until its message box shows, saves the screen.
shot() {
    local name=$1
    shift
    rm -f "$ready"
    "$wine" "$build/skin/skin_demo.exe" --ready "Z:$ready" --hold 3000 "$@" &
    local demo=$! waited=0
    until [ -e "$ready" ]; do
        sleep 0.5
        waited=$((waited + 1))
        if [ "$waited" -gt 120 ]; then
            echo "skin_demo did not show its message box" >&2
            exit 1
        fi
    done
    sleep 0.5
    import -window root "$out/$name.png"
    wait "$demo" || true
    echo "$out/$name.png"
}

shot skin-off
shot skin-on --skin "Z:$build/SkinH_EL.dll"
