#!/usr/bin/env bash
# The Windows installer as a user without administrator rights and as IT
# runs it: installed silently, with its uninstall entry and "Abrir con"; an
# older version refused over a newer one; installer and uninstaller refused
# while the program runs; the installed cotarel.exe started on an order file
# and driven from the keyboard, then uninstalled silently, leaving nothing
# behind, in the registry either.
# With COTAREL_CAPTURAS=DIR the two windows are photographed into DIR.
#   tests/windows_instalador.sh CROSS_BUILD_DIR SCRATCH_FOLDER    (WINEPREFIX, DISPLAY set)
set -euo pipefail
construccion=$1
carpeta=$2
datos=$(dirname "$(realpath "$0")")/data
instalador=$(ls "$construccion"/cotarel-*-instalador.exe)
destino="$WINEPREFIX/drive_c/CotarelPrueba"
menu=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs)
clave='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Cotarel'
version=$(bash "$datos/../../scripts/version.sh")
fallar() { echo "FAIL: $*"; exit 1; }

echo "== Installer: $(basename "$instalador"), $(stat -c %s "$instalador") bytes"
wine "$instalador" /S '/D=C:\CotarelPrueba'
wineserver -w
for fichero in cotarel.exe cotarel-check.exe LICENSE.txt desinstalar.exe; do
    [ -f "$destino/$fichero" ] || fallar "$fichero not installed"
done
[ -f "$menu/Cotarel.lnk" ] || fallar "no Start-menu shortcut"
registro=$(wine reg query "$clave" 2> /dev/null | tr -d '\r')
for valor in "DisplayName    REG_SZ    Cotarel" "DisplayVersion    REG_SZ    $version" \
    "Publisher    REG_SZ    Munvastor S.A."; do
    grep -qF "$valor" <<< "$registro" || fallar "uninstall entry lacks: $valor"
done
grep -qE "EstimatedSize    REG_DWORD    0x[0-9a-f]*[1-9a-f]" <<< "$registro" \
    || fallar "uninstall entry lacks its size"
[ "$(wine "$destino/cotarel-check.exe" --version | tr -d '\r')" == "cotarel-check $version" ] \
    || fallar "the installed cotarel-check.exe"
aplicacion='HKCU\Software\Classes\Applications\cotarel.exe'
orden=$(wine reg query "$aplicacion\shell\open\command" 2> /dev/null | tr -d '\r')
grep -qF '"C:\CotarelPrueba\cotarel.exe" "%1"' <<< "$orden" || fallar "no open command: $orden"
tipos=$(wine reg query "$aplicacion\SupportedTypes" 2> /dev/null | tr -d '\r')
for tipo in .q19 .q34 .txt .xml; do
    grep -q "^ *$tipo " <<< "$tipos" || fallar "$tipo not among the supported types"
done
for tipo in .q19 .q34; do
    clases='HKCU\Software\Classes\'
    wine reg query "$clases$tipo\OpenWithList\cotarel.exe" > /dev/null 2>&1 \
        || fallar "not in the open-with list of $tipo"
    if wine reg query "$clases$tipo" /ve 2> /dev/null | grep "REG_SZ" | grep -vq "(value not set)"; then
        fallar "$tipo's own association taken over"
    fi
done
echo "installed: files, shortcut, uninstall entry with its size, \"Abrir con\""

# An older version over a newer one: refused silently, nothing changed.
wine reg add "$clave" /v DisplayVersion /t REG_SZ /d 9.99 /f > /dev/null 2>&1
estado=0
wine "$instalador" /S '/D=C:\CotarelPrueba' || estado=$?
wineserver -w
[ "$estado" -ne 0 ] || fallar "a downgrade went on silently"
wine reg query "$clave" /v DisplayVersion 2> /dev/null | grep -q "9\.99" || fallar "the downgrade changed the entry"
wine reg add "$clave" /v DisplayVersion /t REG_SZ /d "$version" /f > /dev/null 2>&1
echo "downgrade: refused silently (exit status $estado)"

mkdir -p "$carpeta"
cp "$datos/adeudos-sepa.q19" "$carpeta/mayo.q19"
ruta=$(winepath -w "$carpeta/mayo.q19")
inicio=$(date +%s%N)
wine "$destino/cotarel.exe" "$ruta" &
programa=$!
ventana=$(timeout 60 xdotool search --sync --onlyvisible --name '^Cotarel Ver 1\.0$' | head -1)
echo "first window of the installed cotarel.exe: $((($(date +%s%N) - inicio) / 1000000)) ms"
sleep 1
capturar() { # name, width, height
    [ -n "${COTAREL_CAPTURAS:-}" ] && import -window root -crop "$2x$3+0+0" "$COTAREL_CAPTURAS/$1"
    return 0
}
# While the program runs, neither the installer nor the uninstaller changes
# anything; silently they end with an error.
antes=$(stat -c %Y "$destino/cotarel.exe")
estado=0
wine "$instalador" /S '/D=C:\CotarelPrueba' || estado=$?
[ "$estado" -ne 0 ] || fallar "the installer went on while Cotarel runs"
[ "$(stat -c %Y "$destino/cotarel.exe")" == "$antes" ] || fallar "cotarel.exe replaced while it runs"
estado=0
wine "$destino/desinstalar.exe" /S '_?=C:\CotarelPrueba' || estado=$?
[ "$estado" -ne 0 ] || fallar "the uninstaller went on while Cotarel runs"
for fichero in cotarel.exe cotarel-check.exe; do
    [ -f "$destino/$fichero" ] || fallar "$fichero removed while Cotarel runs"
done
wine reg query "$clave" > /dev/null 2>&1 || fallar "uninstall entry removed while Cotarel runs"
echo "while Cotarel runs: installer and uninstaller refused, nothing changed"

eval "$(xdotool getwindowgeometry --shell "$ventana")"
capturar windows-entrada.png $((X + WIDTH)) $((Y + HEIGHT))
alto=$((Y + HEIGHT))
xdotool key alt+p
for _ in $(seq 100); do [ -f "$carpeta/mayo.log" ] && break; sleep 0.1; done
[ -f "$carpeta/mayo.log" ] || fallar "Alt+P wrote no log"
dialogo=$(timeout 30 xdotool search --sync --onlyvisible --name '^Cotarel    Munvastor S\.A\.$' | head -1)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$dialogo")"
capturar windows-resultado.png $((X + WIDTH)) "$alto"
xdotool key Return
sleep 1
xdotool key alt+e
timeout 30 tail --pid="$programa" -f /dev/null || fallar "Alt+E did not end the program"
echo "the installed program checked a file and ended from the keyboard"

wine "$destino/desinstalar.exe" /S
wineserver -w
[ ! -e "$destino" ] || fallar "left behind: $(ls "$destino")"
[ ! -e "$menu/Cotarel.lnk" ] || fallar "shortcut left behind"
for resto in "$clave" "$aplicacion" 'HKCU\Software\Classes\.q19' 'HKCU\Software\Classes\.q34'; do
    if wine reg query "$resto" > /dev/null 2>&1; then fallar "left in the registry: $resto"; fi
done
echo "uninstalled: nothing left"
