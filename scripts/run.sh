#!/usr/bin/env bash
# Sets everything up and starts Cotarel.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencias.sh
instalar_dependencias
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release --parallel "$(nproc)" --target cotarel
exec build/release/app/cotarel
