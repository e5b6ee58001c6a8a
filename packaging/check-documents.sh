#!/usr/bin/env bash
# The documents that travel with the program agree with it and with each
# other: every option of --help is in the manual page, the version is the
# same everywhere, the AppStream file names the .desktop entry that is
# installed and the entry names the program and icon that are installed.
#   check-documents.sh TOVIK VERSION APPSTREAM_ID SOURCE_DIR
set -uo pipefail
tovik=$1 version=$2 id=$3 src=$4
man=$src/packaging/tovik.1
changelog=$src/packaging/changelog
metainfo=$src/packaging/$id.metainfo.xml
desktop=$src/app/$id.desktop
failed=0
fail() { echo "FAIL: $*"; failed=1; }

help=$("$tovik" --help) || fail "tovik --help exited with $?"
options=$(printf '%s\n' "$help" | grep -oE '^ +-[^ ]+( *, *-[^ ]+)*' | grep -oE -- '-[-a-z]+' | sort -u)
[ -n "$options" ] || fail "no options found in: $help"
# The options the manual page describes: the bold words of the tag lines of
# its OPTIONS section, where every hyphen is written \-.
documented=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$man" | grep -A1 '^\.TP' | grep '^\.B' |
    grep -oE '(\\-)+[a-z]+(\\-[a-z]+)*' | sed 's/\\-/-/g' | sort -u)
for option in $options; do
    grep -qxF -- "$option" <<<"$documented" || fail "option $option of --help is not in the OPTIONS of $man"
done
for status in 0 1 2; do
    sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' "$man" | grep -qx ".B $status" ||
        fail "exit status $status is not in $man"
done
if command -v groff >/dev/null; then
    warnings=$(groff -man -ww -z "$man" 2>&1)
    [ -z "$warnings" ] || fail "groff warns about $man: $warnings"
fi

[ "$("$tovik" --version)" = "tovik $version" ] || fail "tovik --version is not 'tovik $version'"
grep -q "^\.TH TOVIK 1 .*\"Tovik $version\"" "$man" || fail "$man is not marked as version $version"
[ "$(head -n 1 "$changelog")" = "tovik ($version) unstable; urgency=medium" ] ||
    fail "the newest entry of $changelog is not version $version"
newest=$(grep -m 1 -oE '<release version="[^"]+"' "$metainfo" | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the newest release in $metainfo is $newest, not $version"

grep -qx "  <id>$id</id>" "$metainfo" || fail "$metainfo does not have the id $id"
grep -qx "  <launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "$metainfo does not launch $id.desktop"
grep -qx "    <binary>$(basename "$tovik")</binary>" "$metainfo" || fail "$metainfo does not provide the program"
grep -qx "Exec=$(basename "$tovik")" "$desktop" || fail "$desktop does not start the program"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$src/app/$icon.svg" ] || fail "$desktop names the icon $icon, which app/ does not have"

[ $failed -eq 0 ] && echo "The manual page, changelog, AppStream file and .desktop entry agree with tovik $version."
exit $failed
