#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's own prefix; the Windows
# build's tests run through it. Without a display it makes a private one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine=/usr/lib/wine/wine64
export WINEPREFIX="${WINEPREFIX:-$root/build/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer may ever wait for an answer.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

bash "$root/scripts/wine-prefix.sh"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$wine" "$@"
fi
exec "$wine" "$@"
