#!/usr/bin/env bash
# compare_builds.sh NATIVE_TOOL NATIVE_PLUGIN WINE_RUN CROSS_BUILD_DIR...
# Renders the script natively and in every cross build that can run here,
# and compares the samples. Exit 77 (skipped) when no cross build could run.
set -u
tool=$1 plugin=$2 wine_run=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" "$plugin" "$work/native.f32" || exit 1
compared=0 failed=0
for dir in "$@"; do
  exe="$dir/tools/script-render/vst-script-render.exe" dll="$dir/plugins/Nubbel3.dll"
  [ -f "$exe" ] && [ -f "$dll" ] || { echo "$dir: not built, not compared"; continue; }
  name=$(basename "$dir")
  "$wine_run" "$exe" "$dll" "$work/$name.f32"
  rc=$?
  if [ $rc -eq 77 ]; then echo "$name: cannot run on this machine, not compared"; continue; fi
  [ $rc -eq 0 ] || { echo "$name: render failed"; failed=1; continue; }
  echo -n "$name against native: "
  # Identical samples are the goal; the tolerance covers math-library
  # differences in the last bits of a double.
  "$tool" --compare "$work/native.f32" "$work/$name.f32" 1e-6 || failed=1
  compared=$((compared + 1))
done
[ $failed -eq 0 ] || exit 1
[ $compared -gt 0 ] || exit 77
