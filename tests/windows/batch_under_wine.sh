#!/usr/bin/env bash
# tarifmaster-batch.exe under Wine against the Linux tarifmaster-batch: for each command line below, run
# in a fresh copy of the same folder, the exit status, standard output, standard error and every file
# left in the folder are the same bytes (a result workbook: the same cells, read back). Then what only
# Windows does: a result file that is read-only or held open by another program is refused and left as
# it was, and a console shows the program's texts.
# Usage: batch_under_wine.sh WINDOWS_BUILD LINUX_BATCH_PROGRAM EXAMPLES_FOLDER
set -uo pipefail
windows_build=$1
linux=$2
examples=$3
support=$(cd "$(dirname "${BASH_SOURCE[0]}")/../support" && pwd)
source "$support/wine.sh"

program=$windows_build/bin/tarifmaster-batch.exe
holder=$windows_build/test-tools/hold_file.exe
wine_needs "$program" "$holder"
wine_start
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The folder each command line runs in: the sample list as it is, in Windows-1251 with CR LF, named in
# Cyrillic in a Cyrillic folder, as workbooks whole and damaged, and a folder where a result might go.
fixture=$WORK/fixture
mkdir -p "$fixture/Автопарк" "$fixture/папка.csv"
cp "$examples/fleet.csv" "$examples/fleet.xlsx" "$examples/fleet.ods" "$fixture/"
cp "$examples/fleet.xlsx" "$fixture/Автопарк/парк.xlsx"
python3 "$support/workbooks.py" damaged "$examples" "$fixture/повреждена.xlsx"
cp "$examples/fleet.csv" "$fixture/Автопарк/парк.csv"
cp "$examples/fleet.csv" "$fixture/копия.csv"
iconv -f UTF-8 -t CP1251 "$examples/fleet.csv" | sed 's/$/\r/' >"$fixture/fleet-1251.csv"

# run SIDE ARGUMENT...: the side's program (linux or windows) in a fresh copy of the fixture, SIDE/;
# its output in SIDE.stdout, SIDE.stderr and SIDE.status.
run() {
    local side=$1
    shift
    rm -rf "${WORK:?}/$side" && cp -R "$fixture" "$WORK/$side"
    if [ "$side" = linux ]; then
        (cd "$WORK/$side" && "$linux" "$@") >"$WORK/$side.stdout" 2>"$WORK/$side.stderr"
    else
        (cd "$WORK/$side" && wine "$program" "$@") >"$WORK/$side.stdout" 2>"$WORK/$side.stderr"
    fi
    echo $? >"$WORK/$side.status"
}

