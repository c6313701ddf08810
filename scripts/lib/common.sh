# shellcheck shell=bash
# Shared shell functions of the Zelmo3 scripts, sourced from bash. It sets the script's one EXIT trap.
#   zelmo_at_exit <command...>         run a command when the script exits (the last registered runs first)
#   zelmo_install_deps                 install the Debian packages of the build and tests that are missing
#   zelmo_wine_prefix <dir> [desktop [template]], zelmo_wine_stop
#                                      export a Wine environment whose prefix is <dir>, set up on first use; end
#                                      every process of the current prefix
#   zelmo_xvfb_start [--detached]      start a private Xvfb (1280x1024x24) and export its DISPLAY
#   zelmo_desktop_up <desktop> <state-dir> <keeper.exe> [template], zelmo_desktop_down <state-dir>
#                                      bring a desktop up in the background (its DISPLAY and WINEPREFIX then in
#                                      <state-dir>/env) and take it down again
[[ -z "${ZELMO_COMMON_SOURCED:-}" ]] || return 0
ZELMO_COMMON_SOURCED=1
ZELMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export ZELMO_ROOT

zelmo_log() { printf '[zelmo] %s\n' "$*" >&2; }
zelmo_warn() { printf '[zelmo] warning: %s\n' "$*" >&2; }
zelmo_error() { printf '[zelmo] error: %s\n' "$*" >&2; }

