#!/usr/bin/env bash
# Throughput of cotarel-check on many small files, against `wc -l` on the same
# files.   bench/muchos.sh [BUILD_DIR] [FILES] [KILOBYTES] [REPEATS]
# Generates two folders of FILES debit-order files of KILOBYTES each: one of
# clean files, and one where every file has a faulty account (so every run
# writes and renames a log), and prints the medians of `cotarel-check -q -r`
# (all processors) and of `wc -l` over each.
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
megas=$(awk -v k="$kilobytes" 'BEGIN { print k / 1024 }')
# A folder of copies of one generated file; PERCENT of its accounts faulty.
llenar() {
    local nombre=$1 porcentaje=$2
    mkdir "$carpeta/$nombre"
    "$construccion/bench/generar-remesa" adeudos "$megas" "$porcentaje" "$carpeta/$nombre.q19" > /dev/null
    for i in $(seq -w "$cuantos"); do cp "$carpeta/$nombre.q19" "$carpeta/$nombre/$i.q19"; done
    cat "$carpeta/$nombre"/* > /dev/null
}
llenar limpios 0
llenar con-errores 1

mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
segundos() {
    local inicio fin
    inicio=$(date +%s.%N)
    "$@" > /dev/null 2>&1 || true
    fin=$(date +%s.%N)
    awk -v a="$inicio" -v b="$fin" 'BEGIN { printf "%.4f\n", b - a }'
}
medir() { for _ in $(seq "$repeticiones"); do segundos "$@"; done | mediana; }

printf 'Files: %s of %s bytes per folder; median of %s runs on %s processors\n' \
    "$cuantos" "$(stat -c %s "$carpeta/limpios.q19")" "$repeticiones" "$(nproc)"
printf '%-40s %10s %10s %8s\n' folder "cotarel-check" "wc -l" ratio
for nombre in limpios con-errores; do
    t_check=$(medir "$construccion/check/cotarel-check" -q -r "$carpeta/$nombre")
    t_wc=$(medir sh -c "cd '$carpeta/$nombre' && find . -type f -name '*.q19' -exec wc -l {} +")
    descripcion="clean files"
    [ "$nombre" = con-errores ] && descripcion="every file with a faulty account"
    awk -v d="$descripcion" -v a="$t_wc" -v b="$t_check" \
        'BEGIN { printf "%-40s %10.4f %10.4f %8.2f\n", d, b, a, a / b }'
done
echo "ratio: throughput of cotarel-check / throughput of wc -l (target >= 0.50)"
