#!/bin/bash
# Fixtures of the black-box suite, made before the test program starts (tests/wine_suite.sh runs
# this): drive K: is a fixed drive on a folder of the suite, so that the unattended junk run walks
# only what the tests put there.
set -euo pipefail
dir="${1:-$VANTREL_SUITE_DIR}"
mkdir -p "$dir/kdrive"
ln -sfn "$dir/kdrive" "$WINEPREFIX/dosdevices/k:"
wine reg add 'HKLM\Software\Wine\Drives' /v k: /d hd /f > "$dir/fixture-reg-k.txt" 2>&1
