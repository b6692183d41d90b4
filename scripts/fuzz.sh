#!/usr/bin/env bash
# Builds the libFuzzer targets of the timetable store, of the queries on
# generated timetables, of timetable images, of the settings file and of the
# query tool's command line with clang and runs each for the given number of
# seconds (default 300), one after the other. Corpora and any crash inputs go to
# /tmp/vormek-fuzz/<target>/ (or $VORMEK_FUZZ_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh program test
seconds=${1:-300}
build=build-fuzz
work=${VORMEK_FUZZ_DIR:-/tmp/vormek-fuzz}

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j 2

# Seeds: a small valid table and a few stored items, written only once.
targets=(table_text_fuzzer inflate_item_fuzzer timetable_query_fuzzer timetable_image_fuzzer user_settings_fuzzer
  cli_arguments_fuzzer)
for target in "${targets[@]}"; do mkdir -p "$work/$target/corpus"; done
seed_table="$work/table_text_fuzzer/corpus/seed-table"
if [ ! -e "$seed_table" ]; then
  printf '%s\r\n' '"@@FILE VERSION@@","251"' '"@@TABLEDEF START@@"' \
    '"ID=WideString,35,""ID"","""",35,Data,"""""' \
    '"S_No=Integer,0,""S_No"","""",10,Data,"""""' \
    '"NType=SmallInt,0,""NType"","""",10,Data,"""""' \
    '"@@INDEXDEF START@@"' '"SIDNo=""id;S_No"",""SIDNo"",UNIQ"' '"SType=""NType"",""SType"""' \
    '"@@INDEXDEF END@@"' '"@@TABLEDEF END@@"' '"ID","S_No","NType",' \
    '"K10","2","6",' '"D1","1","1",' '"K10","1","",' '"a""b","-7","32767",' > "$seed_table"
  if command -v python3 >/dev/null; then
    python3 - "$work/inflate_item_fuzzer/corpus" "$seed_table" <<'PY'
import pathlib, struct, sys, zlib
out = pathlib.Path(sys.argv[1])
table = pathlib.Path(sys.argv[2]).read_bytes()
for name, content in (("seed-table", table), ("seed-empty", b""), ("seed-zeros", bytes(5000))):
    (out / name).write_bytes(struct.pack("<I", len(content)) + zlib.compress(content, 9))
PY
  fi
fi

# The image target writes its own seeds: the images of a few generated
# timetables.
if [ -z "$(ls -A "$work/timetable_image_fuzzer/corpus")" ]; then
  VORMEK_WRITE_IMAGE_SEEDS="$work/timetable_image_fuzzer/corpus" "./$build/timetable_image_fuzzer"
fi

# The settings target starts from a file as the window writes it.
seed_settings="$work/user_settings_fuzzer/corpus/seed-settings"
[ -e "$seed_settings" ] || printf '%s\n' '[filters]' 'sf=true' 'zd=false' '[history]' 'from=北京, 上海' 'to=广州' \
  '[net]' 'checkVersion=false' '[plan]' 'minChange=45' > "$seed_settings"

# The command-line target starts from a few command lines (words split at NUL).
seed_cli="$work/cli_arguments_fuzzer/corpus/seed-journey"
[ -e "$seed_cli" ] || printf 'journey\0bj\0gz\0--depart\006:00-20:00\0--max-changes=1\0--rides' > "$seed_cli"

# The timetable+query target needs no seeds: it builds its tables from any bytes.
for target in "${targets[@]}"; do
  dir="$work/$target"
  extra=(-max_len=8192)
  [ "$target" = table_text_fuzzer ] && extra+=(-dict=fuzz/table_text.dict)
  # A small timetable's image alone takes 3 to 5 KB.
  [ "$target" = timetable_image_fuzzer ] && extra=(-max_len=16384)
  echo "== $target for ${seconds}s"
  "./$build/$target" "${extra[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/" "$dir/corpus"
done
