#!/bin/bash
# Installs what is missing, builds, checks formatting and runs every test (native, then under Wine).
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/setup.sh" || exit 1
"$ROOT/scripts/build.sh" || exit 1
source "$ROOT/scripts/wine_env.sh"
BUILD="${VANTREL_BUILD:-$ROOT/build}"
NATIVE="${VANTREL_BUILD_NATIVE:-$ROOT/build-native}"

status=0
echo "== format check"
mapfile -t sources < <(cd "$ROOT" && find src tests bench -name '*.cpp' -o -name '*.h' | sort)
if ! (cd "$ROOT" && clang-format --dry-run --Werror "${sources[@]}"); then
    echo "format check failed: run clang-format -i on the files above"
    status=1
fi

export VANTREL_TEST_TMP="$(mktemp -d /tmp/vantrel-tests.XXXXXX)"
export VANTREL_RESULTS="$VANTREL_TEST_TMP/results"
mkdir -p "$VANTREL_RESULTS"

echo "== native tests"
"$NATIVE/pure_tests" --gtest_brief=1 --gtest_output="xml:$VANTREL_RESULTS/pure_tests.xml" || status=1

echo "== Wine tests"
export VANTREL_TEMPLATE_PREFIX="$VANTREL_TEST_TMP/template"
make_prefix "$VANTREL_TEMPLATE_PREFIX" headless
(cd "$BUILD" && ctest --output-on-failure -j 2) || status=1

# One closing line over every test case of every suite.
passed=0; failed=0
for x in "$VANTREL_RESULTS"/*.xml; do
    [ -f "$x" ] || continue
    read -r t f e <<<"$(grep -m1 '<testsuites' "$x" | sed -E 's/.* tests="([0-9]+)".* failures="([0-9]+)".* errors="([0-9]+)".*/\1 \2 \3/')"
    passed=$((passed + t - f - e)); failed=$((failed + f + e))
done
[ "$failed" -eq 0 ] || status=1
[ "$passed" -gt 0 ] || status=1
[ "$status" -eq 0 ] && rm -rf "$VANTREL_TEST_TMP"
echo "tests: $passed passed, $failed failed"
exit $status