# same WHAT ARGUMENT...: both programs with the same command line end alike.
same() {
    local what=$1 stream
    shift
    run linux "$@"
    run windows "$@"
    for stream in status stdout stderr; do
        cmp -s "$WORK/linux.$stream" "$WORK/windows.$stream" || {
            fail "$what: $stream differs"
            diff <(od -c "$WORK/linux.$stream") <(od -c "$WORK/windows.$stream") | head -20
        }
    done
    # A workbook's archive carries the time it was made: its cells are compared, its bytes are not.
    local file name
    for file in "$WORK"/linux/*.xlsx "$WORK"/linux/*.ods "$WORK"/linux/Автопарк/*.xlsx; do
        name=${file#"$WORK/linux/"}
        [ -e "$file" ] && ! cmp -s "$file" "$fixture/$name" || continue
        cmp -s <(python3 "$support/workbooks.py" cells "$file") \
            <(python3 "$support/workbooks.py" cells "$WORK/windows/$name") || fail "$what: the cells of $name differ"
        rm "$file" "$WORK/windows/$name"
    done
    diff -r "$WORK/linux" "$WORK/windows" >/dev/null || fail "$what: the files differ: $(diff -rq "$WORK/linux" "$WORK/windows")"
}

same "a UTF-8 list to standard output" fleet.csv
same "a Windows-1251 list with CR LF, its bytes kept" fleet-1251.csv
same "the result into a file" fleet.csv --output итог.csv
same "a Cyrillic list in a Cyrillic folder" Автопарк/парк.csv --output=Автопарк/итог.csv
same "a result that replaces its own list" копия.csv --output копия.csv
same "a list that is not there" нет.csv
same "a folder given as the list" Автопарк
same "a folder where the result should go" fleet.csv --output папка.csv
same "--output without a name" fleet.csv --output
same "no list at all"
same "the help" --help
same "the version" --version
same "an .xlsx list into an .xlsx workbook" fleet.xlsx --output итог.xlsx
same "an .ods list into an .ods workbook" fleet.ods --output итог.ods
same "a workbook in a Cyrillic folder into a CSV file" Автопарк/парк.xlsx --output Автопарк/итог.csv
same "a CSV list into a workbook in a Cyrillic folder" fleet.csv --output Автопарк/итог.xlsx
same "a damaged workbook" повреждена.xlsx --output итог.ods

# A user whose name the ANSI code page cannot spell has a temporary folder so named (Wine's code page
# is 1252 here): the workbook libraries, which write their work files by narrow names, get its short name.
mkdir -p "$WINEPREFIX/drive_c/Временные файлы"
for variable in TEMP TMP; do
    wine reg add 'HKCU\Environment' /v $variable /d 'C:\Временные файлы' /f >/dev/null 2>&1
done
same "an .xlsx workbook made in a Cyrillic temporary folder" fleet.ods --output итог.xlsx
same "an .ods workbook made in a Cyrillic temporary folder" fleet.xlsx --output итог.ods
[ -z "$(ls -A "$WINEPREFIX/drive_c/Временные файлы")" ] || fail "work files left in the temporary folder"

# refused WHAT EXPECTED_MESSAGE ARGUMENT...: the Windows program ends with status 2, that one line on
# standard error, nothing on standard output, and its folder as it was.
refused() {
    local what=$1 message=$2
    shift 2
    run windows "$@"
    [ "$(cat "$WORK/windows.status")" = 2 ] || fail "$what: status $(cat "$WORK/windows.status"), expected 2"
    [ "$(cat "$WORK/windows.stderr")" = "$message" ] || fail "$what: said «$(cat "$WORK/windows.stderr")»"
    [ -s "$WORK/windows.stdout" ] && fail "$what: wrote to standard output"
    diff -r "$fixture" "$WORK/windows" >/dev/null || fail "$what: the folder changed: $(diff -rq "$fixture" "$WORK/windows")"
}

# An earlier result that is read-only (Wine shows a file without write permission so), or that another
# program holds open without sharing it, is refused before anything is written.
printf 'прежний итог\r\n' >"$fixture/итог.csv"
chmod a-w "$fixture/итог.csv"
refused "a read-only result file" \
    "tarifmaster: не удалось записать «итог.csv»: файл защищен от записи; файл не изменен" \
    fleet.csv --output итог.csv
chmod u+w "$fixture/итог.csv"

rm -rf "$WORK/windows" && cp -R "$fixture" "$WORK/windows"
(cd "$WORK/windows" && wine "$holder" итог.csv "$WORK/hold") &
holding=$!
for _ in $(seq 100); do [ -e "$WORK/hold.held" ] && break; sleep 0.1; done
if [ -e "$WORK/hold.held" ]; then
    (cd "$WORK/windows" && wine "$program" fleet.csv --output итог.csv) >"$WORK/windows.stdout" 2>"$WORK/windows.stderr"
    status=$?
    [ $status = 2 ] || fail "a result file held open: status $status, expected 2"
    [ "$(cat "$WORK/windows.stderr")" = "tarifmaster: не удалось записать «итог.csv»: файл занят другой программой; файл не изменен" ] \
        || fail "a result file held open: said «$(cat "$WORK/windows.stderr")»"
else
    fail "hold_file.exe did not hold the file"
fi
touch "$WORK/hold.release"
wait $holding
diff -r "$fixture" "$WORK/windows" >/dev/null || fail "a result file held open: the folder changed: $(diff -rq "$fixture" "$WORK/windows")"

# On a console (Wine makes one of a terminal) the program's own texts are written as text and come out
# on the terminal as the Linux program's do, whatever the console's code page. Wine draws the console
# with escape sequences, and may draw a space as a move of the cursor.
on_console() {
    (cd "$fixture" && script -qec "$(printf '%q ' "$WINE_LOADER" "$program" "$@")" /dev/null </dev/null) \
        | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r '
}
for arguments in --version нет.csv; do
    expected=$(cd "$fixture" && "$linux" $arguments 2>&1 | tr -d ' ')
    shown=$(on_console $arguments)
    [ "$shown" = "$expected" ] || fail "$arguments on a console: «$shown», expected «$expected»"
done

if [ $failures -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "the batch program under Wine: all cases passed"
