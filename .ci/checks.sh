# shellcheck shell=bash disable=SC2154 # scratch and bad are the folders of .ci/run
# The checks of CI, each with its negative controls, read by .ci/run.
#
# Every check of CI is a function check_NAME, which a step runs as `checked NAME ARG...`. Each time,
# before the check sees ARG..., it is shown its negative controls, the commands of its row here:
# they hand it known-bad inputs (.ci/known-bad; "$@" holds ARG...), and each of them must fail. A
# control that passes stops CI and names the check, and so does a check without a row.
# shellcheck disable=SC2016 # each row is run as it stands, with "$@" of its check
declare -A controls=(
    [format]='check_format "$(bad unformatted.cc)"'
    [tidy]='check_tidy "$1" "$(bad literal-zero-pointer.cc)"'
    [shellcheck]='check_shellcheck "$(bad unquoted.bash)"'
    [page_lint]='check_page_lint "$(bad unknown-macro.1)"'
    [documents]='check_documents "$1" "$(bad missing-path.markdown)"
        check_documents "$1" "$(bad wrong-count.markdown)"
        check_documents "$1" "$(bad old-version.markdown)"'
    [same]='check_same "$(bad one-byte)" "$2"
        check_same "$2" "$2"'
    [refused]='check_refused "$1" true
        check_refused "$1" false'
    [suite]='check_suite "$1" -R "^no test has this name$"
        localedef() { false; } && export -f localedef && check_suite "$1" -R "locale-with"'
    [listed]='check_listed shell.never-added "$2"'
    [cases]='check_cases <(cat "$1" && echo tests/cases/never-run.in) "$2"'
    [hardened]='check_hardened "$(bad unhardened)" "$2"'
    [compiled]='check_compiled "$(without_last_option "$1" "$2")" "${@:2}"'
    [pe]='check_pe "$(bad_exe "$2" -Wl,--disable-dynamicbase,--disable-nxcompat)" "${@:2}"'
    [valgrind]='check_valgrind "$(bad invalid-read)" "${@:2}"
        check_valgrind "$(bad leak)" "${@:2}"'
    [instructions]='check_instructions "$(bad busy)" "${@:2}"'
    [varied]='check_varied "$2" "$2"'
    [archive]='check_archive "$(source_archive "$2" "$3" group-writable 002)" "${@:2}"
        check_archive "$(source_archive "$2" "$3" more 022 --add-file="$(bad one-byte)")" "${@:2}"'
    [dated]='check_dated "$1" "1970-01-01 00:00:00"'
    [installed_size]='check_installed_size "$(bad_deb "$1")"'
    [lintian]='check_lintian "$(bad_deb "$1")"'
    [plain_text]='check_plain_text "$(bad overstruck.txt)"'
    [clean]='clone_with_left_over "$1" && check_clean "$bad/clone" /dev/null'
)

checked() {
    local name=$1 control
    shift
    while read -r control; do
        if (eval "$control") >"$bad/said" 2>&1; then
            cat "$bad/said"
            echo "the check $name passed its negative control: $control" >&2
            exit 1
        fi
    done <<<"${controls[$name]:?the check $name has no negative control}"
    "check_$name" "$@"
}

# The controls' own control, which .ci/run runs first: a check that passes its control.
controls[unfailing]=true
check_unfailing() { :; }

# bad NAME: the known-bad input .ci/known-bad/NAME, or the program that NAME.c there builds into,
# without optimisation and without any hardening.
bad() {
    if [[ -e .ci/known-bad/$1 ]]; then
        echo "$PWD/.ci/known-bad/$1"
    else
        [[ -e $bad/$1 ]] || cc -O0 -U_FORTIFY_SOURCE -fno-stack-protector -fcf-protection=none \
            -no-pie -Wl,-z,norelro,-z,lazy -o "$bad/$1" ".ci/known-bad/$1.c"
        echo "$bad/$1"
    fi
}

