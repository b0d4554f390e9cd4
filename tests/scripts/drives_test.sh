#!/usr/bin/env bash
# The drive list under Wine's real drive configuration, in a prefix of its own
# with a floppy without medium, a CD-ROM, a network drive and a RAM disk added.
set -euo pipefail
exe=$1
export WINEPREFIX=$(mktemp -d /tmp/sorvalen-drives.XXXXXX)
media=$(mktemp -d /tmp/sorvalen-media.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; rm -rf "$WINEPREFIX" "$media"' EXIT
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all
"$wine" wineboot -u >/dev/null 2>&1 || true

mkdir -p "$media/cd" "$media/net" "$media/ram"
dev="$WINEPREFIX/dosdevices"
ln -sfn "$media/no-medium" "$dev/a:"
ln -sfn "$media/cd" "$dev/d:"
ln -sfn "$media/net" "$dev/n:"
ln -sfn "$media/ram" "$dev/r:"
for entry in a:=floppy d:=cdrom n:=network r:=ramdisk; do
  "$wine" reg add 'HKLM\Software\Wine\Drives' /v "${entry%%=*}" /d "${entry#*=}" /f >/dev/null 2>&1
done
# The mount manager reads drive types when the server starts.
wineserver -k; wineserver -w || true

expected=$(printf '%s\n' A: C: D: N:; [ -e "$dev/z:" ] && echo Z: || true)
actual=$("$wine" "$exe" | tr -d '\r')
if [ "$actual" != "$expected" ]; then
  echo "drive list differs"; echo "expected:"; echo "$expected"; echo "actual:"; echo "$actual"
  exit 1
fi
echo "drive list: $(echo $actual)"
