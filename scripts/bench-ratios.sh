#!/usr/bin/env bash
# Builds the benchmarks in Release and prints what bench/README.md reports:
#  1. the ratio table of the queries against SQLite and a bare station-code
#     pass (query_peers_bench, all three timetables, CPU time);
#  2. zlib against libdeflate on the stop-table item, and loading at 10x;
#  3. cold start, process start to first answer: vormek-query against a
#     one-shot SQLite program (hyperfine when installed, else a loop);
#  4. peak memory per stop of vormek-query at 10x the national tables, and
#     that a timetable of 100x loads at all.
# Usage: scripts/bench-ratios.sh [--quick]   (--quick: short runs, no 100x)
# The national 2019 tables are used when /work/shared/timetables/cn2019 (the
# folder beside the project) is present; scaled tables go to a temporary
# folder that is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
[ "${1:-}" = "--quick" ] && quick=1
build=${BUILD_DIR:-build-release}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORMEK_BUILD_GUI=OFF -DVORMEK_BUILD_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target query_peers_bench table_load_bench vormek-query \
  vormek-scaled-tables vormek-sqlite-oneshot >/dev/null
bin="$build/bench"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), load $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== queries (CPU time per query, microseconds), then loading"
min_time=0.5
[ $quick = 1 ] && min_time=0.05
[ -n "${SKIP_QUERIES:-}" ] && min_time=skip
if [ $min_time != skip ]; then
  "$bin/query_peers_bench" --benchmark_min_time=$min_time --benchmark_color=false >"$tmp/peers.log"
  grep -E 'ERROR|error_message' "$tmp/peers.log" || true
  grep '^|' "$tmp/peers.log"
  "$bin/table_load_bench" --benchmark_filter='InflateStopTable|FullLoad' --benchmark_min_time=$min_time \
    --benchmark_color=false 2>/dev/null | grep -E '^BM_'
fi


from=北京
to=上海
query="$build/tools/query/vormek-query"
oneshot="$bin/vormek-sqlite-oneshot"

echo
echo "== cold start: process start to the rows of 北京→上海"
sources=(builtin)
"$bin/vormek-scaled-tables" national 1 "$tmp/national" "$tmp/national.db" 2>/dev/null && sources+=(national)
"$bin/vormek-scaled-tables" builtin 1 "$tmp/builtin" "$tmp/builtin.db"
for source in "${sources[@]}"; do
  if [ "$source" = builtin ]; then ours=("$query" zz "$from" "$to"); else
    ours=("$query" --tables "$tmp/national" zz "$from" "$to"); fi
  theirs=("$oneshot" "$tmp/$source.db" "$from" "$to")
  if command -v hyperfine >/dev/null; then
    runs=50
    [ $quick = 1 ] && runs=10
    # Both print the same rows first, once, outside the timing.
    [ "$("${ours[@]}" | tail -n +2 | wc -l)" = "$("${theirs[@]}" | wc -l)" ] ||
      echo "warning: the two programs print different row counts"
    hyperfine -N -w 3 -r $runs --export-csv "$tmp/$source.csv" \
      -n "$source vormek-query" "${ours[*]}" \
      -n "$source sqlite one-shot" "${theirs[*]}" >/dev/null
    # command,mean,stddev,median,user,system,min,max (seconds)
    awk -F, 'NR > 1 { printf "%-28s mean %7.2f ms  median %7.2f ms  user+sys %6.2f ms\n", $1, $2 * 1000, $4 * 1000,
                      ($5 + $6) * 1000; mean[NR] = $2 }
             END { printf "ratio vormek-query / sqlite (mean): %.2f\n", mean[2] / mean[3] }' "$tmp/$source.csv"
  else
    for cmd in ours theirs; do
      declare -n argv=$cmd
      start=$(date +%s%N)
      for _ in $(seq 50); do "${argv[@]}" >/dev/null; done
      echo "$source $cmd: $(( ($(date +%s%N) - start) / 50000 )) us per run (mean of 50)"
    done
  fi
done

echo
echo "== peak memory of vormek-query 北京→上海"
scale_source=builtin
[ "${sources[*]}" != builtin ] && scale_source=national
factors=(10)
[ $quick = 0 ] && factors+=(100)
for factor in "${factors[@]}"; do
  dir="$tmp/${scale_source}x$factor"
  "$bin/vormek-scaled-tables" "$scale_source" "$factor" "$dir"
  stops=$(( $(wc -l <"$dir/STRAIN.txt") - $(grep -c -a '@@\|=' <(head -30 "$dir/STRAIN.txt")) - 1 ))
  /usr/bin/time -v "$query" --tables "$dir" zz "$from" "$to" >"$tmp/rows.txt" 2>"$tmp/time.txt"
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$tmp/time.txt")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$tmp/time.txt")
  echo "${scale_source} x$factor: $stops stops, $(( $(wc -l <"$tmp/rows.txt") - 1 )) rows, peak ${peak} KB," \
       "$(( peak * 1024 / stops )) bytes per stop, wall $wall"
  rm -rf "$dir"
done
