#!/usr/bin/env bash
# Sets everything up on a fresh machine and starts the demo in build/run/.
# Without a display the demo runs under Xvfb (nothing is shown then).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install_deps.sh
scripts/build.sh
cd build/run
if [ -n "${DISPLAY:-}" ]; then
  exec ./island
fi
echo "No display found: running the demo under Xvfb (press Ctrl+C to stop)."
exec "$root/scripts/xvfb.sh" ./island
