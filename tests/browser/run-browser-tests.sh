#!/usr/bin/env bash
# Browser tests of the web page (mode 4), run by CTest:
#   run-browser-tests.sh ORADEL_CONVERT BUILD_FOLDER
# Installs the pinned npm packages (package-lock.json) into BUILD_FOLDER/node
# when they are missing or out of date, then drives headless Chromium through
# node. Exits with 77, which CTest reports as skipped, when Chromium, node or
# npm is not installed. No browser is ever downloaded: the tests use the
# system's Chromium (ORADEL_CHROMIUM, default /usr/bin/chromium).
set -euo pipefail

convert="$1"
build="$2"
here="$(cd "$(dirname "$0")" && pwd)"
chromium="${ORADEL_CHROMIUM:-/usr/bin/chromium}"

skip() {
    echo "SKIPPED: $1 (scripts/setup.sh --tests installs it); the browser tests did not run." >&2
    exit 77
}
command -v node >/dev/null 2>&1 || skip "node is not installed"
command -v npm >/dev/null 2>&1 || skip "npm is not installed"
[ -x "$chromium" ] || skip "Chromium is not installed at $chromium"

deps="$build/node"
stamp="$deps/installed-package-lock.json"
if ! cmp -s "$here/package-lock.json" "$stamp" || [ ! -d "$deps/node_modules/playwright-core" ]; then
    echo "Installing the pinned npm packages into $deps"
    mkdir -p "$deps"
    rm -f "$stamp"
    cp "$here/package.json" "$here/package-lock.json" "$deps/"
    (cd "$deps" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund)
    cp "$here/package-lock.json" "$stamp"
fi

export ORADEL_CONVERT="$convert"
export ORADEL_BROWSER_OUT="$build"
export ORADEL_NODE_DEPS="$deps"
export ORADEL_CHROMIUM="$chromium"
exec node --test "$here/web_page.test.mjs"
