#!/usr/bin/env bash
# Feeds a first name of N MiB (default 256) to the release build five times and prints the
# median throughput, the fastest run, and the peak resident memory as a multiple of the name's
# size.
#
#   bench/large-name.sh [N] [PROGRAM]
#
# PROGRAM defaults to the build of README.md's commands: build/app/student-record.
set -euo pipefail

mib=${1:-256}
program=${2:-$(dirname "$0")/../build/app/student-record}
runs=5

[[ -x /usr/bin/time ]] ||
    { echo "large-name.sh: needs /usr/bin/time (apt-get install time)" >&2; exit 1; }
[[ -x $program ]] || { echo "large-name.sh: build the program first: $program" >&2; exit 1; }

input=$(mktemp)
report=$(mktemp)
trap 'rm -f "$input" "$report"' EXIT
{ head -c $((mib << 20)) /dev/zero | tr '\0' a; printf '\nLee\n950.25\n'; } >"$input"

seconds=()
peak_kib=0
for ((run = 1; run <= runs; run++)); do
    start=$(date +%s%N)
    /usr/bin/time -v "$program" <"$input" >/dev/null 2>"$report"
    end=$(date +%s%N)
    seconds+=("$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')")
    kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$report")
    ((kib > peak_kib)) && peak_kib=$kib
done

median=$(printf '%s\n' "${seconds[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
awk -v mib="$mib" -v median="$median" -v runs="${seconds[*]}" -v kib="$peak_kib" 'BEGIN {
    printf "name: %d MiB, %d runs: %s s\n", mib, split(runs, all, " "), runs
    printf "median: %.3f s, %.0f MiB/s\n", median, mib / median
    fastest = all[1]
    for (i in all) if (all[i] < fastest) fastest = all[i]
    printf "fastest: %.3f s, %.0f MiB/s\n", fastest, mib / fastest
    printf "peak resident memory: %.0f MiB, %.2f x the name\n", kib / 1024, kib / 1024 / mib
}'
