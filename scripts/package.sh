#!/usr/bin/env bash
# Builds Oradel's packages into dist/ and installs what it needs (only what is missing):
#   dist/oradel_VERSION_amd64.deb            Debian 12 (CPack DEB)
#   dist/oradel-VERSION-windows-x64.msi      Windows installer, per user (wixl)
#   dist/oradel-VERSION-windows-x64.zip      Windows, portable
#
#   scripts/package.sh [--version X.Y.Z]
# VERSION is the project's (CMakeLists.txt); --version builds as another one.
# Build folders: ORADEL_PACKAGE_LINUX_DIR (build-package) and ORADEL_PACKAGE_WINDOWS_DIR
# (build-package-mingw). A folder configured before, such as one of CI's, keeps its
# own options and only takes the version and the window, which every package holds.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux_build="${ORADEL_PACKAGE_LINUX_DIR:-$root/build-package}"
windows_build="${ORADEL_PACKAGE_WINDOWS_DIR:-$root/build-package-mingw}"
dist="$root/dist"

version=""
if [ "${1:-}" = "--version" ] && [ -n "${2:-}" ]; then
    version="$2"
elif [ "$#" -gt 0 ]; then
    echo "usage: scripts/package.sh [--version X.Y.Z]" >&2
    exit 2
fi

umask 022
"$root/scripts/setup.sh" --packages dpkg-dev wixl g++-mingw-w64-x86-64-posix

# configure FOLDER OPTION...: the options apply to a new folder only.
configure() {
    local folder="$1"
    shift
    [ -f "$folder/CMakeCache.txt" ] && set --
    cmake -S "$root" -B "$folder" "$@" -DORADEL_BUILD_UI=ON -DORADEL_VERSION="$version" >/dev/null
}

mkdir -p "$dist"

echo "== Debian package"
configure "$linux_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORADEL_BUILD_TESTS=OFF
cmake --build "$linux_build" -j"$(nproc)"
package_version="$(cat "$linux_build/packaging/version.txt")"
cpack --config "$linux_build/CPackConfig.cmake" -B "$linux_build/cpack" >/dev/null
cp "$linux_build/cpack/oradel_${package_version}_amd64.deb" "$dist/"

echo "== Windows installer and zip"
configure "$windows_build" --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DORADEL_BUILD_TESTS=OFF
cmake --build "$windows_build" -j"$(nproc)" --target oradel-msi oradel-zip
for suffix in msi zip; do
    cp "$windows_build/packaging/oradel-${package_version}-windows-x64.$suffix" "$dist/"
done

echo "Packages of version $package_version in $dist:"
ls -l "$dist"/*"$package_version"*
