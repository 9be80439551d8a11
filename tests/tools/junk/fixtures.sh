#!/bin/bash
# Fixtures of the junk suite, made before the test program starts (tests/wine_suite.sh runs this):
# drive J: is a fixed drive on a folder of the suite, so that drive scans walk only what the tests
# put there.
set -euo pipefail
dir="${1:-$VANTREL_SUITE_DIR}"
mkdir -p "$dir/jdrive"
ln -sfn "$dir/jdrive" "$WINEPREFIX/dosdevices/j:"
wine reg add 'HKLM\Software\Wine\Drives' /v j: /d hd /f > "$dir/fixture-reg-j.txt" 2>&1