# bad_exe TARGET OPTION...: a Windows program built for the mingw-w64 TARGET with OPTION...
bad_exe() {
    "$1-gcc" "${@:2}" -o "$bad/$1.exe" .ci/known-bad/leak.c
    echo "$bad/$1.exe"
}

# bad_deb DEB: DEB packed again with a file that its group may write, of which lintian warns (and
# of nothing else), and with an Installed-Size that is not what its entries count.
bad_deb() {
    if [[ ! -e $bad/warned.deb ]]; then
        dpkg-deb --raw-extract "$1" "$bad/deb"
        chmod g+w "$bad/deb/usr/share/doc/student-record/README.md"
        sed -i 's/^Installed-Size: .*/&1/' "$bad/deb/DEBIAN/control"
        dpkg-deb --root-owner-group --build "$bad/deb" "$bad/warned.deb" >/dev/null
    fi
    echo "$bad/warned.deb"
}

# without_last_option BUILD OPTIONS: a folder with BUILD's compile commands, from which the last
# of the OPTIONS is taken out.
without_last_option() {
    mkdir -p "$bad/compiled"
    sed "s/ ${2##* } / /g" "$1/compile_commands.json" >"$bad/compiled/compile_commands.json"
    echo "$bad/compiled"
}

# source_archive TREE VERSION NAME UMASK [OPTION...]: the source archive NAME.tar.gz of TREE, as
# git makes it under the umask for tar UMASK, and with the OPTIONs of git archive.
source_archive() {
    git -C "$1" -c safe.directory="$1" -c tar.umask="$4" archive --prefix="student-record-$2/" \
        "${@:5}" -o "$bad/$3.tar.gz" HEAD
    echo "$bad/$3.tar.gz"
}

# clone_with_left_over TREE: a clone of TREE in $bad/clone, with one file that git does not track.
clone_with_left_over() {
    [[ -d $bad/clone ]] || git clone -q "$1" "$bad/clone"
    touch "$bad/clone/left-over"
}

check_format() { clang-format --dry-run --Werror "$@"; }

# check_tidy BUILD SOURCE...: clang-tidy finds nothing in the SOURCEs, with the compile commands of
# BUILD. It counts on standard error the warnings that it leaves unshown, in the system's headers:
# shown only on failure.
check_tidy() {
    clang-tidy --config-file=.clang-tidy -p "$1" --quiet "${@:2}" 2>"$scratch/tidy" ||
        { cat "$scratch/tidy"; return 1; }
}

check_shellcheck() { shellcheck -x "$@"; }

# check_page_lint PAGE: the manual page renders with neither groff nor mandoc finding anything.
check_page_lint() {
    local said
    said=$(groff -man -ww -z "$1" 2>&1; mandoc -T lint "$1" 2>&1 || true)
    [[ -z $said ]] || { echo "$said"; echo "$1 has warnings" >&2; return 1; }
}

# check_documents BUILD DOCUMENT...: the documents name files that are there (each path in
# backticks, but those of build outputs, installed files, settings and placeholders), as many tests
# as CTest lists in BUILD, and no version but that of the project, which NEWS.md alone may.
check_documents() {
    local count version
    count=$(ctest --test-dir "$1" -N | sed -n 's/^Total Tests: //p')
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt")
    # shellcheck disable=SC2016 # backticks, not a command
    grep -oh '`[^` ]*`' "${@:2}" | tr -d '`' | grep -E '/|\.md$' |
        grep -vE '^(/|~|build)|=|NAME|VERSION' | sort -u >"$scratch/paths"
    xargs -r -d '\n' ls -d -- <"$scratch/paths" >/dev/null ||
        { echo "the documents name files that are not there (above)" >&2; return 1; }
    ! grep -onE '\b[0-9]+ tests\b' "${@:2}" | grep -v ":$count tests$" ||
        { echo "the documents speak of other counts (above); CTest lists $count" >&2; return 1; }
    ! grep -onE '[0-9]+\.[0-9]+\.[0-9]+' "${@:2}" | grep -v -e "^NEWS.md:" -e ":$version$" ||
        { echo "the documents name other versions (above) than $version" >&2; return 1; }
}

