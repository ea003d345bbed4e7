#!/usr/bin/env bash
# Opens the help file in a real help viewer (Wine's winhlp32), as Help > Contents does,
# and checks that a user can read and navigate it:
#   1. the viewer's window appears and its title shows the help title;
#   2. the contents topic is shown, with jumps (green, underlined text) in it
#      (screenshot <shots>/help-contents.png);
#   3. clicking the first jump shows another topic: the viewer's text changes and so does
#      the picture of the topic area (screenshot <shots>/help-jump.png);
#   4. the viewer's Back button brings the contents topic back: the same text and the same
#      picture of the topic area (screenshot <shots>/help-back.png);
#   5. the viewer's Index button opens the Index: a list of the help file's keywords, in
#      alphabetical order whatever their capitals, holding the terms a user looks for
#      (index_terms below) (screenshot <shots>/help-index.png);
#   6. double-clicking a term there shows its topic: the one that the index of the HTML twin
#      (tarvesk.html beside the help file) names for the term, or, without the twin, a topic
#      that speaks of the term (screenshot <shots>/help-index-topic.png).
#
# Usage: help_viewer_test.sh <path/to/tarvesk.hlp> <screenshots-dir> [help-title]
#   help-title defaults to "Tarvesk Help".
# Environment:
#   DISPLAY     used as is when set; otherwise a private Xvfb display is started
#   WINEPREFIX  used as is when set (a Wine virtual desktop is fine); otherwise a private
#               prefix is made, once, in the build folder (the help file's folder's parent)
# The window, its text and its buttons are read from inside Wine by help_window_probe.exe,
# built here from help_window_probe.cpp with MinGW-w64 (kept in the build folder).
# Exit status 0 when every check passes, 1 otherwise, with the reason.
set -euo pipefail

readonly link_colour='#008000' # how the viewer draws jump hotspots
readonly viewer_class='MS_WINHELP'
readonly index_class='#32770' # the viewer's Index is a dialog
# Terms the Index must list; the first is the one double-clicked.
readonly index_terms=("alarm level" "tray" "automatic start" "optimize" "shut down" "settings" "system requirements")

fail() { echo "help_viewer_test: FAIL: $*" >&2; exit 1; }
note() { echo "help_viewer_test: $*"; }

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 <tarvesk.hlp> <screenshots-dir> [help-title]" >&2
    exit 1
fi
hlp=$1
shots=$2
title=${3:-Tarvesk Help}
here="$(cd "$(dirname "$0")" && pwd)"

for tool in wine wineboot wineserver winepath Xvfb xdotool import compare convert; do
    command -v "$tool" >/dev/null || fail "'$tool' is not installed"
done
[ -f "$hlp" ] || fail "no help file at $hlp"
hlp="$(cd "$(dirname "$hlp")" && pwd)/$(basename "$hlp")"
mkdir -p "$shots"
shots="$(cd "$shots" && pwd)"
build_dir="$(dirname "$(dirname "$hlp")")"

xvfb_pid=""
own_prefix=0
viewer_pid=""
window=""
cleanup() {
    if [ "$own_prefix" = 1 ]; then
        wineserver -k 2>/dev/null || true
    elif [ -n "$viewer_pid" ]; then
        if [ -n "$window" ]; then probe close "$window" >/dev/null 2>&1 || true; fi
        sleep 1
        kill "$viewer_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

# --- the probe --------------------------------------------------------------
probe_exe="$build_dir/help_window_probe.exe"
if [ ! -f "$probe_exe" ] || [ "$here/help_window_probe.cpp" -nt "$probe_exe" ]; then
    compiler=""
    for c in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++; do
        if command -v "$c" >/dev/null; then compiler=$c; break; fi
    done
    [ -n "$compiler" ] || fail "no MinGW-w64 C++ compiler to build help_window_probe.exe"
    "$compiler" -std=c++20 -O2 -Wall -Wextra -Werror -static -o "$probe_exe.tmp" "$here/help_window_probe.cpp" ||
        fail "could not build help_window_probe.exe"
    mv "$probe_exe.tmp" "$probe_exe"
fi
probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }

# --- display ----------------------------------------------------------------
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 91 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            break
        fi
        xvfb_pid=""
    done
    [ -n "${DISPLAY:-}" ] || fail "could not start a private Xvfb display"
    note "started Xvfb on $DISPLAY"
fi
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "cannot reach the X display $DISPLAY"

# --- Wine prefix ------------------------------------------------------------
export WINEDEBUG=-all
if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$build_dir/wine-help-viewer"
    own_prefix=1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        note "creating Wine prefix $WINEPREFIX"
        # No Mono or Gecko prompts: the help viewer needs neither.
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || fail "wineboot could not create $WINEPREFIX"
        wineserver -w
    fi
fi

