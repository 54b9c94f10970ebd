#!/usr/bin/env bash
# Installs everything the project needs on a Debian machine and builds the
# cross-compiled libraries the Windows build links. Safe to run again: every
# step is skipped when its result is already there.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache="${KESTRUM_CACHE:-$root/build/cache}"

packages=(
  cmake ninja-build g++ clang-14 libclang-rt-14-dev clang lld llvm
  mingw-w64 wine64 xvfb xauth
  googletest libbenchmark-dev libjpeg62-turbo-dev
  nasm dpkg-dev imagemagick python3 mono-mcs fonts-wine fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# libjpeg for the Windows build: Debian's own libjpeg-turbo source, cross-built once.
jpeg_prefix="$cache/mingw-libjpeg-turbo"
if [ ! -f "$jpeg_prefix/lib/libjpeg.a" ]; then
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    echo "setup: adding source package entries"
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      sed 's/^Types:.*/Types: deb-src/' "$f" > "/etc/apt/sources.list.d/kestrum-src-$(basename "$f")"
    done
    if [ -f /etc/apt/sources.list ] && grep -qs '^deb ' /etc/apt/sources.list; then
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/kestrum-src.list
    fi
    apt-get update -qq
  fi
  work="$cache/mingw-libjpeg-turbo-src"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1 || apt-get source libjpeg-turbo)
  src=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'libjpeg-turbo*' | head -n 1)
  echo "setup: building libjpeg-turbo for MinGW from $src"
  cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON \
    -DCMAKE_ASM_NASM_COMPILER=nasm >"$work/configure.log" 2>&1 \
    || { cat "$work/configure.log"; exit 1; }
  cmake --build "$work/build" >"$work/build.log" 2>&1 || { tail -50 "$work/build.log"; exit 1; }
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
fi
