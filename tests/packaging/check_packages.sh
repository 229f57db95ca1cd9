#!/usr/bin/env bash
# check_packages.sh BUILD_ROOT
# Makes the release files from BUILD_ROOT/{native,i686,x86_64} into a scratch
# folder and checks them as a user and a distribution would. Exit 77 (skipped)
# when the Windows builds are not there.
set -u
build_root=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
for f in i686 x86_64; do
  ls "$build_root/$f"/plugins/*.dll >/dev/null 2>&1 || { echo "no $f build: packages not checked"; exit 77; }
done
. "$(dirname "$0")/checks.sh"

"$here/tools/make-packages.sh" "$build_root" "$work/dist" || exit 1
dist=$work/dist
version=$("$build_root/native/tools/nubbel-render/nubbel-render" --version | awk '{print $2}')
deb="$dist/nubbel_${version}_amd64.deb"
tarball="$dist/nubbel-$version-linux-x86_64.tar.gz"
zipfile="$dist/nubbel-$version-windows.zip"
plugins=$(cd "$build_root/native/plugins" && ls *.so | sed 's/\.so$//' | sort)

check "the files carry the version $version" test -f "$deb" -a -f "$tarball" -a -f "$zipfile"
check "SHA256SUMS covers and verifies every file" \
  bash -c "cd '$dist' && [ \$(wc -l <SHA256SUMS) -eq 3 ] && sha256sum --quiet -c SHA256SUMS"
check "lintian reports no error" lintian --fail-on error "$deb"

# The Debian package, unpacked where dpkg would put it.
root=$work/root
dpkg-deb -x "$deb" "$root"
expected_files() {
  for p in $plugins; do echo "usr/lib/vst/$p.so"; done
  printf '%s\n' usr/bin/nubbel-render usr/share/man/man1/nubbel-render.1.gz \
    usr/share/doc/nubbel/README.md usr/share/doc/nubbel/copyright usr/share/doc/nubbel/changelog.gz
}
check "the package holds exactly the plug-ins, the tool and its documents" \
  diff <(expected_files | sort) <(cd "$root" && find . -type f | sed 's|^\./||' | sort)
check "the package declares libsndfile and libsmf" \
  bash -c "dpkg-deb -f '$deb' Depends | grep -q libsndfile1 && dpkg-deb -f '$deb' Depends | grep -q libsmf0"
for binary in "$root"/usr/lib/vst/*.so "$root/usr/bin/nubbel-render"; do
  check "$(basename "$binary") is stripped" bash -c "! readelf -S '$binary' | grep -qE '\\.debug_|\\.symtab'"
done
for p in $plugins; do
  check "vst-scan loads the installed $p.so" "$build_root/native/tools/vst-scan" "$root/usr/lib/vst/$p.so"
done
check "the installed nubbel-render renders the demo phrase" \
  "$root/usr/bin/nubbel-render" -q -o "$work/demo.wav" "$root/usr/lib/vst/Nubbel3.so"
check "the installed nubbel-render says its version" \
  bash -c "'$root/usr/bin/nubbel-render' --version | grep -qx 'nubbel-render $version'"
check "the manual page names every option of --help" bash -c "
  for o in \$('$root/usr/bin/nubbel-render' --help | grep -oE -- '--[a-z-]+' | sort -u); do
    zcat '$root/usr/share/man/man1/nubbel-render.1.gz' | sed 's/\\\\-/-/g' | grep -qe \"\$o\" || { echo \"missing \$o\"; exit 1; }
  done"

# The tarball holds the same install tree, relative to its prefix.
check "the tarball holds the same files as the package" \
  diff <(cd "$root/usr" && find . -type f | sed 's|^\./||' | sort) \
  <(tar tzf "$tarball" | grep -v '/$' | sed 's|^[^/]*/||' | sort)

# The zip: exactly the stripped DLLs per word size and the text.
expected_zip() {
  for p in $plugins; do printf '32-bit/%s.dll\n64-bit/%s.dll\n' "$p" "$p"; done
  echo README.txt
}
check "the zip holds exactly the DLLs of both word sizes and the text" \
  diff <(expected_zip | sort) <(unzip -Z1 "$zipfile" | grep -v '/$' | sort)
unzip -q "$zipfile" -d "$work/zip"
for dll in "$work"/zip/*/*.dll; do
  name=${dll#"$work/zip/"}
  objdump=x86_64-w64-mingw32-objdump
  check "$name is stripped" bash -c "! $objdump -h '$dll' | grep -q '\\.debug_'"
  check "$name exports only VSTPluginMain and main" \
    diff <(printf 'VSTPluginMain\nmain\n') \
    <($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -oE '[A-Za-z_]+$' | grep -v Table | sort)
  check "$name imports only system DLLs" bash -c "
    $objdump -p '$dll' | sed -n 's/^\\tDLL Name: //p' | grep -viE '^(kernel32|user32|gdi32|msvcrt)\\.dll$' && exit 1 || exit 0"
done

echo "packages: $passed passed, $failed failed"
[ $failed -eq 0 ]
