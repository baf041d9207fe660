#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh                 build in build/ and run the tests
#   ./test.sh --sanitize      build in build-sanitize/ with ASan+UBSan and run the tests
#   ./test.sh --fuzz SECONDS  build the fuzz targets with clang in build-fuzz/ and run
#                             each for SECONDS, one after another
#   ./test.sh --bench         build in build/ and run every benchmark program
#   ./test.sh --coverage      build in build-coverage/ with gcov, run the tests, print line
#                             and branch coverage per folder (gcovr) and write an HTML report
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

usage() {
  echo "usage: $0 [--sanitize | --fuzz SECONDS | --bench | --coverage]" >&2
  exit 2
}

# Each fuzz target with the longest input it tries: HEX files of a few
# hundred records, binary files past 64 KB, replies longer than any frame.
declare -A fuzz_max_len=([intel_hex]=16384 [binary_file]=70000 [reply]=1024)

run_fuzzers() {
  local seconds=$1 dir=build-fuzz failed=0 names=(intel_hex binary_file reply)
  kvr_install_packages clang libclang-rt-14-dev
  CC=clang CXX=clang++ kvr_configure_and_build "$dir" -DKVR_FUZZ=ON -DKVR_BUILD_TESTS=OFF \
    -DKVR_BUILD_BENCH=OFF -- "${names[@]/#/kvr_fuzz_}"
  for name in "${names[@]}"; do
    # New inputs go to the scratch corpus; the repository's seeds are only read.
    mkdir -p "$dir/corpus/$name" "$dir/findings/$name"
    echo "== kvr_fuzz_$name for $seconds s"
    if ! "$dir/kvr_fuzz_$name" -max_total_time="$seconds" -max_len="${fuzz_max_len[$name]}" \
      -print_final_stats=1 -artifact_prefix="$dir/findings/$name/" \
      "$dir/corpus/$name" "fuzz/corpus/$name" 2>"$dir/$name.log"; then
      failed=1
      echo "kvr_fuzz_$name found a fault; input in $dir/findings/$name/, log in $dir/$name.log" >&2
    fi
    grep -E "^Done|stat::number_of_executed_units|stat::peak_rss_mb|cov:.*corp" "$dir/$name.log" |
      tail -n 4
  done
  return "$failed"
}

# The benchmark programs, each as a whole: the figures of the README.
kvr_benchmarks=(kvr_bench kvr_sim_bench kvr_wait_bench kvr_line_bench kvr_autodetect_bench kvr_convert_bench kvr_production_line_bench)

run_benchmarks() {
  kvr_install_packages
  kvr_configure_and_build build -DKVR_BUILD_TESTS=ON -DKVR_BUILD_BENCH=ON -- "${kvr_benchmarks[@]}"
  for program in "${kvr_benchmarks[@]}"; do
    echo "== $program"
    "./build/$program"
  done
}

# Line and branch coverage of the production folders, a line each, and the
# HTML report in build-coverage/coverage/.
report_coverage() {
  local dir=build-coverage
  mkdir -p "$dir/coverage"
  gcovr --root . --object-directory "$dir" --exclude '(^|.*/)(tests|bench|fuzz|build[^/]*)/' \
    --exclude '.*_autogen/.*' --exclude-unreachable-branches --exclude-throw-branches \
    --json-summary "$dir/coverage/summary.json" --html-details "$dir/coverage/index.html" >/dev/null
  python3 scripts/coverage-by-folder.py "$dir/coverage/summary.json"
  echo "HTML report: $dir/coverage/index.html"
}

build_dir=build
# Named each time: ./run.sh builds the same folder without the tests.
cmake_args=(-DKVR_BUILD_TESTS=ON)
case "${1:-}" in
  --sanitize) build_dir=build-sanitize; cmake_args+=(-DKVR_SANITIZE=ON -DKVR_BUILD_BENCH=OFF) ;;
  --fuzz)
    [[ "${2:-}" =~ ^[0-9]+$ ]] || usage
    run_fuzzers "$2"
    exit ;;
  --bench) run_benchmarks; exit ;;
  --coverage)
    build_dir=build-coverage
    cmake_args+=(-DKVR_COVERAGE=ON -DKVR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
    kvr_packages+=(gcovr) ;;
  "") cmake_args+=(-DKVR_BUILD_BENCH=ON) ;;
  *) usage ;;
esac

kvr_install_packages
kvr_configure_and_build "$build_dir" "${cmake_args[@]}"
export ASAN_OPTIONS=detect_leaks=0
# Counts of an earlier run would add to this one's.
if [ "$build_dir" = build-coverage ]; then
  find "$build_dir" -name '*.gcda' -delete
  # The counters' own complaints go to a file: kvr-cli's tests read its stderr whole.
  export GCOV_ERROR_FILE="$PWD/$build_dir/gcov-errors.log"
  rm -f "$GCOV_ERROR_FILE"
fi
ctest --test-dir "$build_dir" --output-on-failure -j2 --timeout 300 --no-tests=error
if [ "$build_dir" = build-coverage ]; then
  report_coverage
fi
