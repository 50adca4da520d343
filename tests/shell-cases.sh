#!/usr/bin/env bash
# End-to-end cases driven from the shell: a dialogue over pipes, failures of the standard
# streams, memory and file-size limits, signals, the locale, the manual page, and the proof that
# each comparison of the cases sees one byte.
#
#   shell-cases.sh [--windows] [--sanitizer] --list
#   [FAILING_CLOSE=LIBRARY] [NONBLOCKING=PROGRAM] CMAKE_COMMAND=CMAKE VARIANTS=FOLDER \
#       CXX_LIBRARY=LIBRARY shell-cases.sh [--windows] [--sanitizer] CASE PROGRAM [ARG...]
#
# --windows says that the program is built for Windows, which writes CR LF line ends and, under
# Wine, meets none of the POSIX facilities; --sanitizer that it is built with sanitizers. --list
# names the cases that such a build can run, one a line. PROGRAM with its ARGs runs the program
# (an emulator and a program built for another platform, say). VARIANTS is the folder of the
# cases made at configure time, whose reports the long names below take. CXX_LIBRARY names the
# C++ library of the build, libstdc++ or libc++, whose results the manual page must show; any
# other value (there is no other column there) leaves them unchecked. FAILING_CLOSE names
# the library to preload for the case close-fails; NONBLOCKING the program that hands over
# standard streams in non-blocking mode.
#
# Each case is a function case_NAME, where each _ of NAME stands for a -, that begins by saying
# what it needs of the build. A case that needs what this system lacks (/dev/full, limits that
# are enforced, strace, stdbuf, groff, the sources of a locale, the helpers above) exits with
# status 77.
set -u

windows=
sanitizer=
while [[ ${1-} == --windows || ${1-} == --sanitizer ]]; do
    [[ $1 == --windows ]] && windows=yes
    [[ $1 == --sanitizer ]] && sanitizer=yes
    shift
done
listing=

# Set to say where in a case a failure happened.
where=

fail() {
    echo "FAIL${where:+ $where}: $*" >&2
    exit 1
}

skip() {
    echo "SKIP: $*"
    exit 77
}

