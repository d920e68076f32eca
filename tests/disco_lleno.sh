#!/usr/bin/env bash
# cotarel-check on a disk that really fills up: a 64 KiB tmpfs mounted in a
# mount namespace of the test's own. The log cannot be written whole, so the
# file is reported not checked, the old log stays byte for byte and no
# unfinished log is left.
#   disco_lleno.sh COTAREL_CHECK
set -euo pipefail
comprobador=$1

# A file-size limit first (SIGXFSZ): the write fails as on a full disk.
limite=$(mktemp -d)
printf '5180\r\n%-68s%s%74s\r\n' 5680 12345678000123456789 '' > "$limite/mayo.q19"
printf 'earlier log' > "$limite/mayo.log"
estado=0
salida=$( (ulimit -f 0 && exec "$comprobador" "$limite/mayo.q19") 2>&1) || estado=$?
restos=$(ls -A "$limite" | tr '\n' ' ')
if [ "$estado" -ne 2 ] || [ "$(cat "$limite/mayo.log")" != "earlier log" ] \
    || [ "$restos" != "mayo.log mayo.q19 " ] \
    || ! grep -q "No se puede escribir el fichero de Salida" <<< "$salida"; then
    echo "file-size limit: exit status $estado, left: $restos"
    echo "$salida"
    exit 1
fi
rm -rf "$limite"
echo "file-size limit: reported, old log kept, nothing left behind"

if ! unshare --user --map-root-user --mount true 2> /dev/null; then
    echo "SKIP: this machine gives no mount namespace to mount a small disk in"
    exit 77
fi
carpeta=$(mktemp -d)
trap 'rm -rf "$carpeta"' EXIT
mkdir "$carpeta/disco"

unshare --user --map-root-user --mount bash -euo pipefail -s "$comprobador" "$carpeta" << 'FIN'
comprobador=$1
disco=$2/disco
mount -t tmpfs -o size=64k cotarel-lleno "$disco"
{
    printf '5180\r\n'
    # 250 faulty debit records: about 40 KiB of input, more than 40 KiB of log.
    for _ in $(seq 250); do
        printf '%-68s%s%74s\r\n' 5680 12345678000123456789 ''
    done
} > "$disco/mayo.q19"
printf 'earlier log' > "$disco/mayo.log"

estado=0
"$comprobador" "$disco/mayo.q19" > "$2/salida" 2> "$2/errores" || estado=$?
[ "$estado" -eq 2 ] || { echo "exit status $estado, expected 2"; exit 1; }
grep -q "No se puede escribir el fichero de Salida" "$2/errores" \
    || { echo "no write failure reported:"; cat "$2/errores"; exit 1; }
[ "$(cat "$disco/mayo.log")" = "earlier log" ] || { echo "the old log was changed"; exit 1; }
restos=$(ls -A "$disco" | tr '\n' ' ')
[ "$restos" = "mayo.log mayo.q19 " ] || { echo "left behind: $restos"; exit 1; }
echo "full disk: old log kept, nothing left behind"
FIN
