#!/usr/bin/env bash
# Builds the packages with scripts/package.sh (a higher version first, for the
# upgrade) and proves each by installing it: the .deb on this machine (removed
# again whatever happens), the MSI and the zip under Wine. Every output of the
# installed oradel-convert must equal, byte for byte, that of the Linux build.
# Installs what it needs. Runs as root (apt-get). The build folders are those of
# scripts/package.sh (ORADEL_PACKAGE_LINUX_DIR, ORADEL_PACKAGE_WINDOWS_DIR).
#
# Exit status: 0 every check passed, 1 a check or a build failed, 77 Wine cannot
# start here: the Debian checks ran, the Windows packages were NOT tested.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
"$root/scripts/setup.sh" --packages wine wine64 xvfb xauth x11-utils lintian desktop-file-utils unzip \
    xdotool python3-xlib
# The window checks need an X server: the whole test runs inside one.
if [ -z "${ORADEL_TEST_X:-}" ]; then
    ORADEL_TEST_X=1 exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$@"
fi

work="$(mktemp -d /tmp/oradel-install-test.XXXXXX)"
log="$work/log.txt"
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Whatever happens: the package leaves this machine, and the Wine prefix (700 MB) goes;
# the log stays when a check failed.
clean_up() {
    apt-get remove -y -qq oradel >/dev/null 2>&1 || true
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    [ "${failed:-1}" -eq 0 ] && rm -rf "$work"
}
trap clean_up EXIT

"$root/scripts/package.sh" --version 1.0.1 >>"$log"
"$root/scripts/package.sh" >>"$log"
linux_build="${ORADEL_PACKAGE_LINUX_DIR:-$root/build-package}"
version="$(cat "$linux_build/packaging/version.txt")"
linux_convert="$linux_build/src/cli/oradel-convert"
dist="$root/dist"
msi="$dist/oradel-$version-windows-x64.msi"

