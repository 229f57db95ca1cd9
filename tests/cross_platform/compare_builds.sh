#!/usr/bin/env bash
# compare_builds.sh NATIVE_TOOL NATIVE_PLUGIN_DIR WINE_RUN OTHER_BUILD_DIR...
# Renders the script through every instrument natively and in every other
# build that can run here (Windows builds under wine, other native builds such
# as the clang one directly), and compares the samples. Exit 77 (skipped) when
# no other build could run.
set -u
tool=$1 plugins=$2 wine_run=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
compared=0 failed=0
for instrument in Nubbel3 Nubbel; do
  "$tool" "$plugins/$instrument.so" "$work/$instrument-native.f32" || { echo "$instrument: native render failed"; exit 1; }
  for dir in "$@"; do
    name=$(basename "$dir")
    exe="$dir/tests/cross_platform/vst-script-render.exe" dll="$dir/plugins/$instrument.dll"
    so="$dir/plugins/$instrument.so"
    # Identical samples are the goal; under wine the tolerance covers
    # math-library differences in the last bits of a double. Another native
    # build shares the math library and must match exactly.
    if [ -f "$exe" ] && [ -f "$dll" ]; then
      tolerance=1e-6
      "$wine_run" "$exe" "$dll" "$work/$instrument-$name.f32"
    elif [ -x "${exe%.exe}" ] && [ -f "$so" ]; then
      tolerance=0
      "${exe%.exe}" "$so" "$work/$instrument-$name.f32"
    else
      echo "$name $instrument: not built, not compared"
      continue
    fi
    rc=$?
    if [ $rc -eq 77 ]; then echo "$name: cannot run on this machine, not compared"; continue; fi
    [ $rc -eq 0 ] || { echo "$name $instrument: render failed"; failed=1; continue; }
    echo -n "$name $instrument against native: "
    "$tool" --compare "$work/$instrument-native.f32" "$work/$instrument-$name.f32" "$tolerance" || failed=1
    compared=$((compared + 1))
  done
done
[ $failed -eq 0 ] || exit 1
[ $compared -gt 0 ] || exit 77