# check_same A B: the files A and B, not one file twice, are byte for byte the same; where they are
# not, diffoscope, or diff, shows how they differ.
check_same() {
    [[ ! $1 -ef $2 ]] || { echo "$1 is compared with itself" >&2; return 1; }
    cmp -s "$1" "$2" && return
    if command -v diffoscope >/dev/null; then diffoscope "$1" "$2"; else diff -u "$1" "$2"; fi |
        head -n 300 || true
    echo "$1 and $2 differ" >&2
    return 1
}

# check_refused TEXT COMMAND...: COMMAND fails, and says TEXT.
check_refused() {
    if "${@:2}" >"$scratch/refused" 2>&1; then echo "this did not fail: ${*:2}" >&2; return 1; fi
    grep -qF -- "$1" "$scratch/refused" ||
        { cat "$scratch/refused"; echo "this did not say '$1': ${*:2}" >&2; return 1; }
}

# check_suite PRESET [OPTION...]: every test of the test preset PRESET passes. Its configure preset
# makes a case that cannot run a failure, and the test preset finding no test.
check_suite() { ctest --preset "$@"; }

# check_listed TEST BUILD: CTest lists TEST in the Release configuration of BUILD.
check_listed() {
    [[ $(ctest --test-dir "$2" -C Release -N -R "^$1\$" | sed -n 's/^Total Tests: //p') == 1 ]] ||
        { echo "CTest does not list $1 in $2" >&2; return 1; }
}

# check_cases FILES BUILD: each file of tests/cases that the file FILES lists belongs to a case
# that CTest runs in BUILD.
check_cases() {
    sed -E 's#\.windows\.out$#.out#; s#^tests/cases/(.*)\.(in|out)$#case.\1#' "$1" |
        sort -u >"$scratch/defined"
    ctest --test-dir "$2" -N | sed -n 's/^ *Test *#[0-9]*: //p' | sort >"$scratch/listed"
    comm -23 "$scratch/defined" "$scratch/listed" >"$scratch/not-run"
    [[ ! -s $scratch/not-run ]] ||
        { echo "tests/cases holds what no test runs: $(<"$scratch/not-run")" >&2; return 1; }
}

# check_hardened PROGRAM LINE: PROGRAM is hardened as LINE says: a line of Debian's
# hardening-check that must say yes, or endbr64, where main must begin (-fcf-protection).
check_hardened() {
    if [[ $2 == endbr64 ]]; then
        [[ $(objdump -d "$1" | grep -A1 '<main>:$') == *endbr64* ]]
    else
        grep -q "^ $2: yes" <(hardening-check "$1")
    fi || { echo "$1 is not hardened: $2" >&2; return 1; }
}

# check_compiled BUILD OPTIONS [SOURCE...]: every source of the project, but the SOURCEs that the
# build in BUILD leaves out, is compiled with each of the OPTIONS, words apart.
check_compiled() {
    local optional
    optional=$(IFS=';' && echo "${*:3}")
    cmake -DBUILD="$1" "-DREQUIRED=${2// /;}" "-DOPTIONAL=$optional" -P .ci/compile-options.cmake
}

# check_pe PROGRAM TARGET KIND FLAG...: PROGRAM, built for the mingw-w64 TARGET, is what `file`
# describes as KIND, and its PE header sets each FLAG among its DLL characteristics.
check_pe() {
    local header flag
    [[ $(file "$1") == *"$3"* ]] || { echo "$1 is not a $3" >&2; return 1; }
    header=$("$2-objdump" -p "$1")
    for flag in "${@:4}"; do
        grep -qx "[[:space:]]*$flag" <<<"$header" ||
            { echo "$1: the PE header lacks $flag" >&2; return 1; }
    done
}

# check_valgrind PROGRAM INPUT...: valgrind finds no error and no leak in PROGRAM reading any INPUT.
check_valgrind() {
    local input
    for input in "${@:2}"; do
        valgrind --quiet --error-exitcode=1 --leak-check=full "$1" <"$input" >/dev/null ||
            { echo "valgrind: errors in $1 reading $input" >&2; return 1; }
    done
}

