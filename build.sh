#!/usr/bin/env bash
# Set-up, build, run and test in one place.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, check the formatting, build, run every test
#                     (also under ASan+UBSan), build the release configuration and check its
#                     installation and package
#   ./build.sh package install what is missing, build the release configuration and make the
#                     Debian package build/release/ulvan_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libgl-dev libfontconfig-dev
    fonts-ipafont-mincho fonts-ipafont-gothic fontconfig
    clang-format
    python3 python3-icalendar
    qt6-translations-l10n
    desktop-file-utils appstream dpkg-dev file xvfb xauth xdotool
    locales
)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=()
        [ "$(id -u)" -eq 0 ] || sudo=(sudo)
        "${sudo[@]}" apt-get update -q
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
    fi
    # The windows are tested as a Japanese desktop shows them.
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
        local sudo=()
        [ "$(id -u)" -eq 0 ] || sudo=(sudo)
        "${sudo[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
    fi
}

# Every C++ file as .clang-format lays it out; lists the files that differ.
check_format() {
    local files
    mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null ||
        find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
    clang-format --dry-run --Werror "${files[@]}"
}

build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}

case "${1:-}" in
run)
    install_missing
    build dev
    exec build/dev/app/ulvan
    ;;
test)
    install_missing
    check_format
    build dev
    ctest --preset dev -j 2
    build asan
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j 2
    # What a user or a packager builds: optimised, no warning turned into an error.
    build release
    tests/install/check_install.sh build/release
    ;;
package)
    install_missing
    build release
    (cd build/release && cpack -G DEB)
    ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
