#!/usr/bin/env bash
# Sets everything up on a fresh machine and runs the whole test suite headless
# under Xvfb, then the web page's tests in chromium (scripts/web.sh test). With
# --sanitize the native suite is built and run with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitize/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install_deps.sh

if [ "${1:-}" = "--sanitize" ]; then
  export BUILD_DIR=build-sanitize BUILD_TYPE=RelWithDebInfo
  scripts/build.sh -DISLAND_WERROR=ON -DISLAND_SANITIZE=ON -DISLAND_BENCHMARKS=OFF
  # llvmpipe and the X libraries keep some allocations until exit.
  export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
else
  export BUILD_DIR=build
  scripts/build.sh -DISLAND_WERROR=ON
fi

(cd "$BUILD_DIR" &&
  "$root/scripts/xvfb.sh" ctest --output-on-failure -j2 --timeout 600)

# The web page in a real browser, against this build's island-capture.
if [ "$BUILD_DIR" = build ]; then
  ISLAND_NATIVE_BUILD=build scripts/web.sh test
fi
