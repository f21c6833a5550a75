#!/usr/bin/env bash
# Runs every test layer: the native unit tests (with sanitizers) and fuzz
# runs, the Win32 tests under Wine, and the end-to-end tests of the real
# kopiwell.exe. Installs what it needs first. Ends with one summary of
# all tests.
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

# One summary over the CTest runs of the given presets, worded like
# CTest's own and taken from what each run printed: the failed tests of
# all runs, then the count. Nothing when no run ran a test (-N, or a -R
# that matches nothing).
kw_test_summary() {
  local preset log counts f t total=0 failed=0 percent failures=() names="$*"
  for preset in "$@"; do
    log="$(sed 's/\x1b\[[0-9;]*m//g' "$KW_SESSION_DIR/ctest-$preset.log")"
    counts="$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\1 \2/p' \
              <<<"$log" | tail -n 1)"
    [ -n "$counts" ] || continue
    read -r f t <<<"$counts"
    failed=$((failed + f))
    total=$((total + t))
    mapfile -t -O "${#failures[@]}" failures < <(
      sed -n "/^The following tests FAILED:/,/^[^\t]/s/^\t */\t$preset: /p" <<<"$log")
  done
  [ "$total" -gt 0 ] || return 0
  percent=$(( (200 * (total - failed) + total) / (2 * total) ))
  if [ "$failed" -gt 0 ] && [ "$percent" -gt 99 ]; then percent=99; fi
  printf '\nAll tests (%s):\n' "${names// / and }"
  if [ "${#failures[@]}" -gt 0 ]; then
    printf 'The following tests FAILED:\n'
    printf '%s\n' "${failures[@]}"
  fi
  printf '%d%% tests passed, %d tests failed out of %d\n' "$percent" "$failed" "$total"
}

kw_start_test_session
kw_keep_wine_alive build/win64/tests/wine_keepalive.exe

# run_in_wine.sh notes here each Wine start it had to make again.
export KW_WINE_START_LOG="$KW_SESSION_DIR/wine-starts.log"

# CTest runs one build tree at a time: the test presets native and win64
# (CMakePresets.json) run one after the other, each with the arguments
# given here, and the last lines count the tests of both.
status=0
for preset in native win64; do
  kw_log "running the $preset tests"
  ctest --preset "$preset" "$@" | tee "$KW_SESSION_DIR/ctest-$preset.log" || status=$?
done
if [ -s "$KW_WINE_START_LOG" ]; then
  kw_log "Wine starts that ended before the program wrote anything:"
  cat "$KW_WINE_START_LOG" >&2
fi
kw_test_summary native win64
exit "$status"
