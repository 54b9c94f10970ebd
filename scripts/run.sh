#!/usr/bin/env bash
# Builds what is missing and starts Kestrum with the form files given:
#   scripts/run.sh [form files...]
# On Linux the program runs under Wine with the project's own prefix, on a
# virtual display when there is none (on a real display when DISPLAY is set).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

exe="$root/build/windows/kestrum.exe"
case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*) native_windows=1 ;;
  *) native_windows=0 ;;
esac

if [ "$native_windows" = 0 ]; then
  # Packages and the cross-built libraries first; each step is skipped when done.
  if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || [ ! -x /usr/lib/wine/wine64 ] ||
    [ ! -f "${KESTRUM_CACHE:-$root/build/cache}/mingw-libjpeg-turbo/lib/libjpeg.a" ]; then
    bash scripts/setup.sh
  fi
fi
export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
[ -f build/windows/build.ninja ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target kestrum

if [ "$native_windows" = 1 ]; then
  exec "$exe" "$@"
fi

# Files named by Linux paths reach the program as paths on Wine's Z: drive.
args=()
for arg in "$@"; do
  if [ -e "$arg" ]; then
    full=$(realpath "$arg")
    args+=("Z:${full//\//\\}")
  else
    args+=("$arg")
  fi
done
exec bash "$root/scripts/wine-run.sh" "$exe" "${args[@]}"
