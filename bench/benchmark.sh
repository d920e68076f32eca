#!/usr/bin/env bash
# Throughput of cotarel-check against the raw cost of reading the same file.
#   bench/benchmark.sh [BUILD_DIR] [MEGABYTES] [REPEATS] [KIND]
# Generates an order file of the KIND (adeudos, the default; transferencias,
# adeudos-sepa, transferencias-sepa, xml-pain008, xml-pain001; 1 % faulty accounts),
# times cotarel-check, `wc -l` and `cat > /dev/null` on it REPEATS times each,
# and prints the medians in MB/s, the ratio cotarel-check / wc -l and
# cotarel-check's peak resident memory. For XML it also times
# `xmllint --stream --noout` (Debian's libxml2-utils), a streaming parser that
# only checks that the file is well-formed.
set -euo pipefail
cd "$(dirname "$0")/.."

construccion=${1:-build/benchmark}
megabytes=${2:-1024}
repeticiones=${3:-5}
tipo=${4:-adeudos}

cmake -S . -B "$construccion" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$construccion" --parallel "$(nproc)" --target cotarel-check generar-remesa > /dev/null

carpeta=$(mktemp -d)
trap 'rm -rf "$carpeta"' EXIT
fichero="$carpeta/remesa.q19"
"$construccion/bench/generar-remesa" "$tipo" "$megabytes" 1 "$fichero"
bytes=$(stat -c %s "$fichero")
cat "$fichero" > /dev/null # into the page cache, for every contender alike

mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
segundos() { # command... -> elapsed seconds of one run, to the microsecond
    local inicio fin
    inicio=$(date +%s.%N)
    "$@" > /dev/null 2>&1 || true
    fin=$(date +%s.%N)
    awk -v a="$inicio" -v b="$fin" 'BEGIN { printf "%.4f\n", b - a }'
}
medir() { # command... -> median seconds
    for _ in $(seq "$repeticiones"); do segundos "$@"; done | mediana
}

t_check=$(medir "$construccion/check/cotarel-check" "$fichero")
t_wc=$(medir wc -l "$fichero")
t_cat=$(medir sh -c "cat '$fichero' > /dev/null")
t_xmllint=""
if [[ $tipo == xml-* ]] && command -v xmllint > /dev/null; then
    t_xmllint=$(medir xmllint --stream --noout "$fichero")
fi
/usr/bin/time -v "$construccion/check/cotarel-check" "$fichero" > /dev/null 2> "$carpeta/memoria" || true
pico_kib=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$carpeta/memoria")
lineas=$(wc -l < "$fichero")
erroneas=$(grep -c "^Error en linea" "${fichero%.q19}.log" || true)

mbs() { awk -v b="$bytes" -v t="$1" 'BEGIN { if (t > 0) printf "%.0f", b / 1e6 / t; else print "inf" }'; }

printf 'File (%s): %s bytes, %s lines, %s faulty accounts; median of %s runs\n' "$tipo" "$bytes" "$lineas" "$erroneas" "$repeticiones"
printf '%-22s %10s %10s\n' "command" "seconds" "MB/s"
printf '%-22s %10s %10s\n' "cotarel-check" "$t_check" "$(mbs "$t_check")"
printf '%-22s %10s %10s\n' "wc -l" "$t_wc" "$(mbs "$t_wc")"
printf '%-22s %10s %10s\n' "cat > /dev/null" "$t_cat" "$(mbs "$t_cat")"
if [ -n "$t_xmllint" ]; then
    printf '%-22s %10s %10s\n' "xmllint --stream" "$t_xmllint" "$(mbs "$t_xmllint")"
    awk -v a="$t_xmllint" -v b="$t_check" 'BEGIN { printf "time cotarel-check / xmllint --stream: %.2f (target <= 1.25)\n", b / a }'
fi
# Flat files are held to half the speed of wc -l and 8 MiB; XML, parsed
# whole, to xmllint --stream and 16 MiB.
objetivo_velocidad=" (target >= 0.50)"
objetivo_memoria=8
if [[ $tipo == xml-* ]]; then
    objetivo_velocidad=""
    objetivo_memoria=16
fi
awk -v a="$t_wc" -v b="$t_check" -v o="$objetivo_velocidad" 'BEGIN { printf "ratio cotarel-check / wc -l (throughput): %.2f%s\n", a / b, o }'
awk -v k="$pico_kib" -v o="$objetivo_memoria" 'BEGIN { printf "cotarel-check peak resident memory: %.1f MiB (target < %s MiB)\n", k / 1024, o }'
