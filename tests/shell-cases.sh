#!/usr/bin/env bash
# End-to-end cases driven from the shell: failures of the standard streams, a memory limit, a
# broken pipe, and a dialogue driven over pipes.
#
#   shell-cases.sh [--crlf] CASE PROGRAM [ARG...]
#
# PROGRAM with its ARGs runs the program (an emulator and a program built for another platform,
# say). --crlf expects the line ends of a Windows console, CR LF.
set -u

crlf=
if [[ $1 == --crlf ]]; then
    crlf=yes
    shift
fi
case_name=$1
program=("${@:2}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'Ann\nLee\n950.25\n' >"$work/answers"
first_prompt='Please enter a first name: '
printf '%s' "$first_prompt" >"$work/first-prompt"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# expect ACTUAL STATUS ERROR [FILE]: the last run ended with exit status ACTUAL, which must be
# STATUS; its standard error must be ERROR (one line, or nothing when ERROR is empty) and, when
# FILE is given, its standard output must equal FILE byte for byte.
expect() {
    [[ $1 == "$2" ]] || fail "exit status $1, expected $2"
    cmp -s "$work/err" <(printf '%s' "${3:+$3$'\n'}") ||
        fail "standard error was '$(<"$work/err")', expected '$3'"
    if (($# > 3)); then
        cmp -s "$work/out" "$4" ||
            fail "standard output was '$(<"$work/out")', expected '$(<"$4")'"
    fi
}

# Starts a command with pipes on its standard input and output: answers go to fd $to, its
# output comes from fd $from. The pipes get fds of their own, since the shell closes a
# coprocess's fds as soon as the coprocess ends.
start() {
    coproc dialogue { exec "$@" 2>"$work/err"; }
    pid=$dialogue_PID
    exec {from}<&"${dialogue[0]}" {to}>&"${dialogue[1]}"
    exec {dialogue[0]}<&- {dialogue[1]}>&-
}

# Reads COUNT bytes of the program's output, waiting at most 5 s for them.
receive() {
    IFS= read -r -N "$1" -t 5 -u "$from" received ||
        fail "the program wrote '$received' and then nothing more"
}

case $case_name in
write-to-full-disk)
    "${program[@]}" <"$work/answers" >/dev/full 2>"$work/err"
    expect $? 1 "student-record: write error: No space left on device"
    ;;
write-to-closed-output)
    "${program[@]}" <"$work/answers" >&- 2>"$work/err"
    expect $? 1 "student-record: write error: Bad file descriptor"
    ;;
read-from-directory)
    "${program[@]}" </ >"$work/out" 2>"$work/err"
    expect $? 1 "student-record: read error: Is a directory" "$work/first-prompt"
    ;;
read-from-closed-input)
    "${program[@]}" <&- >"$work/out" 2>"$work/err"
    expect $? 1 "student-record: read error: Bad file descriptor" "$work/first-prompt"
    ;;
name-beyond-memory-limit)
    # 64 MiB of address space holds the program but not a 64 MiB name being read.
    { head -c $((64 << 20)) /dev/zero | tr '\0' a; printf '\nLee\n5\n'; } |
        (ulimit -v $((64 << 10)) && exec "${program[@]}") >"$work/out" 2>"$work/err"
    expect $? 1 "student-record: out of memory" "$work/first-prompt"
    ;;
broken-pipe)
    # The reader goes away after the first prompt; the next prompt meets a broken pipe.
    start env --default-signal=PIPE "${program[@]}"
    receive ${#first_prompt}
    exec {from}<&-
    cat "$work/answers" >&"$to"
    wait "$pid"
    expect $? $((128 + 13)) ""
    ;;
prompts-before-answers)
    start "${program[@]}"
    for exchange in "$first_prompt|Ann" "Please enter a last name: |Lee" \
        "Please enter a tuition amount: |950.25"; do
        prompt=${exchange%|*}
        receive ${#prompt}
        printf '%s' "$received" >>"$work/out"
        printf '%s\n' "${exchange#*|}" >&"$to"
    done
    cat <&"$from" >>"$work/out"
    wait "$pid"
    status=$?
    expected=$(dirname "$0")/cases/worked-example.out
    if [[ $crlf ]]; then
        sed 's/$/\r/' "$expected" >"$work/expected"
        expected=$work/expected
    fi
    expect "$status" 0 "" "$expected"
    ;;
*)
    fail "no case named '$case_name'"
    ;;
esac