# check_instructions PROGRAM REFERENCE INPUT: PROGRAM reading INPUT takes at most twice the
# instructions of REFERENCE, as cachegrind counts them, which the machine's load does not change.
check_instructions() {
    local program counts=()
    for program in "$1" "$2"; do
        valgrind --tool=cachegrind --cache-sim=no --cachegrind-out-file=/dev/null "$program" \
            <"$3" 2>"$scratch/counted" >/dev/null
        counts+=("$(sed -n 's/.*I *refs: *//p' "$scratch/counted" | tr -d ,)")
    done
    awk -v program="${counts[0]}" -v reference="${counts[1]}" 'BEGIN {
        printf "instructions: %d, the reference %d: %.2f times\n", program, reference,
            program / reference
        exit program > 2 * reference }' || { echo "$1 is too slow" >&2; return 1; }
}

# check_varied FACTS REFERENCE: each line of FACTS, what the second builder met, differs from the
# line of REFERENCE, what the first builder met.
check_varied() {
    paste -d '\n' "$1" "$2" | awk 'NR % 2 { fact = $0; next }
        $0 == fact { print "both builders met the same: " fact; same = 1 }
        END { if (!NR) print "no builder said what it met"; exit same || !NR }'
}

# check_archive ARCHIVE TREE VERSION: the source archive holds the files that git tracks in TREE,
# and no other, with git's modes (0644, 0755 for scripts), its directories 0755.
check_archive() {
    git -C "$2" -c safe.directory="$2" ls-files -s | awk -v top="student-record-$3/" '{
        file = top $4; print ($1 == 100755 ? "-rwxr-xr-x" : "-rw-r--r--"), file
        while (sub(/[^\/]+\/?$/, "", file) && file != "") print "drwxr-xr-x", file }' |
        sort -u >"$scratch/archive-expected"
    tar -tvzf "$1" | awk '{ print $1, $6 }' | sort >"$scratch/archive-listed"
    diff "$scratch/archive-expected" "$scratch/archive-listed" ||
        { echo "$1 holds (>) other files or modes than git tracks (<)" >&2; return 1; }
}

# check_dated DEB TIME: every entry of DEB's control and data archives is dated TIME, in UTC.
check_dated() {
    local times
    times=$({ dpkg-deb --ctrl-tarfile "$1" | tar -tv --full-time --utc
        dpkg-deb --fsys-tarfile "$1" | tar -tv --full-time --utc; } | awk '{ print $4, $5 }' |
        sort -u)
    [[ $times == "$2" ]] || { echo "$1: its entries are dated $times, not $2" >&2; return 1; }
}

# check_installed_size DEB: DEB's Installed-Size is what its entries count, in KiB as
# dpkg-gencontrol counts them: each file rounded up to a KiB, and one for each directory.
check_installed_size() {
    local said counted
    said=$(dpkg-deb -f "$1" Installed-Size)
    counted=$(dpkg-deb --fsys-tarfile "$1" | tar -tv |
        awk '$6 != "./" { kib += /^d/ ? 1 : int(($3 + 1023) / 1024) } END { print kib }')
    [[ $said == "$counted" ]] ||
        { echo "$1: Installed-Size: $said, where its entries count $counted" >&2; return 1; }
}

check_lintian() { lintian --fail-on error,warning --display-info "$1"; }

# check_plain_text FILE: FILE holds no control character but its line ends.
check_plain_text() {
    ! LC_ALL=C grep -n -m 3 '[[:cntrl:]]' "$1" | cat -A | grep . ||
        { echo "$1 holds control characters (above)" >&2; return 1; }
}

# check_clean TREE STATUS: git sees the same in TREE as the file STATUS says that it saw before, as
# `git status --porcelain` says it: no file changed, added or left that was not so before.
check_clean() {
    git -C "$1" status --porcelain | diff "$2" - ||
        { echo "$1: git sees these changes (>) that were not there before" >&2; return 1; }
}
