#!/usr/bin/env bats
# The dialogue as a person meets it, in every build, and the manual page that tells of it.

# shellcheck source=tests/helpers.bash
. "$BATS_TEST_DIRNAME/helpers.bash"

@test "prompts-before-answers" {
    # Each question is out before the program waits for its answer, and nothing more until then.
    start
    for exchange in "$first_prompt|Ann" "Please enter a last name: |Lee" \
        "Please enter a tuition amount: |950.25"; do
        prompt=${exchange%|*}
        read -r -N ${#prompt} -t 5 -u "$from" received
        echo "the program wrote '$received'"
        [ "$received" = "$prompt" ]
        ! read -r -N 1 -t 0.5 -u "$from" more
        [ -z "$more" ]
        printf '%s' "$received" >>"$out"
        printf '%s\n' "${exchange#*|}" >&"$to"
    done
    cat <&"$from" >>"$out"
    wait "$pid" || status=$?
    expect 0 "" "$cases/worked-example.out"
}

@test "locale-with-decimal-comma" {
    # A locale that writes 950,25, shown in effect for other programs, changes nothing.
    localedef -i de_DE -f ISO-8859-1 "$BATS_TEST_TMPDIR/de_DE" ||
        skip "no locale sources here to make de_DE from (Debian package locales)"
    export LOCPATH=$BATS_TEST_TMPDIR LC_ALL=de_DE LANG=de_DE
    [ "$(env printf '%.2f' 950.25)" = 950,25 ]
    student_record <"$answers" >"$out"
    expect 0 "" "$cases/worked-example.out"
}

@test "manual-page" {
    command -v groff || skip "no groff here to render the manual page"
    page=$BATS_TEST_DIRNAME/../man/student-record.1
    groff -man -Tascii -P-cbou -rLL=2000n "$page" >"$out.page"
    # Each example of the page is what the program writes, those for Windows in its builds.
    "$BATS_TEST_DIRNAME/documents.sh" ${windows:+"$windows"} "$page"

    # The page names each prompt of a run and each message that the shell cases expect, no other.
    student_record <"$answers" >"$out"
    { grep -o 'Please enter a [a-z ]*:' "$out"
        cat "$BATS_TEST_DIRNAME"/*.bats | grep -o '"student-record: [a-z][a-z ]*' | tr -d '"'
    } | sort -u >"$out.said"
    grep -oE 'Please enter a [a-z ]*:|student-record: [a-z]+( [a-z]+)*' "$out.page" |
        sort -u | diff "$out.said" -

    # The tuitions that the page shows, in prose ("950.25 as 950.25") and in its table for this
    # build's C++ library, are the program's.
    { grep -oE '[-0-9.e+]+ as [-0-9.e+]*[0-9]' "$out.page" | sed 's/ as / /'
        sed -nE 's/^ +([^ ]+) +([^ ]+) with libstdc\+\+, ([^ ]+) with libc\+\+$/\1 \2 \3/p' \
            "$out.page" | awk -v library="$CXX_LIBRARY" '
                library == "libstdc++" { print $1, $2 } library == "libc++" { print $1, $3 }'
    } >"$out.shown"
    while read -r typed shown; do
        echo "the page shows $typed as $shown"
        sed "s/\[950\.25\]/[$shown]/" "$cases/worked-example.out" >"$out.report"
        printf 'Ann\nLee\n%s\n' "$typed" | "$STUDENT_RECORD" | tr -d '\r' |
            cmp - "$out.report"
    done <"$out.shown"
    [ -s "$out.shown" ]

    # The exit statuses that the page lists are those that the shell cases expect.
    awk '/^EXIT STATUS$/ { listed = 1; next } /^[A-Z]/ { listed = 0 }
        listed && /^ +[0-9]+ / { print $1 }' "$out.page" | sort -u >"$out.listed"
    cat "$BATS_TEST_DIRNAME"/*.bats | grep -oE '^ +expect [0-9]+ ' | awk '{ print $2 }' |
        sort -u | diff - "$out.listed"
}
