#!/bin/bash
# Runs one Wine test executable during development: scripts/wine_test.sh app_tests [gtest args]
# The template prefix is made once and kept in /tmp/vantrel-template (delete it to renew).
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/wine_env.sh"
BUILD="${VANTREL_BUILD:-$ROOT/build}"
suite="$1"; shift
export VANTREL_TEMPLATE_PREFIX="${VANTREL_TEMPLATE_PREFIX:-/tmp/vantrel-template}"
if [ ! -f "$VANTREL_TEMPLATE_PREFIX/system.reg" ]; then
    rm -rf "$VANTREL_TEMPLATE_PREFIX"
    make_prefix "$VANTREL_TEMPLATE_PREFIX" headless
fi
export VANTREL_TEST_TMP="${VANTREL_TEST_TMP:-/tmp}"
exec "$ROOT/tests/wine_suite.sh" "$BUILD/tests/$suite.exe" "$@"
