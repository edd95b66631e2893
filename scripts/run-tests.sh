#!/usr/bin/env bash
# Runs ctest in each build folder given and closes with one "N passed, N failed" line
# over all of them, so one summary speaks for both configurations.
set -uo pipefail

passed=0
failed=0
status=0
for dir in "$@"; do
    echo "=== tests in $dir"
    log=$(mktemp)
    ctest --test-dir "$dir" --output-on-failure -j 2 2>&1 | tee "$log"
    [[ ${PIPESTATUS[0]} -eq 0 ]] || status=1
    # ctest's summary: "NN% tests passed, F tests failed out of T"
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [[ -z $summary ]]; then
        echo "run-tests: no ctest summary in $dir" >&2
        status=1
    else
        f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
        t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
        passed=$((passed + t - f))
        failed=$((failed + f))
    fi
    rm -f "$log"
done
echo "tests: $passed passed, $failed failed"
exit $status
