#!/usr/bin/env bash
# Builds Oradel and converts the bundled example list into every format, in a scratch folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DORADEL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target oradel-convert -j"$(nproc)"

scratch="$root/scratch"
rm -rf "$scratch"
mkdir -p "$scratch"
cp "$root/examples/sites.txt" "$scratch/"
"$build/src/cli/oradel-convert" "$scratch/sites.txt"
# The GPX and KML exports run only when named.
"$build/src/cli/oradel-convert" --mode 7 --mode 8 "$scratch/sites.txt"
echo
echo "Files in $scratch:"
ls -l "$scratch"
