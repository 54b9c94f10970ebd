#!/usr/bin/env bash
# Makes the Wine prefix named by WINEPREFIX ready for the tests: created once,
# and its windows left to Wine rather than to a window manager. The virtual
# display has none, and a window waiting for one to place it makes every
# window shown seconds slower.
set -euo pipefail
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1 || true
  "$wineserver" -w 2>/dev/null || true
fi
if ! grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  "$wineserver" -w 2>/dev/null || true
fi
