# Wine environment for running the Windows builds: a private prefix, a virtual X display
# and a Wine virtual desktop with a taskbar, so the notification area shows in screenshots.
#
# Source this file, then:
#   tarvesk_wine_env <workdir>     exports WINEPREFIX=<workdir>/wineprefix, DISPLAY, ...
#   tarvesk_screenshot <file.png>  grabs the whole X display
#   tarvesk_wine_stop              ends the prefix's wineserver and the Xvfb started here
#   tarvesk_host_runs_32bit        true when this host can run 32-bit programs
#   tarvesk_no_32bit_reason        why it can't, in a few words, for a "skipped" line
#   tarvesk_enter_simulated_host <script> "$@"
#                                  with TARVESK_SIMULATE_NO_32BIT=1, runs the calling script
#                                  (its full path) again on a simulated host without
#                                  32-bit execution
# Every function is idempotent and quiet; a second call costs almost nothing.
#
# "wine" is scripts/lib/wine-loader/wine here (tarvesk_wine_env puts that folder first on
# PATH, for ctest's emulator too): a 64-bit program starts through Wine's 64-bit loader
# directly, anything else through Debian's launcher.
#
# Hosts differ: some kernels cannot run 32-bit programs at all ("Exec format error"). There
# Debian's wine launcher, which always picks the 32-bit loader once wine32 is installed,
# fails for every program, so every program starts through the 64-bit loader
# (TARVESK_WINE_64BIT_ONLY=1). What needs 32-bit execution (the x86 builds, the NSIS
# installers, whose stub is 32-bit) is skipped there, never counted as passed.
# TARVESK_SIMULATE_NO_32BIT=1 makes a host that can run them act as one that can't; only
# the tests set it, to check the scripts on both kinds of host.

TARVESK_DESKTOP_SIZE=${TARVESK_DESKTOP_SIZE:-1024x768}
TARVESK_WINE_LOADER_BIN="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-loader"
TARVESK_WINE32_LOADER=/usr/lib/wine/wine

tarvesk_host_runs_32bit() {
    [ "${TARVESK_SIMULATE_NO_32BIT:-0}" = 1 ] && return 1
    if [ -z "${_TARVESK_RUNS_32BIT:-}" ]; then
        # The 32-bit loader is itself a 32-bit program.
        if "$TARVESK_WINE32_LOADER" --version >/dev/null 2>&1; then
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

# The simulated host: the calling script runs again in a mount namespace of its own where
# the 32-bit Wine loader is a file that is no program, so whatever still tries 32-bit
# execution fails there ("Exec format error") as on a real host of that kind, instead of
# quietly working. Needs root and unshare; without them only the scripts' decisions are
# simulated, and a note says so. Returns at once without TARVESK_SIMULATE_NO_32BIT=1 and
# inside the namespace; otherwise it does not return, it ends the script with its status.
tarvesk_enter_simulated_host() {
    [ "${TARVESK_SIMULATE_NO_32BIT:-0}" = 1 ] || return 0
    [ -z "${_TARVESK_SIMULATED_HOST:-}" ] || return 0
    if [ "$(id -u)" != 0 ] || ! command -v unshare >/dev/null || [ ! -e "$TARVESK_WINE32_LOADER" ] ||
        ! unshare --mount true 2>/dev/null; then
        echo "wine_env: the 32-bit loader stays usable (needs root and unshare); only the scripts act as on a host without 32-bit execution" >&2
        return 0
    fi
    local stand_in status
    stand_in=$(mktemp /tmp/tarvesk-no-32bit-loader.XXXXXX)
    # The start of a 32-bit ELF program and nothing after it: the kernel refuses it.
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$stand_in"
    chmod 755 "$stand_in"
    _TARVESK_SIMULATED_HOST=1 unshare --mount --propagation private \
        sh -c 'mount --bind "$0" "$1" && shift && exec "$@"' "$stand_in" "$TARVESK_WINE32_LOADER" bash "$@"
    status=$?
    rm -f "$stand_in"
    exit "$status"
}

# "wine" is this project's loader choice, everywhere; on a host without 32-bit execution
# everything starts through the 64-bit loader. Idempotent.
_tarvesk_choose_loader() {
    case ":$PATH:" in
        *":$TARVESK_WINE_LOADER_BIN:"*) ;;
        *) export PATH="$TARVESK_WINE_LOADER_BIN:$PATH" ;;
    esac
    if tarvesk_host_runs_32bit; then
        unset TARVESK_WINE_64BIT_ONLY
    else
        export TARVESK_WINE_64BIT_ONLY=1
    fi
}

# The display of the Xvfb started for this folder by an earlier shell, when it still runs
# (its lock file names its process): a second call, from any shell, starts no other one.
_tarvesk_running_xvfb() {
    local workdir=$1 pid n
    pid=$(cat "$workdir/xvfb.pid" 2>/dev/null) || return 1
    n=$(head -n1 "$workdir/xvfb.display" 2>/dev/null) || return 1
    [ -n "$pid" ] && [ -n "$n" ] || return 1
    [ "$(tr -d ' ' 2>/dev/null <"/tmp/.X$n-lock")" = "$pid" ] || return 1
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 1
    echo "$n"
}

# Starts Xvfb on a free display (Xvfb picks the number itself) unless DISPLAY is set or
# this folder's Xvfb still runs.
_tarvesk_start_xvfb() {
    local workdir=$1 running
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    if running=$(_tarvesk_running_xvfb "$workdir"); then
        export DISPLAY=":$running"
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

# The prefix's own settings:
# - the virtual desktop "Default": Wine 8's explorer gives a virtual desktop its taskbar,
#   with the notification area at its right end, whenever the taskbar has a button or an
#   icon;
# - the Windows version Wine reports to programs: Windows 10, whatever this Wine release's
#   own default (Wine 8 says Windows 7), so the programs take the paths that users of
#   Windows Vista to 11 take. A test that needs another version sets it for one program
#   (HKCU\Software\Wine\AppDefaults\<name>.exe, value Version).
TARVESK_WINDOWS_VERSION=win10
_tarvesk_configure_prefix() {
    local reg="$WINEPREFIX/tarvesk-prefix.reg"
    local size=$TARVESK_DESKTOP_SIZE
    local mark="$WINEPREFIX/.tarvesk-prefix" settings="$size $TARVESK_WINDOWS_VERSION"
    if [ -f "$mark" ] && [ "$(cat "$mark")" = "$settings" ]; then
        return 0
    fi
    cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine]
"Version"="$TARVESK_WINDOWS_VERSION"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="$size"
REG
    wine regedit /S "$reg" >/dev/null 2>&1 && wineserver -w &&
        echo "$settings" >"$mark"
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
    # What still runs in the prefix (its desktop among them) belongs to the display it
    # started on, and fails on another: it ends first.
    local display_mark="$WINEPREFIX/.tarvesk-display"
    if [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$display_mark" 2>/dev/null)" != "$DISPLAY" ]; then
        wineserver -k >/dev/null 2>&1
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    echo "$DISPLAY" >"$display_mark"
    _tarvesk_install_fonts
    _tarvesk_configure_prefix
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
