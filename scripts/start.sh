#!/usr/bin/env bash
# Builds Kopiwell and starts it under Wine, in a data folder of your
# choosing (default ~/Kopiwell): kopiwell.ini and the history files live
# there. Uses your X display when there is one, else a private virtual
# display. Installs what it needs first.
#
#   scripts/start.sh [DATA_FOLDER]
#
# The Wine prefix is ~/.local/share/kopiwell/wine unless KOPIWELL_WINEPREFIX
# says otherwise. Kopiwell runs with a Japanese locale (ANSI code page 932,
# Shift-JIS) unless yours already is one: under another code page Japanese
# copies would be recorded as "?".
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KW_ROOT"

kw_install_packages "${KW_RUN_PACKAGES[@]}"
kw_ensure_japanese_locale
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target kopiwell

data="${1:-$HOME/Kopiwell}"
mkdir -p "$data"
data="$(cd "$data" && pwd)"

export WINEPREFIX="${KOPIWELL_WINEPREFIX:-$HOME/.local/share/kopiwell/wine}"
if [ -z "${DISPLAY:-}" ]; then
  trap kw_stop_wine_session EXIT
  kw_start_xvfb
  kw_log "no X display: Kopiwell runs on the private virtual display $DISPLAY"
fi
kw_prepare_prefix

case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
  ja_JP*) ;;
  *) export LC_ALL=ja_JP.UTF-8 ;;
esac

kw_log "starting Kopiwell in $data (Wine prefix $WINEPREFIX, locale ${LC_ALL:-${LC_CTYPE:-${LANG:-}}}); end it with the tray menu's さよなら"
cd "$data"
status=0
"$KW_WINE" "$KW_ROOT/build/win64/kopiwell.exe" || status=$?
kw_log "Kopiwell ended (exit code $status; it is always 1)"
