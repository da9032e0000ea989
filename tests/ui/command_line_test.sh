#!/usr/bin/env bash
# The real oradel at a terminal: --help and --version answer and exit 0 without
# a window (here without any display, so a window could not open), and
# without a display it says so and exits 1 instead of aborting.
#   command_line_test.sh PROGRAM VERSION
program="$1"
version="$2"
failed=0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# expect STATUS OUTPUT ARGUMENT...: the program, without a display and in English, exits
# with STATUS, and what it prints (stdout and stderr) starts with OUTPUT.
expect() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ORADEL_LANG=en \
        "$program" "${@:3}" >"$work/out" 2>&1
    status=$?
    if [ "$status" -ne "$1" ] || [ "$(head -c ${#2} "$work/out")" != "$2" ]; then
        echo "FAIL oradel ${*:3}: exit $status, printed:" && cat "$work/out"
        failed=1
    fi
}
expect 0 "Usage: oradel [FILE]
Opens the Oradel window" --help
expect 0 "Usage: oradel [FILE]" -h
expect 0 "oradel $version" --version
expect 1 "oradel: no display to show the window on" alps.txt
expect 1 "oradel: no display to show the window on"
# A platform that needs no display starts the window, which runs until it is stopped.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 3 "$program" >"$work/out" 2>&1
status=$?
[ "$status" -eq 124 ] || { echo "FAIL offscreen: exit $status" && cat "$work/out" && failed=1; }
exit "$failed"
