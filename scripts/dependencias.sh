#!/usr/bin/env bash
# Installs the Debian packages that building and testing Cotarel need, when
# they are missing. Sourced by the run and test scripts.
set -euo pipefail

COTAREL_PAQUETES=(
    g++ make cmake pkg-config build-essential
    googletest libgtest-dev
    libexpat1-dev nlohmann-json3-dev
    qt6-base-dev qt6-translations-l10n
    fonts-liberation2 fonts-comic-neue
    xvfb xdotool
    clang clang-format libclang-rt-14-dev
    time
    debhelper dpkg-dev lintian appstream desktop-file-utils file
)

instalar_dependencias() {
    local faltan=()
    for paquete in "${COTAREL_PAQUETES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$paquete" 2>/dev/null | grep -q "ok installed"; then
            faltan+=("$paquete")
        fi
    done
    if [ ${#faltan[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${faltan[*]}"
    local como_root=()
    if [ "$(id -u)" -ne 0 ]; then
        como_root=(sudo)
    fi
    "${como_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${como_root[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
}