# --- Exit handlers: INT and TERM end the script through the EXIT trap, so a Ctrl-C cleans up too. -----------
ZELMO_EXIT_HANDLERS=()
zelmo_at_exit() {
    local quoted
    printf -v quoted '%q ' "$@"
    ZELMO_EXIT_HANDLERS+=("$quoted")
}
zelmo__exit() {
    local status=$? i
    trap - EXIT
    for ((i = ${#ZELMO_EXIT_HANDLERS[@]} - 1; i >= 0; i--)); do
        eval "${ZELMO_EXIT_HANDLERS[i]}" || true
    done
    exit "$status"
}
trap zelmo__exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# --- Debian packages: the host build, sanitizers and fuzzers, the cross build, the tests under Wine, the
# desktops, screenshots and the figures report. The one list, installed from here only. ----------------------
ZELMO_DEB_PACKAGES=(
    cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
    xvfb xauth x11-utils xdotool icewm imagemagick fonts-noto-cjk fonts-wine jq git python3 locales
)
zelmo__missing_packages() {
    local installed pkg
    installed="$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${ZELMO_DEB_PACKAGES[@]}" 2>/dev/null || true)"
    for pkg in "${ZELMO_DEB_PACKAGES[@]}"; do
        [[ $'\n'"$installed" == *$'\n'"$pkg ii"* ]] || printf '%s\n' "$pkg"
    done
}
zelmo_install_deps() {
    if ! command -v dpkg-query >/dev/null; then
        zelmo_warn "not a Debian system; make sure these are installed: ${ZELMO_DEB_PACKAGES[*]}"
        return 0
    fi
    local missing=() log
    mapfile -t missing < <(zelmo__missing_packages)
    ((${#missing[@]} > 0)) || return 0
    if [[ "$(id -u)" -ne 0 ]]; then
        zelmo_error "missing packages; install them as root: apt-get install --no-install-recommends ${missing[*]}"
        return 1
    fi
    zelmo_log "installing: ${missing[*]}"
    log="$(mktemp)"
    if ! { DEBIAN_FRONTEND=noninteractive apt-get update -q &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; } >"$log" 2>&1 ||
        [[ -n "$(zelmo__missing_packages)" ]]; then
        cat "$log" >&2
        rm -f "$log"
        zelmo_error "apt-get could not install: ${missing[*]}"
        return 1
    fi
    rm -f "$log"
    zelmo_log "packages installed"
}

# --- Wine prefixes. Every prefix of the project is made here, the same way: Wine's own set-up, Wine's Tahoma
# in the prefix (Wine here does not load it from /usr/share/wine/fonts, the prefix's Fonts folder it does read),
# the faces Wine draws the user interface with linked to Noto Sans CJK (without the links Japanese shows as
# boxes), then the desktop's own settings. A stamp records a finished set-up; change ZELMO_PREFIX_VERSION with
# the set-up, so that existing prefixes are made again.
ZELMO_PREFIX_VERSION="zelmo-prefix 3"
ZELMO_FONTLINK_KEY='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
ZELMO_FONTLINK_TARGET="NotoSansCJK-Regular.ttc,Noto Sans CJK JP"
# Wine's shell draws its menus with "MS Shell Dlg" (the prefix's WindowMetrics), the bare screen with Tahoma.
ZELMO_FONTLINK_FACES=("Tahoma" "Tahoma Bold" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI")

zelmo__wineserver_wait() { timeout "$1" wineserver -w || { wineserver -k || true; }; }

# Runs in the prefix's environment with no display, output to the set-up log.
zelmo__prefix_setup() {
    local desktop="$1" template="$2" face
    if [[ -n "$template" ]]; then
        # A copy of a set-up prefix takes about 3 s, a new one 10 s.
        rm -rf "$WINEPREFIX" && cp -a "$template" "$WINEPREFIX" && rm -f "$WINEPREFIX/.zelmo-stamp" || return 1
    else
        ls /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc || return 1 # package fonts-noto-cjk
        timeout 300 wineboot -i && zelmo__wineserver_wait 120 || return 1
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" || return 1
        cp /usr/share/wine/fonts/tahoma{,bd}.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
        for face in "${ZELMO_FONTLINK_FACES[@]}"; do
            wine reg add "$ZELMO_FONTLINK_KEY" /v "$face" /t REG_MULTI_SZ /d "$ZELMO_FONTLINK_TARGET" /f || return 1
        done
    fi
    case "$desktop" in
    '' | bare | icewm) ;;
    shell)
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d shell /f &&
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /t REG_SZ /d 1280x1024 /f || return 1
        ;;
    dpi144) wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f || return 1 ;;
    *) echo "no such desktop: $desktop (bare, shell, icewm, dpi144)"; return 1 ;;
    esac
    zelmo__wineserver_wait 60
    for face in "${ZELMO_FONTLINK_FACES[@]}"; do
        grep -qxF "\"$face\"=str(7):\"$ZELMO_FONTLINK_TARGET\\0\"" "$WINEPREFIX/system.reg" || {
            echo "the font link of \"$face\" is missing from $WINEPREFIX/system.reg"
            return 1
        }
    done
}

# With a template (a prefix folder, set up first when needed) the prefix starts as a copy of it.
zelmo_wine_prefix() {
    local desktop="${2:-}" template="${3:-}" stamp lock status=0
    mkdir -p "$(dirname "$1")"
    WINEPREFIX="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
    export WINEPREFIX
    export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    stamp="$ZELMO_PREFIX_VERSION${desktop:+ $desktop}"
    [[ "$(cat "$WINEPREFIX/.zelmo-stamp" 2>/dev/null)" != "$stamp" ]] || return 0
    if [[ -n "$template" ]]; then
        (zelmo_wine_prefix "$template") || return 1
    fi
    # One set-up at a time per prefix (two scripts started together on one build tree).
    exec {lock}>"$WINEPREFIX.lock"
    flock -w 600 "$lock" || status=1
    if ((status == 0)) && [[ "$(cat "$WINEPREFIX/.zelmo-stamp" 2>/dev/null)" != "$stamp" ]]; then
        zelmo_log "setting up the Wine prefix $WINEPREFIX${desktop:+ for the desktop $desktop}"
        if (unset DISPLAY && zelmo__prefix_setup "$desktop" "$template") >"$WINEPREFIX-setup.log" 2>&1; then
            printf '%s\n' "$stamp" >"$WINEPREFIX/.zelmo-stamp"
        else
            cat "$WINEPREFIX-setup.log" >&2
            zelmo_error "the set-up of the Wine prefix $WINEPREFIX failed"
            status=1
        fi
    fi
    exec {lock}>&-
    return "$status"
}

zelmo_wine_stop() {
    if [[ -d "${WINEPREFIX:-}" ]]; then
        wineserver -k 2>/dev/null || true
        timeout 10 wineserver -w 2>/dev/null || true # the programs go before the X server does
    fi
}

# --- X display: Xvfb picks a free display number itself and writes it to the descriptor given. In a session of
# its own, so that a Ctrl-C in the terminal does not end it before the programs on it. ----------------------
zelmo_xvfb_start() {
    local number tries
    number="$(mktemp)"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number" </dev/null >/dev/null 2>&1 &
    ZELMO_XVFB_PID=$!
    [[ "${1:-}" == --detached ]] || zelmo_at_exit zelmo__kill "$ZELMO_XVFB_PID"
    for ((tries = 0; tries < 300; tries++)); do
        if grep -qx '[0-9]\+' "$number"; then
            DISPLAY=":$(<"$number")"
            export DISPLAY
            rm -f "$number"
            return 0
        fi
        kill -0 "$ZELMO_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number"
    zelmo_error "could not start Xvfb"
    return 1
}

# zelmo__kill <pid>: ends a process we started, waiting up to 5 s before it is killed outright.
zelmo__kill() {
    local tries
    kill "$1" 2>/dev/null || return 0
    for ((tries = 0; tries < 50; tries++)); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$1" 2>/dev/null || true
}

# --- Desktops. Each has its own X screen and its own prefix (a copy of one set-up template), so that no desktop
# sees another one's windows, and runs in the background until zelmo_desktop_down:
#   bare    the X screen alone: no shell, no window manager, the work area is the whole screen
#   shell   Wine's own desktop shell, 1280x1024, with its taskbar along the bottom
#   icewm   the IceWM window manager with its taskbar along the top (the work area starts below it)
#   dpi144  the bare screen with the prefix at 144 DPI
# The keeper program (zelmo_desktop_keeper.exe) waits until the desktop is ready, prints "ready" and holds the
# Wine session open between the programs that run there. The template defaults to <state-dir>/../template.
zelmo_desktop_up() {
    local desktop="$1" dir keeper="$3" template="${4:-}" pid tries
    mkdir -p "$2"
    dir="$(cd "$2" && pwd)"
    zelmo_desktop_down "$dir"
    zelmo_wine_prefix "$dir/prefix" "$desktop" "${template:-$(dirname "$dir")/template}" || return 1
    zelmo_xvfb_start --detached || return 1
    echo "$ZELMO_XVFB_PID" >"$dir/xvfb.pid"
    if [[ "$desktop" == icewm ]]; then
        mkdir -p "$dir/icewm"
        echo 'TaskBarAtTop=1' >"$dir/icewm/preferences"
        ICEWM_PRIVCFG="$dir/icewm" setsid icewm </dev/null >"$dir/icewm.log" 2>&1 &
        echo "$!" >"$dir/icewm.pid"
    fi
    setsid wine "$keeper" "$desktop" </dev/null >"$dir/keeper.log" 2>&1 &
    pid=$!
    echo "$pid" >"$dir/keeper.pid"
    for ((tries = 0; tries < 600; tries++)); do
        if grep -qs '^ready' "$dir/keeper.log"; then
            printf 'export DISPLAY=%q WINEPREFIX=%q\n' "$DISPLAY" "$WINEPREFIX" >"$dir/env"
            zelmo_log "desktop $desktop on $DISPLAY: $(grep '^ready' "$dir/keeper.log")"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$dir/keeper.log" "$dir/icewm.log" >&2 2>/dev/null || true
    zelmo_error "desktop $desktop did not come up"
    zelmo_desktop_down "$dir"
    return 1
}

zelmo_desktop_down() {
    local dir="$1" name
    [[ -d "$dir" ]] || return 0
    rm -f "$dir/env"
    # Every Wine program of the desktop goes before its X server.
    [[ ! -d "$dir/prefix" ]] || WINEPREFIX="$dir/prefix" zelmo_wine_stop
    for name in keeper icewm xvfb; do
        if [[ -f "$dir/$name.pid" ]]; then
            zelmo__kill "$(cat "$dir/$name.pid")"
            rm -f "$dir/$name.pid"
        fi
    done
}
