#!/usr/bin/env bash
# Uses the built program in a real X window, as a person would: opens the file
# dialog with a click, then picks a file with faulty accounts with the
# keyboard alone (Ctrl+O), runs it, reads the result and ends the program. Skips (77) where Xvfb or xdotool are missing.
#   ventana_real.sh COTAREL DATA_DIR
# With COTAREL_CAPTURAS=DIR it also leaves screenshots of both windows there.
set -euo pipefail

programa=$1
datos=$2
titulo=$(bash "$(dirname "$(realpath "$0")")/../scripts/version.sh" titulo)
for herramienta in Xvfb xdotool; do
    if ! command -v "$herramienta" > /dev/null; then
        echo "SKIP: $herramienta is not installed; the real-window test needs Xvfb and xdotool"
        exit 77
    fi
done

trabajo=$(mktemp -d)
pid_x=""
pid_programa=""
terminar() {
    [ -n "$pid_programa" ] && kill "$pid_programa" 2> /dev/null || true
    [ -n "$pid_x" ] && kill "$pid_x" 2> /dev/null || true
    rm -rf "$trabajo"
}
trap terminar EXIT

fallo() {
    echo "FAIL: $*"
    exit 1
}

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$trabajo/display" 2> /dev/null &
pid_x=$!
for _ in $(seq 100); do
    [ -s "$trabajo/display" ] && break
    sleep 0.05
done
[ -s "$trabajo/display" ] || fallo "Xvfb did not start"
export DISPLAY=":$(head -1 "$trabajo/display")"
export QT_QPA_PLATFORM=xcb

buscar() { # window title -> window id, waiting up to ten seconds
    timeout 10 xdotool search --sync --name "^$1\$" | head -1
}
cerrada() { # window title -> true once no such window is left, waiting up to five seconds
    for _ in $(seq 100); do
        xdotool search --name "^$1\$" > /dev/null || return 0
        sleep 0.05
    done
    return 1
}
capturar() {
    if [ -n "${COTAREL_CAPTURAS:-}" ] && command -v import > /dev/null; then
        import -window root -crop 400x260+0+0 "$COTAREL_CAPTURAS/$1"
    fi
}

mkdir "$trabajo/mis remesas"
entrada="$trabajo/mis remesas/mayo junio.txt"
cp "$datos/adeudos.q19" "$entrada"

"$programa" &
pid_programa=$!
principal=$(buscar "Cotarel Ver $titulo") || fallo "no main window"
geometria=$(xdotool getwindowgeometry "$principal")
echo "$geometria" | grep -q "Position: 0,0" || fallo "main window not at the top-left corner: $geometria"
echo "$geometria" | grep -q "Geometry: 368x244" || fallo "client area not 368 x 244: $geometria"

# The folder picture sits at 4320,360 (480 x 360 twips) in Frame1, at 120,1080:
# a click on it opens the file dialog, which Escape closes again.
xdotool mousemove --window "$principal" 312 108 click 1
dialogo=$(buscar "Abrir fichero a filtrar") || fallo "no file dialog after a click on the folder"
xdotool windowfocus --sync "$dialogo"
xdotool key Escape
cerrada "Abrir fichero a filtrar" || fallo "Escape did not close the file dialog"

# From here on the keyboard alone: Ctrl+O, the path, Alt+P, Enter, Alt+E.
xdotool windowfocus --sync "$principal"
xdotool key ctrl+o
dialogo=$(buscar "Abrir fichero a filtrar") || fallo "no file dialog after Ctrl+O"
xdotool windowfocus --sync "$dialogo"
xdotool type --delay 10 "$entrada"
xdotool key Return
# Alt+P only once the dialog has closed and handed the path over: on a busy
# machine (the sanitizer build, tests in parallel) that takes more than a moment.
cerrada "Abrir fichero a filtrar" || fallo "Enter did not close the file dialog"
sleep 0.2
capturar entrada.png

xdotool windowfocus --sync "$principal"
xdotool key alt+p
resultado=$(buscar "Cotarel    Munvastor S.A.") || fallo "no result dialog after Alt+P"
sleep 0.3
capturar resultado.png
cmp "$trabajo/mis remesas/mayo junio.log" "$datos/adeudos-esperado.log" || fallo "the log differs from the expected one"

xdotool windowfocus --sync "$resultado"
xdotool key Return
cerrada "Cotarel    Munvastor S.A." || fallo "Enter did not close the result dialog"

xdotool windowfocus --sync "$principal"
xdotool key alt+e
for _ in $(seq 100); do
    kill -0 "$pid_programa" 2> /dev/null || break
    sleep 0.05
done
kill -0 "$pid_programa" 2> /dev/null && fallo "Alt+E did not end the program"
wait "$pid_programa" || fallo "the program ended with a failure"
pid_programa=""
echo "PASS: picked, ran, read the log and ended through the real windows"
