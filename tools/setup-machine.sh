#!/usr/bin/env bash
# Installs everything the builds and tests need on a fresh Debian 12 machine.
# Idempotent: every step is skipped when its result is already there.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
third_party="$here/build/third_party"
kiss_version=131.1.0

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup-machine: installing packages needs root (run as root or through sudo)" >&2
    exit 1
  fi
}

# dpf-plugins-vst: third-party VST 2 plug-ins (/usr/lib/vst) that nubbel-render's tests play.
native_packages=(cmake g++ pkg-config googletest libgtest-dev libbenchmark-dev
  libcairo2-dev libpng-dev libsndfile1-dev libsmf-dev mingw-w64 xvfb xauth imagemagick sox dpkg-dev
  clang libclang-rt-14-dev clang-format help2man lintian zip binutils libx11-dev libxtst-dev
  dpf-plugins-vst)
wine_packages=(wine wine64 wine32:i386)

missing=()
for p in "${native_packages[@]}" "${wine_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  need_root
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # The security suite carries no i386 packages, so the i386 twins of upgraded
  # amd64 libraries cannot be matched from it. Install from main and updates only.
  srcdir=$(mktemp -d)
  listdir=$(mktemp -d)
  mkdir -p "$listdir/partial"
  awk 'BEGIN{RS="";ORS="\n\n"} !/debian-security/' /etc/apt/sources.list.d/debian.sources > "$srcdir/main.sources"
  aptopts=(-o Dir::Etc::SourceParts="$srcdir" -o Dir::Etc::SourceList=/dev/null -o Dir::State::Lists="$listdir")
  apt-get "${aptopts[@]}" update -qq
  apt-get "${aptopts[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  rm -rf "$srcdir" "$listdir"
fi

# KISS FFT: one pinned upstream source, compiled by our own build with the
# same flags for every target (Debian's binary package is built with -ffast-math).
if [ ! -f "$third_party/kissfft/kiss_fftr.c" ]; then
  mkdir -p "$third_party"
  tmp=$(mktemp -d)
  mkdir -p "$tmp/parts" "$tmp/lists/partial"
  awk 'BEGIN{RS="";ORS="\n\n"} !/debian-security/' /etc/apt/sources.list.d/debian.sources \
    | sed 's/^Types: deb$/Types: deb-src/' > "$tmp/parts/src.sources"
  aptopts=(-o Dir::Etc::SourceParts="$tmp/parts" -o Dir::Etc::SourceList=/dev/null -o Dir::State::Lists="$tmp/lists")
  apt-get "${aptopts[@]}" update -qq
  (cd "$tmp" && apt-get "${aptopts[@]}" source --download-only -qq "kissfft=$kiss_version-1" >/dev/null 2>&1 \
     || apt-get "${aptopts[@]}" source --download-only -qq kissfft >/dev/null)
  tarball=$(ls "$tmp"/kissfft_${kiss_version}.orig.tar.* | head -n 1)
  mkdir -p "$tmp/src"
  tar -xf "$tarball" -C "$tmp/src"
  rm -rf "$third_party/kissfft"
  mv "$tmp/src"/kissfft-* "$third_party/kissfft"
  rm -rf "$tmp"
fi

# Wine creates its prefix on the first start (about 15 s); do it once here.
if [ ! -d "${WINEPREFIX:-$HOME/.wine}" ]; then
  WINEDEBUG=-all /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
fi
echo "setup-machine: ready"
