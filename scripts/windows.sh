#!/usr/bin/env bash
# Cross-builds Cotarel for 64-bit Windows with MinGW-w64 (cotarel.exe,
# cotarel-check.exe, the tests, the installer and the zip) and runs it all
# under wine, on an Xvfb display of its own: the tests (the windows' at 96
# and, in a second wine session, 144 dpi), a check that both programs need no
# DLL beyond Windows' own, the logs of generated files of every kind, with
# names beyond ASCII, compared byte for byte with the Linux build's, the
# console output through a pseudo-terminal, and the installer installed,
# started and uninstalled silently.
#   scripts/windows.sh [LINUX_BUILD_DIR]    (default build/test; what it needs
#   of it, cotarel-check and the generator, is built here)
# With COTAREL_CAPTURAS=DIR it also photographs both windows into DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencias.sh
COTAREL_PAQUETES+=(g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev nsis xvfb xdotool bsdutils)
# The screenshots, only when asked for, need ImageMagick's import.
[ -n "${COTAREL_CAPTURAS:-}" ] && COTAREL_PAQUETES+=(imagemagick)
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
# The Linux side of the comparison below, on a fresh clone too.
[ -f "$linux/CMakeCache.txt" ] || cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=Debug > /dev/null
cmake --build "$linux" --parallel "$(nproc)" --target cotarel-check generar-remesa

# Wine needs a display to create windows: an Xvfb of our own, on the first
# free display.
carpeta=$(mktemp -d)
trap 'kill "$xvfb" 2> /dev/null || true; wineserver -k 2> /dev/null || true; rm -rf "$carpeta"' EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$carpeta/pantalla" 2> /dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$carpeta/pantalla" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$carpeta/pantalla")

# No desktop entries or icons of what is installed in the prefix land in the
# user's own folders: winemenubuilder is off.
export WINEPREFIX=$PWD/$construccion/wine WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
[ -d "$WINEPREFIX" ] || wineboot --init > /dev/null 2>&1
# Windows without a window manager: wine places them itself and draws their
# title bars.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f > /dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f > /dev/null 2>&1
# The screen's dots per inch hold for a whole wine session.
puntos_por_pulgada() {
    wineserver -k 2> /dev/null || true
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f > /dev/null 2>&1
    wineserver -w
}
puntos_por_pulgada 96
ctest --test-dir "$construccion" --output-on-failure | tee "$construccion/ctest.log"

echo "== The windows at 144 dpi, in a wine session of their own"
puntos_por_pulgada 144
(cd "$construccion/tests" && COTAREL_DPI=144 wine tst_win32.exe) | tee "$construccion/ctest-144.log"
puntos_por_pulgada 96

echo "== cotarel.exe and cotarel-check.exe need only Windows' own DLLs"
for exe in "$construccion/app/cotarel.exe" "$construccion/check/cotarel-check.exe"; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    echo "$(basename "$exe"): $(echo $dlls)"
    if grep -qvE '^(kernel32|msvcrt|user32|gdi32|comctl32|comdlg32|ole32|advapi32|shell32|ws2_32)\.dll$' <<< "$dlls"; then
        echo "FAIL: a DLL beyond Windows' own"
        exit 1
    fi
done
exe=$construccion/check/cotarel-check.exe

echo "== Logs of generated files, Linux against Windows"
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

bash tests/windows_consola.sh "$exe" "$carpeta/consola"
bash tests/windows_instalador.sh "$construccion" "$carpeta/instalado"
echo "Windows: every test passed under wine; the logs are the Linux ones"
