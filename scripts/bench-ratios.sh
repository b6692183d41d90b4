#!/usr/bin/env bash
# Builds the benchmarks in Release and prints what bench/README.md reports:
#  1. the ratio table of the queries against SQLite and a bare station-code
#     pass (query_peers_bench, all three timetables, CPU time);
#  2. zlib against libdeflate on the stop-table item, loading the tables
#     from items, and opening their timetable image instead, up to 10x;
#  3. cold start, process start to first answer: vormek-query (its built-in
#     image; a folder's cached image; the folder read with --no-cache)
#     against a one-shot SQLite program (hyperfine when installed, else a
#     loop), with a cache folder of this run's own;
#  4. peak memory per stop of vormek-query at 10x the national tables, and
#     that a timetable of 100x loads at all: reading the texts, writing the
#     image, opening it;
#  5. the train graph: layout, SVG and (with Qt) the window's paint of the
#     北京→上海 result and of 1,000 trains at 10x, each also divided by the
#     bare pass over its vertices; the PNG writer's rasterising and encoding.
# Usage: scripts/bench-ratios.sh [--quick]   (--quick: short runs, no 100x)
# The national 2019 tables are used when /work/shared/timetables/cn2019 (the
# folder beside the project) is present; scaled tables and the images of
# their folders go to a temporary folder that is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
[ "${1:-}" = "--quick" ] && quick=1
build=${BUILD_DIR:-build-release}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The window's libraries only where Qt is installed: the train graph's
# benchmark then also paints as the window does.
gui=OFF
dpkg-query -W -f='${Status}' qt6-base-dev 2>/dev/null | grep -q "ok installed" && gui=ON
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORMEK_BUILD_GUI=$gui -DVORMEK_BUILD_TESTS=OFF -DVORMEK_WERROR=ON \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target query_peers_bench table_load_bench vormek-query \
  vormek-scaled-tables vormek-sqlite-oneshot train_graph_bench graph_png_bench >/dev/null
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
  "$bin/table_load_bench" --benchmark_filter='InflateStopTable|FullLoad|OpenImage' --benchmark_min_time=$min_time \
    --benchmark_color=false 2>/dev/null | grep -E '^BM_'
fi


from=北京
to=上海
query="$build/tools/query/vormek-query"
oneshot="$bin/vormek-sqlite-oneshot"

