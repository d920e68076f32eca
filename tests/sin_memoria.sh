#!/usr/bin/env bash
# cotarel-check under a real limit on its memory (ulimit -v), from the least
# the program starts with to more than a run needs: wherever memory runs
# out, the file is reported not checked for lack of memory, its old log kept,
# and the batch goes on to the next file. It never aborts.
#   sin_memoria.sh COTAREL_CHECK
set -euo pipefail
comprobador=$1

carpeta=$(mktemp -d)
trap 'rm -rf "$carpeta"' EXIT
printf '5180\r\n%-68s%s%74s\r\n' 5680 12345678000123456789 '' > "$carpeta/a.q19"
cp "$carpeta/a.q19" "$carpeta/b.q19"

arrancado=0
sin_memoria=0
for limite in $(seq 6000 1000 40000); do
    # A limit the program cannot even start under says nothing of it.
    (ulimit -v "$limite" && exec "$comprobador" --version) > /dev/null 2>&1 || continue
    arrancado=$((arrancado + 1))
    printf 'earlier log' > "$carpeta/a.log"
    printf 'earlier log' > "$carpeta/b.log"
    estado=0
    (ulimit -v "$limite" && exec "$comprobador" "$carpeta/a.q19" "$carpeta/b.q19") \
        > "$carpeta/salida" 2> "$carpeta/errores" || estado=$?
    lineas=$(wc -l < "$carpeta/salida")
    faltos=$(grep -c "No hay memoria suficiente para leer el fichero" "$carpeta/errores" || true)
    no_comprobados=$(grep -c "No comprobado" "$carpeta/salida" || true)
    if [ "$estado" -gt 2 ] || [ "$lineas" -ne 2 ] || [ "$faltos" -ne "$no_comprobados" ]; then
        echo "limit $limite KiB: exit status $estado, $lineas lines"
        cat "$carpeta/salida" "$carpeta/errores"
        exit 1
    fi
    for fichero in a b; do
        if grep -q "^$carpeta/$fichero.q19	No comprobado" "$carpeta/salida" \
            && [ "$(cat "$carpeta/$fichero.log")" != "earlier log" ]; then
            echo "limit $limite KiB: $fichero.log changed by a run that did not end"
            exit 1
        fi
    done
    sin_memoria=$((sin_memoria + faltos))
done
if [ "$arrancado" -eq 0 ]; then
    echo "SKIP: the program does not start under any of these limits (a sanitizer's build)"
    exit 77
fi
if [ "$sin_memoria" -eq 0 ]; then
    echo "no limit ran out of memory in a run: the test proves nothing here"
    exit 1
fi
echo "$arrancado limits, $sin_memoria files reported for lack of memory, never an abort"
