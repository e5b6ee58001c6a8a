#!/usr/bin/env bash
# Builds the Debian package from this build folder, unpacks it into a
# temporary folder (nothing is installed into the system) and checks what a
# user would get: its name, its dependencies, its files, lintian's verdict,
# and that the unpacked program exports its six files without a display.
#   check-package.sh BUILD_DIR VERSION APPSTREAM_ID
#   check-package.sh --depends DEPENDS   (only the check of a Depends field)
# Exits with 77 (skipped) when the Debian tools are missing.
set -uo pipefail

# The font is named by hand, Qt's SVG and widget libraries by dpkg-shlibdeps.
# Debian 13's 64-bit time_t transition renamed Qt 5's Core, Gui and Widgets
# libraries with a t64 suffix, so either name of the widget library is right.
check_depends() { # DEPENDS: prints a line for each package it lacks
    local ok=0 package
    for package in fonts-noto-cjk libqt5svg5 'libqt5widgets5|libqt5widgets5t64' libc6; do
        [[ ", $1," =~ ,\ ($package)[\ ,] ]] || { echo "FAIL: Depends lacks ${package//|/ or }"; ok=1; }
    done
    return $ok
}
# check-package.sh --depends DEPENDS: only this check, on a given field.
if [ "${1:-}" = --depends ]; then
    check_depends "$2"
    exit
fi

build=$1 version=$2 id=$3
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$work/out/tovik_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no $(basename "$deb")"; exit 1; }
echo "built $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
check_depends "$depends" || failed=1

contents=$(dpkg-deb -c "$deb")
for path in usr/bin/tovik usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/tovik.svg usr/share/man/man1/tovik.1.gz \
    usr/share/doc/tovik/copyright usr/share/doc/tovik/changelog.gz \
    usr/share/doc/tovik/examples/narrow-window.tovik.json \
    usr/share/tovik/lessons/01-r-and-phase.tovik.json usr/share/tovik/lessons/08-measured-data.chi; do
    grep -qE " \./$path\$" <<<"$contents" || fail "the package lacks /$path"
done
# Everything lies under /usr and belongs to root.
awk '$6 !~ /^\.\/(usr(\/|$)|$)/ || $2 != "root/root" { print; bad = 1 } END { exit bad }' \
    <<<"$contents" || fail "files outside /usr or not owned by root"

dpkg-deb -x "$deb" "$work/root"
program=$work/root/usr/bin/tovik
file -b "$program" | grep -q ', stripped' || fail "the program is not stripped: $(file -b "$program")"
zcat "$work/root/usr/share/man/man1/tovik.1.gz" | grep -q '^\.SH OPTIONS' || fail "the manual page is unreadable"

# The unpacked program, from an unrelated folder, with only a scenario the
# package itself ships.
(cd "$work" && QT_QPA_PLATFORM=offscreen "$program" --scenario \
    "$work/root/usr/share/doc/tovik/examples/narrow-window.tovik.json" --export "$work/export") \
    >"$work/export.out" 2>&1 || fail "the unpacked program failed: $(cat "$work/export.out")"
for name in chik.png chir.png chik.svg chir.svg chik.csv chir.csv; do
    [ -s "$work/export/$name" ] || fail "the export lacks $name"
    grep -qxF "$work/export/$name" "$work/export.out" || fail "the program did not report $name"
done
for name in chik.png chir.png; do
    [ "$(head -c 8 "$work/export/$name" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
        fail "$name is not a PNG file"
done
grep -q '<svg' "$work/export/chik.svg" || fail "chik.svg is not an SVG file"
# The lessons are found in the unpacked data folder, beside the program.
(cd "$work" && QT_QPA_PLATFORM=offscreen "$program" --lesson 08-measured-data --export \
    "$work/lesson") >"$work/lesson.out" 2>&1 ||
    fail "the unpacked program did not open a lesson: $(cat "$work/lesson.out")"

if command -v lintian >/dev/null; then
    # Errors fail the check; warnings are printed for the reader.
    report=$(lintian --tag-display-limit 0 "$deb" 2>&1)
    [ -n "$report" ] && printf 'lintian:\n%s\n' "$report"
    ! grep -q '^E: ' <<<"$report" || fail "lintian reports errors"
else
    echo "lintian is not installed: not run"
fi

[ $failed -eq 0 ] && echo "The package installs a working tovik $version."
exit $failed
