#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice under CTest: once as
# built for use, once with AddressSanitizer and UndefinedBehaviorSanitizer. Each run is wrapped in
# pg_virtualenv, which makes a throw-away PostgreSQL server for the tests on a server (label
# "servidor") and drops it afterwards; there they must run, not be skipped. Runs the tests of
# the photos decoded in the background a third time, with ThreadSanitizer. Then builds the
# libFuzzer targets of fuzz/ with clang and runs each for a short while (JORNADA_FUZZ_SECONDS,
# 15 by default), so that a reader that starts crashing on its seeds or near them is caught.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/pacotes.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-testes -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-testes -j"$jobs"
# -t keeps the throw-away server in a temporary folder even for root, apart from any other.
export JORNADA_EXIGIR_SERVIDOR=1
(cd build-testes && pg_virtualenv -t ctest --output-on-failure -j"$jobs")

cmake -S . -B build-testes-asan -DCMAKE_BUILD_TYPE=Debug -DJORNADA_SANITIZE=ON >/dev/null
cmake --build build-testes-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-testes-asan && pg_virtualenv -t ctest --output-on-failure -j"$jobs")

# The tests of the code that decodes photos in the background, with ThreadSanitizer. The
# suppressions leave out only the calls that Qt's libraries make into the C library.
cmake -S . -B build-testes-tsan -DCMAKE_BUILD_TYPE=Debug -DJORNADA_TSAN=ON >/dev/null
cmake --build build-testes-tsan -j"$jobs" --target test_photo_prefetch
export TSAN_OPTIONS=suppressions=$root/tests/tsan.supp:halt_on_error=1
# GCC 12's ThreadSanitizer cannot lay out its memory under the stronger address randomisation of
# some newer kernels; randomisation is turned off for this run wherever the system allows it.
norandom=()
if setarch "$(uname -m)" -R true 2>/dev/null; then norandom=(setarch "$(uname -m)" -R); fi
(cd build-testes-tsan && "${norandom[@]}" ctest --output-on-failure -R '^test_photo_prefetch$')

# The fuzz targets: a build folder of their own, by clang.
fuzz_seconds=${JORNADA_FUZZ_SECONDS:-15}
CC=clang CXX=clang++ cmake -S . -B build-testes-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJORNADA_FUZZ=ON \
  -DJORNADA_FUZZ_SECONDS="$fuzz_seconds" >/dev/null
cmake --build build-testes-fuzz -j"$jobs"
(cd build-testes-fuzz && ctest --output-on-failure -j"$jobs" -L fuzz)