passed=0
failed=0
check() { # check WHAT COMMAND...: one line per check; the command's output goes to the log.
    echo "== $1" >>"$log"
    if "${@:2}" >>"$log" 2>&1; then
        passed=$((passed + 1)) && echo "ok   $1"
    else
        failed=$((failed + 1)) && echo "FAIL $1 (log: $log)"
    fi
}
# converts_example FOLDER PROGRAM...: PROGRAM FILE turns a copy of the example list in
# FOLDER into the same files as the Linux build did in $work/reference.
converts_example() {
    mkdir -p "$1" && cp "$root/examples/sites.txt" "$1/" && "${@:2}" "$1/sites.txt"
    for file in "$work/reference"/*; do cmp "$file" "$1/$(basename "$file")" || return 1; done
}
wine_run() { timeout 120 wine "$1" "${@:2}" </dev/null >"$work/wine-out.txt" 2>&1; }
wine_convert() { wine_run "$1" "$(winepath -w "$2")"; }
msi_run() { timeout 300 wine msiexec "$@" /qn </dev/null && wineserver -w; }
output_is() { [ "$("${@:2}" 2>&1 | tr -d '\r')" = "$1" ]; }
# shows_window PROGRAM: PROGRAM starts under Wine and shows a window named Oradel.
shows_window() {
    timeout 60 wine "$1" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 60); do
        xwininfo -root -tree | grep -q '"Oradel"' && { wineserver -k; wait; return 0; }
        sleep 0.5
    done
    wineserver -k
    wait
    return 1
}
# closes_window PID: closes the window named Oradel as a window manager does
# (WM_DELETE_WINDOW, so that it saves its settings) and waits for PID to end.
closes_window() {
    local window=""
    for _ in $(seq 60); do
        window="$(xdotool search --onlyvisible --name '^Oradel$' 2>/dev/null | head -n 1)" || true
        [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "$window" ] || { kill "$1"; wait "$1"; return 1; }
    /usr/bin/python3 - "$window" <<'PYTHON'
import sys
from Xlib import X, display, protocol
screen = display.Display()
window = screen.create_resource_object("window", int(sys.argv[1]))
window.send_event(protocol.event.ClientMessage(
    window=window, client_type=screen.intern_atom("WM_PROTOCOLS"),
    data=(32, [screen.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
screen.flush()
PYTHON
    wait "$1"
}
# keeps_settings_in_home: the installed window, started as root and closed, writes its
# settings into ~/.config/oradel and nothing into /usr/bin.
keeps_settings_in_home() {
    local before
    before="$(ls -A /usr/bin)"
    env -u XDG_CONFIG_HOME HOME="$work/home" /usr/bin/oradel &
    closes_window $! || return 1
    [ "$(ls -A /usr/bin)" = "$before" ] && test -s "$work/home/.config/oradel/oradel.ini"
}
# version_resources_are VERSION EXE...: each EXE's version resource names VERSION (UTF-16 strings).
version_resources_are() {
    for exe in "${@:2}"; do strings -el "$exe" | grep -A1 -x FileVersion | grep -qx "$1" || return 1; done
}
registry_has() { timeout 60 wine reg query "$@" </dev/null >/dev/null 2>&1; }
lacks() { ! "$@"; }
# offers_open_with EXT...: Open with offers Oradel for each EXT, and no EXT opens with Oradel by default.
offers_open_with() {
    for ext in "$@"; do
        registry_has "HKCU\\Software\\Classes\\$ext\\OpenWithProgids" /v Oradel.WaypointFile || return 1
        timeout 60 wine reg query "HKCR\\$ext" /ve </dev/null >"$work/default.txt" 2>&1 || true
        if grep -qi oradel "$work/default.txt"; then return 1; fi
    done
}
# uninstall_entries_are N: Windows lists N programs named Oradel to uninstall.
uninstall_entries_are() {
    [ "$(awk '/^\[/ { listed = index($0, "CurrentVersion\\\\Uninstall\\\\") > 0 }
              listed && /^"DisplayName"="Oradel"$/ { n++ } END { print n + 0 }' \
        "$WINEPREFIX/system.reg")" -eq "$1" ]
}

mkdir -p "$work/reference" && cp "$root/examples/sites.txt" "$work/reference/"
"$linux_convert" "$work/reference/sites.txt" >>"$log" 2>&1

echo "== Debian package"
deb="$dist/oradel_${version}_amd64.deb"
check "lintian finds no error in the .deb" lintian --fail-on error "$deb"
check "apt-get installs the .deb" apt-get install -y -qq "$deb"
check "oradel-convert --version says $version" output_is "oradel-convert $version" /usr/bin/oradel-convert --version
check "the installed oradel-convert converts the example like the build" converts_example "$work/deb" /usr/bin/oradel-convert
check "the desktop entry is valid" desktop-file-validate /usr/share/applications/oradel.desktop
check "oradel --version says $version" output_is "oradel $version" /usr/bin/oradel --version
check "the installed oradel, run as root, keeps its settings in ~/.config/oradel, not in /usr/bin" keeps_settings_in_home
doc=/usr/share/doc/oradel
check "the user guides, the example list, the changelog and the man page are installed" test -s $doc/oradel-guide.html -a -s $doc/oradel-guide.en.html -a -s $doc/examples/sites.txt -a -s $doc/CHANGELOG.md.gz -a -s /usr/share/man/man1/oradel-convert.1.gz
check "apt-get removes the package" apt-get remove -y -qq oradel
check "no program is left" test ! -e /usr/bin/oradel-convert -a ! -e /usr/bin/oradel

echo "== Windows packages under Wine"
if ! timeout 300 wineboot -i >>"$log" 2>&1 || ! timeout 120 wineserver -w; then
    echo "!!!!! WINDOWS PACKAGES NOT TESTED: Wine cannot start here (log: $log) !!!!!"
    exit 77
fi
timeout 60 wine cmd /c 'echo %LOCALAPPDATA%' </dev/null >"$work/localappdata.txt" 2>/dev/null
local_appdata="$(winepath -u "$(tr -d '\r\n' <"$work/localappdata.txt")")"
program_folder="$local_appdata/Programs/Oradel"
start_menu="$(dirname "$local_appdata")/Roaming/Microsoft/Windows/Start Menu/Programs"
settings="$local_appdata/oradel/oradel.ini"

check "the MSI installs silently" msi_run /i "$msi"
# pilots_files_are_in FOLDER: the guides, the changelog and the example list lie in FOLDER.
pilots_files_are_in() {
    for file in oradel-guide.html oradel-guide.en.html CHANGELOG.md examples/sites.txt; do
        test -s "$1/$file" || return 1
    done
}
check "program, converter and marker are in %LOCALAPPDATA%\\Programs\\Oradel" test -f "$program_folder/oradel.exe" -a -f "$program_folder/oradel-convert.exe" -a -f "$program_folder/oradel.installed"
check "the guides, the changelog and the example list are installed beside them" pilots_files_are_in "$program_folder"
check "Windows lists Oradel to uninstall" uninstall_entries_are 1
check "the Start menu has a shortcut" test -f "$start_menu/Oradel.lnk"
check "Open with offers Oradel for .txt, .wpt, .gpx, .cup, never as the default" offers_open_with .txt .wpt .gpx .cup
check "the installed oradel-convert.exe converts the example like Linux" converts_example "$work/msi" wine_convert "$program_folder/oradel-convert.exe"
check "the installed oradel.exe shows its window" shows_window "$program_folder/oradel.exe"
mkdir -p "$(dirname "$settings")" && printf '[save_parametr_all]\r\ncFI=0\r\n' >"$settings" && cp "$settings" "$work/settings.ini"
check "an upgrade to 1.0.1 installs silently" msi_run /i "$dist/oradel-1.0.1-windows-x64.msi"
check "the upgraded oradel-convert.exe says 1.0.1" output_is "oradel-convert 1.0.1" wine "$program_folder/oradel-convert.exe" --version
check "the upgraded programs' version resources say 1.0.1" version_resources_are 1.0.1 "$program_folder/oradel.exe" "$program_folder/oradel-convert.exe"
check "the user's settings survive the upgrade" cmp "$settings" "$work/settings.ini"
check "the upgrade replaced the old version: one Oradel is listed" uninstall_entries_are 1
check "uninstall runs silently" msi_run /x "$dist/oradel-1.0.1-windows-x64.msi"
check "no program file is left" test ! -e "$program_folder" -a ! -e "$start_menu/Oradel.lnk"
check "Windows lists no Oradel to uninstall" uninstall_entries_are 0
check "no Open with entry is left" lacks registry_has 'HKCU\Software\Classes\Applications\oradel.exe'
check "the user's settings survive uninstall" cmp "$settings" "$work/settings.ini"
check "the zip unpacks" unzip -q "$dist/oradel-$version-windows-x64.zip" -d "$work/zip"
portable="$work/zip/oradel-$version-windows-x64"
check "the zip holds the guides, the changelog and the example list" pilots_files_are_in "$portable"
check "the zip's oradel-convert.exe converts the example like Linux" converts_example "$work/zip-run" wine_convert "$portable/oradel-convert.exe"
check "the zip's oradel.exe shows its window" shows_window "$portable/oradel.exe"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
