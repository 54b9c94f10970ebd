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
# Wine looks for its own fonts (fonts-wine: Marlett draws the title-bar
# buttons, Tahoma and MS Sans Serif are the dialogs' faces) under a path this
# build writes as Z:\usr\share\wine\../fonts, which it then refuses as a name:
# none of them loads. The prefix's own Fonts folder is always searched; links
# there follow updates of the package.
wine_fonts=/usr/share/wine/fonts
prefix_fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -f "$wine_fonts/marlett.ttf" ] && [ ! -e "$prefix_fonts/marlett.ttf" ]; then
  mkdir -p "$prefix_fonts"
  for font in "$wine_fonts"/*; do
    ln -sfn "$font" "$prefix_fonts/"
  done
fi
# The fixed-pitch faces the forms name are not on Linux: without a substitute
# Wine falls back to a proportional face and the editor's columns go astray.
if ! grep -qs '^"Courier New"="DejaVu Sans Mono"' "$WINEPREFIX/system.reg"; then
  substitutes="$WINEPREFIX/drive_c/kestrum-fonts.reg"
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for face in "Courier New" "Consolas" "Lucida Console"; do
      printf '"%s"="DejaVu Sans Mono"\r\n' "$face"
    done
    printf '"Times New Roman"="DejaVu Serif"\r\n'
  } >"$substitutes"
  "$wine" regedit /S 'C:\kestrum-fonts.reg' >/dev/null 2>&1 || true
  "$wineserver" -w 2>/dev/null || true
  rm -f "$substitutes"
fi