# --- helpers ----------------------------------------------------------------
# Windows screen coordinates start at the top left of the Wine virtual desktop's X window
# when there is one, else at the top left of the X screen.
screen_x=0
screen_y=0
desktop_origin() {
    local d
    d="$(xdotool search --onlyvisible --name 'Wine desktop' 2>/dev/null | head -n1 || true)"
    [ -n "$d" ] || return 0
    eval "$(xdotool getwindowgeometry --shell "$d" | grep -E '^(X|Y)=')"
    screen_x=$X
    screen_y=$Y
}

differing_pixels() { # <a.png> <b.png>
    compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}' || true
}

# A screenshot of the whole X screen, taken once the picture has stopped changing.
settled_shot() { # <out.png>
    local out=$1 tmp
    tmp="$(mktemp --suffix=.png)"
    import -window root "$out"
    for _ in $(seq 40); do
        sleep 0.5
        import -window root "$tmp"
        if [ "$(differing_pixels "$out" "$tmp")" = 0 ]; then
            rm -f "$tmp"
            return 0
        fi
        mv "$tmp" "$out"
    done
    rm -f "$tmp"
    fail "the screen did not settle for $out"
}

topic_text() { probe text "$window" | sed 's/^text //'; }

# Waits until the viewer's text differs from (or, with "same", equals) the given text.
wait_for_text() { # <text> changed|same
    local now
    for _ in $(seq 60); do
        now="$(topic_text)"
        if [ "$2" = changed ] && [ -n "$now" ] && [ "$now" != "$1" ]; then return 0; fi
        if [ "$2" = same ] && [ "$now" = "$1" ]; then return 0; fi
        sleep 0.5
    done
    return 1
}

# The topic area: the window below its button bar, as "width height x y" on the X screen.
topic_area=""
crop_topic_area() { # <shot.png> <out.png>
    read -r w h x y <<<"$topic_area"
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

topic_area_difference() { # <a.png> <b.png>
    local a b
    a="$(mktemp --suffix=.png)"
    b="$(mktemp --suffix=.png)"
    crop_topic_area "$1" "$a"
    crop_topic_area "$2" "$b"
    differing_pixels "$a" "$b"
    rm -f "$a" "$b"
}

# --- 1. the viewer's window ---------------------------------------------------
win_path="$(winepath -w "$hlp" 2>/dev/null)"
note "opening $win_path"
wine winhlp32 "$win_path" >/dev/null 2>&1 &
viewer_pid=$!

line=""
for _ in $(seq 240); do # a first start in a new prefix can be slow on a busy machine
    line="$(probe windows | grep -m1 "^window [0-9]* -*[0-9]* -*[0-9]* -*[0-9]* -*[0-9]* $viewer_class|" || true)"
    [ -n "$line" ] && break
    sleep 0.5
done
[ -n "$line" ] || fail "no help viewer window ($viewer_class) appeared"
read -r _ window left top right bottom _ <<<"$line"
window_title="${line#*"$viewer_class|"}"
case "$window_title" in
    *"$title"*) note "viewer window title: $window_title" ;;
    *) fail "the viewer's title '$window_title' does not show the help title '$title'" ;;
esac

# --- 2. the contents topic ----------------------------------------------------
contents_text=""
for _ in $(seq 60); do
    contents_text="$(topic_text)"
    [ -n "$contents_text" ] && break
    sleep 0.5
done
[ -n "$contents_text" ] || fail "the viewer shows no text"
note "contents topic shown: $(head -n1 <<<"$contents_text")"

desktop_origin
bar_bottom="$(probe buttons "$window" | awk 'BEGIN { b = 0 } { if ($5 > b) b = $5 } END { print b }')"
[ "$bar_bottom" -gt 0 ] || bar_bottom=$top
topic_area="$((right - left)) $((bottom - bar_bottom)) $((screen_x + left)) $((screen_y + bar_bottom))"

xdotool mousemove $((screen_x + right + 5)) $((screen_y + bottom + 5)) # keep the pointer out of the pictures
contents_png="$shots/help-contents.png"
settled_shot "$contents_png"
area="$(mktemp --suffix=.png)"
crop_topic_area "$contents_png" "$area"
read -r _ _ area_x area_y <<<"$topic_area"
link="$(convert "$area" txt:- | grep -i -m1 "$link_colour" | sed -E 's/^([0-9]+),([0-9]+):.*/\1 \2/' || true)"
rm -f "$area"
[ -n "$link" ] || fail "the contents topic shows no jump (no $link_colour text): see $contents_png"
read -r link_x link_y <<<"$link"
link_x=$((area_x + link_x))
link_y=$((area_y + link_y))

# --- 3. follow the first jump -------------------------------------------------
xdotool mousemove "$link_x" "$link_y" click 1
xdotool mousemove $((screen_x + right + 5)) $((screen_y + bottom + 5))
wait_for_text "$contents_text" changed || fail "clicking the jump at $link_x,$link_y did not show another topic"
jump_png="$shots/help-jump.png"
settled_shot "$jump_png"
changed="$(topic_area_difference "$contents_png" "$jump_png")"
[ "${changed:-0}" -gt 0 ] || fail "the viewer's text changed but its picture did not: see $jump_png"
note "the jump shows another topic: $(topic_text | head -n1)"

