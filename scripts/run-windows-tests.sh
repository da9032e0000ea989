#!/usr/bin/env bash
# Cross-builds oradel.exe and oradel-convert.exe for Windows with MinGW-w64,
# runs the window's tests under Wine on a private X server at 96 and 144 dpi
# (screenshots under build-mingw/tests/windows/), builds the Linux
# oradel-convert from the same sources and runs the .exe's end-to-end tests
# under Wine against it. Installs what it needs, and nothing when it is there.
#
# Exit status: 0 passed, 1 a build or a test failed, 77 Wine cannot start on
# this machine: the Windows build is then NOT tested, and says so loudly.
# Build folders: ORADEL_WINDOWS_BUILD_DIR (build-mingw), ORADEL_LINUX_REF_DIR (build-linux-ref).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
windows_build="${ORADEL_WINDOWS_BUILD_DIR:-$root/build-mingw}"
linux_build="${ORADEL_LINUX_REF_DIR:-$root/build-linux-ref}"

"$root/scripts/setup.sh"

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
packages=(g++-mingw-w64-x86-64-posix wine wine64 python3 locales googletest
          xvfb x11-apps imagemagick fonts-liberation)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Russian locale makes Wine a Russian Windows: ANSI code page 1251, console 866.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    echo "Generating the ru_RU.UTF-8 locale"
    if ! grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo "ru_RU.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen >/dev/null
fi

started=$SECONDS
echo "== Windows build (MinGW-w64, static): oradel.exe, oradel-convert.exe, the window's tests"
cmake -S "$root" -B "$windows_build" --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DORADEL_BUILD_UI=ON -DORADEL_BUILD_TESTS=ON -DORADEL_WERROR=ON \
    >/dev/null
cmake --build "$windows_build" -j"$(nproc)"

echo "== Linux build of oradel-convert, the reference"
cmake -S "$root" -B "$linux_build" \
    -DCMAKE_BUILD_TYPE=Release -DORADEL_BUILD_UI=OFF -DORADEL_BUILD_TESTS=OFF -DORADEL_WERROR=ON \
    >/dev/null
cmake --build "$linux_build" -j"$(nproc)" --target oradel-convert

echo "== The window oradel.exe under Wine and Xvfb, at 96 and 144 dpi"
window_status=0
ctest --test-dir "$windows_build" --output-on-failure -j"$(nproc)" 2>&1 |
    tee "$windows_build/window-tests.log" || window_status=1
if [ "$window_status" -eq 0 ] && grep -q 'Skipped' "$windows_build/window-tests.log"; then
    window_status=77
fi

echo "== End-to-end tests of oradel-convert.exe under Wine"
convert_status=0
python3 "$root/tests/windows/wine_end_to_end.py" \
    --exe "$windows_build/src/cli/oradel-convert.exe" \
    --reference "$linux_build/src/cli/oradel-convert" \
    --work "$windows_build/wine-tests" || convert_status=$?

echo "Windows suite: $((SECONDS - started)) s"
if [ "$window_status" -ne 0 ] && [ "$window_status" -ne 77 ]; then exit 1; fi
if [ "$convert_status" -ne 0 ] && [ "$convert_status" -ne 77 ]; then exit 1; fi
if [ "$window_status" -eq 77 ] || [ "$convert_status" -eq 77 ]; then
    echo "WINDOWS TESTS SKIPPED: Wine cannot start here (see above)." >&2
    exit 77
fi
exit 0
