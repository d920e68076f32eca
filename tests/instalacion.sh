#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what landed.
#   instalacion.sh BUILD_DIR
set -euo pipefail
construccion=$1
prefijo=$(mktemp -d)
trap 'rm -rf "$prefijo"' EXIT

cmake --install "$construccion" --prefix "$prefijo" > /dev/null
fallo() {
    echo "FAIL: $*"
    exit 1
}
for programa in cotarel cotarel-check; do
    [ -x "$prefijo/bin/$programa" ] || fallo "bin/$programa not installed"
done
escritorio="$prefijo/share/applications/cotarel.desktop"
[ -f "$escritorio" ] || fallo "no desktop entry"
grep -q '^Exec=cotarel$' "$escritorio" || fallo "desktop entry does not start cotarel"
grep -q '^Categories=.*Office;.*Finance;' "$escritorio" || fallo "desktop entry not in Office and Finance"
grep -q '^Comment\[es\]=' "$escritorio" || fallo "desktop entry without a Spanish comment"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$escritorio" || fallo "desktop entry does not validate"
fi
for lado in 16 32 256; do
    [ -f "$prefijo/share/icons/hicolor/${lado}x${lado}/apps/cotarel.png" ] || fallo "no ${lado}px icon"
done
"$prefijo/bin/cotarel-check" --version | grep -q '1.00' || fallo "installed cotarel-check does not run"
echo "PASS: programs, desktop entry and icon installed"
