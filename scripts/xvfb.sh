#!/usr/bin/env bash
# Runs a command on a virtual X server of its own (Xvfb, through xvfb-run),
# with the screen that the demo, the tests and the mutation check all use.
#
#   scripts/xvfb.sh COMMAND [ARGUMENT...]
#
# -noreset: the server must not reset when its last client leaves. Between two
# tests it may have no client for a moment, and a test that connects while it
# resets gets no display.
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"
