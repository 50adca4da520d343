# shellcheck shell=bash disable=SC2154 # scratch and bad are the folders of .ci/run
# The checks of CI, each with its negative controls, read by .ci/run.
#
# Every check of CI is a function check_NAME, which a step runs as `checked NAME ARG...`. Each time,
# after the check has passed on ARG..., it is shown its negative controls, the lines of its row,
# each `WHAT IT SAYS | COMMAND`: COMMAND hands it a near miss, an input that differs from one that
# passes in the one way that the control stands for (from .ci/known-bad, or made from ARG..., which
# it sees as "$@"), and must fail, saying WHAT IT SAYS. A control that passes, or fails saying
# something else, stops CI and names the check, and so does a check without a row.
# shellcheck disable=SC2016 # each row is run as it stands, with "$@" of its check
declare -A controls=(
    [format]='code should be clang-formatted | check_format "$(bad unformatted.cc)"'
    [tidy]='modernize-use-nullptr | check_tidy "$1" "$(bad literal-zero-pointer.cc)"'
    [shellcheck]='SC2086 | check_shellcheck "$(bad unquoted.bash)"'
    [page_lint]='skipping paragraph macro | check_page_lint "$(altered "$1" "/^\.SH DESC/a .PP")"
        indent cannot be negative | check_page_lint "$(altered "$1" "/^Arguments are/i .ti -30")"'
    [documents]='files that are not there | check_documents "$1" "$(bad missing-path.markdown)"
        other counts | check_documents "$1" "$(bad wrong-count.markdown)"
        other versions | check_documents "$1" "$(bad old-version.markdown)"'
    [same]='differ | check_same "$(one_byte_changed "$2")" "$2"
        compared with itself | check_same "$2" "$2"'
    [refused]='did not fail | check_refused "$1" true
        did not say | check_refused "$1" false'
    [suite]='No tests were found | check_suite "$1" -R "^no test has this name$"
        no locale sources here |
            localedef() { false; } && export -f localedef && check_suite "$1" -R "locale-with"'
    [listed]='does not list shell.never-added | check_listed shell.never-added "$2"'
    [cases]='never-run | check_cases <(cat "$1" && echo tests/cases/never-run.in) "$2"'
    [hardened]='is not hardened: $2 | check_hardened "$(lacking "$2")" "$2"'
    [compiled]='without the options required |
        check_compiled "$(without_last_option "$1" "$2")" "${@:2}"'
    [pe]='lacks $4 | check_pe "$(exe_lacking "$2" "$4")" "${@:2}"
        is not a $3 | check_pe "$(exe_lacking "$(other_target "$2")")" "${@:2}"'
    [valgrind]='exclamation.input |
            check_valgrind "$(bad invalid-read)" "${@:2:2}" "$(bad exclamation.input)"
        exclamation.input | check_valgrind "$(bad leak)" "${@:2:2}" "$(bad exclamation.input)"'
    [instructions]='is too slow | check_instructions "$(past_the_bound "${@:2}")" "${@:2}"'
    [varied]='the same: umask | check_varied "$(with_fact 1 "$@")" "$2"
        the same: user | check_varied "$(with_fact 2 "$@")" "$2"
        the same: time zone | check_varied "$(with_fact 3 "$@")" "$2"
        the same: decimal point | check_varied "$(with_fact 4 "$@")" "$2"
        the same: directory order | check_varied "$(with_fact 5 "$@")" "$2"
        the same: clock | check_varied "$(with_fact 6 "$@")" "$2"'
    [archive]='other files or modes |
            check_archive "$(source_archive "$2" "$3" group-writable 002)" "${@:2}"
        other files or modes |
            check_archive "$(source_archive "$2" "$3" more 022 --add-file=.ci/run)" "${@:2}"'
    [dated]='its entries are dated | check_dated "$(repacked "$1" misdated)" "$2"'
    [installed_size]='where its entries count | check_installed_size "$(repacked "$1" sized)"'
    [lintian]='non-standard-file-perm | check_lintian "$(repacked "$1" group-writable)"'
    [plain_text]='holds control characters | check_plain_text "$(altered "$1" "1s/^./&\x08&/")"
        holds control characters | check_plain_text "$(altered "$1" "1s/^/\x1b[1m/")"'
    [clean]='left-over | clone_with_left_over "$1" && check_clean "$bad/clone" /dev/null'
    [built]='not $(flipped 1 "$2") | check_built "$1" "$(flipped 1 "$2")"
        not $(flipped 2 "$2") | check_built "$1" "$(flipped 2 "$2")"
        not $(flipped 3 "$2") | check_built "$1" "$(flipped 3 "$2")"
        not $(flipped 4 "$2") | check_built "$1" "$(flipped 4 "$2")"
        not $(flipped 5 "$2") | check_built "$1" "$(flipped 5 "$2")"'
    [fixtures]='fixture: $(jq -r ".tests[1].name" "$1") |
        check_fixtures "$(without_fixture "$1")"'
    [all_called]='never called: $(tail -n 1 "$1") | check_all_called <(head -n -1 "$1")'
)

# checked NAME ARG...: runs the check NAME on ARG..., then its controls, each of which must fail
# and say what its row says that it says. A check that fails, and a control that passes or fails
# for another reason, end the shell that called it, whatever surrounds the call.
checked() {
    local name=$1 row said control
    shift
    echo "$name" >>"$scratch/called"
    "check_$name" "$@" || { echo "the check $name failed: ${*@Q}" >&2; exit 1; }
    while read -r row; do
        # A row that ends in a bar goes on in the next line.
        [[ $row == *' |' ]] && read -r control && row+=" $control"
        eval "said=\"${row%% | *}\""
        control=${row#* | }
        if (eval "$control") </dev/null >"$bad/said" 2>&1; then
            cat "$bad/said"
            echo "the check $name passed its negative control: $control" >&2
            exit 1
        fi
        if ! grep -qF -- "$said" "$bad/said"; then
            cat "$bad/said"
            echo "the check $name failed its negative control without saying '$said': $control" >&2
            exit 1
        fi
    done <<<"${controls[$name]:?the check $name has no negative control}"
}

# The controls' own controls, which .ci/run runs first: a check that passes its control, one that
# fails for another reason than its row says, and one that fails on its real input.
controls[unfailing]='anything | true'
check_unfailing() { :; }
controls[misled]='the reason of its row | false'
check_misled() { :; }
controls[failing]='as it must | check_failing'
check_failing() { echo "failing as it must"; return 1; }

# bad NAME: the known-bad input .ci/known-bad/NAME, or the program that NAME.c there builds into,
# without optimisation.
bad() {
    if [[ -e .ci/known-bad/$1 ]]; then
        echo "$PWD/.ci/known-bad/$1"
    else
        [[ -e $bad/$1 ]] || cc -O0 -o "$bad/$1" ".ci/known-bad/$1.c"
        echo "$bad/$1"
    fi
}

# altered FILE SCRIPT: a copy of FILE that the sed SCRIPT changed; nothing where it changed nothing.
altered() {
    local copy=$bad/altered-${1##*/}
    sed "$2" "$1" >"$copy"
    cmp -s "$1" "$copy" || echo "$copy"
}

# one_byte_changed FILE: a copy of FILE of the same size, its middle byte one more.
one_byte_changed() {
    local half=$(($(stat -c %s "$1") / 2))
    { head -c "$half" "$1"
        tail -c +$((half + 1)) "$1" | head -c 1 | LC_ALL=C tr '\0-\377' '\1-\377\0'
        tail -c +$((half + 2)) "$1"; } >"$bad/one-byte-changed"
    echo "$bad/one-byte-changed"
}

# lacking LINE: .ci/known-bad/unhardened.c built hardened as the release build is, in every way but
# the one that LINE of hardening-check (or endbr64) names.
lacking() {
    local -A without=(["Position Independent Executable"]="-fno-pie -no-pie"
        ["Stack protected"]=-fno-stack-protector ["Read-only relocations"]="-Wl,-z,norelro"
        ["Immediate binding"]="-Wl,-z,lazy" [endbr64]=-fcf-protection=none
        ["Fortify Source functions"]=-U_FORTIFY_SOURCE)
    local program="$bad/lacking ${1// /-}"
    # shellcheck disable=SC2086 # options, words apart
    [[ -e $program ]] || cc -O2 -D_FORTIFY_SOURCE=3 -fstack-protector-strong \
        -fcf-protection=full -fPIE -pie -Wl,-z,relro,-z,now ${without[$1]} -o "$program" \
        .ci/known-bad/unhardened.c
    echo "$program"
}

# exe_lacking TARGET [FLAG]: a program built for the mingw-w64 TARGET whose PE header lacks FLAG,
# and nothing else.
exe_lacking() {
    local -A option=([DYNAMIC_BASE]=dynamicbase [NX_COMPAT]=nxcompat
        [HIGH_ENTROPY_VA]=high-entropy-va)
    local program=$bad/$1-lacking-${2-nothing}.exe
    [[ -e $program ]] ||
        "$1-gcc" ${2:+"-Wl,--disable-${option[$2]}"} -o "$program" .ci/known-bad/leak.c
    echo "$program"
}

other_target() { [[ $1 == i686-* ]] && echo x86_64-w64-mingw32 || echo i686-w64-mingw32; }

# past_the_bound REFERENCE INPUT: a program that takes 2.2 times the instructions of REFERENCE
# reading INPUT, just past the bound: two instructions a turn of its loop.
past_the_bound() {
    [[ -e $bad/busy ]] || cc -O2 "-DTURNS=$(($(instructions "$@") * 11 / 10))UL" -o "$bad/busy" \
        .ci/known-bad/busy.c
    echo "$bad/busy"
}

# with_fact N FACTS REFERENCE: the file FACTS with its line N, and no other, taken from REFERENCE.
with_fact() {
    awk -v n="$1" 'NR == FNR { if (FNR == n) fact = $0; next } { print FNR == n ? fact : $0 }' \
        "$3" "$2" >"$bad/facts-$1"
    echo "$bad/facts-$1"
}

# repacked DEB WAY: DEB unpacked and packed again, other in one WAY: misdated (one file dated
# 2100), group-writable (one file that its group may write, of which lintian warns) or sized (an
# Installed-Size that its entries do not count).
repacked() {
    local folder=$bad/deb-$2-${1##*/}
    if [[ ! -e $folder.deb ]]; then
        dpkg-deb --raw-extract "$1" "$folder"
        case $2 in
        misdated) touch -d 2100-01-01 "$folder/usr/share/doc/student-record/README.md" ;;
        group-writable) chmod g+w "$folder/usr/share/doc/student-record/README.md" ;;
        sized) sed -i 's/^Installed-Size: .*/&1/' "$folder/DEBIAN/control" ;;
        esac
        dpkg-deb --root-owner-group --build "$folder" "$folder.deb" >/dev/null
    fi
    echo "$folder.deb"
}

# release_listing DEB DESTDIR BUILD: what the .deb DEB and the .zip files beside it hold, and what
# `cmake --install` of BUILD put into DESTDIR, as .ci/release.txt lists it.
release_listing() {
    local zip
    echo "== $(basename "$1")"
    dpkg-deb -f "$1" | grep -v '^Installed-Size: '
    dpkg-deb --ctrl-tarfile "$1" | tar -tv | awk '{ print $1, $2, "control:" $6 }'
    dpkg-deb --fsys-tarfile "$1" | tar -tv | awk '{ print $1, $2, $6 }'
    dpkg-deb --fsys-tarfile "$1" | tar -xO ./usr/bin/student-record >"$scratch/program"
    readelf -SW "$scratch/program" | sed -n 's/^ *\[ *[0-9]*\] \([^ ]\+\).*/\1/p' |
        paste -sd ' ' | sed 's/^/program sections: /'
    dpkg-deb --fsys-tarfile "$1" | tar -xO ./usr/share/doc/student-record/copyright |
        sed -n 's/^[A-Za-z-]*: [^ ]/copyright: &/p'
    for zip in "$(dirname "$1")"/*.zip; do
        echo "== $(basename "$zip")"
        unzip -Z "$zip" | awk '/^[-d]/ { print $1, $NF }'
    done
    echo "== cmake --install"
    find "$2" -mindepth 1 -printf '%P %m\n' | LC_ALL=C sort
    sed 's/^/manifest: /' "$3/install_manifest.txt" | LC_ALL=C sort
    grep -o 'student-record-[^`]*\.tar\.gz' "$2/usr/local/share/doc/student-record/README.md" |
        sed 's/^/README.md names /'
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

# flipped N FACTS: the words FACTS of check_built with word N the other of its two values.
flipped() {
    local -A other=([GNU]=Clang [Clang]=GNU [libstdc++]=libc++ [libc++]=libstdc++
        [Release]=Debug [Debug]=Release [sanitized]=unsanitized [unsanitized]=sanitized
        [tested]=untested [untested]=tested)
    local words
    read -ra words <<<"$2"
    words[$1 - 1]=${other[${words[$1 - 1]}]}
    echo "${words[*]}"
}

# without_fixture LISTING: CTest's LISTING with its second test no longer requiring a fixture.
without_fixture() {
    jq '.tests[1].properties |= map(select(.name != "FIXTURES_REQUIRED"))' "$1" \
        >"$bad/without-fixture.json"
    echo "$bad/without-fixture.json"
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
    echo "the documents: $(wc -l <"$scratch/paths") paths there, the tests counted, one version"
}

# check_same A B: the files A and B, not one file twice, are byte for byte the same; where they are
# not, diffoscope, or diff, shows how they differ, in files of less than 1 MiB (diffoscope takes
# minutes over a larger one).
check_same() {
    [[ ! $1 -ef $2 ]] || { echo "$1 is compared with itself" >&2; return 1; }
    cmp "$1" "$2" && return
    if (($(stat -c %s "$1") < 1 << 20)); then
        if command -v diffoscope >/dev/null; then diffoscope "$1" "$2"; else diff -u "$1" "$2"; fi |
            head -n 300 || true
    fi
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

# check_pe PROGRAM TARGET KIND FLAG: PROGRAM, built for the mingw-w64 TARGET, is what `file`
# describes as KIND, and its PE header sets FLAG among its DLL characteristics.
check_pe() {
    [[ $(file "$1") == *"$3"* ]] || { echo "$1 is not a $3" >&2; return 1; }
    grep -qx "[[:space:]]*$4" <("$2-objdump" -p "$1") ||
        { echo "$1: the PE header lacks $4" >&2; return 1; }
}

# check_valgrind PROGRAM INPUT...: valgrind finds no error and no leak in PROGRAM reading any INPUT.
check_valgrind() {
    local input
    for input in "${@:2}"; do
        valgrind --quiet --error-exitcode=1 --leak-check=full "$1" <"$input" >/dev/null ||
            { echo "valgrind: errors in $1 reading $input" >&2; return 1; }
    done
}

# instructions PROGRAM INPUT: the instructions that PROGRAM takes reading INPUT, as cachegrind
# counts them, which the machine's load does not change.
instructions() {
    valgrind --tool=cachegrind --cache-sim=no --cachegrind-out-file=/dev/null "$1" <"$2" \
        2>"$scratch/counted" >/dev/null
    sed -n 's/.*I *refs: *//p' "$scratch/counted" | tr -d ,
}

# check_instructions PROGRAM REFERENCE INPUT: PROGRAM reading INPUT takes at most twice the
# instructions of REFERENCE.
check_instructions() {
    awk -v program="$(instructions "$1" "$3")" -v reference="$(instructions "$2" "$3")" 'BEGIN {
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

# check_built BUILD FACTS: the build in BUILD is what the words FACTS say, as its cache, its compile
# commands and its tests show: its compiler (GNU or Clang), C++ library (libstdc++ or libc++),
# build type, sanitizers (sanitized or unsanitized), and whether its tests run (tested) or were
# left out (untested).
check_built() {
    local facts
    facts=$({
        sed -n 's/^set(CMAKE_CXX_COMPILER_ID "\(.*\)")$/\1/p' \
            "$1"/CMakeFiles/*/CMakeCXXCompiler.cmake
        sed -n 's/^STUDENT_RECORD_WITH_LIBSTDCXX:INTERNAL=1$/libstdc++/p
            s/^STUDENT_RECORD_WITH_LIBCXX:INTERNAL=1$/libc++/p' "$1/CMakeCache.txt"
        sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$1/CMakeCache.txt"
        grep -q -- -fsanitize=address,undefined "$1/compile_commands.json" || echo -n un
        echo sanitized
        [[ -e $1/tests/not-run.cmake ]] && echo untested || echo tested
    } | paste -sd ' ')
    [[ $facts == "$2" ]] || { echo "$1 is $facts, not $2" >&2; return 1; }
}

# check_fixtures LISTING: each test of CTest's LISTING (--show-only=json-v1) requires the fixture
# emulator, but those that set it up and clean it up.
check_fixtures() {
    local lacking
    lacking=$(jq -r '.tests[] | (.properties // []) as $set
        | select($set | any(.name | test("^FIXTURES_(SETUP|CLEANUP)$")) | not)
        | select($set | any(.name == "FIXTURES_REQUIRED" and (.value | index("emulator"))) | not)
        | .name' "$1")
    [[ -z $lacking ]] || { echo "$1: tests without the emulator fixture: $lacking" >&2; return 1; }
}

# check_all_called CALLED: every check of the table was called, as the file CALLED names those
# that were, one a line.
check_all_called() {
    local missing
    missing=$(printf '%s\n' "${!controls[@]}" | sort | comm -23 - <(sort -u "$1") | paste -sd ' ')
    [[ -z $missing ]] || { echo "checks never called: $missing" >&2; return 1; }
}
