#!/usr/bin/env bash
# One entry point for a fresh Debian 12 or 13 machine: installs the Debian
# packages that are missing, configures and builds incrementally, then runs
# the program, the tests, the benchmarks or the screenshot script.
#
#   ./tovik.sh run [-e|-j]     build and start the program
#   ./tovik.sh test            build and run every test
#   ./tovik.sh test --sanitize the same under AddressSanitizer + UBSan
#   ./tovik.sh test --qt6      the same built against Qt 6 (build-qt6/)
#   ./tovik.sh test --debian13 test and test --qt6 in a fresh Debian 13 system (root)
#   ./tovik.sh bench [--qt6]   build (Release) and run the benchmarks (against Qt 6)
#   ./tovik.sh pictures        screenshots of both windows into docs/
#   ./tovik.sh package         the Debian package (build-package/), checked by lintian
#   ./tovik.sh format [--fix]  list the C++ files clang-format 14 would change (format them)
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

jobs=$(nproc 2>/dev/null || echo 2)

need() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The interface is Japanese by default: without a CJK font every label is
# a row of empty boxes.
base_packages=(g++ make cmake pkg-config qtbase5-dev qttools5-dev-tools qttools5-dev libqt5svg5-dev libcminpack-dev libgsl-dev
    fonts-dejavu-core fonts-noto-cjk)
# What the checks of the Debian package and its documents run: cpack's
# dpkg-shlibdeps and file, lintian, the AppStream and .desktop validators,
# groff for the manual page.
package_tools=(dpkg-dev file lintian appstream desktop-file-utils groff-base)
# Qt 6, for `test --qt6` only (Qt 5.15 stays the main target): Core, Gui,
# Widgets and Test; Svg; the CMake files of LinguistTools; lrelease.
qt6_packages=(qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools)

build() { # build DIR [cmake options...]
    local dir=$1
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@"
    fi
    cmake --build "$dir" -j"$jobs"
}

cmd=${1:-run}
[ $# -gt 0 ] && shift
case "$cmd" in
run)
    need "${base_packages[@]}"
    build build
    exec ./build/app/tovik "$@"
    ;;
test)
    if [ "${1:-}" = --debian13 ]; then
        # Root builds the system and enters it; the script says why it skips.
        if [ "$(id -u)" -eq 0 ]; then
            need debootstrap || echo "debootstrap could not be installed"
        fi
        exec scripts/debian13.sh .
    fi
    need "${base_packages[@]}" "${package_tools[@]}"
    if [ "${1:-}" = "--sanitize" ]; then
        build build-sanitize -DTOVIK_SANITIZE=ON
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
        export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
        exec ctest --test-dir build-sanitize --output-on-failure
    fi
    if [ "${1:-}" = "--qt6" ]; then
        need "${qt6_packages[@]}"
        build build-qt6 -DTOVIK_QT_MAJOR=6
        exec ctest --test-dir build-qt6 --output-on-failure
    fi
    build build
    exec ctest --test-dir build --output-on-failure
    ;;
bench)
    # The peers: FFTW for the transform, numpy + matplotlib for a whole change,
    # scipy for the background removal.
    need "${base_packages[@]}" libbenchmark-dev libfftw3-dev python3-numpy python3-matplotlib python3-scipy
    if [ "${1:-}" = "--qt6" ]; then
        shift
        need "${qt6_packages[@]}"
        build build-bench-qt6 -DTOVIK_BENCH=ON -DTOVIK_TESTS=OFF -DTOVIK_QT_MAJOR=6
        exec ./build-bench-qt6/bench/tovik_bench "$@"
    fi
    build build-bench -DTOVIK_BENCH=ON -DTOVIK_TESTS=OFF
    exec ./build-bench/bench/tovik_bench "$@"
    ;;
pictures)
    need "${base_packages[@]}" xvfb xauth x11-utils x11-apps imagemagick xdotool
    build build
    exec scripts/pictures.sh ./build/app/tovik docs
    ;;
package)
    need "${base_packages[@]}" "${package_tools[@]}"
    # Debian's hardening flags, all of them, as a Debian build would use them.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    build build-package -DTOVIK_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
    rm -f build-package/tovik_*.deb
    (cd build-package && cpack -G DEB)
    deb=$(readlink -f build-package/tovik_*_"$(dpkg --print-architecture)".deb)
    echo "Package: $deb"
    dpkg-deb -f "$deb" Package Version Depends
    # Fails on errors, shows warnings.
    lintian "$deb"
    ;;
format)
    # Debian 12's clang-format is the reference: other versions differ.
    need clang-format
    exec scripts/check-format.sh "$@"
    ;;
*)
    echo "usage: $0 run|test [--sanitize|--qt6|--debian13]|bench [--qt6]|pictures|package|format [--fix]" >&2
    exit 2
    ;;
esac
