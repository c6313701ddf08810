# shellcheck shell=bash
# Shared shell functions for the Zelmo3 scripts. Source it from bash:
#   . "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
#
#   zelmo_install_deps          install the Debian packages the build and tests need (only the missing ones)
#   zelmo_wine_env <build-dir>  export a Wine environment whose prefix lives in <build-dir>/wineprefix
#   zelmo_wine_prefix <dir>     export a Wine environment whose prefix is <dir> (set up on first use)
#   zelmo_xvfb_start [--private] [--detached]
#                               make sure DISPLAY points at a working X server (a private Xvfb if needed;
#                               --detached leaves it running when the script exits)
#   zelmo_desktop_up <desktop> <state-dir> <keeper.exe>, zelmo_desktop_down <state-dir>
#                               bring a test desktop (bare, shell, icewm, dpi144) up in the background and
#                               take it down again; <state-dir>/env then holds its DISPLAY and WINEPREFIX
#   zelmo_at_exit <command...>  run a command when the script exits (last registered runs first); scripts
#                               that source this file use it instead of a trap of their own on EXIT

# Guard against being sourced twice (the exit handlers would be registered twice).
if [[ -n "${ZELMO_COMMON_SOURCED:-}" ]]; then
    return 0
fi
ZELMO_COMMON_SOURCED=1

ZELMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export ZELMO_ROOT

zelmo_log() { printf '\033[1m[zelmo]\033[0m %s\n' "$*" >&2; }
zelmo_warn() { printf '\033[1;33m[zelmo] warning:\033[0m %s\n' "$*" >&2; }
zelmo_error() { printf '\033[1;31m[zelmo] error:\033[0m %s\n' "$*" >&2; }

# Colour only when writing to a terminal.
if [[ ! -t 2 ]]; then
    zelmo_log() { printf '[zelmo] %s\n' "$*" >&2; }
    zelmo_warn() { printf '[zelmo] warning: %s\n' "$*" >&2; }
    zelmo_error() { printf '[zelmo] error: %s\n' "$*" >&2; }
fi

# ---------------------------------------------------------------------------------------------------------------
# Exit handlers: one EXIT trap that runs every registered command, newest first. INT and TERM end the script
# through the EXIT trap, so a Ctrl-C cleans up too.
ZELMO_EXIT_HANDLERS=()

zelmo_at_exit() {
    local quoted
    printf -v quoted '%q ' "$@"
    ZELMO_EXIT_HANDLERS+=("$quoted")
}

