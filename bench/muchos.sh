#!/usr/bin/env bash
# Throughput of cotarel-check on many small files, against `wc -l` on the same
# files.   bench/muchos.sh [BUILD_DIR] [FILES] [KILOBYTES] [REPEATS]
# Generates FILES debit-order files of KILOBYTES each (1 % faulty accounts)
# and prints the medians of `cotarel-check -q -r` (all processors) and of
# `wc -l` over them.
set -euo pipefail
cd "$(dirname "$0")/.."

construccion=${1:-build/benchmark}
cuantos=${2:-3000}
kilobytes=${3:-20}
repeticiones=${4:-5}

cmake -S . -B "$construccion" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$construccion" --parallel "$(nproc)" --target cotarel-check generar-remesa > /dev/null

carpeta=$(mktemp -d)
trap 'rm -rf "$carpeta"' EXIT
mkdir "$carpeta/remesas"
modelo="$carpeta/modelo.q19"
"$construccion/bench/generar-remesa" adeudos "$(awk -v k="$kilobytes" 'BEGIN { print k / 1024 }')" 1 "$modelo"
for i in $(seq -w "$cuantos"); do cp "$modelo" "$carpeta/remesas/$i.q19"; done
cat "$carpeta"/remesas/* > /dev/null
bytes=$(cat "$carpeta"/remesas/* | wc -c)

mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
segundos() {
    local inicio fin
    inicio=$(date +%s.%N)
    "$@" > /dev/null 2>&1 || true
    fin=$(date +%s.%N)
    awk -v a="$inicio" -v b="$fin" 'BEGIN { printf "%.4f\n", b - a }'
}
medir() { for _ in $(seq "$repeticiones"); do segundos "$@"; done | mediana; }

t_check=$(medir "$construccion/check/cotarel-check" -q -r "$carpeta/remesas")
t_wc=$(medir sh -c "cd '$carpeta/remesas' && find . -type f -name '*.q19' -exec wc -l {} +")
printf 'Files: %s of %s bytes (%s bytes); median of %s runs on %s processors\n' \
    "$cuantos" "$(stat -c %s "$modelo")" "$bytes" "$repeticiones" "$(nproc)"
printf '%-22s %10s\n' "cotarel-check -q -r" "$t_check" "wc -l" "$t_wc"
awk -v a="$t_wc" -v b="$t_check" 'BEGIN { printf "ratio cotarel-check / wc -l (throughput): %.2f (target >= 0.50)\n", a / b }'