echo
echo "== cold start: process start to the rows of 北京→上海"
# vormek-query keeps the image of a --tables folder in $XDG_CACHE_HOME/vormek:
# here a folder of this run, so that the user's cache is never touched.
export XDG_CACHE_HOME="$tmp/cache"
images="$XDG_CACHE_HOME/vormek"
# The cache writes no image of a file changed less than 2 s ago: wait until
# every table file of the folder is older than that.
settle() {
  local file
  for file in "$1"/*.txt; do
    while [ $(( $(date +%s) - $(stat -c %Z "$file") )) -le 2 ] ||
          [ $(( $(date +%s) - $(stat -c %Y "$file") )) -le 2 ]; do sleep 0.5; done
  done
}
count_images() {
  local found
  found=$(shopt -s nullglob; echo "$images"/*.image)
  set -- $found
  echo $#
}
# Runs the command once to write its folder's image; says so loudly when none
# appears, since the "cached" figures would then be of the texts.
write_image() {
  local before after
  before=$(count_images)
  "$@" >/dev/null
  after=$(count_images)
  if [ "$after" -le "$before" ]; then
    echo "!!! WARNING: no timetable image appeared in $images after: $*" | tee /dev/stderr
    echo "!!! the cached figures below are NOT of an opened image" | tee /dev/stderr
  fi
}
sources=(builtin)
"$bin/vormek-scaled-tables" national 1 "$tmp/national" "$tmp/national.db" 2>/dev/null && sources+=(national)
"$bin/vormek-scaled-tables" builtin 1 "$tmp/builtin" "$tmp/builtin.db"
for source in "${sources[@]}"; do
  theirs=("$oneshot" "$tmp/$source.db" "$from" "$to")
  # Each entry: a name, then the command line (words split on spaces).
  if [ "$source" = builtin ]; then
    ours=("$query" zz "$from" "$to")
    names=("builtin vormek-query (embedded image)")
    lines=("${ours[*]}")
  else
    ours=("$query" --tables "$tmp/national" zz "$from" "$to")
    settle "$tmp/national"
    write_image "${ours[@]}"
    names=("national vormek-query (cached image)" "national vormek-query --no-cache")
    lines=("${ours[*]}" "$query --tables $tmp/national --no-cache zz $from $to")
  fi
  names+=("$source sqlite one-shot")
  lines+=("${theirs[*]}")
  # Both print the same rows, once, outside the timing.
  [ "$("${ours[@]}" | tail -n +2 | wc -l)" = "$("${theirs[@]}" | wc -l)" ] ||
    echo "warning: the two programs print different row counts"
  if command -v hyperfine >/dev/null; then
    runs=50
    [ $quick = 1 ] && runs=10
    args=()
    for i in "${!names[@]}"; do args+=(-n "${names[$i]}" "${lines[$i]}"); done
    hyperfine -N -w 3 -r $runs --export-csv "$tmp/$source.csv" "${args[@]}" >/dev/null
    # command,mean,stddev,median,user,system,min,max (seconds); SQLite last.
    awk -F, 'NR > 1 { name[NR] = $1; mean[NR] = $2; median[NR] = $4; cpu[NR] = $5 + $6; last = NR }
             END { for (i = 2; i <= last; ++i)
                     printf "%-40s mean %7.2f ms  median %7.2f ms  user+sys %6.2f ms  / sqlite (mean) %5.2f\n",
                            name[i], mean[i] * 1000, median[i] * 1000, cpu[i] * 1000, mean[i] / mean[last] }' \
      "$tmp/$source.csv"
  else
    for i in "${!names[@]}"; do
      read -r -a argv <<<"${lines[$i]}"
      start=$(date +%s%N)
      for _ in $(seq 50); do "${argv[@]}" >/dev/null; done
      echo "${names[$i]}: $(( ($(date +%s%N) - start) / 50000 )) us per run (mean of 50)"
    done
  fi
done

echo
echo "== peak memory of vormek-query 北京→上海"
scale_source=builtin
[ "${sources[*]}" != builtin ] && scale_source=national
factors=(10)
[ $quick = 0 ] && factors+=(100)
# Three runs each: reading the texts (--no-cache), the first run that reads
# them and writes the folder's image, and a run that opens that image.
peak_of() {
  local what=$1 stops=$2 peak wall
  shift 2
  /usr/bin/time -v "$@" >"$tmp/rows.txt" 2>"$tmp/time.txt"
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$tmp/time.txt")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$tmp/time.txt")
  echo "$what: $stops stops, $(( $(wc -l <"$tmp/rows.txt") - 1 )) rows, peak ${peak} KB," \
       "$(( peak * 1024 / stops )) bytes per stop, wall $wall"
}
for factor in "${factors[@]}"; do
  dir="$tmp/${scale_source}x$factor"
  "$bin/vormek-scaled-tables" "$scale_source" "$factor" "$dir"
  stops=$(( $(wc -l <"$dir/STRAIN.txt") - $(grep -c -a '@@\|=' <(head -30 "$dir/STRAIN.txt")) - 1 ))
  peak_of "${scale_source} x$factor --no-cache" $stops "$query" --tables "$dir" --no-cache zz "$from" "$to"
  settle "$dir"
  before=$(count_images)
  peak_of "${scale_source} x$factor, writing its image" $stops "$query" --tables "$dir" zz "$from" "$to"
  [ "$(count_images)" -gt "$before" ] ||
    echo "!!! WARNING: no timetable image appeared in $images for x$factor" | tee /dev/stderr
  peak_of "${scale_source} x$factor, cached image" $stops "$query" --tables "$dir" zz "$from" "$to"
  echo "image: $(du -k "$images"/*.image | sort -n | tail -1 | cut -f1) KB"
  rm -rf "$dir" "$images"
done

echo
echo "== train graph (CPU ms; in brackets, divided by the bare pass of the same case)"
"$bin/train_graph_bench" --benchmark_min_time=$([ $quick = 1 ] && echo 0.05 || echo 0.5) --benchmark_format=csv \
  --benchmark_color=false 2>/dev/null >"$tmp/graph.csv"
awk -F, '/^"[A-Za-z]+\/[A-Za-z0-9_]+",/ { name = $1; gsub(/"/, "", name); cpu[name] = $4; order[++n] = name }
  END {
    for (i = 1; i <= n; i++) {
      split(order[i], part, "/")
      bare = cpu["BarePass/" part[2]]
      ratio = bare > 0 ? cpu[order[i]] / bare : 0
      printf "%-40s %9.3f ms  (%.0fx)\n", order[i], cpu[order[i]], ratio
    }
  }' "$tmp/graph.csv"
"$bin/graph_png_bench" --benchmark_min_time=$([ $quick = 1 ] && echo 0.05 || echo 0.5) --benchmark_color=false \
  2>/dev/null | grep -E '^[A-Z][A-Za-z]+Graph'
