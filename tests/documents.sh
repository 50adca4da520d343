#!/usr/bin/env bash
# documents.sh [--windows] DOCUMENT: runs each command that DOCUMENT shows, as it stands, here,
# and compares what it shows coming back with what comes back, byte for byte: each line of a ```sh
# block, which must succeed, answering "y" as a person answers apt; "$ " lines of a ```console
# block, or "> " lines of ```doscon (under Wine's cmd, WINE), each with its output up to the next;
# a manual page's indented "$ " lines, each with its output up to a blank line. Answers shown after
# the program's questions are typed to it. A block without a command, and a command that runs no
# test, fail. tests/not-run.txt (or NOT_RUN) lists the commands that cannot run here, with why.
# Commands of student-record.exe run only for Windows (--windows), whose lines end in CR LF.
set -uo pipefail

windows=
[[ ${1-} == --windows ]] && windows=yes && shift
document=$1
work=$(mktemp -d -t documents.XXXXXX)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $document: $*" >&2
    exit 1
}

cp "$document" "$work/text"
[[ $document != *.1 ]] || groff -man -Tascii -P-cbou -rLL=2000n "$document" >"$work/text" ||
    fail "groff failed"
# Each command to a file: its kind and command on the first line, then what it shows.
awk -v to="$work/example-" -v page="${document##*.}" '
    function start(command) { if (file) close(file); file = to (++n); print command >file; found++ }
    page == "1" && /^ +\$ / { sub(/^ +\$ /, ""); start("console " $0); next }
    page == "1" && /^$/ { file = "" }
    page == "1" && file { sub(/^ +/, ""); print >file }
    /^ *```/ && kind ~ /^(sh|console|doscon)$/ && !found { print "a " kind " block, no command" }
    /^ *```/ { kind = $0; sub(/^ *```/, "", kind); file = ""; found = 0; next }
    kind == "sh" && NF { sub(/^ +/, ""); start("sh " $0); file = ""; next }
    kind == "console" && /^\$ / || kind == "doscon" && /^> / { start(kind " " substr($0, 3)) }
    kind ~ /^(console|doscon)$/ && file && !/^(\$|>) / { print >file }
    END { if (!n) print "it shows no command" }' "$work/text" >"$work/problems"
[[ ! -s $work/problems ]] || fail "$(<"$work/problems")"

awk -F '\t' -v document="$document" '$1 == document { print $2 }' \
    "${NOT_RUN:-$(dirname "$0")/not-run.txt}" >"$work/not-run"
head -qn 1 "$work"/example-* | cut -d ' ' -f 2- >"$work/commands"
while IFS= read -r command; do
    grep -qxF -- "$command" "$work/commands" || fail "not-run.txt lists '$command', not shown here"
done <"$work/not-run"

for ((n = 1; n <= $(wc -l <"$work/commands"); n++)); do
    example=$work/example-$n
    read -r kind command <"$example"
    grep -qxF -- "$command" "$work/not-run" && continue
    [[ $command == *student-record.exe* && ! $windows ]] && continue
    if [[ $kind == sh ]]; then
        bash -c "$command" < <(yes) 2>&1 | tee "$work/said"
        ((PIPESTATUS[0] == 0)) || fail "'$command' failed (above)"
        ! grep -q 'No tests were found' "$work/said" || fail "'$command' runs no test"
        continue
    fi
    tail -n +2 "$example" >"$work/shown"
    sed -n 's/^Please enter a [a-z ]*: \([^P].*\)$/\1/p' "$work/shown" >"$work/typed"
    if [[ $kind == doscon ]]; then
        "$WINE" cmd /c "$command" <"$work/typed" >"$work/out" 2>"$work/err"
    else
        bash -c "$command" <"$work/typed" >"$work/out" 2>"$work/err"
    fi || fail "'$command' failed: $(<"$work/err")"
    if [[ $windows ]]; then
        ! grep -qv $'\r$' "$work/out" || fail "'$command' wrote lines that do not end in CR LF"
        sed -i 's/\r$//' "$work/out"
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
echo "$document: each command as it shows"
