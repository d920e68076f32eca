#!/usr/bin/env bash
# Builds the two Debian packages, cotarel and cotarel-check, into build/paquetes
# (or the folder given) with the usual Debian tools, from a copy of the
# working tree with packaging/debian as its debian folder.
#   scripts/paquetes.sh [OUTPUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
salida=$(realpath -m "${1:-build/paquetes}")
fuente="$salida/cotarel-$(scripts/version.sh)"
rm -rf "$salida"
mkdir -p "$fuente"
git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - | tar -xf - -C "$fuente"
cp -r packaging/debian "$fuente/debian"
(cd "$fuente" && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -b -us -uc > "$salida/construccion.log" 2>&1) ||
    { tail -40 "$salida/construccion.log" >&2; exit 1; }
ls "$salida"/*.deb
