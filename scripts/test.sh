#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# every test; then builds everything but the benchmarks once more under
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the tests again, the
# window's included, and the loader threads' test under ThreadSanitizer; last
# it builds the fuzz targets and runs each for a few seconds on its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh program test
jobs=$(nproc)

# The C++ sources are as clang-format leaves them (.clang-format).
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# Optimised as the program ships, but without debug information: CI never
# reads it, and writing it was a quarter of the compile time. The sanitizer
# build below keeps line tables for its reports.
# The benchmarks are left to scripts/bench-ratios.sh, which builds them with
# the same warnings: no test runs them, and they were minutes of this build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DVORMEK_WERROR=ON \
  -DVORMEK_BUILD_BENCH=OFF
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DVORMEK_WERROR=ON \
  -DVORMEK_SANITIZE=ON -DVORMEK_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
# Memory that a system library keeps for the process's life is no leak of
# the program's: tests/lsan.supp names any such library.
# Left out here, having run above: the package checks, which test no code of
# ours, the national tables' runs, and the two brute-force differential
# runs (every query against a plain scan or an enumeration), which under
# the sanitizers took half this phase running the code the queries' own
# tests take through it.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
  QT_QPA_PLATFORM=offscreen ctest --test-dir build-sanitize --output-on-failure -j "$jobs" \
  -E '^(Install\.|Journeys\.NationalTables|Connections\.NationalTables|TrainGraph\.NationalTables|NationalTablesTest\.|TableText\.LargeTable|QueriesAgainstAPlainScan\.|Connections\.BuiltInTimetableAgreesWithEnumeration)'

# The loader threads once more under ThreadSanitizer: only their test program,
# which needs the core alone.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORMEK_WERROR=ON -DVORMEK_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
cmake --build build-tsan -j "$jobs" --target data_table_loaders_test
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir build-tsan --output-on-failure -R '^LoaderThreads\.'

# The fuzz targets, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, each run briefly on a corpus of its seeds: a
# target that no longer builds, or that a seed crashes, fails the run.
VORMEK_FUZZ_DIR="$PWD/build-fuzz/corpora" bash scripts/fuzz.sh 3
