#!/usr/bin/env bash
# Builds both Debian packages, unpacks them into scratch roots and checks what
# landed: the files, the dependencies (cotarel-check without Qt, X or fonts),
# stripped and hardened binaries, the manual pages, the copyright, and that
# lintian, appstreamcli and desktop-file-validate have nothing to say.
#   tests/paquetes.sh [OUTPUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
salida=$(realpath -m "${1:-build/paquetes}")
bash scripts/paquetes.sh "$salida" > /dev/null
version=$(scripts/version.sh)
check="$salida/cotarel-check_${version}_amd64.deb"
escritorio="$salida/cotarel_${version}_amd64.deb"
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
fallos=0
fallo() {
    echo "FAIL: $*"
    fallos=$((fallos + 1))
}

# The Debian changelog's version is the project's.
registrado=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
[ "$registrado" == "$version" ] || fallo "debian/changelog says $registrado, the project $version"

# cotarel-check alone, as on a server without a display.
dpkg -x "$check" "$raiz/servidor"
dpkg -x "$check" "$raiz/escritorio"
dpkg -x "$escritorio" "$raiz/escritorio"
dependencias=$(dpkg-deb -f "$check" Depends)
if grep -Eiq 'qt|libx|xcb|font|libgl' <<< "$dependencias"; then
    fallo "cotarel-check depends on a desktop package: $dependencias"
fi
dpkg-deb -f "$escritorio" Depends | grep -q 'qt6-translations-l10n' ||
    fallo "cotarel does not depend on the Spanish Qt texts"

for ruta in usr/bin/cotarel-check usr/share/doc/cotarel-check/copyright usr/share/doc/cotarel-check/changelog.gz \
    usr/share/man/man1/cotarel-check.1.gz usr/share/man/es/man1/cotarel-check.1.gz; do
    [ -f "$raiz/servidor/$ruta" ] || fallo "cotarel-check: $ruta missing"
done
for ruta in usr/bin/cotarel usr/share/applications/cotarel.desktop usr/share/doc/cotarel/copyright \
    usr/share/metainfo/es.munvastor.cotarel.metainfo.xml usr/share/icons/hicolor/scalable/apps/cotarel.svg \
    usr/share/man/man1/cotarel.1.gz usr/share/man/es/man1/cotarel.1.gz; do
    [ -f "$raiz/escritorio/$ruta" ] || fallo "cotarel: $ruta missing"
done
for lado in 16 32 48 64 128; do
    [ -f "$raiz/escritorio/usr/share/icons/hicolor/${lado}x${lado}/apps/cotarel.png" ] || fallo "no ${lado}px icon"
done
[ -z "$(ls "$raiz/servidor/usr/bin")" ] || [ "$(ls "$raiz/servidor/usr/bin")" = cotarel-check ] ||
    fallo "cotarel-check carries other programs"

for programa in cotarel cotarel-check; do
    binario="$raiz/escritorio/usr/bin/$programa"
    file "$binario" | grep -q ', stripped' || fallo "$programa is not stripped"
    readelf -d "$binario" | grep -q 'BIND_NOW' || fallo "$programa is not linked with -z now"
    readelf -h "$binario" | grep -q 'DYN' || fallo "$programa is not position-independent"
    zcat "$raiz/escritorio/usr/share/man/es/man1/$programa.1.gz" | head -1 | grep -q "^\.TH ${programa^^} 1" ||
        fallo "$programa's manual page has no title"
    cmp -s "$raiz/escritorio/usr/share/man/es/man1/$programa.1.gz" \
        "$raiz/escritorio/usr/share/man/man1/$programa.1.gz" || fallo "$programa's default manual is not the Spanish one"
done
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$raiz/servidor/usr/share/doc/cotarel-check/copyright" || fallo "copyright not machine-readable"
grep -q 'Permission is hereby granted, free of charge' "$raiz/servidor/usr/share/doc/cotarel-check/copyright" ||
    fallo "copyright without the MIT licence"

# The unpacked checker works on its own.
muestra="$raiz/muestra"
mkdir "$muestra"
cp tests/data/adeudos-sepa.q19 "$muestra/"
estado=0
"$raiz/servidor/usr/bin/cotarel-check" -q "$muestra/adeudos-sepa.q19" || estado=$?
[ "$estado" -eq 1 ] || fallo "unpacked cotarel-check gave status $estado on a faulty file"
cmp -s "$muestra/adeudos-sepa.log" tests/data/adeudos-sepa-esperado.log || fallo "unpacked cotarel-check wrote another log"

# The tools a Debian maintainer runs; lintian refuses to be quiet as root.
publico=$(mktemp -d)
trap 'rm -rf "$raiz" "$publico"' EXIT
cp "$check" "$escritorio" "$publico/"
lintian_como=()
if [ "$(id -u)" -eq 0 ]; then
    lintian_como=(runuser -u nobody --)
    chmod 755 "$publico" && chmod 644 "$publico"/*.deb
fi
informe=$(cd "$publico" && "${lintian_como[@]}" lintian ./*.deb 2>&1) || fallo "lintian failed"
[ -z "$informe" ] || fallo "lintian: $informe"
appstreamcli validate --no-net "$raiz/escritorio/usr/share/metainfo/es.munvastor.cotarel.metainfo.xml" > /dev/null ||
    fallo "appstreamcli validate"
desktop-file-validate "$raiz/escritorio/usr/share/applications/cotarel.desktop" || fallo "desktop-file-validate"

if [ "$fallos" -ne 0 ]; then
    exit 1
fi
echo "PASS: both packages built, unpacked and checked; lintian, appstreamcli and desktop-file-validate quiet"
