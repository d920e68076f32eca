#!/usr/bin/env bash
# Retakes the README's screenshots in docs/: the real windows under Xvfb with
# a file at a user's path, and both windows drawn under a dark palette.
#   scripts/capturas.sh [BUILD_DIR]     (after scripts/test.sh; needs ImageMagick)
# The order file goes to /home/ana/remesas, so run it where that may be made.
set -euo pipefail
cd "$(dirname "$0")/.."
construccion=${1:-build/test}
remesas=/home/ana/remesas
mkdir -p "$remesas"
cp tests/data/adeudos.q19 "$remesas/mayo.q19"
rm -f "$remesas/mayo.log"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> /tmp/cotarel-display 2> /dev/null &
pid_x=$!
trap 'kill "$pid_x" 2> /dev/null || true' EXIT
for _ in $(seq 100); do [ -s /tmp/cotarel-display ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 /tmp/cotarel-display)" QT_QPA_PLATFORM=xcb
buscar() { timeout 10 xdotool search --sync --name "^$1\$" | head -1; }

"$construccion/app/cotarel" &
pid_programa=$!
principal=$(buscar "Cotarel Ver $(scripts/version.sh titulo)")
xdotool windowfocus --sync "$principal"
xdotool key ctrl+o
dialogo=$(buscar "Abrir fichero a filtrar")
xdotool windowfocus --sync "$dialogo"
xdotool type --delay 10 "$remesas/mayo.q19"
xdotool key Return
sleep 0.7
import -window root -crop 400x260+0+0 docs/entrada.png
xdotool windowfocus --sync "$principal"
xdotool key alt+p
resultado=$(buscar "Cotarel    Munvastor S.A.")
sleep 0.5
import -window root -crop 400x260+0+0 docs/resultado.png
xdotool windowfocus --sync "$resultado"
xdotool key Return
xdotool windowfocus --sync "$principal"
xdotool key alt+e
wait "$pid_programa"

COTAREL_CAPTURAS=docs QT_QPA_PLATFORM=offscreen \
    "$construccion/tests/tst_frmentrada" legibleConTemaOscuro > /dev/null
echo "docs/entrada.png, docs/resultado.png and docs/oscuro.png retaken"
