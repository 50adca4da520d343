#!/usr/bin/env bats
# The runners fail for their own reason on near misses made from the real expectation at run time.

# shellcheck source=tests/helpers.bash
. "$BATS_TEST_DIRNAME/helpers.bash"

# golden PROGRAM INPUT EXPECTED: the golden cases' runner.
golden() {
    "$CMAKE_COMMAND" -DPROGRAM="$1" -DINPUT="$2" -DEXPECTED="$3" \
        -P "$BATS_TEST_DIRNAME/run_case.cmake" >"$out" 2>&1 || status=$?
    tail -n 3 "$out"
}

@test "golden-runner-sees-a-byte-past-the-first-mebibyte" {
    report=$VARIANTS/four-mib-first-name.out
    { head -c $((3 << 20)) "$report"; printf '#'; tail -c +$(((3 << 20) + 2)) "$report"; } \
        >"$out.expected"
    golden "$STUDENT_RECORD" "$VARIANTS/four-mib-first-name.in" "$out.expected"
    [ "$status" -ne 0 ]
    grep -q 'standard output differs from' "$out"
}

@test "golden-runner-sees-a-failed-run" {
    printf '#!/bin/sh\ncat "%s"\nexit 1\n' "$cases/worked-example.out" >"$out.program"
    chmod +x "$out.program"
    golden "$out.program" "$answers" "$cases/worked-example.out"
    [ "$status" -ne 0 ]
    grep -q 'exit status 1, expected 0' "$out"
}

# Each row: what the runner must say, its options, and the document's source; example shows the
# worked example, its report changed by a sed script.
# shellcheck disable=SC2016 # each document's source is run as it stands
@test "documents-runner-sees-near-misses" {
    block=$(printf '```console\n$ %s' "printf 'Ann\\nLee\\n950.25\\n' | student-record")
    example() { echo "$block"; sed "${1-}" "$cases/worked-example.out"; echo '```'; }
    while IFS='|' read -r said options document; do
        echo "$document"
        eval "$document" >"$out.md"
        status=0
        NOT_RUN=/dev/null "$BATS_TEST_DIRNAME/documents.sh" ${options:+"$options"} "$out.md" \
            >"$out" 2>&1 || status=$?
        cat "$out"
        [ "$status" -ne 0 ] || [ -z "$said" ]
        [ "$status" -eq 0 ] || grep -qF "$said" "$out"
    done <<'ROWS'
||example
writes (>) other lines||example 's/^\[Lee\]/[Lea]/'
writes (>) other lines||example 's/^\[Lee\].*/& /'
writes (>) other lines||example 's/^Student 2 holds: /& /'
writes (>) other lines||example '$d'
do not end in CR LF|--windows|example
'false' failed||printf '```sh\ntrue\nfalse\n```\n'
runs no test||printf '```sh\nctest --test-dir %q -R "^no test has this name$"\n```\n' "$BATS_TEST_TMPDIR"
a sh block, no command||printf '```sh\n```\n'
a console block, no command||printf '```console\nAnn\n```\n'
shows no command||echo prose
ROWS
}