# expect ACTUAL STATUS ERROR [FILE]: the last run ended with exit status ACTUAL, which must be
# STATUS; its standard error must be ERROR (one line, or nothing when ERROR is empty) and, when
# FILE is given, its standard output must equal FILE byte for byte.
expect() {
    [[ $1 == "$2" ]] || fail "exit status $1, expected $2"
    printf '%s' "${3:+$3$'\n'}" >"$work/expected-err"
    cmp -s "$work/err" "$work/expected-err" ||
        fail "standard error was '$(<"$work/err")', expected '$3'"
    if (($# > 3)); then
        same_output "$work/out" "$4" ||
            fail "standard output was '$(<"$work/out")', expected '$(<"$4")'"
    fi
}

# same_output ACTUAL EXPECTED: the file ACTUAL holds EXPECTED byte for byte, each line feed as CR
# LF for a program built for Windows, as the golden cases' runner compares them.
same_output() {
    if [[ $windows ]]; then
        "$CMAKE_COMMAND" -DACTUAL="$1" -DEXPECTED="$2" -DCRLF=ON -P "$tests/run_case.cmake" \
            >/dev/null
    else
        cmp -s "$1" "$2"
    fi
}

# is_start_of WHOLE PART: the file PART holds the start of the file WHOLE, or all of it. Where one
# file is the start of the other, cmp says "cmp: EOF on" the shorter one, as POSIX requires.
is_start_of() {
    local said
    cmp "$2" "$1" >/dev/null 2>"$work/cmp" && return
    IFS= read -r said <"$work/cmp"
    [[ $said == "cmp: EOF on $2"* ]]
}

# Makes the FIFO $work/fifo and holds it open for reading and writing on fd $held. The program's
# end of it then opens at once, and the program meets neither the end of its input nor a reader
# that has gone: only a pipe with no data, or no room, for now.
hold_fifo() {
    mkfifo "$work/fifo"
    exec {held}<>"$work/fifo"
}

# Starts a command with pipes on its standard input and output: answers go to fd $to, its
# output comes from fd $from. The pipes get fds of their own, since the shell closes a
# coprocess's fds as soon as the coprocess ends.
start() {
    local output input
    coproc dialogue { exec "$@" 2>"$work/err"; }
    # shellcheck disable=SC2154 # coproc sets dialogue_PID
    pid=$dialogue_PID
    output=${dialogue[0]} input=${dialogue[1]}
    exec {from}<&"$output" {to}>&"$input"
    exec {output}<&- {input}>&-
}

# Reads COUNT bytes of the program's output, waiting at most 5 s for them.
receive() {
    IFS= read -r -N "$1" -t 5 -u "$from" received ||
        fail "the program wrote '$received' and then nothing more"
}

# The program writes nothing more for half a second: it waits for an answer.
receive_nothing() {
    local more status
    IFS= read -r -N 1 -t 0.5 -u "$from" more
    status=$?
    ((status > 128)) && return
    ((status == 0)) && fail "the program wrote '$more' after '$received' before it had the answer"
    fail "the program ended its output after '$received' before it had the answer"
}

# run_limited KIB INPUT: runs the program on INPUT with at most KIB KiB of address space, and
# with standard output line-buffered, as at a terminal. Where the C++ library writes through C
# stdio (libc++), each line of the report then goes out as soon as it is written, and any part
# of the report written before memory ran out would show.
run_limited() {
    (ulimit -v "$1" && exec stdbuf -oL "${program[@]}") <"$2" >"$work/out" 2>"$work/err"
}

# Skips the case unless this system enforces the limits of ulimit -v. No program of this size can
# even start in 1 MiB.
require_memory_limits() {
    command -v stdbuf >/dev/null || skip "no stdbuf here to make standard output line-buffered"
    (ulimit -v 1024) 2>/dev/null || skip "ulimit -v cannot limit memory here"
    run_limited 1024 "$answers" && skip "ulimit -v does not limit memory here"
}

# scan INPUT EXPECTED: raises the memory limit a page at a time, from the lowest at which the
# program starts to the first at which it completes. Every run in between must stop with "out of
# memory" and status 1, having written at most the prompts, and nothing of the report. The run
# that completes must write EXPECTED.
scan() {
    local low=0 high=$((1 << 20)) limit status
    # A program that cannot start ends with status 126 (exec failed) or 127 (the loader failed).
    while ((high - low > 4)); do
        limit=$(((low + high) / 2))
        run_limited "$limit" "$1"
        case $? in
        126 | 127) low=$limit ;;
        *) high=$limit ;;
        esac
    done
    for ((limit = high; limit < high + (8 << 10); limit += 4)); do
        where="at a limit of $limit KiB"
        run_limited "$limit" "$1"
        status=$?
        if ((status == 0)); then
            expect "$status" 0 "" "$2"
            return
        fi
        expect "$status" 1 "student-record: out of memory"
        is_start_of "$work/prompts" "$work/out" ||
            fail "standard output held more than the prompts: '$(head -c 300 "$work/out")'"
    done
    fail "no run completed"
}

# needs NEED...: the case needs each NEED of the build, or it is not for this build. posix: a
# program that meets the streams, limits and signals of a POSIX system; unsanitized: a program
# whose sanitizers do not reserve more address space than any limit that a case could set. While
# the cases are listed, it names the case if the build can run it, and ends the case there.
needs() {
    local lacking=
    [[ $windows && " $* " == *" posix "* ]] && lacking="a program for a POSIX system"
    [[ $sanitizer && " $* " == *" unsanitized "* ]] && lacking="a program built without sanitizers"
    if [[ $listing ]]; then
        [[ $lacking ]] || echo "$case_name"
        exit 0
    fi
    [[ -z $lacking ]] || skip "this case needs $lacking"
}

