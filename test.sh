#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh              build in build/ and run the tests
#   ./test.sh --sanitize   build in build-sanitize/ with ASan+UBSan and run the tests
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

build_dir=build
# Named each time: ./run.sh builds the same folder without the tests.
cmake_args=(-DKVR_BUILD_TESTS=ON)
case "${1:-}" in
  --sanitize) build_dir=build-sanitize; cmake_args+=(-DKVR_SANITIZE=ON -DKVR_BUILD_BENCH=OFF) ;;
  "") cmake_args+=(-DKVR_BUILD_BENCH=ON) ;;
  *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
esac

kvr_install_packages
kvr_configure_and_build "$build_dir" "${cmake_args[@]}"
export ASAN_OPTIONS=detect_leaks=0
ctest --test-dir "$build_dir" --output-on-failure -j2 --timeout 300 --no-tests=error
