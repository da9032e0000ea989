#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a fixed time, seeded with the
# golden inputs under tests/data and examples/. A crash stops nothing else: every
# target runs, the crashing inputs are kept, and the script then fails.
#   ORADEL_FUZZ_SECONDS    seconds per target (default 20)
#   ORADEL_FUZZ_BUILD_DIR  build folder (default build-fuzz)
#   ORADEL_FUZZ_CXX        clang++ to use (default clang++-14)
# Reproduce a crash with: build-fuzz/fuzz/fuzz_<target> <crash file>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORADEL_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${ORADEL_FUZZ_SECONDS:-20}"
cxx="${ORADEL_FUZZ_CXX:-clang++-14}"
targets=(point_list xctrack_import gpx_import cup_import link_markup utf8_codec settings_file)

if ! command -v "$cxx" >/dev/null 2>&1 || ! ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
    echo "Installing clang-14 and its fuzzer runtime"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        clang-14 libclang-rt-14-dev
fi

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORADEL_FUZZ=ON -DORADEL_SANITIZE=ON -DORADEL_BUILD_TESTS=OFF -DORADEL_BUILD_UI=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# Seeds: the golden inputs that each target reads. The point-list target takes
# three option bytes first: all boxes ticked, then all clear.
seeds="$build/fuzz-seeds"
rm -rf "$seeds"
mkdir -p "${targets[@]/#/$seeds/}"
lists=("$root"/tests/data/*/*.txt "$root"/examples/*.txt)
for list in "${lists[@]}"; do
    [ -f "$list" ] || continue
    name="$(basename "$(dirname "$list")")-$(basename "$list")"
    { printf '\377\377\037'; cat "$list"; } >"$seeds/point_list/all-$name"
    { printf '\000\000\000'; cat "$list"; } >"$seeds/point_list/none-$name"
    cp "$list" "$seeds/link_markup/$name"
done
cp "$root"/tests/data/xctrack/*.wpt "$seeds/xctrack_import/" 2>/dev/null || true
cp "$root"/tests/data/gpx/*.gpx "$seeds/gpx_import/" 2>/dev/null || true
cp "$root"/tests/data/cup/*.cup "$seeds/cup_import/" 2>/dev/null || true
cp "$root"/fuzz/seeds/link_markup/* "$seeds/link_markup/"
cp "$root"/fuzz/seeds/settings_file/* "$seeds/settings_file/"
for file in "$root"/tests/data/*/* "$root"/examples/*; do
    [ -f "$file" ] && cp "$file" "$seeds/utf8_codec/$(basename "$(dirname "$file")")-$(basename "$file")"
done

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=()
for target in "${targets[@]}"; do
    corpus="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    dictionary=()
    [ -f "$root/fuzz/dictionaries/$target.dict" ] && dictionary=(-dict="$root/fuzz/dictionaries/$target.dict")
    echo "== fuzz_$target for ${seconds} s"
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" "${dictionary[@]}" \
        "$corpus" "$seeds/$target" 2>"$build/fuzz-$target.log"; then
        tail -n 40 "$build/fuzz-$target.log"
        failed+=("$target")
    fi
    grep -E '^stat::number_of_executed_units|^Done' "$build/fuzz-$target.log" || true
done

if [ "${#failed[@]}" -gt 0 ]; then
    echo "Fuzzing found crashes in: ${failed[*]} (inputs under $build/fuzz-artifacts)"
    exit 1
fi
echo "Fuzzing: no crash in ${#targets[@]} targets"
