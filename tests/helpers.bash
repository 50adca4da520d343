# shellcheck shell=bash disable=SC2034,SC2154 # the cases read what this sets; coproc sets the PID
# What the shell cases share. STUDENT_RECORD runs the program; VARIANTS holds configure's cases.

setup() {
    status=0
    PATH=$(dirname "$STUDENT_RECORD"):$PATH
    windows=$([ ! -e "$STUDENT_RECORD.exe" ] || echo --windows) # a build for Windows
    cases=$BATS_TEST_DIRNAME/cases
    answers=$cases/worked-example.in
    out=$BATS_TEST_TMPDIR/out
    err=$BATS_TEST_TMPDIR/err
    prompts=$BATS_TEST_TMPDIR/prompts
    first_prompt='Please enter a first name: '
    printf '%s' "$first_prompt" >"$prompts.first"
    printf '%sPlease enter a last name: Please enter a tuition amount: ' "$first_prompt" >"$prompts"
}

# student_record: the program on the caller's standard streams but standard error, to the file err.
student_record() {
    status=0
    "$STUDENT_RECORD" 2>"$err" || status=$?
}

# expect STATUS ERROR [FILE]: the run ended with STATUS, wrote the line ERROR (or nothing) on
# standard error and exactly FILE on standard output, in CR LF lines for Windows.
expect() {
    echo "exit status $status, standard error: '$(<"$err")'"
    [ "$status" -eq "$1" ]
    printf '%s' "${2:+$2$'\n'}" | cmp - "$err"
    [ $# -lt 3 ] || [ -n "$windows" ] || cmp "$3" "$out"
    [ $# -lt 3 ] || [ -z "$windows" ] || perl -pe 's/\n/\r\n/' "$3" | cmp - "$out"
}

# start: the program on pipes, answers to fd $to, its output from fd $from.
start() {
    coproc dialogue { exec "$STUDENT_RECORD" 2>"$err"; }
    pid=$dialogue_PID
    local output=${dialogue[0]} input=${dialogue[1]}
    exec {from}<&"$output" {to}>&"$input" {output}<&- {input}>&-
}

# hold_fifo: the FIFO $fifo, held open on fd $held, so that the program meets no end and no EPIPE.
hold_fifo() {
    fifo=$BATS_TEST_TMPDIR/fifo
    mkfifo "$fifo"
    exec {held}<>"$fifo"
}

# nonblocking COMMAND...: COMMAND with non-blocking standard streams, as a caller may hand them.
nonblocking() {
    perl -MFcntl=F_GETFL,F_SETFL,O_NONBLOCK -e 'for (["<&=", 0], [">&=", 1]) {
        open(my $stream, $_->[0], $_->[1]) or die "$!";
        fcntl($stream, F_SETFL, fcntl($stream, F_GETFL, 0) | O_NONBLOCK) or die "$!" }
        exec @ARGV or die "$!"' "$@"
}
