#!/usr/bin/env bash
# Set-up, build, run and test in one place.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, check the formatting, build, run every test
#                     (also under ASan+UBSan), and build the release configuration
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-image-formats-plugins libgl-dev
    fonts-ipafont-mincho fonts-ipafont-gothic fontconfig
    clang-format
    qt6-translations-l10n
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
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
