#!/usr/bin/env bash
# Starts the real program under Xvfb in English and in Japanese, waits for
# both windows and saves a screenshot of each into the given folder; then
# saves the pictures of the exports made without a window.
set -euo pipefail
bin=$(readlink -f "$1")
out=$2
mkdir -p "$out"
# No remembered language, View options or window places: every picture
# shows the first start.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

window_id() { # title
    { xwininfo -root -tree 2>/dev/null | grep -F "\"$1\"" | awk '{print $1}' | head -n 1; } || true
}

shoot() { # language-flag suffix main-title chiR-title
    local flag=$1 suffix=$2 titleK=$3 titleR=$4
    local display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1700x720x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    # The chi(R) window is shown first, so -geometry places it beside the
    # main window instead of on top of it (there is no window manager).
    DISPLAY=$display "$bin" "$flag" -geometry 800x600+840+0 >/dev/null 2>&1 &
    local app=$!
    local k="" r=""
    for _ in $(seq 1 100); do
        k=$(DISPLAY=$display window_id "$titleK")
        r=$(DISPLAY=$display window_id "$titleR")
        [ -n "$k" ] && [ -n "$r" ] && break
        sleep 0.1
    done
    sleep 1
    if [ -z "$k" ] || [ -z "$r" ]; then
        echo "windows did not appear ($suffix)" >&2
        kill "$app" "$xvfb" 2>/dev/null || true
        return 1
    fi
    DISPLAY=$display import -window "$k" "$out/chik-$suffix.png"
    DISPLAY=$display import -window "$r" "$out/chir-$suffix.png"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    echo "saved $out/chik-$suffix.png $out/chir-$suffix.png"
}

shoot -e en "chi(k)" "Chi(R)"
shoot -j ja "χ(k)" "Χ(R)"

# A lesson: File > Lessons open, then the lesson's notes beside both plots
# (placed side by side by the program itself at its first start).
shoot_lesson() {
    local display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 2040x640x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    DISPLAY=$display "$bin" -e --lesson 07-resolution >/dev/null 2>&1 &
    local app=$!
    local notes=""
    for _ in $(seq 1 100); do
        notes=$(DISPLAY=$display window_id "Notes")
        [ -n "$notes" ] && break
        sleep 0.1
    done
    sleep 1
    if [ -z "$notes" ]; then
        echo "the Notes window did not appear" >&2
        kill "$app" "$xvfb" 2>/dev/null || true
        return 1
    fi
    DISPLAY=$display import -window root -crop 2020x600+0+0 "$out/lesson-notes.png"
    # The File menu of chi(k), at the top left, and its Lessons submenu.
    DISPLAY=$display xdotool mousemove 20 10 click 1
    sleep 0.5
    DISPLAY=$display xdotool key l
    sleep 0.5
    DISPLAY=$display import -window root -crop 800x600+0+0 "$out/lessons-menu.png"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    echo "saved $out/lesson-notes.png $out/lessons-menu.png"
}
shoot_lesson

# Pictures made without a window, by the program's own export.
export_pictures() { # scenario-or-empty prefix
    local tmp
    tmp=$(mktemp -d)
    if [ -n "$1" ]; then
        "$bin" -e --scenario "$1" --export "$tmp" >/dev/null
    else
        "$bin" -e --export "$tmp" >/dev/null
    fi
    cp "$tmp/chik.png" "$out/$2-chik.png"
    cp "$tmp/chir.png" "$out/$2-chir.png"
    rm -rf "$tmp"
    echo "saved $out/$2-chik.png $out/$2-chir.png"
}

here=$(dirname "$(readlink -f "$0")")
export_pictures "" export
export_pictures "$here/../examples/axes-legend-physical.tovik.json" physical
# The resolution lesson: two shells 0.4 Å apart through a wide and a narrow window.
export_pictures "$here/../examples/iron-wide-window.tovik.json" resolution-wide
export_pictures "$here/../examples/iron-narrow-window.tovik.json" resolution-narrow
export_pictures "$here/../examples/compare-two-shells.tovik.json" compare
# The linear phase P1 moves the chi(R) peak to R + P1/2.
export_pictures "$here/../examples/linear-phase.tovik.json" linear-phase
# Lesson 13: copper at 10 K with its first shell filtered back to q.
export_pictures "$here/../lessons/13-fourier-filtering.tovik.json" filter-copper
# Lesson 09: chi(k) and chi(R) of the 10 K copper mu(E), with the lesson's
# Rbkg of 1.0 Å and with 0.5 and 1.5 Å.
export_pictures "$here/../lessons/09-mu-to-chi.tovik.json" mu-rbkg-1.0
export_pictures "$here/../examples/copper-mu-rbkg-0.5.tovik.json" mu-rbkg-0.5
export_pictures "$here/../examples/copper-mu-rbkg-1.5.tovik.json" mu-rbkg-1.5
# Lesson 12: sigma² against T of the copper series fitted with the Einstein model.
series_tmp=$(mktemp -d)
"$bin" -e --scenario "$here/../lessons/12-temperature-series.tovik.json" --export "$series_tmp" >/dev/null
cp "$series_tmp/sigma2.png" "$out/sigma2-copper.png"
rm -rf "$series_tmp"
echo "saved $out/sigma2-copper.png"