case_prompt_to_full_disk() {
    needs posix
    # A prompt that cannot be written ends the run there, before any answer is read: standard
    # input would fail too, and at a terminal the user would answer in vain.
    [[ -c /dev/full ]] || skip "no /dev/full here"
    "${program[@]}" </ >/dev/full 2>"$work/err"
    expect $? 1 "student-record: write error: No space left on device"
}

case_write_to_closed_output() {
    needs posix
    "${program[@]}" <"$answers" >&- 2>"$work/err"
    expect $? 1 "student-record: write error: Bad file descriptor"
}

case_read_from_directory() {
    needs posix
    "${program[@]}" </ >"$work/out" 2>"$work/err"
    expect $? 1 "student-record: read error: Is a directory" "$work/first-prompt"
}

case_read_from_closed_input() {
    needs posix
    "${program[@]}" <&- >"$work/out" 2>"$work/err"
    expect $? 1 "student-record: read error: Bad file descriptor" "$work/first-prompt"
}

case_read_without_data() {
    needs posix
    # Standard input is a pipe in non-blocking mode that holds the two names and nothing more,
    # while its writer is still there: the read of the tuition finds no data for now, which is a
    # read error (EAGAIN), not the end of input. Its message is the longest line the program
    # writes.
    [[ ${NONBLOCKING-} ]] || skip "no program here to hand over a non-blocking pipe"
    hold_fifo
    printf 'Ann\nLee\n' >&"$held"
    "$NONBLOCKING" "${program[@]}" <"$work/fifo" >"$work/out" 2>"$work/err"
    expect $? 1 "student-record: read error: Resource temporarily unavailable" "$work/prompts"
}

case_write_without_room() {
    needs posix
    # Standard output is a pipe in non-blocking mode that no one reads while the program runs.
    # The report outgrows any pipe: the write that finds no room for now is a write error
    # (EAGAIN), and what the pipe took stays, the start of the whole output.
    [[ ${NONBLOCKING-} ]] || skip "no program here to hand over a non-blocking pipe"
    hold_fifo
    "$NONBLOCKING" "${program[@]}" <"$VARIANTS/four-mib-first-name.in" >"$work/fifo" \
        2>"$work/err"
    status=$?
    exec {drain}<"$work/fifo" {held}>&-
    cat <&"$drain" >"$work/out"
    expect $status 1 "student-record: write error: Resource temporarily unavailable"
    is_start_of "$VARIANTS/four-mib-first-name.out" "$work/out" ||
        fail "standard output was not the start of the report: '$(head -c 300 "$work/out")'"
}

