#!/usr/bin/env bash
# The version as the programs show it, from the project's only statement of it
# (CMakeLists.txt): "1.00" for 1.0.0. With "titulo", as the main window's
# title shows it: "1.0".
#   scripts/version.sh [titulo]
set -euo pipefail
cd "$(dirname "$0")/.."
read -r mayor menor < <(sed -nE 's/^project\(Cotarel VERSION ([0-9]+)\.([0-9]+).*/\1 \2/p' CMakeLists.txt)
if [ "${1:-}" == titulo ]; then
    echo "$mayor.$menor"
else
    printf '%d.%02d\n' "$mayor" "$menor"
fi
