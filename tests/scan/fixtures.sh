#!/bin/bash
# Fixtures of the scan suite, made before the test program starts (tests/wine_suite.sh runs this
# with the suite's folder): a tree with symbolic links, which Wine's CreateSymbolicLink does not
# make, and CD-ROM, network and dangling drive letters for the drive list.
set -euo pipefail
dir="$1"
mkdir -p "$dir/loop/a/b" "$dir/outside" "$dir/cdrom" "$dir/net"
printf 'x\n' > "$dir/loop/a/b/f.tmp"
printf 'o\n' > "$dir/outside/o.tmp"
ln -s .. "$dir/loop/a/b/up"
ln -s ../.. "$dir/loop/a/b/top"
ln -s . "$dir/loop/a/b/self"
ln -s ../outside "$dir/loop/ext"
ln -s "$dir/nowhere" "$dir/loop/a/dangling"

devices="$WINEPREFIX/dosdevices"
ln -sfn "$dir/cdrom" "$devices/d:"
ln -sfn "$dir/net" "$devices/n:"
ln -sfn "$dir/gone" "$devices/q:"
wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f > "$dir/fixture-reg-d.txt" 2>&1
wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f > "$dir/fixture-reg-n.txt" 2>&1
