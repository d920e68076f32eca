#!/usr/bin/env bash
# The Windows installer as a user without administrator rights runs it:
# installed silently, the installed cotarel.exe started on an order file and
# driven from the keyboard, then uninstalled silently, leaving nothing behind.
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
[ "$(wine "$destino/cotarel-check.exe" --version | tr -d '\r')" == "cotarel-check $version" ] \
    || fallar "the installed cotarel-check.exe"
echo "installed: files, shortcut and uninstall entry"

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
if wine reg query "$clave" > /dev/null 2>&1; then fallar "uninstall entry left behind"; fi
echo "uninstalled: nothing left"
