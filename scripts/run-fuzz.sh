#!/usr/bin/env bash
# Builds and runs every fuzz target of tests/fuzz for SECONDS each, starting from its committed
# corpus tests/fuzz/corpus/<Name>/; fails when a target finds a crash, a leak or a time-out.
# usage: run-fuzz.sh BUILD_DIR SECONDS   (BUILD_DIR configured with CC=clang CXX=clang++)
set -uo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
ran=0

for source in "$root"/tests/fuzz/*Fuzz.cpp; do
    [[ -e $source ]] || continue
    target=$(basename "$source" .cpp)
    name=${target%Fuzz}
    seeds=$root/tests/fuzz/corpus/$name
    if ! cmake --build "$build" --target "$target" >"$build/$target-build.log" 2>&1; then
        echo "run-fuzz: $target does not build (see $build/$target-build.log)" >&2
        status=1
        continue
    fi
    exe=$(find "$build" -type f -name "$target" -perm -u+x | head -n 1)
    if [[ -z $exe ]]; then
        echo "run-fuzz: no executable $target in $build" >&2
        status=1
        continue
    fi
    # New inputs go to a scratch folder; the committed seeds are only read.
    work=$build/fuzz-work/$name
    artifacts=$build/fuzz-artifacts/$name
    mkdir -p "$work" "$artifacts" "$seeds"
    echo "=== $target for ${seconds}s"
    if "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$work" "$seeds" >"$build/$target.log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^Done' "$build/$target.log" | tail -n 2
    else
        status=1
        echo "run-fuzz: $target failed; the input is in $artifacts, log in $build/$target.log" >&2
        grep -E 'ERROR|SUMMARY|Test unit written' "$build/$target.log" | head -n 5 >&2
    fi
    ran=$((ran + 1))
done

if [[ $ran -eq 0 && $status -eq 0 ]]; then
    echo "run-fuzz: no fuzz target in $root/tests/fuzz" >&2
    status=1
fi
exit $status
