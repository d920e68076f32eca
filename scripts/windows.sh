#!/usr/bin/env bash
# Cross-builds the engine, cotarel-check and their tests for 64-bit Windows
# with MinGW-w64, and runs them under wine: the tests, a check that
# cotarel-check.exe needs no DLL beyond Windows' own, and the logs of
# generated files of every kind, with names beyond ASCII, compared byte for
# byte with the Linux build's.
#   scripts/windows.sh [LINUX_BUILD_DIR]    (default build/test, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencias.sh
COTAREL_PAQUETES+=(g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev)
instalar_dependencias
linux=${1:-build/test}
construccion=build/windows

# expat has no MinGW build in Debian: its Debian source package, patched as
# Debian ships it, is fetched with apt-get through a list of our own.
fuentes=$PWD/build/windows-fuentes
if [ ! -f "$fuentes/expat/expat/lib/xmlparse.c" ]; then
    rm -rf "$fuentes" && mkdir -p "$fuentes/listas/partial"
    espejo=$(sed -n 's/^URIs: *\(.*debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2> /dev/null || true)
    espejo=${espejo%%$'\n'*}
    cat > "$fuentes/fuentes.sources" <<FIN
Types: deb-src
URIs: ${espejo:-http://deb.debian.org/debian}
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
FIN
    apt=(apt-get -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$fuentes"
        -o Dir::State::Lists="$fuentes/listas")
    "${apt[@]}" update > "$fuentes/apt.log" 2>&1 || { cat "$fuentes/apt.log"; exit 1; }
    (cd "$fuentes" && "${apt[@]}" source --download-only expat >> apt.log 2>&1) || { cat "$fuentes/apt.log"; exit 1; }
    dpkg-source -x "$fuentes"/expat_*.dsc "$fuentes/expat" > /dev/null
fi

cmake --preset windows-cruzada > /dev/null
cmake --build --preset windows-cruzada --parallel "$(nproc)"

export WINEPREFIX=$PWD/$construccion/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot --init > /dev/null 2>&1
ctest --test-dir "$construccion" --output-on-failure | tee "$construccion/ctest.log"

echo "== cotarel-check.exe needs only Windows' own DLLs"
exe=$construccion/check/cotarel-check.exe
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "$dlls"
if grep -qvE '^(kernel32|msvcrt|user32|advapi32|shell32|ws2_32)\.dll$' <<< "$dlls"; then
    echo "FAIL: a DLL beyond Windows' own"
    exit 1
fi

echo "== Logs of generated files, Linux against Windows"
carpeta=$(mktemp -d)
trap 'rm -rf "$carpeta"' EXIT
mkdir "$carpeta/linux" "$carpeta/windows"
declare -A nombres=([adeudos]="ñ-adeudos.q19" [transferencias]="€-transferencias.q34"
    [adeudos-sepa]="ł-adeudos sepa.q19" [transferencias-sepa]="日本-transferencias.q34"
    [xml-pain008]="remesa.v2.pain008.xml" [xml-pain001]="ÁRBOL.XML")
for tipo in "${!nombres[@]}"; do
    "$linux/bench/generar-remesa" "$tipo" 2 1 "$carpeta/linux/${nombres[$tipo]}" > /dev/null
    cp "$carpeta/linux/${nombres[$tipo]}" "$carpeta/windows/"
done
"$linux/check/cotarel-check" -q "$carpeta/linux"/* || true
(cd "$carpeta/windows" && wine "$OLDPWD/$exe" -q "*" || true)
diferentes=0
for log in "$carpeta/linux"/*.log; do
    nombre=$(basename "$log")
    if cmp -s "$log" "$carpeta/windows/$nombre"; then
        echo "same: $nombre ($(wc -c < "$log") bytes)"
    else
        echo "FAIL: $nombre differs or is missing"
        diferentes=$((diferentes + 1))
    fi
done
[ "$diferentes" -eq 0 ]
echo "Windows: every test passed under wine; the logs are the Linux ones"
