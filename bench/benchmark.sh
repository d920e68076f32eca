#!/usr/bin/env bash
# Throughput of cotarel-check against the cost of reading the same files.
#   bench/benchmark.sh [BUILD_DIR] [REPEATS] [KIND[:MEGABYTES]]...
# By default three files (1 % faulty accounts, from the project's generator):
# a 1 GiB legacy debit file and a 1 GiB Norma 19.14 file, each timed against
# `wc -l`, and a 500 MB pain.008 file timed against `xmllint --stream --noout`
# (Debian's libxml2-utils), a streaming parser that only checks that the file
# is well-formed. Other kinds: transferencias, transferencias-sepa,
# xml-pain001. Prints one row a file: the medians of REPEATS runs, the ratio
# of the throughputs (cotarel-check / reference) and cotarel-check's peak
# resident memory, each beside its target. Each file is flushed to disk and
# read into the page cache first, and the checker and the reference run in
# turns, so that neither a write-back nor anything else the machine does
# meanwhile falls on one of them only.
set -euo pipefail
cd "$(dirname "$0")/.."

construccion=${1:-build/benchmark}
repeticiones=${2:-5}
shift $(($# < 2 ? $# : 2))
ficheros=("$@")
[ ${#ficheros[@]} -gt 0 ] || ficheros=(adeudos:1024 adeudos-sepa:1024 xml-pain008:500)

cmake -S . -B "$construccion" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$construccion" --parallel "$(nproc)" --target cotarel-check generar-remesa > /dev/null

carpeta=$(mktemp -d)
trap 'rm -rf "$carpeta"' EXIT

mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
segundos() { # command... -> elapsed seconds of one run, to the microsecond
    local inicio fin
    inicio=$(date +%s.%N)
    "$@" > /dev/null 2>&1 || true
    fin=$(date +%s.%N)
    awk -v a="$inicio" -v b="$fin" 'BEGIN { printf "%.4f\n", b - a }'
}
# Times the checker and the reference in turns, so that whatever else the
# machine does meanwhile falls on both alike; sets t_check and t_ref to the
# medians.
medir_por_turnos() { # file reference-command...
    local fichero=$1 tiempos
    shift
    tiempos=$(mktemp -p "$carpeta")
    for _ in $(seq "$repeticiones"); do
        printf 'c %s\n' "$(segundos "$construccion/check/cotarel-check" "$fichero")"
        printf 'r %s\n' "$(segundos "$@" "$fichero")"
    done > "$tiempos"
    t_check=$(awk '$1 == "c" { print $2 }' "$tiempos" | mediana)
    t_ref=$(awk '$1 == "r" { print $2 }' "$tiempos" | mediana)
}
mbs() { awk -v b="$1" -v t="$2" 'BEGIN { if (t > 0) printf "%.0f", b / 1e6 / t; else print "inf" }'; }

printf 'cotarel-check against the read limit; medians of %s runs, files in the page cache\n' "$repeticiones"
printf '%-20s %8s %10s %9s %-18s %9s %7s %12s %8s\n' file MB faulty "check MB/s" reference "ref MB/s" ratio "peak MiB" targets
for entrada in "${ficheros[@]}"; do
    tipo=${entrada%%:*}
    megabytes=${entrada#*:}
    [ "$megabytes" != "$entrada" ] || megabytes=1024
    fichero="$carpeta/remesa-$tipo.q19"
    "$construccion/bench/generar-remesa" "$tipo" "$megabytes" 1 "$fichero" > /dev/null
    bytes=$(stat -c %s "$fichero")
    # On disk before timing, so that no write-back of it runs meanwhile, and
    # in the page cache, for every contender alike.
    sync "$fichero"
    cat "$fichero" > /dev/null

    if [[ $tipo == xml-* ]]; then
        referencia="xmllint --stream"
        medir_por_turnos "$fichero" xmllint --stream --noout
        objetivo_ratio=0.95
        objetivo_memoria=16
    else
        referencia="wc -l"
        medir_por_turnos "$fichero" wc -l
        objetivo_ratio=0.70
        objetivo_memoria=8
    fi
    /usr/bin/time -v "$construccion/check/cotarel-check" "$fichero" > /dev/null 2> "$carpeta/memoria" || true
    pico_kib=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$carpeta/memoria")
    erroneas=$(grep -c "^Error en linea" "${fichero%.q19}.log" || true)
    rm -f "$fichero" "${fichero%.q19}.log"

    awk -v f="$tipo" -v mb="$(mbs "$bytes" 1)" -v e="$erroneas" -v c="$(mbs "$bytes" "$t_check")" \
        -v r="$referencia" -v rr="$(mbs "$bytes" "$t_ref")" -v tc="$t_check" -v tr="$t_ref" \
        -v k="$pico_kib" -v orat="$objetivo_ratio" -v om="$objetivo_memoria" 'BEGIN {
            printf "%-20s %8s %10s %9s %-18s %9s %7.2f %12.1f  >= %.2f, < %d MiB\n",
                f, mb, e, c, r, rr, tr / tc, k / 1024, orat, om }'
done