zelmo__run_exit_handlers() {
    local status=$? i
    trap - EXIT
    for ((i = ${#ZELMO_EXIT_HANDLERS[@]} - 1; i >= 0; i--)); do
        eval "${ZELMO_EXIT_HANDLERS[i]}" || true
    done
    ZELMO_EXIT_HANDLERS=()
    exit "$status"
}

trap zelmo__run_exit_handlers EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ---------------------------------------------------------------------------------------------------------------
# Debian packages for the host build, the sanitizers and fuzzers, the cross build and the tests under Wine.
ZELMO_DEB_PACKAGES=(
    cmake ninja-build g++ icewm
    libgtest-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64
    xvfb xauth imagemagick xdotool x11-utils
    fonts-noto-cjk fonts-wine
)

# Prints the packages of the list that are not installed (one dpkg-query call for the whole list).
zelmo__missing_packages() {
    local installed pkg
    installed="$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${ZELMO_DEB_PACKAGES[@]}" 2>/dev/null || true)"
    for pkg in "${ZELMO_DEB_PACKAGES[@]}"; do
        if [[ $'\n'"$installed" != *$'\n'"$pkg ii"* ]]; then
            printf '%s\n' "$pkg"
        fi
    done
}

zelmo_install_deps() {
    if ! command -v dpkg-query >/dev/null 2>&1; then
        zelmo_warn "not a Debian system: cannot check packages; make sure these are installed: ${ZELMO_DEB_PACKAGES[*]}"
        return 0
    fi
    local missing=()
    mapfile -t missing < <(zelmo__missing_packages)
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    if [[ "$(id -u)" -ne 0 ]]; then
        zelmo_error "missing packages: ${missing[*]}"
        zelmo_error "install them as root:  apt-get install --no-install-recommends ${missing[*]}"
        return 1
    fi
    zelmo_log "installing: ${missing[*]}"
    local log
    log="$(mktemp)"
    if ! DEBIAN_FRONTEND=noninteractive apt-get update -q >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        zelmo_error "apt-get update failed"
        return 1
    fi
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        zelmo_error "apt-get install failed"
        return 1
    fi
    rm -f "$log"
    mapfile -t missing < <(zelmo__missing_packages)
    if ((${#missing[@]} != 0)); then
        zelmo_error "still missing after apt-get install: ${missing[*]}"
        return 1
    fi
    zelmo_log "packages installed"
}

# ---------------------------------------------------------------------------------------------------------------
# Wine environment. The prefix is created once per build tree; a stamp records that creation and font linking
# finished, so an interrupted set-up is redone on the next run. Change ZELMO_PREFIX_STAMP_VERSION whenever the
# set-up below changes, so that existing prefixes are brought up to date.
ZELMO_PREFIX_STAMP_VERSION="zelmo-prefix 2: wineboot, Wine's Tahoma in the prefix, FontLink SystemLink -> NotoSansCJK-Regular.ttc"
ZELMO_CJK_FONT_FILE="NotoSansCJK-Regular.ttc"
ZELMO_CJK_FONT_FACE="Noto Sans CJK JP"
ZELMO_FONTLINK_KEY='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
ZELMO_FONTLINK_FACES=("Tahoma" "Tahoma Bold" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI")

# Prints the path of the Noto CJK font file that Wine is to link, or fails. Wine loads the host's fonts through
# fontconfig (seen here: with the links below, "Tahoma" renders 日と稼働時間 from Noto Sans CJK JP; without
# them, boxes), so the file must be where fontconfig finds it.
zelmo__cjk_font_path() {
    local path=""
    if command -v fc-list >/dev/null 2>&1; then
        path="$(fc-list -f '%{file}\n' "$ZELMO_CJK_FONT_FACE" 2>/dev/null | grep -F "/$ZELMO_CJK_FONT_FILE" | head -n 1 || true)"
    elif [[ -f "/usr/share/fonts/opentype/noto/$ZELMO_CJK_FONT_FILE" ]]; then
        path="/usr/share/fonts/opentype/noto/$ZELMO_CJK_FONT_FILE"
    fi
    [[ -n "$path" ]] || return 1
    printf '%s\n' "$path"
}

# Waits until the prefix's wineserver has ended (it saves the registry on the way out), within a time limit.
zelmo__wineserver_wait() {
    if ! timeout "${1:-120}" wineserver -w; then
        zelmo_warn "wineserver did not end in time; killing it"
        wineserver -k 2>/dev/null || true
        sleep 1
    fi
}

zelmo__wine_prefix_setup() {
    local log="$1" font face
    font="$(zelmo__cjk_font_path)" || {
        zelmo_error "fontconfig does not list $ZELMO_CJK_FONT_FILE ($ZELMO_CJK_FONT_FACE; package fonts-noto-cjk)"
        return 1
    }
    printf 'linking %s (%s)\n' "$ZELMO_CJK_FONT_FACE" "$font" >>"$log"
    zelmo_log "creating Wine prefix $WINEPREFIX (about 10 s)"
    if ! timeout 300 wineboot -i >>"$log" 2>&1; then
        cat "$log" >&2
        zelmo_error "wineboot -i failed"
        return 1
    fi
    zelmo__wineserver_wait 120 >>"$log" 2>&1
    # Wine here does not load its own fonts from /usr/share/wine/fonts (package fonts-wine), so "Tahoma"
    # would fall back to another face; the prefix's Fonts folder is read, so Wine's Tahoma goes there.
    local fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts_dir"
    if ! cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts_dir/" 2>>"$log"; then
        cat "$log" >&2
        zelmo_error "Wine's Tahoma (package fonts-wine) is missing"
        return 1
    fi
    for face in "${ZELMO_FONTLINK_FACES[@]}"; do
        if ! wine reg add "$ZELMO_FONTLINK_KEY" /v "$face" /t REG_MULTI_SZ \
            /d "$ZELMO_CJK_FONT_FILE,$ZELMO_CJK_FONT_FACE" /f >>"$log" 2>&1; then
            cat "$log" >&2
            zelmo_error "could not link fonts for \"$face\""
            return 1
        fi
    done
    zelmo__wineserver_wait 60 >>"$log" 2>&1
    wineserver -k >>"$log" 2>&1 || true
    # The registry file must now hold every link.
    for face in "${ZELMO_FONTLINK_FACES[@]}"; do
        if ! grep -qxF "\"$face\"=str(7):\"$ZELMO_CJK_FONT_FILE,$ZELMO_CJK_FONT_FACE\\0\"" "$WINEPREFIX/system.reg"; then
            cat "$log" >&2
            zelmo_error "font link for \"$face\" is missing from $WINEPREFIX/system.reg"
            return 1
        fi
    done
}

zelmo_wine_env() {
    if (($# != 1)); then
        zelmo_error "usage: zelmo_wine_env <build-dir>"
        return 2
    fi
    mkdir -p "$1" && zelmo_wine_prefix "$(cd "$1" && pwd)/wineprefix"
}

zelmo_wine_prefix() {
    if (($# != 1)); then
        zelmo_error "usage: zelmo_wine_prefix <prefix-dir>"
        return 2
    fi
    local parent
    mkdir -p "$(dirname "$1")"
    parent="$(cd "$(dirname "$1")" && pwd)"

    export WINEPREFIX="$parent/$(basename "$1")"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEARCH=win64

    local stamp="$WINEPREFIX/.zelmo-prefix-stamp"
    if [[ -f "$stamp" && "$(cat "$stamp")" == "$ZELMO_PREFIX_STAMP_VERSION" ]]; then
        return 0
    fi

    # One set-up at a time per prefix (two scripts started together on one build tree).
    local lock_fd
    exec {lock_fd}>"$WINEPREFIX.lock"
    if ! flock -w 600 "$lock_fd"; then
        exec {lock_fd}>&-
        zelmo_error "timed out waiting for another set-up of $WINEPREFIX"
        return 1
    fi
    local status=0
    if [[ ! -f "$stamp" || "$(cat "$stamp")" != "$ZELMO_PREFIX_STAMP_VERSION" ]]; then
        rm -f "$stamp"
        local log="$WINEPREFIX-setup.log"
        : >"$log"
        # The set-up needs no display; do it without one so that it is the same everywhere.
        if (unset DISPLAY WAYLAND_DISPLAY && zelmo__wine_prefix_setup "$log"); then
            printf '%s\n' "$ZELMO_PREFIX_STAMP_VERSION" >"$stamp"
            zelmo_log "Wine prefix ready (Japanese fonts linked)"
        else
            status=1
        fi
    fi
    exec {lock_fd}>&-
    return "$status"
}

# Ends every process of the current prefix (registered at exit by the scripts that start Wine programs).
zelmo_wine_stop() {
    if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
        wineserver -k 2>/dev/null || true
        # Let the programs go before anything else is torn down (the X server, for one).
        timeout 10 wineserver -w 2>/dev/null || true
    fi
}

# ---------------------------------------------------------------------------------------------------------------
# X display. Uses $DISPLAY when it answers, unless CI=true, ZELMO_PRIVATE_X=1 or --private asks for a private
# Xvfb (1280x1024x24, the screen the tests assume), which is stopped when the script exits.
ZELMO_XVFB_PID=""
ZELMO_XVFB_PRIVATE=0

# True when DISPLAY is a private Xvfb started by zelmo_xvfb_start.
zelmo_xvfb_is_private() {
    ((ZELMO_XVFB_PRIVATE == 1))
}

zelmo__display_works() {
    [[ -n "${DISPLAY:-}" ]] && timeout 10 xdpyinfo >/dev/null 2>&1
}

zelmo_xvfb_stop() {
    if [[ -n "$ZELMO_XVFB_PID" ]]; then
        kill "$ZELMO_XVFB_PID" 2>/dev/null || true
        wait "$ZELMO_XVFB_PID" 2>/dev/null || true
        ZELMO_XVFB_PID=""
    fi
}

zelmo_xvfb_start() {
    local private=0 detached=0 arg
    for arg in "$@"; do
        case "$arg" in
        --private) private=1 ;;
        --detached) detached=1 ;;
        *)
            zelmo_error "zelmo_xvfb_start: unknown argument $arg"
            return 2
            ;;
        esac
    done
    if [[ "${CI:-}" == "true" || "${ZELMO_PRIVATE_X:-0}" == "1" ]]; then
        private=1
    fi
    if [[ -n "$ZELMO_XVFB_PID" ]] && kill -0 "$ZELMO_XVFB_PID" 2>/dev/null; then
        return 0 # already running one
    fi
    if ((private == 0)) && zelmo__display_works; then
        ZELMO_XVFB_PRIVATE=0
        return 0
    fi

    local n pid tries log lock_pid
    log="$(mktemp)"
    for ((n = 90; n < 190; n++)); do
        if [[ -e "/tmp/.X11-unix/X$n" || -e "/tmp/.X$n-lock" ]]; then
            continue
        fi
        # In a session of its own: a Ctrl-C in the terminal would end an X server at once (it catches
        # SIGINT), before the programs on it are stopped. setsid does not fork here (a background process of
        # a script is no process group leader), so $! is the server's pid.
        setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset </dev/null >"$log" 2>&1 &
        pid=$!
        for ((tries = 0; tries < 100; tries++)); do
            if ! kill -0 "$pid" 2>/dev/null; then
                break # lost a race for this number, or another failure: try the next one
            fi
            # The server that answers on :N must be ours: its lock file holds its pid. (When another script
            # takes the same number a moment earlier, our Xvfb fails, and the other one would answer.)
            lock_pid="$({ tr -d ' \n' <"/tmp/.X$n-lock"; } 2>/dev/null || true)"
            if [[ -n "$lock_pid" && "$lock_pid" != "$pid" ]]; then
                break
            fi
            if [[ "$lock_pid" == "$pid" ]] && DISPLAY=":$n" timeout 5 xdpyinfo >/dev/null 2>&1; then
                ZELMO_XVFB_PID=$pid
                ZELMO_XVFB_PRIVATE=1
                export DISPLAY=":$n"
                if ((detached == 0)); then
                    zelmo_at_exit zelmo_xvfb_stop
                fi
                rm -f "$log"
                zelmo_log "private X server on $DISPLAY (Xvfb, 1280x1024x24)"
                return 0
            fi
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    cat "$log" >&2
    rm -f "$log"
    zelmo_error "could not start Xvfb"
    return 1
}

# ---------------------------------------------------------------------------------------------------------------
# Test desktops. Each has its own X screen and its own copy of a set-up prefix, so that no desktop sees another
# one's windows, and runs in the background until zelmo_desktop_down:
#   bare    the X screen alone: no shell, no window manager, the work area is the whole screen
#   shell   Wine's own desktop shell, 1280x1024, with its taskbar along the bottom
#   icewm   the IceWM window manager with its taskbar along the top (the work area starts below it)
#   dpi144  the bare screen with the prefix at 144 DPI
# <state-dir>/env holds DISPLAY and WINEPREFIX for the programs that run on the desktop; the keeper program
# (zelmo_desktop_keeper.exe) holds the Wine session open between them and tells when the desktop is ready.
ZELMO_DESKTOP_STAMP_VERSION="zelmo-desktop 1"

# Writes the desktop's own settings into the (copied) prefix.
zelmo__desktop_prefix_setup() {
    local desktop="$1" log="$2"
    case "$desktop" in
    bare | icewm) ;;
    shell)
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d shell /f >>"$log" 2>&1 &&
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /t REG_SZ /d 1280x1024 /f >>"$log" 2>&1 ||
            return 1
        ;;
    dpi144)
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >>"$log" 2>&1 || return 1
        ;;
    *)
        zelmo_error "unknown desktop $desktop (bare, shell, icewm, dpi144)"
        return 2
        ;;
    esac
    zelmo__wineserver_wait 60 >>"$log" 2>&1
}

# zelmo__desktop_prefix <desktop> <state-dir> <template-prefix>: a copy of the template with the desktop's
# settings, made again when the template or the desktop's set-up changed.
zelmo__desktop_prefix() {
    local desktop="$1" dir="$2" template="$3"
    local prefix="$dir/prefix" want log
    want="$(cat "$template/.zelmo-prefix-stamp") / $ZELMO_DESKTOP_STAMP_VERSION $desktop"
    if [[ -f "$prefix/.zelmo-desktop-stamp" && "$(cat "$prefix/.zelmo-desktop-stamp")" == "$want" ]]; then
        return 0
    fi
    log="$dir/prefix-setup.log"
    : >"$log"
    rm -rf "$prefix"
    # A copy takes about 3 s where a new prefix takes 10 s and the font links.
    cp -a "$template" "$prefix" || return 1
    rm -f "$prefix/.zelmo-prefix-stamp"
    if ! (export WINEPREFIX="$prefix" && unset DISPLAY WAYLAND_DISPLAY && zelmo__desktop_prefix_setup "$desktop" "$log"); then
        cat "$log" >&2
        zelmo_error "could not set up the prefix of desktop $desktop"
        return 1
    fi
    printf '%s\n' "$want" >"$prefix/.zelmo-desktop-stamp"
}

# Stops a process started by zelmo_desktop_up, by the pid it recorded.
zelmo__desktop_kill() {
    local pid_file="$1" pid
    [[ -f "$pid_file" ]] || return 0
    pid="$(cat "$pid_file")"
    if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$pid_file"
}

# zelmo_desktop_up <desktop> <state-dir> <keeper.exe> [template-prefix]: the template defaults to
# <state-dir>/../template.
zelmo_desktop_up() {
    if (($# < 3)); then
        zelmo_error "usage: zelmo_desktop_up <desktop> <state-dir> <keeper.exe> [template-prefix]"
        return 2
    fi
    local desktop="$1" dir keeper="$3" template="${4:-}"
    mkdir -p "$2"
    dir="$(cd "$2" && pwd)"
    [[ -n "$template" ]] || template="$(dirname "$dir")/template"
    zelmo_desktop_down "$dir"

    zelmo_wine_prefix "$template" || return 1
    zelmo__desktop_prefix "$desktop" "$dir" "$WINEPREFIX" || return 1
    export WINEPREFIX="$dir/prefix"

    zelmo_xvfb_start --private --detached || return 1
    printf '%s\n' "$ZELMO_XVFB_PID" >"$dir/xvfb.pid"

    if [[ "$desktop" == icewm ]]; then
        mkdir -p "$dir/icewm"
        printf 'TaskBarAtTop=1\n' >"$dir/icewm/preferences"
        ICEWM_PRIVCFG="$dir/icewm" setsid icewm </dev/null >"$dir/icewm.log" 2>&1 &
        printf '%s\n' "$!" >"$dir/icewm.pid"
    fi

    # The keeper waits for the desktop to be ready (Wine's taskbar, the window manager's work area, the
    # DPI), prints "ready" and then holds the session open until the desktop is taken down.
    local log="$dir/keeper.log"
    setsid wine "$keeper" "$desktop" </dev/null >"$log" 2>&1 &
    printf '%s\n' "$!" >"$dir/keeper.pid"
    local tries
    for ((tries = 0; tries < 600; tries++)); do
        if grep -q '^ready' "$log" 2>/dev/null; then
            printf 'export DISPLAY=%q WINEPREFIX=%q\n' "$DISPLAY" "$WINEPREFIX" >"$dir/env"
            zelmo_log "desktop $desktop on $DISPLAY: $(grep '^ready' "$log")"
            return 0
        fi
        if ! kill -0 "$(cat "$dir/keeper.pid")" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    cat "$log" >&2
    [[ ! -f "$dir/icewm.log" ]] || cat "$dir/icewm.log" >&2
    zelmo_error "desktop $desktop did not come up"
    zelmo_desktop_down "$dir"
    return 1
}

zelmo_desktop_down() {
    if (($# != 1)); then
        zelmo_error "usage: zelmo_desktop_down <state-dir>"
        return 2
    fi
    local dir="$1"
    [[ -d "$dir" ]] || return 0
    rm -f "$dir/env"
    if [[ -d "$dir/prefix" ]]; then
        # Every Wine program of the desktop goes before its X server.
        WINEPREFIX="$dir/prefix" wineserver -k 2>/dev/null || true
        WINEPREFIX="$dir/prefix" timeout 10 wineserver -w 2>/dev/null || true
    fi
    zelmo__desktop_kill "$dir/keeper.pid"
    zelmo__desktop_kill "$dir/icewm.pid"
    zelmo__desktop_kill "$dir/xvfb.pid"
}
