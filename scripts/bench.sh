#!/usr/bin/env bash
# Builds and runs the benchmarks: the Windows ones under Wine on a private
# prefix and virtual display, the native ones unsanitized. They print
# figures (and ratios against a baseline measured in the same run); they
# pass or fail nothing.
#
#   scripts/bench.sh [capture|store|list|paste|program|shape ...]   (default: all)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$KW_ROOT"
kw_install_packages "${KW_TEST_PACKAGES[@]}"

wanted=("$@")
[ ${#wanted[@]} -eq 0 ] && wanted=(capture store list paste program shape)
want() { printf '%s\n' "${wanted[@]}" | grep -qx "$1"; }

windows=(capture store list paste program)
if want capture || want store || want list || want paste || want program; then
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target kopiwell kw_editor wine_keepalive kw_bench_floor \
        kw_bench_find "${windows[@]/#/kw_bench_}"
  kw_start_test_session
  kw_keep_wine_alive build/win64/tests/wine_keepalive.exe
  for b in "${windows[@]}"; do
    want "$b" || continue
    kw_log "benchmark: $b"
    LC_ALL=ja_JP.UTF-8 "$KW_WINE" "build/win64/bench/kw_bench_$b.exe" ||
      kw_log "benchmark $b failed"
    # Loading with Unicode copies belongs to the store, finding by text
    # to the list.
    if [ "$b" = store ]; then
      LC_ALL=ja_JP.UTF-8 "$KW_WINE" build/win64/bench/kw_bench_store.exe unicode ||
        kw_log "benchmark store unicode failed"
    fi
    if [ "$b" = list ]; then
      LC_ALL=ja_JP.UTF-8 "$KW_WINE" build/win64/bench/kw_bench_find.exe || kw_log "benchmark find failed"
      LC_ALL=ja_JP.UTF-8 "$KW_WINE" build/win64/bench/kw_bench_find.exe long ||
        kw_log "benchmark find long failed"
    fi
  done
fi

if want shape; then
  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
  cmake --build build/bench --target kw_bench_shape
  build/bench/bench/kw_bench_shape --benchmark_repetitions=5 \
        --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
fi
