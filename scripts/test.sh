#!/usr/bin/env bash
# Sets everything up and runs every test twice: in a normal build and in one
# under AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencias.sh
instalar_dependencias

echo "== Formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

pasadas=0
# Tests that passed in a CTest log, those skipped left out.
contar() {
    local total saltadas
    total=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$1")
    saltadas=$(grep -c "(Skipped)" "$1" || true)
    pasadas=$((pasadas + total - saltadas))
}
probar() {
    local carpeta=$1
    shift
    cmake -S . -B "$carpeta" -DCOTAREL_WERROR=ON "$@"
    cmake --build "$carpeta" --parallel "$(nproc)"
    ctest --test-dir "$carpeta" --output-on-failure --parallel "$(nproc)" | tee "$carpeta/ctest.log"
    contar "$carpeta/ctest.log"
}

echo "== Normal build"
probar build/test -DCMAKE_BUILD_TYPE=Debug

echo "== Sanitizer build"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1"
probar build/sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"

echo "== ThreadSanitizer: cotarel-check and its tests, parallel runs included"
cmake -S . -B build/tsan -DCOTAREL_GUI=OFF -DCOTAREL_WERROR=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
cmake --build build/tsan --parallel "$(nproc)" --target cotarel-check tst_cotarel_check
# The signal tests are left out: under ThreadSanitizer, whose own handlers
# stand between the signal and the program, a read on a pipe is not broken
# by the wake-up alarm, and the run waits for its writer.
TSAN_OPTIONS="halt_on_error=1" build/tsan/tests/tst_cotarel_check --gtest_filter="-Senal*" | tail -3
pasadas=$((pasadas + 1))

echo "== Windows: cross-built, tested under wine"
bash scripts/windows.sh build/test
contar build/windows/ctest.log
pasadas=$((pasadas + 3)) # the windows at 144 dpi, the console, the installer

echo "== Debian packages"
bash tests/paquetes.sh build/paquetes
pasadas=$((pasadas + 1))

echo "== Fuzzing the engine for 60 seconds"
cmake -S . -B build/fuzz -DCOTAREL_FUZZ=ON -DCOTAREL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++
cmake --build build/fuzz --parallel "$(nproc)" # every target builds beside the fuzz target
mkdir -p build/fuzz/corpus
temporal=/tmp
[ -d /dev/shm ] && temporal=/dev/shm # the fuzzer writes a file for every input
TMPDIR=$temporal build/fuzz/fuzz/fuzz_procesar -max_total_time=60 -max_len=4096 -print_final_stats=1 \
    build/fuzz/corpus fuzz/semillas tests/data 2>&1 | tail -15
echo "Fuzzing: no failure in 60 seconds"

echo "== All builds"
echo "$pasadas passed, 0 failed"