case_error_line_in_one_write() {
    needs posix
    # The error line goes out in a single write, so that it cannot mix with what other programs
    # write to the same terminal.
    command -v strace >/dev/null || skip "no strace here to count the writes"
    strace -o /dev/null true 2>/dev/null || skip "strace cannot trace programs here"
    strace -o "$work/trace" -qq -s 100 -e trace=write,writev "${program[@]}" </ \
        >/dev/null 2>"$work/err"
    expect $? 1 "student-record: read error: Is a directory"
    # One call (write, or writev with the line in one of its buffers) that wrote all 43 bytes.
    mapfile -t calls < <(grep -E '^[a-z0-9]+\(2,' "$work/trace")
    if ((${#calls[@]} != 1)) ||
        [[ ${calls[0]} != *'"student-record: read error: Is a directory\n"'*'= 43' ]]; then
        fail "standard error was written by these calls: ${calls[*]}"
    fi
}

case_report_beyond_file_size_limit() {
    needs posix
    # With SIGXFSZ ignored, a write past the file-size limit fails with EFBIG. A long first name
    # takes the report past a limit of 1024 bytes, after the prompts went out.
    (ulimit -f 1) 2>/dev/null || skip "ulimit -f cannot limit file sizes here"
    head -c 1024 "$VARIANTS/four-mib-first-name.out" >"$work/accepted"
    (trap '' XFSZ && ulimit -f 1 && exec "${program[@]}") <"$VARIANTS/four-mib-first-name.in" \
        >"$work/out" 2>"$work/err"
    expect $? 1 "student-record: write error: File too large" "$work/accepted"
}

case_close_fails() {
    needs posix
    # Some file systems report a failed write only when the file is closed. EILSEQ gives the
    # longest error line of all, which must still come whole, with its line feed.
    [[ ${FAILING_CLOSE-} ]] || skip "no library here that makes closing standard output fail"
    for error in "EIO|Input/output error" "EILSEQ|Invalid or incomplete multibyte or wide character"
    do
        where="where the close reports ${error%|*}"
        FAILING_CLOSE_ERROR=${error%|*} LD_PRELOAD=$FAILING_CLOSE "${program[@]}" <"$answers" \
            >"$work/out" 2>"$work/err"
        expect $? 1 "student-record: write error: ${error#*|}" "$cases/worked-example.out"
    done
}

case_name_beyond_memory_limit() {
    needs posix unsanitized
    require_memory_limits
    # 64 MiB of address space holds the program but not a 64 MiB name being read.
    { head -c $((64 << 20)) /dev/zero | tr '\0' a; printf '\nLee\n5\n'; } >"$work/huge-name"
    run_limited $((64 << 10)) "$work/huge-name"
    expect $? 1 "student-record: out of memory" "$work/first-prompt"
}

case_broken_pipe() {
    needs posix
    # The reader goes away after the first prompt; the next prompt meets a broken pipe. The
    # program keeps the disposition of SIGPIPE that it inherits, as other command-line tools do:
    # by default the signal ends it, and where it is ignored the write fails.
    start "${program[@]}"
    receive ${#first_prompt}
    exec {from}<&-
    cat "$answers" >&"$to"
    wait "$pid"
    status=$?
    if (kill -s PIPE "$BASHPID"); then
        expect $status 1 "student-record: write error: Broken pipe"
    else
        expect $status $((128 + 13)) ""
    fi
}

case_memory_limits() {
    needs posix unsanitized
    require_memory_limits
    scan "$answers" "$cases/worked-example.out"
    # Names of a few hundred KB: the limits at which the answers fit but their copies do not.
    scan "$VARIANTS/long-names.in" "$VARIANTS/long-names.out"
}

case_prompts_before_answers() {
    needs
    start "${program[@]}"
    for exchange in "$first_prompt|Ann" "Please enter a last name: |Lee" \
        "Please enter a tuition amount: |950.25"; do
        prompt=${exchange%|*}
        receive ${#prompt}
        receive_nothing
        printf '%s' "$received" >>"$work/out"
        printf '%s\n' "${exchange#*|}" >&"$to"
    done
    cat <&"$from" >>"$work/out"
    wait "$pid"
    status=$?
    expect "$status" 0 "" "$cases/worked-example.out"
}

case_locale_with_decimal_comma() {
    needs
    # The program reads no environment: a locale that writes 950,25 changes nothing. The locale is
    # made here from the system's sources, and shown to be in effect for other programs.
    localedef -i de_DE -f ISO-8859-1 "$work/de_DE" >/dev/null 2>&1 ||
        skip "no locale sources here to make de_DE from (Debian package locales)"
    export LOCPATH=$work LC_ALL=de_DE LANG=de_DE
    [[ $(env printf '%.2f' 950.25) == 950,25 ]] || fail "the locale de_DE is not in effect"
    "${program[@]}" <"$answers" >"$work/out" 2>"$work/err"
    expect $? 0 "" "$cases/worked-example.out"
}

case_manual_page() {
    needs
    # The manual page names each prompt and each message of the program, and no other: the
    # prompts of a run, and the messages that the cases of this script expect.
    command -v groff >/dev/null || skip "no groff here to render the manual page"
    groff -man -Tascii -P-cbou -rLL=2000n "$tests/../man/student-record.1" \
        >"$work/page" 2>&1
    "${program[@]}" <"$answers" >"$work/out" 2>"$work/err"
    expect $? 0 "" "$cases/worked-example.out"
    grep -o 'Please enter a [a-z ]*:' "$work/out" >"$work/said"
    grep -o '"student-record: [a-z][a-z ]*' "$0" | tr -d '"' >>"$work/said"
    grep -oE 'Please enter a [a-z ]*:|student-record: [a-z]+( [a-z]+)*' "$work/page" >"$work/named"
    sort -u -o "$work/said" "$work/said"
    sort -u -o "$work/named" "$work/named"
    diff "$work/said" "$work/named" >"$work/differences" ||
        fail "the manual page names (>) or misses (<) these: $(<"$work/differences")"

    # Each example of the page is what the program writes. The runner fails, for its own reason,
    # on a page with one byte more in an example, or that says it shows one more, on a list of
    # what cannot run that names a command that the page does not show, and, given a program for
    # Linux as one for Windows, on lines that do not end in CR LF.
    local page option script said near_misses
    page=$(dirname "$tests")/man/student-record.1
    "$tests/documents.sh" ${windows:+--windows} "$page" "${program[@]}" || exit 1
    printf '%s\tman student-record\tnone\n' "$work/near-miss.1" >"$work/not-run"
    near_misses=("${windows:+--windows}|0,/^\[Lee\]/s//[Lee ]/|writes (>) other lines"
        "${windows:+--windows}|s/examples: 3/examples: 4/|says it shows 4"
        "${windows:+--windows}||lists 'man student-record'")
    [[ $windows ]] || near_misses+=("--windows||do not end in CR LF")
    for near_miss in "${near_misses[@]}"; do
        IFS='|' read -r option script said <<<"$near_miss"
        sed "$script" "$page" >"$work/near-miss.1"
        ! NOT_RUN=$work/not-run "$tests/documents.sh" ${option:+"$option"} "$work/near-miss.1" \
            "${program[@]}" 2>"$work/said" >/dev/null || fail "the runner passed $near_miss"
        grep -qF "$said" "$work/said" ||
            fail "the runner failed for another reason: $(<"$work/said")"
    done

    # The tuitions that the page shows for an answer: in prose, "950.25 as 950.25", and in its
    # table of the two C++ libraries, a row for each answer, for the library of this build (CMake
    # names it, or something else where it found neither).
    grep -oE '[-0-9.e+]+ as [-0-9.e+]*[0-9]' "$work/page" | sed 's/ as / /' >"$work/shown"
    sed -nE 's/^ +([^ ]+) +([^ ]+) with libstdc\+\+, ([^ ]+) with libc\+\+$/\1 \2 \3/p' \
        "$work/page" | awk -v library="$CXX_LIBRARY" 'library == "libstdc++" { print $1, $2 }
            library == "libc++" { print $1, $3 }' >>"$work/shown"
    while read -r typed shown; do
        printf 'Ann\nLee\n%s\n' "$typed" | "${program[@]}" | sed -n 8p | tr -d '\r' >"$work/out"
        [[ $(<"$work/out") == "[$shown]-Tuition Balance" ]] ||
            fail "the page shows $typed as $shown; the program: $(<"$work/out")"
    done <"$work/shown"

    # The exit statuses that the page lists are those that these cases expect.
    awk '/^EXIT STATUS$/ { listed = 1; next } /^[A-Z]/ { listed = 0 }
        listed && /^ +[0-9]+ / { print $1 }' "$work/page" | sort -u >"$work/page-statuses"
    grep -oE 'expect "?\$[a-z?]+"? [0-9]+ ' "$0" | awk '{ print $3 }' | sort -u >"$work/statuses"
    diff "$work/statuses" "$work/page-statuses" >"$work/differences" ||
        fail "EXIT STATUS lists (>) or lacks (<) these: $(<"$work/differences")"
}

case_comparisons_see_one_byte() {
    needs
    # Each comparison that the cases make sees one byte more or one byte less, on either side:
    # the exit status and standard error as expect compares them, and standard output as expect,
    # same_output, is_start_of and the golden cases' runner do (for Windows with the CR of each
    # line end). The runner also sees a program that writes the whole report but exits with 1.
    # shellcheck disable=SC2034,SC2317 # the rows use them
    local line='student-record: read error: Is a directory' report=$cases/worked-example.out
    local outcome check compare
    # shellcheck disable=SC2317
    golden() {
        "$CMAKE_COMMAND" -DACTUAL="$1" -DEXPECTED="$2" "-DCRLF=${windows:+ON}" \
            -P "$tests/run_case.cmake"
    }
    # shellcheck disable=SC2317
    golden_run() {
        printf 'cat "%s"; exit %s\n' "$work/out" "$1" >"$work/program"
        (cd "$work" && "$CMAKE_COMMAND" -DPROGRAM="$BASH" -DINPUT="$work/program" \
            -DEXPECTED="$report" "-DCRLF=${windows:+ON}" -P "$tests/run_case.cmake")
    }
    if [[ $windows ]]; then sed 's/$/\r/' "$report"; else cat "$report"; fi >"$work/out"
    head -c -1 "$work/out" >"$work/out-less"
    { cat "$work/out"; printf x; } >"$work/out-more"
    head -c -1 "$report" >"$work/report-less"
    { cat "$report"; printf x; } >"$work/report-more"
    # The rows that write standard error come last: the others read it as the first row left it.
    while IFS='|' read -r outcome check; do
        for compare in same_output golden; do
            if (eval "$check") >/dev/null 2>&1; then
                [[ $outcome == pass ]] || fail "it should have failed: $check ($compare)"
            else
                [[ $outcome == fail ]] || fail "it should have passed: $check ($compare)"
            fi
        done
    done <<'ROWS'
pass|printf '%s\n' "$line" >"$work/err"; expect 1 1 "$line" "$report"
pass|$compare "$work/out" "$report"
fail|expect 10 1 "$line"
fail|expect 1 10 "$line"
fail|expect "" 1 "$line"
fail|expect 1 "" "$line"
fail|expect 1 1 "${line}x"
fail|expect 1 1 "${line%?}"
fail|$compare "$work/out" "$work/report-more"
fail|$compare "$work/out" "$work/report-less"
fail|$compare "$work/out-more" "$report"
fail|$compare "$work/out-less" "$report"
fail|expect 1 1 "$line" "$work/report-more"
fail|expect 1 1 "$line" "$work/report-less"
pass|is_start_of "$report" "$work/report-less"
fail|is_start_of "$work/report-less" "$report"
pass|golden_run 0
fail|golden_run 1
fail|printf '%s\n\n' "$line" >"$work/err"; expect 1 1 "$line"
fail|printf '%s' "$line" >"$work/err"; expect 1 1 "$line"
ROWS
}

# --- Main ---

if [[ ${1-} == --list ]]; then
    listing=yes
    for function in $(compgen -A function case_); do
        case_name=${function#case_}
        case_name=${case_name//_/-}
        ("$function"; fail "the case $case_name does not begin with needs") || exit 1
    done
    exit 0
fi

case_name=$1
program=("${@:2}")
declare -F "case_${case_name//-/_}" >/dev/null || fail "no case named '$case_name'"
tests=$(cd "$(dirname "$0")" && pwd)
cases=$tests/cases
work=$(mktemp -d -t "shell-$case_name.XXXXXX")
trap 'rm -rf "$work"' EXIT
answers=$cases/worked-example.in
first_prompt='Please enter a first name: '
printf '%s' "$first_prompt" >"$work/first-prompt"
printf '%s' "${first_prompt}Please enter a last name: Please enter a tuition amount: " \
    >"$work/prompts"
"case_${case_name//-/_}"
