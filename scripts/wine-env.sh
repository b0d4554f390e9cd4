# Sourced by the scripts: a private Wine prefix and an X display for one run.
# wine_start sets WINEPREFIX, DISPLAY and friends; wine_stop ends what it started.

WINE64=/usr/lib/wine/wine64

wine_start() {
  export WINEPREFIX="${1:-$(mktemp -d /tmp/sorvalen-wine.XXXXXX)}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8   # ANSI code page 936
  _wine_own_display=""
  if [ -z "${DISPLAY:-}" ] || [ "${SORVALEN_OWN_DISPLAY:-}" = 1 ]; then
    local n
    for n in $(seq 90 130); do
      [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _wine_xvfb_pid=$!
    export DISPLAY=":$n"
    _wine_own_display=1
    local i
    for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  wineserver -p
  "$WINE64" wineboot -u >/dev/null 2>&1 || true
  # Without a window manager, managed windows wait about 2 s for events that never come.
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
}

wine_stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ -n "${_wine_own_display:-}" ]; then
    kill "$_wine_xvfb_pid" 2>/dev/null || true
    wait "$_wine_xvfb_pid" 2>/dev/null || true
  fi
  case "${WINEPREFIX:-}" in
    /tmp/sorvalen-wine.*) rm -rf "$WINEPREFIX" ;;
  esac
}
