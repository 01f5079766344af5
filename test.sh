#!/usr/bin/env bash
# Sets up a fresh Debian machine and runs every test: a warnings-as-errors
# build, the same tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# the fuzz targets for a fixed number of runs, the real window under Xvfb, the
# installed programs and the Debian package, and the window on Wayland.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export LC_ALL=C.UTF-8

echo "== build and test =="
rm -rf build/test
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTARO_WERROR=ON
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== sanitizers =="
rm -rf build/asan
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DZENTARO_WERROR=ON -DZENTARO_SANITIZE=ON -DZENTARO_BENCH=OFF
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tools/lsan.supp" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure -j"$jobs"

echo "== fuzzing =="
rm -rf build/fuzz
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTARO_FUZZ=ON
cmake --build build/fuzz -j"$jobs"
for fuzzer in build/fuzz/tests/fuzz/fuzz-*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  # libFuzzer adds what it finds to its corpus folder: work on a copy.
  corpus="build/fuzz/work/corpus-$name"
  mkdir -p "$corpus"
  if [ -d "tests/fuzz/corpus/$name" ]; then cp tests/fuzz/corpus/"$name"/* "$corpus"/; fi
  runs=300000
  echo "-- $name ($runs runs)"
  "$fuzzer" -runs=$runs -seed=1 -max_len=4096 -artifact_prefix=build/fuzz/work/ "$corpus" 2>&1 | tail -2
done

unset QT_QPA_PLATFORM
echo "== the real window under Xvfb =="
tools/window-check.sh build/test

echo "== the window as a screen reader reads it (Xvfb, the accessibility bus) =="
tools/a11y-check.sh build/test

echo "== installed into a DESTDIR, metadata, the installed programs, the package =="
tools/install-check.sh build/test

echo "== the window on Wayland (headless weston) =="
tools/wayland-check.sh build/test
echo "All test stages passed."
