#!/usr/bin/env bash
# tests/regenerate.sh PROGRAM: writes each golden case's tests/cases/NAME.out from what PROGRAM
# writes reading NAME.in, and NAME.windows.out, where there is one, from what it writes reading
# the input as a Windows console hands it over, up to the first Ctrl-Z.
set -euo pipefail

for input in "$(dirname "$0")"/cases/*.in; do
    "$1" <"$input" >"${input%.in}.out"
    [[ ! -e ${input%.in}.windows.out ]] ||
        perl -0032 -ne 'chomp; print; exit' "$input" | "$1" >"${input%.in}.windows.out"
done
