#!/usr/bin/env bash
# Runs a Windows test program that makes windows: inside a true-colour Xvfb
# display of its own and a wine prefix of its own. A wine server shares one
# desktop among all programs of its prefix, so one started earlier without a
# display (by any other test under wine) would answer for our windows too and
# fail them.
# Usage: run-in-display.sh <wine prefix folder> <emulator...> <program> [args]
set -u
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
mkdir -p "$WINEPREFIX"
xvfb-run -a -s "-screen 0 1024x768x24" "$@"
status=$?
# The server would linger a few seconds bound to a display that is gone.
wineserver -k >/dev/null 2>&1
exit $status
