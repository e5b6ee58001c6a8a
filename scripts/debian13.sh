#!/usr/bin/env bash
# Runs the tests of the committed HEAD of this checkout inside a freshly made
# Debian 13 (trixie) system: debootstrap builds a minimal trixie from the
# package archive this machine already uses, a clone of HEAD goes into it, and
# there `./tovik.sh test` and `./tovik.sh test --qt6` install what they need
# and run, exactly as on a user's new Debian 13 machine.
#   debian13.sh CHECKOUT
# The bootstrapped system is kept in $TOVIK_DEBIAN13_CACHE (default
# /var/cache/tovik/debian13) and copied for each run, so every run starts
# from the untouched minimal system; the .deb files are kept there too, so a
# second run downloads only the package lists. Without root or debootstrap it
# prints one SKIP line and exits 0.
set -euo pipefail
src=$(readlink -f "${1:-.}")
skip() {
    echo "SKIP: the Debian 13 tests: $*"
    exit 0
}
[ "$(id -u)" -eq 0 ] || skip "they need root (debootstrap, chroot and mounts)"
command -v debootstrap >/dev/null || skip "debootstrap is not installed"
[ -d /usr/share/debootstrap/scripts ] && [ ! -e /usr/share/debootstrap/scripts/trixie ] &&
    skip "this debootstrap does not know trixie"

# The first Debian archive in the machine's apt sources (not the security one).
archive() {
    local uri
    uri=$(sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
        tr ' ' '\n' | grep -v -- '-security' | head -n 1 || true)
    [ -n "$uri" ] || uri=$(awk '$1 == "deb" && !/security/ {
        for (i = 2; i <= NF; i++) if ($i ~ /^[a-z+]+:\/\//) { print $i; exit } }' \
        /etc/apt/sources.list 2>/dev/null || true)
    echo "${uri:-http://deb.debian.org/debian}"
}

cache=${TOVIK_DEBIAN13_CACHE:-/var/cache/tovik/debian13}
arch=$(dpkg --print-architecture)
mirror=$(archive)
base=$cache/trixie-$arch
mkdir -p "$cache/debootstrap-debs" "$cache/apt-archives/partial"
# One run at a time uses the cache.
exec 9>"$cache/lock"
flock 9

start=$SECONDS
# A kept system older than 30 days is made anew, so that it does not drift
# far behind the archive.
if [ ! -f "$base/.complete" ] || [ -z "$(find "$base/.complete" -mtime -30)" ]; then
    echo "Bootstrapping Debian 13 (trixie, $arch) from $mirror into $base"
    rm -rf --one-file-system "$base"
    if ! debootstrap --variant=minbase --arch="$arch" --cache-dir="$cache/debootstrap-debs" \
        trixie "$base" "$mirror" >"$cache/debootstrap.log" 2>&1; then
        tail -n 5 "$cache/debootstrap.log"
        rm -rf --one-file-system "$base"
        skip "debootstrap could not make a trixie system (log: $cache/debootstrap.log)"
    fi
    # No service starts inside the tree.
    printf '#!/bin/sh\nexit 101\n' >"$base/usr/sbin/policy-rc.d"
    chmod 755 "$base/usr/sbin/policy-rc.d"
    touch "$base/.complete"
    echo "Bootstrapped in $((SECONDS - start)) s"
fi

root=$(mktemp -d /var/tmp/tovik-debian13.XXXXXX)
mounts=()
cleanup() {
    local status=$? i
    set +e # every step below must run
    # Stopped by a signal while the tests run: end them first, they hold the mounts.
    if [ -n "${inside:-}" ] && kill -0 "$inside" 2>/dev/null; then
        kill -TERM -- "-$inside" 2>/dev/null
        wait "$inside" 2>/dev/null
    fi
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" ||
            echo "could not unmount ${mounts[i]}"
    done
    # Never delete through a mount that is still there.
    if findmnt -rn -o TARGET | grep -qF "$root/"; then
        echo "left $root: something is still mounted below it"
    else
        rm -rf --one-file-system "$root"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
attach() { # mount options... TARGET
    mount "$@"
    mounts+=("${!#}")
}

cp -a "$base/." "$root/"
cp -L /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
attach -t proc proc "$root/proc"
attach -t sysfs sysfs "$root/sys"
attach --bind /dev "$root/dev"
attach --bind /dev/pts "$root/dev/pts"
attach --bind "$cache/apt-archives" "$root/var/cache/apt/archives"

head=$(git -C "$src" rev-parse HEAD)
[ -z "$(git -C "$src" status --porcelain --untracked-files=no)" ] ||
    echo "Note: uncommitted changes in $src are not tested; the commit $head is"
git clone -q --no-checkout "$src" "$root/root/tovik"
git -C "$root/root/tovik" checkout -q --detach "$head"
echo "Testing the commit ${head:0:12} in Debian 13 ($((SECONDS - start)) s so far)"

# A clean environment: the machine's variables (compiler launchers, paths)
# mean nothing inside. In its own process group, so that a signal to this
# script can stop everything inside; `wait` lets the traps run at once.
setsid chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c '
    set -u
    cd /root/tovik
    step() { local t=$SECONDS; "$@"; local s=$?; echo "== $* : exit $s, $((SECONDS - t)) s"; return $s; }
    step ./tovik.sh test; qt5=$?
    step ./tovik.sh test --qt6; qt6=$?
    echo "== Debian $(cat /etc/debian_version):" \
        $(dpkg-query -W -f="\${Package} \${Version}\n" g++ cmake qtbase5-dev qt6-base-dev appstream lintian |
          tr "\n" ";" | sed "s/;\$//; s/;/, /g")
    echo "== $(g++ --version | head -n 1); $(cmake --version | head -n 1)"
    [ $qt5 -eq 0 ] && [ $qt6 -eq 0 ]' &
inside=$!
status=0
wait "$inside" || status=$?
inside=
if [ $status -ne 0 ]; then
    echo "FAIL: the Debian 13 tests, after $((SECONDS - start)) s"
    exit 1
fi
echo "The Debian 13 tests passed in $((SECONDS - start)) s"
