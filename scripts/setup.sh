#!/usr/bin/env bash
# Installs what Oradel needs on Debian 12, and nothing when it is all there.
#   scripts/setup.sh          build tools only
#   scripts/setup.sh --tests  build tools and everything the test suite uses
#   scripts/setup.sh --packages NAME...  build tools and the named Debian packages
set -euo pipefail

want_tests=0
extra=()
if [ "${1:-}" = "--tests" ]; then
    want_tests=1
elif [ "${1:-}" = "--packages" ]; then
    shift
    extra=("$@")
fi

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi

# cmark-gfm renders README.md into the user guide.
packages=(cmake g++ make libgtest-dev qt6-base-dev fonts-dejavu-core cmark-gfm "${extra[@]}")
if [ "$want_tests" -eq 1 ]; then
    packages+=(gpsbabel chromium locales xauth)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
# Node.js and npm may come from Debian or another packager; only the commands matter.
if [ "$want_tests" -eq 1 ]; then
    command -v node >/dev/null 2>&1 || missing+=(nodejs)
    command -v npm >/dev/null 2>&1 || missing+=(npm)
fi

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The comma-decimal locale that the number tests run under.
if [ "$want_tests" -eq 1 ] && ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    echo "Generating the ru_RU.UTF-8 locale"
    if [ -f /etc/locale.gen ] && grep -q '^# *ru_RU.UTF-8 UTF-8' /etc/locale.gen; then
        $SUDO sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo "ru_RU.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen >/dev/null
fi
