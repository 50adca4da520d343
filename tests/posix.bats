#!/usr/bin/env bats
# Failing streams, limits and signals: each failure is one line on standard error and status 1.

# shellcheck source=tests/helpers.bash
. "$BATS_TEST_DIRNAME/helpers.bash"

@test "failing-streams" {
    # Each row: the run's standard input and output, its error line, what its output holds. A
    # prompt that cannot be written ends the run before any answer is read.
    while IFS='|' read -r streams error shown; do
        eval "student_record $streams"
        eval "expect 1 '$error' $shown"
    done <<'ROWS'
</ >/dev/full|student-record: write error: No space left on device|
<"$answers" >&-|student-record: write error: Bad file descriptor|
</ >"$out"|student-record: read error: Is a directory|"$prompts.first"
<&- >"$out"|student-record: read error: Bad file descriptor|"$prompts.first"
ROWS
}

@test "read-without-data" {
    hold_fifo
    printf 'Ann\nLee\n' >&"$held"
    nonblocking "$STUDENT_RECORD" <"$fifo" >"$out" 2>"$err" || status=$?
    expect 1 "student-record: read error: Resource temporarily unavailable" "$prompts"
}

@test "write-without-room" {
    # No one reads the pipe, which the report outgrows: what the pipe took stays.
    hold_fifo
    nonblocking "$STUDENT_RECORD" <"$VARIANTS/four-mib-first-name.in" >"$fifo" 2>"$err" ||
        status=$?
    { exec {held}>&- && cat; } <"$fifo" >"$out"
    expect 1 "student-record: write error: Resource temporarily unavailable"
    cmp -n "$(stat -c %s "$out")" "$out" "$VARIANTS/four-mib-first-name.out"
}

@test "error-line-in-one-write" {
    # One write, so that the line cannot mix with what other programs write to the terminal.
    command -v strace || skip "no strace here to count the writes"
    strace -o "$out" -qq -s 100 -e trace=write,writev "$STUDENT_RECORD" </ >/dev/null 2>"$err" ||
        status=$?
    expect 1 "student-record: read error: Is a directory"
    grep -E '^[a-z0-9]+\(2,' "$out" | tee "$out.calls"
    [ "$(wc -l <"$out.calls")" -eq 1 ]
    grep -q '"student-record: read error: Is a directory\\n".*= 43$' "$out.calls"
}

@test "report-beyond-file-size-limit" {
    # With SIGXFSZ ignored, a write past the file-size limit fails with EFBIG.
    head -c 1024 "$VARIANTS/four-mib-first-name.out" >"$out.accepted"
    (trap '' XFSZ && ulimit -f 1 && exec "$STUDENT_RECORD") <"$VARIANTS/four-mib-first-name.in" \
        >"$out" 2>"$err" || status=$?
    expect 1 "student-record: write error: File too large" "$out.accepted"
}

@test "close-fails" {
    # As some file systems report a failed write; EILSEQ gives the longest line, still whole.
    [ -n "${FAILING_CLOSE-}" ] || skip "no library here that makes closing standard output fail"
    for error in "EIO|Input/output error" "EILSEQ|Invalid or incomplete multibyte or wide character"
    do
        FAILING_CLOSE_ERROR=${error%|*} LD_PRELOAD=$FAILING_CLOSE student_record <"$answers" >"$out"
        expect 1 "student-record: write error: ${error#*|}" "$cases/worked-example.out"
    done
}

@test "broken-pipe" {
    # The program keeps the SIGPIPE disposition that it inherits: by default the signal ends it.
    start
    read -r -N ${#first_prompt} -t 5 -u "$from" _
    exec {from}<&-
    cat "$answers" >&"$to"
    wait "$pid" || status=$?
    if (kill -s PIPE "$BASHPID"); then
        expect 1 "student-record: write error: Broken pipe"
    else
        expect $((128 + 13)) ""
    fi
}
