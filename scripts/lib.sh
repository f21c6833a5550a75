# Shared by the project's scripts: package installation and a private
# Wine session (prefix and virtual display) that is cleaned up on exit.
# Sourced, not run.

KW_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The Wine that every script starts; scripts/test.sh gives it to the win64
# build as its cache variable KW_WINE, which runs the tests.
KW_WINE=/usr/lib/wine/wine64
KW_WINESERVER="${KW_WINE%/*}/wineserver"

# What building and starting the program needs.
KW_RUN_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64 wine wine64 xvfb locales
                 fonts-wine fonts-ipafont-gothic)
# What the tests need besides: the 32-bit compiler (compiled only), the
# native compiler with its sanitizer and fuzzer runtime, GoogleTest and
# Google Benchmark.
KW_TEST_PACKAGES=("${KW_RUN_PACKAGES[@]}" g++-mingw-w64-i686 clang libclang-rt-14-dev
                  googletest libbenchmark-dev)

kw_log() { printf '== %s\n' "$*" >&2; }

# Installs the Debian packages that are missing, and nothing else.
kw_install_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  kw_log "installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Generates the Japanese UTF-8 locale when it is missing. Wine takes the
# ANSI code page 932 from LC_ALL=ja_JP.UTF-8 even without it, but needs it
# to turn Japanese file names into UTF-8 names on the Linux side.
kw_ensure_japanese_locale() {
  locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  kw_log "generating the ja_JP.UTF-8 locale"
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null
}

# Starts a virtual X display of its own and exports DISPLAY. Xvfb picks
# a free display number itself and writes it to a file: a display left
# by another program (or a stale lock file) cannot stop the run.
kw_start_xvfb() {
  local numfile
  numfile="$(mktemp /tmp/kopiwell-display.XXXXXX)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  KW_XVFB_PID=$!
  local i n=""
  for i in $(seq 1 100); do
    n="$(tr -dc 0-9 <"$numfile")"
    if [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ]; then
      rm -f "$numfile"
      export DISPLAY=":$n"
      return 0
    fi
    kill -0 "$KW_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numfile"
  kw_log "Xvfb did not start"
  return 1
}

# Makes the Wine prefix in $WINEPREFIX ready, once. Wine is told not to
# offer Mono or Gecko and not to write desktop menu entries.
kw_prepare_prefix() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    kw_log "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$KW_WINE" wineboot -i >/dev/null 2>&1 || true
    kw_map_japanese_fonts
    "$KW_WINESERVER" -w
  fi
}

# The dialogs ask for the fonts ＭＳ Ｐゴシック and ＭＳ ゴシック, which Wine does
# not have; its own fallback is wider and clips the texts. The IPA fonts
# are drawn to the same widths.
kw_map_japanese_fonts() {
  local reg="$WINEPREFIX/kopiwell-fonts.reg"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '"ＭＳ ゴシック"="IPAGothic"' \
    '"MS PGothic"="IPAPGothic"' '"MS Gothic"="IPAGothic"' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  "$KW_WINE" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1 || true
  rm -f "$reg"
}

# The Windows form of a Linux path: Wine maps the root to drive Z:.
winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

# On a virtual display there is no window manager, and every closing
# dialog would make its program wait about 2 s for X to withdraw the
# window. Unmanaged windows close at once.
kw_unmanaged_windows() {
  "$KW_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# Without a window manager each Wine program hands the X input focus to
# its own windows, and a program that sees the X focus go to another
# program's window makes the desktop the foreground window: when the
# active window changes quickly (a hotkey, a paste), what is in front then
# flips at random. Inside a virtual desktop the X focus never decides the
# foreground window; Wine alone decides it, as Windows does. Its taskbar
# shows the notification icons.
kw_virtual_desktop() {
  "$KW_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$KW_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
    >/dev/null 2>&1
}

kw_stop_wine_session() {
  [ -n "${WINEPREFIX:-}" ] && "$KW_WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${KW_XVFB_PID:-}" ] && kill "$KW_XVFB_PID" 2>/dev/null || true
  [ -n "${KW_SESSION_DIR:-}" ] && rm -rf "$KW_SESSION_DIR"
  return 0
}

# Starts the prefix's Wine server for good: it runs until the session
# ends it. Debian's wineserver (and so every server Wine starts by itself)
# runs with -p0 and ends as soon as its last program has ended, and a
# program that starts while its server goes away ends at once without a
# line written, with status 0 or 1: a test would fail, or pass, unrun.
# The later -p overrides the -p0. The server's own output is null, so
# that it never holds a test's output pipe open.
kw_start_wineserver() {
  "$KW_WINESERVER" -w
  "$KW_WINESERVER" -p >/dev/null 2>&1 && return 0
  kw_log "the Wine server did not start"
  return 1
}

# A private prefix and display for one test run, removed at exit.
kw_start_test_session() {
  KW_SESSION_DIR="$(mktemp -d /tmp/kopiwell-test.XXXXXX)"
  export WINEPREFIX="$KW_SESSION_DIR/prefix"
  trap kw_stop_wine_session EXIT
  kw_start_xvfb
  kw_prepare_prefix
  kw_start_wineserver
  kw_unmanaged_windows
  kw_virtual_desktop
}

# Keeps one Wine program running until the session ends (see the
# program), and returns once it has made its window and says so in a
# file: Wine's server, desktop process and clipboard are then up for
# this prefix. Nothing else on the machine (another session's Wine
# desktop) can stand in for it, and tests started before it is up would
# start the desktop process themselves. The first start in a new prefix
# on a cold machine can take long; a keep-alive that ends or never gets
# there ends the session instead of starting the tests half ready.
kw_keep_wine_alive() {
  local ready="$KW_SESSION_DIR/keepalive-ready"
  "$KW_WINE" "$1" "$(winepath_of "$ready")" </dev/null >/dev/null 2>&1 &
  local pid=$! i
  for i in $(seq 1 1200); do
    [ -e "$ready" ] && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kw_log "the Wine keep-alive program did not start"
  return 1
}
