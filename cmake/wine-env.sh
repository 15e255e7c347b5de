# Shared Wine environment for the test wrapper and the session scripts.
# Sourced with WINE_STATE_DIR set to the folder that holds the prefix and the display file.
export WINEPREFIX="${WINE_STATE_DIR}/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
# A resource database as every desktop has one (see the file).
export XENVIRONMENT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/x-resources"
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINE64" ] || WINE64=$(command -v wine64 || command -v wine)
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
if [ -z "${DISPLAY:-}" ] && [ -f "${WINE_STATE_DIR}/display" ]; then
  export DISPLAY=":$(cat "${WINE_STATE_DIR}/display")"
fi
