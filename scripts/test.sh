#!/usr/bin/env bash
# Runs every test layer: the native unit tests (with sanitizers) and fuzz
# runs, the Win32 tests under Wine, and the end-to-end tests of the real
# kopiwell.exe. Installs what it needs first. Ends with CTest's summary.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KW_ROOT"

kw_install_packages "${KW_TEST_PACKAGES[@]}"
kw_ensure_japanese_locale

for preset in native win64 win32; do
  kw_log "building $preset"
  wine=()
  [ "$preset" = win64 ] && wine=(-DKW_WINE="$KW_WINE")
  cmake --preset "$preset" -DKW_WERROR=ON "${wine[@]}" >/dev/null
  cmake --build --preset "$preset"
done

kw_start_test_session
kw_keep_wine_alive build/win64/tests/wine_keepalive.exe

# One CTest run over both test trees, so that one summary covers them all.
cat > build/CTestTestfile.cmake <<'CTEST'
subdirs("native")
subdirs("win64")
CTEST
kw_log "running the tests"
ctest --test-dir build --output-on-failure -j2 "$@"
