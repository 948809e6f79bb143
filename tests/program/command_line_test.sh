#!/usr/bin/env bash
# The program's command line without a window: --help and --version answer in Russian and exit 0; no
# display, or one that cannot be opened, gives one Russian message and exit status 2, never an abort.
# With a screen (off-screen here), a list named on the command line opens the fleet window, which
# computes it at once into the bytes tarifmaster-batch writes for it.
# Usage: command_line_test.sh PROGRAM VERSION BATCH_PROGRAM EXAMPLES_FOLDER
set -uo pipefail
program=$1
version=$2
batch_program=$3
examples=$4
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    echo "--- stdout:"; cat "$out/stdout"
    echo "--- stderr:"; cat "$out/stderr"
    failures=$((failures + 1))
}

# run [NAME=VALUE...] [-- ARGUMENT...]: the program with that environment, without any display of the
# caller, and with those arguments.
run() {
    local settings=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do settings+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "${settings[@]}" \
        "$program" "$@" >"$out/stdout" 2>"$out/stderr" </dev/null
}

for option in --help -h; do
    run LANG=C -- "$option"
    status=$?
    [ $status -eq 0 ] || fail "$option: status $status"
    grep -q '^Использование: tarifmaster' "$out/stdout" || fail "$option: no usage line"
    grep -q -- '--version' "$out/stdout" || fail "$option: --version not described"
    grep -q -- 'tarifmaster --batch ФАЙЛ.csv' "$out/stdout" || fail "$option: the batch mode not described"
    grep -q -- '--fleet \[ФАЙЛ\]' "$out/stdout" || fail "$option: the fleet window not described"
    [ -s "$out/stderr" ] && fail "$option: wrote to standard error"
done
for option in --version -v; do
    run LANG=C -- "$option"
    status=$?
    [ $status -eq 0 ] || fail "$option: status $status"
    [ "$(cat "$out/stdout")" = "ТарифМастер $version" ] || fail "$option: wrong version text"
done

# A display number that nothing serves.
number=99
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done

check_no_display() {
    local what=$1 names=$2
    local status=$3
    [ "$status" -eq 2 ] || fail "$what: status $status, expected 2"
    [ -s "$out/stdout" ] && fail "$what: wrote to standard output"
    grep -q '^ТарифМастер: ' "$out/stderr" || fail "$what: no message of the program"
    grep -q "$names" "$out/stderr" || fail "$what: the message does not name $names"
    grep -q 'xvfb-run -a tarifmaster' "$out/stderr" || fail "$what: no xvfb-run hint"
    grep -q 'QT_QPA_PLATFORM=offscreen tarifmaster' "$out/stderr" || fail "$what: no offscreen hint"
    [ "$(grep -c '^ТарифМастер' "$out/stderr")" -eq 1 ] || fail "$what: more than one message"
    grep -qi 'qt\.qpa\|reinstall\|abort\|core' "$out/stderr" && fail "$what: Qt's own words came through"
}

run
check_no_display "no display at all" "DISPLAY и WAYLAND_DISPLAY не заданы" $?
run DISPLAY=":$number"
check_no_display "DISPLAY=:$number without a server" "DISPLAY=:$number" $?
run WAYLAND_DISPLAY=tarifmaster-bogus XDG_SESSION_TYPE=wayland
check_no_display "a bogus WAYLAND_DISPLAY" "WAYLAND_DISPLAY=tarifmaster-bogus" $?
run WAYLAND_DISPLAY=tarifmaster-bogus QT_QPA_PLATFORM=wayland
check_no_display "a bogus WAYLAND_DISPLAY on the wayland platform" "QT_QPA_PLATFORM=wayland" $?

# The fleet window on the command lines a user or a file manager gives, a list named relative to the
# folder the program starts in: the result appears beside the list (written whole, then renamed), and
# the window stays open until it is closed.
lists="$out/Автопарк"
mkdir -p "$lists"
cp "$examples/fleet.csv" "$lists/парк.csv"
"$batch_program" "$lists/парк.csv" --output "$out/expected.csv" 2>/dev/null
for arguments in "--fleet парк.csv" "--fleet=парк.csv" "парк.csv"; do
    rm -f "$lists/парк-result.csv"
    # shellcheck disable=SC2086 # the arguments are split on purpose
    (cd "$lists" && exec env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$program" $arguments \
        >"$out/stdout" 2>"$out/stderr" </dev/null) &
    pid=$!
    for _ in $(seq 300); do
        [ -e "$lists/парк-result.csv" ] && break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null || fail "$arguments: the window did not stay open"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    cmp -s "$lists/парк-result.csv" "$out/expected.csv" || fail "$arguments: no result, or not the batch's"
done

if [ $failures -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "command line: all cases passed"
