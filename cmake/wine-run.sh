#!/usr/bin/env bash
# Runs a cross-compiled Windows program under wine: the 64-bit loader for
# x86-64 programs, the 32-bit one for i686 programs. Some machines cannot
# execute 32-bit programs at all (their kernel refuses every i386 binary,
# wine's own 32-bit loader included); there an i686 program is reported as
# skipped with exit code 77 instead of failing.
set -u
program=$1
export WINEDEBUG=${WINEDEBUG:--all}
machine=$(od -An -tx1 -j "$(( $(od -An -tu4 -j 60 -N 4 "$program" | tr -d ' ') + 4 ))" -N 2 "$program" | tr -d ' \n')
case "$machine" in
  6486) exec /usr/lib/wine/wine64 "$@" ;;
  4c01)
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
      echo "skipped: this machine cannot execute 32-bit programs, so wine cannot run $program" >&2
      exit 77
    fi
    exec /usr/lib/wine/wine "$@" ;;
  *) echo "wine-run: $program is not a Windows program (machine $machine)" >&2; exit 2 ;;
esac
