#!/usr/bin/env bash
# Installs the Debian packages Morvel needs (only those missing), then configures and builds.
# Usage: tools/setup.sh BUILD_DIR BUILD_TYPE [CMAKE_OPTION...]
# ccache, when installed, keeps compiled files for the next build.
set -euo pipefail

packages=(
    cmake ninja-build g++ lld pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n qt6-qpa-plugins qt6-svg-dev
    qt6-l10n-tools qt6-tools-dev
    fonts-ipafont-gothic fonts-ipafont-mincho
    libuemf-dev libbenchmark-dev libjpeg62-turbo-dev libcfitsio-dev libexiv2-dev
    liblz4-dev libzstd-dev zlib1g-dev
    qt6-image-formats-plugins
    clang libclang-rt-14-dev clang-format
    dpkg-dev file desktop-file-utils appstream
    # Plate solving runs astrometry.net's programs with the Tycho-2 index files (about 290 MB).
    astrometry.net astrometry-data-tycho2-07 astrometry-data-tycho2-08 astrometry-data-tycho2-09
    astrometry-data-tycho2-10-19
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo_cmd=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$root/build/release"}
build_type=${2:-Release}
shift $(($# < 2 ? $# : 2))
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${launcher[@]}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
