#!/usr/bin/env bash
# cotarel-check.exe in a Windows console (wine's, on a pseudo-terminal made
# by script) and redirected: letters beyond ASCII arrive whole, wildcards are
# expanded by the system, folder parts included, and a pattern that matches
# nothing has its own message and exit status 2.
#   tests/windows_consola.sh COTAREL-CHECK.EXE SCRATCH_FOLDER    (WINEPREFIX set)
set -euo pipefail
exe=$(realpath "$1")
carpeta=$2
datos=$(dirname "$(realpath "$0")")/data
mkdir -p "$carpeta/sub1"
cp "$datos/adeudos-sepa.q19" "$carpeta/ñandú.q19"
cp "$datos/adeudos-sepa.q19" "$carpeta/sub1/a.q19"
cd "$carpeta"
fallos=0
comprobar() { # name, expected, seen
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1"
        printf '  expected: %q\n  seen:     %q\n' "$2" "$3"
        fallos=$((fallos + 1))
    fi
}
# What a console shows, without its cursor codes and line ends.
en_consola() {
    script -qec "stty cols 200; wine '$exe' $1" /dev/null | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' | tr -d '\r'
}

linea=$(en_consola "'?andú.q19'" | grep -E '^ñandú\.q19 +Proceso terminado con errores +adeudos-sepa +4 +ñandú\.log *$' || true)
comprobar "console: '?' is one letter, every letter whole" "ñandú.q19" "${linea%% *}"
comprobar "console: an accented message" "cotarel-check: opción desconocida: --opción" \
    "$(en_consola "--opción" | head -1)"
rm -f ñandú.log sub1/a.log

comprobar "redirected: UTF-8 bytes, case folded by the file system" \
    "$(printf 'ñandú.q19\tProceso terminado con errores\tadeudos-sepa\t4\tñandú.log')" \
    "$(wine "$exe" 'ÑAND*.Q19')"
comprobar "a folder part expanded" \
    "$(printf 'sub1\\a.q19\tProceso terminado con errores\tadeudos-sepa\t4\tsub1\\a.log')" \
    "$(wine "$exe" 'sub*\*.q19')"
estado=0
mensaje=$(wine "$exe" 'nada*.q19' 2>&1 > /dev/null) || estado=$?
comprobar "no match: its own message" "cotarel-check: ningún fichero coincide con nada*.q19" "$mensaje"
comprobar "no match: a file not checked" 2 "$estado"
[ "$fallos" -eq 0 ]
