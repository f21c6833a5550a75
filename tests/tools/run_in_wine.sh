#!/usr/bin/env bash
# How CTest starts a Windows test program under Wine:
#
#   run_in_wine.sh WINE PROGRAM [ARGUMENTS...]
#
# GoogleTest writes its first lines, and flushes them, before it runs a
# test; asked for its list, it writes the list. So when Wine ends a test
# program before it has written a single byte, no test has run: Wine did
# not get the program going (one whose Wine server goes away while it
# starts ends at once, silently, with status 0 or 1). Only such a start
# is made once more. A program that wrote anything is never run again,
# whatever its result, and one that writes nothing on both starts fails,
# whatever Wine's status.
set -u

out="$(mktemp "${TMPDIR:-/tmp}/kopiwell-run.XXXXXX")"
trap 'rm -f "$out"' EXIT

for start in first second; do
  "$@" | tee "$out"
  status=${PIPESTATUS[0]}
  [ -s "$out" ] && exit "$status"
  note="Wine ended (status $status) before ${2##*/} ${*:3} wrote anything"
  [ "$start" = first ] && note="$note; starting it once more"
  printf 'run_in_wine.sh: %s\n' "$note" >&2
  # The test script lists these after the tests.
  [ -n "${KW_WINE_START_LOG:-}" ] && printf '%s\n' "$note" >>"$KW_WINE_START_LOG"
done
[ "$status" -ne 0 ] && exit "$status"
exit 1
