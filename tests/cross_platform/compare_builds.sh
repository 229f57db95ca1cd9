#!/usr/bin/env bash
# compare_builds.sh NATIVE_TOOL NATIVE_PLUGIN_DIR WINE_RUN CROSS_BUILD_DIR...
# Renders the script through every instrument natively and in every cross
# build that can run here, and compares the samples. Exit 77 (skipped) when no
# cross build could run.
set -u
tool=$1 plugins=$2 wine_run=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
compared=0 failed=0
for instrument in Nubbel3 Nubbel; do
  "$tool" "$plugins/$instrument.so" "$work/$instrument-native.f32" || { echo "$instrument: native render failed"; exit 1; }
  for dir in "$@"; do
    exe="$dir/tests/cross_platform/vst-script-render.exe" dll="$dir/plugins/$instrument.dll"
    name=$(basename "$dir")
    [ -f "$exe" ] && [ -f "$dll" ] || { echo "$name $instrument: not built, not compared"; continue; }
    "$wine_run" "$exe" "$dll" "$work/$instrument-$name.f32"
    rc=$?
    if [ $rc -eq 77 ]; then echo "$name: cannot run on this machine, not compared"; continue; fi
    [ $rc -eq 0 ] || { echo "$name $instrument: render failed"; failed=1; continue; }
    echo -n "$name $instrument against native: "
    # Identical samples are the goal; the tolerance covers math-library
    # differences in the last bits of a double.
    "$tool" --compare "$work/$instrument-native.f32" "$work/$instrument-$name.f32" 1e-6 || failed=1
    compared=$((compared + 1))
  done
done
[ $failed -eq 0 ] || exit 1
[ $compared -gt 0 ] || exit 77
