#!/usr/bin/env bash
# Makes the demo profile: a folder with the program, config.ini, four small
# databases and sample files that a scan flags. Usage: make-demo.sh DEST EXE
set -euo pipefail
dest=$1; exe=$2
rm -rf "$dest"
mkdir -p "$dest/db" "$dest/results" "$dest/samples/演示工具" "$dest/samples/其他"
cp "$exe" "$dest/"

gbk() { iconv -f UTF-8 -t GBK; }
crlf() { sed 's/$/\r/'; }

# Flagged samples with their accompanying files, and a file that is not flagged.
printf 'Sorvalen demo sample: the main program\r\n' > "$dest/samples/演示工具/demo-tool.exe"
printf 'Sorvalen demo sample: a library\r\n' > "$dest/samples/演示工具/demo-tool.dll"
printf '[demo]\r\nflag=1\r\n' > "$dest/samples/演示工具/demo-tool.ini"
printf 'Sorvalen demo sample: an updater\r\n' > "$dest/samples/其他/updater.exe"
printf 'an ordinary file\r\n' > "$dest/samples/其他/readme.txt"

size() { stat -c %s "$1"; }
md5() { md5sum "$1" | cut -d' ' -f1; }
tool="$dest/samples/演示工具/demo-tool.exe"
upd="$dest/samples/其他/updater.exe"

# The same shapes the entry authoring tool writes.
printf '#%s#%s' "$(size "$tool")" "$(size "$upd")" > "$dest/db/size.txt"
printf '%s|演示工具\r\n\r\n%s|演示更新程序\r\n\r\n' "$(md5 "$tool")" "$(md5 "$upd")" | gbk > "$dest/db/md5.txt"
printf '\r\ndemo-tool.dll\r\ndemo-tool.ini\r\nupdater.cfg' > "$dest/db/attached.txt"
printf 'HKEY_CURRENT_USER\\Software\\SorvalenDemo\\Installed|演示工具\r\n' | gbk > "$dest/db/registry.txt"

# Relative paths resolve against the program's folder.
crlf <<'INI' | gbk > "$dest/config.ini"
[文件大小数据]
数据=db\size.txt
[文件 MD5数据]
数据=db\md5.txt
[附属文件数据]
数据=db\attached.txt
[注册表  数据]
数据=db\registry.txt
[保存结果位置]
数据=results
INI
