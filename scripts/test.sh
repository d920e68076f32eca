#!/usr/bin/env bash
# Sets everything up and runs every test twice: in a normal build and in one
# under AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencias.sh
instalar_dependencias

echo "== Formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

probar() {
    local carpeta=$1
    shift
    cmake -S . -B "$carpeta" -DCOTAREL_WERROR=ON "$@"
    cmake --build "$carpeta" --parallel "$(nproc)"
    ctest --test-dir "$carpeta" --output-on-failure --parallel "$(nproc)"
}

echo "== Normal build"
probar build/test -DCMAKE_BUILD_TYPE=Debug

echo "== Sanitizer build"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1"
probar build/sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
