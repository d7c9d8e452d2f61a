#!/usr/bin/env bash
# Builds the project and runs every test. ONDRIX_SANITIZE=ON builds and runs
# them under AddressSanitizer and UndefinedBehaviorSanitizer (as CI does).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
ondrix_install_packages
ondrix_build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 900 -j2 "$@"

# The parsers of untrusted bytes, fuzzed for a bounded time.
tools/fuzz.sh
