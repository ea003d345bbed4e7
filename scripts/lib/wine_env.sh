# Wine environment for running the Windows builds: a private prefix, a virtual X display
# and a Wine virtual desktop with a taskbar, so the notification area shows in screenshots.
#
# Source this file, then:
#   tarvesk_wine_env <workdir>     exports WINEPREFIX=<workdir>/wineprefix, DISPLAY, ...
#   tarvesk_screenshot <file.png>  grabs the whole X display
#   tarvesk_wine_stop              ends the prefix's wineserver and the Xvfb started here
#   tarvesk_host_runs_32bit        true when this host can run 32-bit programs
#   tarvesk_no_32bit_reason        why it can't, in a few words, for a "skipped" line
# Every function is idempotent and quiet; a second call costs almost nothing.
#
# Hosts differ: some kernels cannot run 32-bit programs at all ("Exec format error"). There
# Debian's wine launcher, which always picks the 32-bit loader once wine32 is installed,
# fails for every program, so tarvesk_wine_env puts scripts/lib/wine64 first on PATH: its
# "wine" starts the 64-bit loader directly. What needs 32-bit execution (the x86 builds,
# the NSIS installers, whose stub is 32-bit) is skipped there, never counted as passed.
# TARVESK_SIMULATE_NO_32BIT=1 makes a host that can run them act as one that can't; only
# the tests set it, to check the scripts on both kinds of host.

TARVESK_DESKTOP_SIZE=${TARVESK_DESKTOP_SIZE:-1024x768}
TARVESK_WINE64_BIN="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64"

tarvesk_host_runs_32bit() {
    [ "${TARVESK_SIMULATE_NO_32BIT:-0}" = 1 ] && return 1
    if [ -z "${_TARVESK_RUNS_32BIT:-}" ]; then
        if /usr/lib/wine/wine --version >/dev/null 2>&1; then
            _TARVESK_RUNS_32BIT=yes
        else
            _TARVESK_RUNS_32BIT=no
        fi
    fi
    [ "$_TARVESK_RUNS_32BIT" = yes ]
}

tarvesk_no_32bit_reason() {
    if [ "${TARVESK_SIMULATE_NO_32BIT:-0}" = 1 ]; then
        echo "no 32-bit execution on this host (simulated: TARVESK_SIMULATE_NO_32BIT=1)"
    else
        echo "this host cannot run 32-bit programs (the 32-bit Wine loader fails)"
    fi
}

# On a host without 32-bit execution, "wine" (and everything that goes through it) is the
# 64-bit loader. Idempotent.
_tarvesk_choose_loader() {
    if tarvesk_host_runs_32bit; then
        return 0
    fi
    case ":$PATH:" in
        *":$TARVESK_WINE64_BIN:"*) ;;
        *) export PATH="$TARVESK_WINE64_BIN:$PATH" ;;
    esac
}

# Starts Xvfb on a free display (Xvfb picks the number itself) unless DISPLAY is set.
_tarvesk_start_xvfb() {
    local workdir=$1
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local fifo="$workdir/xvfb.display"
    rm -f "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac 3>"$fifo" \
        >/dev/null 2>&1 &
    TARVESK_XVFB_PID=$!
    local i n=""
    for i in $(seq 1 100); do
        n=$(head -n1 "$fifo" 2>/dev/null)
        [ -n "$n" ] && break
        sleep 0.1
    done
    if [ -z "$n" ]; then
        echo "wine_env: Xvfb did not start" >&2
        kill "$TARVESK_XVFB_PID" 2>/dev/null
        unset TARVESK_XVFB_PID
        return 1
    fi
    export DISPLAY=":$n"
    # Not exported: a script run from this shell must never stop this Xvfb.
    echo "$TARVESK_XVFB_PID" >"$workdir/xvfb.pid"
}

# The virtual desktop "Default" with Wine's shell: a taskbar with a button for each window
# and the notification area at its right end. (Without EnableShell, which Wine turns on by
# default only for a desktop named "shell", there is no taskbar and no window gets a button;
# the notification area is then a small window of its own.)
_tarvesk_configure_desktop() {
    local reg="$WINEPREFIX/tarvesk-desktop.reg"
    local size=$TARVESK_DESKTOP_SIZE
    if [ -f "$WINEPREFIX/.tarvesk-desktop" ] && [ "$(cat "$WINEPREFIX/.tarvesk-desktop")" = "$size shell" ]; then
        return 0
    fi
    cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="$size"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops\\Default]
"EnableShell"=dword:00000001
REG
    wine regedit /S "$reg" >/dev/null 2>&1 && wineserver -w &&
        echo "$size shell" >"$WINEPREFIX/.tarvesk-desktop"
}

# Wine's own fonts (MS Sans Serif, Tahoma, ...) in the prefix's Fonts folder, so that
# windows are drawn with the fonts their layout was designed with rather than a
# wider substitute.
_tarvesk_install_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] || return 0
    for font in /usr/share/wine/fonts/*; do
        [ -e "$fonts/$(basename "$font")" ] || cp "$font" "$fonts/"
    done
}

tarvesk_wine_env() {
    local workdir=${1:?usage: tarvesk_wine_env <workdir>}
    mkdir -p "$workdir"
    workdir=$(cd "$workdir" && pwd)
    _tarvesk_choose_loader
    # A prefix made by the 64-bit loader alone is kept apart from one made with both.
    if tarvesk_host_runs_32bit; then
        export WINEPREFIX="$workdir/wineprefix"
    else
        export WINEPREFIX="$workdir/wineprefix-64only"
    fi
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    _tarvesk_start_xvfb "$workdir" || return 1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    _tarvesk_install_fonts
    _tarvesk_configure_desktop
}

tarvesk_screenshot() {
    local file=${1:?usage: tarvesk_screenshot <file.png>}
    mkdir -p "$(dirname "$file")"
    import -display "$DISPLAY" -window root "$file" 2>/dev/null
}

tarvesk_wine_stop() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1
    fi
    if [ -n "${TARVESK_XVFB_PID:-}" ]; then
        kill "$TARVESK_XVFB_PID" 2>/dev/null
        wait "$TARVESK_XVFB_PID" 2>/dev/null
        unset TARVESK_XVFB_PID
        unset DISPLAY
    fi
}
