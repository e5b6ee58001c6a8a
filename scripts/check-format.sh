#!/usr/bin/env bash
# Checks every tracked C++ file against .clang-format with Debian 12's
# clang-format 14 and lists the files it would change; exits 1 if any.
# With --fix it rewrites them instead. Other versions format differently,
# so any other one is refused rather than trusted.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

fix=0
case "${1:-}" in
"") ;;
--fix) fix=1 ;;
*)
    echo "usage: $0 [--fix]" >&2
    exit 2
    ;;
esac

tool=
for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null &&
        "$candidate" --version | grep -q 'version 14\.'; then
        tool=$candidate
        break
    fi
done
if [ -z "$tool" ]; then
    echo "check-format: clang-format 14 not found (Debian 12 package clang-format)" >&2
    exit 2
fi

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ "$fix" -eq 1 ]; then
    "$tool" -i -- "${files[@]}"
    echo "check-format: formatted ${#files[@]} files"
    exit 0
fi

differ=()
for f in "${files[@]}"; do
    "$tool" --dry-run --Werror -- "$f" >/dev/null 2>&1 || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
    printf '%s\n' "${differ[@]}"
    echo "check-format: ${#differ[@]} of ${#files[@]} files differ from .clang-format;" \
        "./tovik.sh format --fix formats them" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
