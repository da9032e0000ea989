#!/usr/bin/env bash
# Runs a Windows window program under Wine on a private X server (Xvfb), in a
# fresh Wine prefix whose screen resolution is ORADEL_WINE_DPI (96 when unset).
# CTest calls it as the cross build's emulator:
#   wine_gui.sh PROGRAM.exe [ARGUMENT]...
# Screenshots: when ORADEL_SCREENSHOT_DIR names a folder, the program asks for
# one by writing NAME.request there, holding "left top width height" in screen
# pixels; this script answers with NAME.png, the screen cut to that rectangle.
#
# Exit status: the program's; 77 when Wine or the X server cannot start here.
set -uo pipefail
readonly SKIPPED=77
dpi="${ORADEL_WINE_DPI:-96}"

for tool in wine wineboot wineserver Xvfb xwd; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "wine_gui.sh: $tool is not installed" >&2
        exit "$SKIPPED"
    fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/oradel-wine.XXXXXX")"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
watcher_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1
    [ -n "$watcher_pid" ] && kill "$watcher_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a display number of its own choosing.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "wine_gui.sh: Xvfb did not start" >&2
    exit "$SKIPPED"
fi
export DISPLAY=":$(head -n1 "$work/display")"

# A fresh prefix at the chosen resolution; Wine reads LogPixels when it starts.
if ! timeout 300 wineboot -i >/dev/null 2>&1 || ! wineserver -w; then
    echo "wine_gui.sh: Wine cannot start here" >&2
    exit "$SKIPPED"
fi
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
# Without a window manager, a managed window that hides waits two seconds for one.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w

# Answers screenshot requests until the program ends.
answer_screenshots() {
    local folder="$1" request name left top width height
    while true; do
        for request in "$folder"/*.request; do
            [ -e "$request" ] || continue
            name="${request%.request}"
            read -r left top width height <"$request"
            xwd -root -silent >"$work/screen.xwd" &&
                /usr/bin/convert "xwd:$work/screen.xwd" \
                    -crop "${width}x${height}+${left}+${top}" +repage "png:$name.png.tmp" &&
                mv "$name.png.tmp" "$name.png"
            rm -f "$request"
        done
        sleep 0.1
    done
}
if [ -n "${ORADEL_SCREENSHOT_DIR:-}" ]; then
    mkdir -p "$ORADEL_SCREENSHOT_DIR"
    rm -f "$ORADEL_SCREENSHOT_DIR"/*.request "$ORADEL_SCREENSHOT_DIR"/*.png
    answer_screenshots "$ORADEL_SCREENSHOT_DIR" &
    watcher_pid=$!
fi

status=0
timeout 600 wine "$@" || status=$?
wineserver -w
exit "$status"
