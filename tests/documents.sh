#!/usr/bin/env bash
# Runs each command that a document shows, as it stands, in the current directory, and compares
# what the document shows coming back with what comes back, byte for byte.
#
#   documents.sh [--windows] DOCUMENT [PROGRAM [ARG...]]
#
# In Markdown, each line of a ```sh block is a command, which must succeed. In a ```console block,
# each line after "$ " is a command, and the lines up to the next command or the end of the block
# are what it writes on standard output; a ```doscon block is the same for Command Prompt, with
# commands after "> ", which Wine's cmd runs (WINE names Wine's loader). A manual page (NAME.1) is
# rendered, and each indented line after "$ " is a command, with what it writes up to the next
# blank line. Where that output shows answers typed after the program's questions, as at a
# terminal, the command reads them; a command of a sh block reads "y" for each question that it
# asks, as a person answers apt's, and other commands read nothing.
#
# The document says how many commands it shows, as "examples: N" in a comment: fewer, more or
# none found is a failure. tests/not-run.txt, or the file NOT_RUN, lists the commands that cannot
# run here, with why; each must be in its document. PROGRAM, with its ARGs, is what
# `student-record` runs, and for Windows (--windows: CR LF line ends) `student-record.exe` too,
# which only such a program runs.
set -uo pipefail

windows=
[[ ${1-} == --windows ]] && windows=yes && shift
document=$1
work=$(mktemp -d -t documents.XXXXXX)
trap 'rm -rf "$work"' EXIT
not_run=${NOT_RUN:-$(dirname "$0")/not-run.txt}

fail() {
    echo "FAIL: $document: $*" >&2
    exit 1
}

if (($# > 1)); then
    mkdir "$work/bin"
    { printf 'exec'; printf ' %q' "${@:2}"; echo ' "$@"'; } >"$work/bin/student-record"
    [[ $windows ]] && cp "$work/bin/student-record" "$work/bin/student-record.exe"
    chmod +x "$work/bin"/*
    PATH=$work/bin:$PATH
fi

if [[ $document == *.1 ]]; then
    groff -man -Tascii -P-cbou -rLL=2000n "$document" >"$work/text" 2>&1
else
    cp "$document" "$work/text"
fi
# Each example to a file of its own: its kind and command on the first line, then what it shows.
awk -v to="$work/example-" -v page="${document##*.}" '
    function start(command) { if (file) close(file); file = to (++n); print command >file }
    page == "1" && /^ +\$ / { sub(/^ +\$ /, ""); start("console " $0); next }
    page == "1" && /^$/ { file = "" }
    page == "1" && file { sub(/^ +/, ""); print >file }
    /^ *```/ { kind = $0; sub(/^ *```/, "", kind); file = ""; next }
    kind == "sh" && NF { sub(/^ +/, ""); start("sh " $0); file = ""; next }
    kind == "console" && /^\$ / || kind == "doscon" && /^> / { start(kind " " substr($0, 3)) }
    kind ~ /^(console|doscon)$/ && file && !/^(\$|>) / { print >file }
    END { print n + 0 >(to "count") }' "$work/text"
found=$(<"$work/example-count")
((found)) && head -qn 1 "$work"/example-[0-9]* | cut -d ' ' -f 2- >"$work/commands"
stated=$(grep -m 1 -oE 'examples: [0-9]+' "$document" | sed 's/.* //')
[[ $found != 0 && $found == "$stated" ]] ||
    fail "it says it shows ${stated:-no number of} commands, and $found were found"

awk -F '\t' -v document="$document" '$1 == document { print $2 }' "$not_run" >"$work/not-run"
for ((n = 1; n <= found; n++)); do
    read -r kind command <"$work/example-$n"
    grep -qxF -- "$command" "$work/not-run" && continue
    [[ $command == *student-record.exe* && ! $windows ]] && continue
    if [[ $kind == sh ]]; then
        bash -c "$command" < <(yes) || fail "'$command' failed (above)"
        continue
    fi
    tail -n +2 "$work/example-$n" >"$work/shown"
    sed -n 's/^Please enter a [a-z ]*: \([^P].*\)$/\1/p' "$work/shown" >"$work/typed"
    if [[ $kind == doscon ]]; then
        "$WINE" cmd /c "$command" <"$work/typed" >"$work/out" 2>"$work/err"
    else
        bash -c "$command" <"$work/typed" >"$work/out" 2>"$work/err"
    fi || fail "'$command' failed: $(<"$work/err")"
    if [[ $windows ]]; then
        tr -d '\r' <"$work/out" >"$work/lines"
        sed 's/$/\r/' "$work/lines" | cmp -s - "$work/out" ||
            fail "'$command' wrote lines that do not end in CR LF"
        mv "$work/lines" "$work/out"
    fi
    # The answers as a terminal shows them, each after its question.
    awk -v typed="$work/typed" '{
        while (match($0, /^Please enter a [a-z ]*: /) && (getline answer <typed) > 0) {
            print substr($0, 1, RLENGTH) answer
            $0 = substr($0, RLENGTH + 1)
        }
        print }' "$work/out" | diff "$work/shown" - >"$work/differences" ||
        fail "'$command' writes (>) other lines than it shows (<): $(<"$work/differences")"
done
while IFS= read -r command; do
    grep -qxF -- "$command" "$work/commands" ||
        fail "tests/not-run.txt lists '$command', which it does not show"
done <"$work/not-run"
echo "$document: $found commands, each as it shows"
