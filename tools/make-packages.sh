#!/usr/bin/env bash
# make-packages.sh BUILD_ROOT OUT_DIR
# Assembles the release files from finished builds (BUILD_ROOT/native, i686,
# x86_64) into OUT_DIR: the Debian package and the Linux tarball through CPack,
# a zip of the stripped Windows DLLs, and SHA256SUMS over all of them.
# Builds nothing itself; ./dev package builds first.
set -euo pipefail
build_root=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)

version=$(sed -n 's/^NUBBEL_VERSION_SUFFIX:STRING=\(.*\)/\1/p' "$build_root/native/CMakeCache.txt")
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=\(.*\)/\1/p' "$build_root/native/CMakeCache.txt")$version"
[ -n "$version" ] || { echo "make-packages: no configured native build in $build_root/native" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "make-packages: nubbel $version"
cpack --config "$build_root/native/CPackConfig.cmake" -B "$work/cpack" -G "DEB;TGZ" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}
mv "$work"/cpack/*.deb "$work"/cpack/*.tar.gz "$out/"

# Windows: 32-bit/ and 64-bit/ folders of stripped DLLs and a note on where
# hosts look for them. Dates and order fixed, so the same DLLs give the same zip.
zipname="nubbel-$version-windows.zip"
# The release date is the last commit's; strip writes it into the DLLs' headers too.
export SOURCE_DATE_EPOCH=$(git -C "$here" log -1 --format=%ct 2>/dev/null || echo 1767225600)
stage="$work/windows"
for pair in "i686:32-bit" "x86_64:64-bit"; do
  flavour=${pair%%:*} folder=${pair#*:}
  dlls=("$build_root/$flavour"/plugins/*.dll)
  [ -f "${dlls[0]}" ] || { echo "make-packages: no DLLs in $build_root/$flavour/plugins" >&2; exit 1; }
  mkdir -p "$stage/$folder"
  for dll in "${dlls[@]}"; do
    "$flavour-w64-mingw32-strip" -o "$stage/$folder/$(basename "$dll")" "$dll"
  done
done
cp "$here/packaging/windows-readme.txt" "$stage/README.txt"
# The KISS FFT notice from the Debian copyright file, unfolded.
sed -n '/^Copyright: 2003/p; /^License: BSD-3-Clause/,$p' "$here/packaging/copyright" |
  sed '/^License:/d; s/^ \.$//; s/^ //' >>"$stage/README.txt"
sed -i 's/$/\r/' "$stage/README.txt"  # Windows line ends
find "$stage" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$out/$zipname"
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | zip -X -q "$out/$zipname" -@)

(cd "$out" && sha256sum -- *.deb *.tar.gz *.zip >SHA256SUMS)
ls -l "$out" | sed 1d
