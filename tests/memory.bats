#!/usr/bin/env bats
# Under any limit of address space (ulimit -v), a run writes the whole report, or stops with "out
# of memory" and status 1 before any of it. The scan steps by MEMORY_STEP_KIB, 64 KiB by default.

# shellcheck source=tests/helpers.bash
. "$BATS_TEST_DIRNAME/helpers.bash"

# run_limited KIB INPUT: the program in KIB KiB of memory, line-buffered as at a terminal.
run_limited() {
    status=0
    (ulimit -v "$1" && exec stdbuf -oL "$STUDENT_RECORD") <"$2" >"$out" 2>"$err" || status=$?
}

# scan INPUT EXPECTED: each limit from where the loader no longer fails to where the run completes.
scan() {
    local low=0 high=$((1 << 20)) limit
    while ((high - low > 4)); do
        limit=$(((low + high) / 2))
        run_limited "$limit" "$1"
        if ((status == 126 || status == 127)); then low=$limit; else high=$limit; fi
    done
    for ((limit = high; limit < high + (8 << 10); limit += ${MEMORY_STEP_KIB:-64})); do
        echo "at a limit of $limit KiB"
        run_limited "$limit" "$1"
        ((status == 0)) && break
        expect 1 "student-record: out of memory"
        cmp -n "$(stat -c %s "$out")" "$out" "$prompts"
    done
    expect 0 "" "$2"
}

setup_file() {
    ! (ulimit -v 1024 && exec "$STUDENT_RECORD") </dev/null >/dev/null 2>&1 ||
        skip "ulimit -v does not limit memory here"
}

@test "name-beyond-memory-limit" {
    # 64 MiB of address space holds the program but not a 64 MiB name being read.
    { head -c $((64 << 20)) /dev/zero | tr '\0' a; printf '\nLee\n5\n'; } >"$out.name"
    run_limited $((64 << 10)) "$out.name"
    expect 1 "student-record: out of memory" "$prompts.first"
}

@test "memory-limits" {
    scan "$answers" "$cases/worked-example.out"
    # Names of a few hundred KB: limits at which the answers fit but their copies do not.
    scan "$VARIANTS/long-names.in" "$VARIANTS/long-names.out"
}
