#!/bin/bash
# Installs what is missing, builds, and starts the program under Wine in the project's prefix.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"
exec "$ROOT/vantrel" "$@"