# --- 4. Back brings the contents back -----------------------------------------
back="$(probe buttons "$window" | awk '$6 == "&Back" { print int(($2 + $4) / 2), int(($3 + $5) / 2); exit }')"
[ -n "$back" ] || fail "the viewer has no Back button"
read -r back_x back_y <<<"$back"
xdotool mousemove $((screen_x + back_x)) $((screen_y + back_y)) click 1
xdotool mousemove $((screen_x + right + 5)) $((screen_y + bottom + 5))
wait_for_text "$contents_text" same || fail "Back did not bring the contents topic back"
back_png="$shots/help-back.png"
settled_shot "$back_png"
left_over="$(topic_area_difference "$contents_png" "$back_png")"
[ "${left_over:-1}" -eq 0 ] || fail "after Back the contents topic looks different ($left_over pixels): see $back_png"
note "Back brings the contents topic back"

# --- 5. the Index -------------------------------------------------------------
index_button="$(probe buttons "$window" | awk '$6 == "&Index" || $6 == "Index" { print int(($2 + $4) / 2), int(($3 + $5) / 2); exit }')"
[ -n "$index_button" ] || fail "the viewer has no Index button"
read -r index_x index_y <<<"$index_button"
xdotool mousemove $((screen_x + index_x)) $((screen_y + index_y)) click 1
xdotool mousemove $((screen_x + right + 5)) $((screen_y + bottom + 5))
index_window=""
for _ in $(seq 60); do
    index_window="$(probe windows | awk -v c="$index_class" 'index($7, c "|") == 1 { print $2; exit }')"
    [ -n "$index_window" ] && break
    sleep 0.5
done
[ -n "$index_window" ] || fail "the Index button opened no Index (the help file may have no keywords)"
items=""
for _ in $(seq 20); do
    items="$(probe list "$index_window")"
    [ -n "$items" ] && break
    sleep 0.5
done
[ -n "$items" ] || fail "the Index lists no terms"
terms="$(sed -E 's/^item [0-9]+ -?[0-9]+ -?[0-9]+ //' <<<"$items")"
note "the Index lists $(wc -l <<<"$terms") terms"
grep -qx '' <<<"$terms" && fail "the Index has a term whose text cannot be read"
for term in "${index_terms[@]}"; do
    grep -qixF -- "$term" <<<"$terms" || fail "the Index does not list '$term'"
done
awk '{ print tolower($0) }' <<<"$terms" | LC_ALL=C sort -c 2>/dev/null ||
    fail "the Index is not in alphabetical order: $(tr '\n' '|' <<<"$terms")"
index_png="$shots/help-index.png"
settled_shot "$index_png"
note "the Index lists ${index_terms[*]}"

# --- 6. a term of the Index leads to its topic ---------------------------------
chosen=${index_terms[0]}
place="$(awk -v t="$chosen" '{ line = $0; sub(/^item [0-9]+ -?[0-9]+ -?[0-9]+ /, "", line) } tolower(line) == tolower(t) { print $3, $4; exit }' <<<"$items")"
read -r term_x term_y <<<"$place"
[ "${term_x:--1}" -ge 0 ] || fail "'$chosen' is not in view in the Index list"
xdotool mousemove $((screen_x + term_x)) $((screen_y + term_y)) click --repeat 2 --delay 80 1
xdotool mousemove $((screen_x + right + 5)) $((screen_y + bottom + 5))
for _ in $(seq 60); do
    probe windows | grep -q "^window $index_window " || break
    sleep 0.5
done
probe windows | grep -q "^window $index_window " && fail "double-clicking '$chosen' did not close the Index"
wait_for_text "$contents_text" changed || fail "double-clicking '$chosen' in the Index showed no other topic"
shown="$(topic_text | head -n1)"
twin="${hlp%.*}.html"
if [ -f "$twin" ]; then
    # The web page's index has "<li>term: <a href="#name">Title</a></li>" for a term of one topic.
    expected="$(grep -iF -- "<li>$chosen: <a " "$twin" | sed -E 's/.*">([^<]*)<\/a><\/li>$/\1/' | head -n1)"
    [ -n "$expected" ] || fail "the index of $twin has no single topic for '$chosen'"
    [ "$shown" = "$expected" ] || fail "'$chosen' leads to the topic '$shown', not to '$expected'"
else
    note "no $twin: checking only that the topic speaks of '$chosen'"
    topic_text | grep -qiF -- "$chosen" || fail "the topic that '$chosen' leads to does not speak of it: $shown"
fi
settled_shot "$shots/help-index-topic.png"
note "'$chosen' leads to the topic $shown"

note "PASS: the help file opens in the viewer, its jumps work and its Index leads to topics; screenshots in $shots"
