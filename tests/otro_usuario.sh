#!/usr/bin/env bash
# cotarel-check as a user other than root, whom the system limits as it does
# not limit root:
# - -r over a tree with a folder it may not read: the folder is reported in
#   its place as not checked, the other files are checked, exit status 2;
# - -j 4 where no thread may be started (a process limit of one): the files
#   are checked all the same, on the main thread.
#   otro_usuario.sh COTAREL_CHECK
set -euo pipefail
comprobador=$1
carpeta=$(mktemp -d)
trap 'chmod -R u+rwx "$carpeta"; rm -rf "$carpeta"' EXIT
chmod 755 "$carpeta"
como=()
if [ "$(id -u)" -eq 0 ]; then
    command -v runuser > /dev/null || { echo "SKIP: no runuser to run as another user"; exit 77; }
    como=(runuser -u nobody --)
fi
cp "$comprobador" "$carpeta/cotarel-check" # where the other user may run it
mkdir -p "$carpeta/arbol/cerrada" "$carpeta/arbol/z"
printf '5180\r\n%-68s%s%74s\r\n' 5680 12345678010123456789 '' > "$carpeta/arbol/a.q19"
cp "$carpeta/arbol/a.q19" "$carpeta/arbol/cerrada/b.q19"
cp "$carpeta/arbol/a.q19" "$carpeta/arbol/z/c.q19"
chmod -R a+rwX "$carpeta/arbol"
chmod 000 "$carpeta/arbol/cerrada"

estado=0
salida=$(cd "$carpeta" && "${como[@]}" ./cotarel-check -r arbol 2> errores) || estado=$?
esperada=$(printf 'arbol/a.q19\tProceso terminado\tadeudos\t0\narbol/cerrada\tNo comprobado\t-\t0\narbol/z/c.q19\tProceso terminado\tadeudos\t0')
if [ "$estado" -ne 2 ] || [ "$salida" != "$esperada" ] \
    || ! grep -q "arbol/cerrada: No se puede leer la carpeta" "$carpeta/errores"; then
    echo "FAIL: exit status $estado"
    echo "$salida"
    cat "$carpeta/errores"
    exit 1
fi
echo "a folder that cannot be read: reported in its place, exit status 2"

# LeakSanitizer, where the build has it, needs a thread of its own at exit.
estado=0
salida=$(cd "$carpeta/arbol/z" && ASAN_OPTIONS=detect_leaks=0 "${como[@]}" bash -c 'ulimit -u 1 && exec ../../cotarel-check -j 4 ../a.q19 c.q19' 2>&1) || estado=$?
if [ "$estado" -ne 0 ] || [ "$(grep -c 'Proceso terminado' <<< "$salida")" -ne 2 ]; then
    echo "FAIL: no threads: exit status $estado"
    echo "$salida"
    exit 1
fi
echo "no threads to be had: every file checked on the main thread"
