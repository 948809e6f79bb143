# Sourced by the tests of the Windows edition (tests/windows): Debian's 64-bit Wine in a prefix of the
# test's own, made once per test and removed with its folder at the end.
#
#   wine_needs FILE...    the Windows build's files the test runs; when one is missing the test is
#                         skipped (status 77), or fails when TARIFMASTER_WINDOWS_REQUIRED is set, as
#                         tools/test sets it
#   wine_start            makes the folder $WORK and a prefix in it; everything goes at exit
#   wine PROGRAM ARG...   runs a Windows program (wine's own, such as msiexec, or an .exe)
#   wine_settle           waits until Wine is done with everything (after installing, for example)
#
# Wine's own messages are off, it neither asks to install Mono or Gecko nor puts shortcuts in the host's
# menus, and it sees no display: nothing here needs one.
WINE_LOADER=/usr/lib/wine/wine64
WINE_SERVER=/usr/lib/wine/wineserver64

wine_needs() {
    local missing=() file
    for file in "$WINE_LOADER" "$@"; do
        [ -e "$file" ] || missing+=("$file")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "missing: ${missing[*]} (tools/test makes them: Wine, and the windows preset with -DTARIFMASTER_WINDOWS_TEST_TOOLS=ON)"
    [ -n "${TARIFMASTER_WINDOWS_REQUIRED:-}" ] && exit 1
    exit 77
}

wine_stop() {
    "$WINE_SERVER" -k 2>/dev/null
    "$WINE_SERVER" -w 2>/dev/null
    chmod -R u+rwX "$WORK" 2>/dev/null
    rm -rf "$WORK"
}

wine_start() {
    WORK=$(mktemp -d /tmp/tarifmaster-wine-XXXXXX)
    trap wine_stop EXIT
    trap 'exit 130' INT TERM
    export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Wine reads the command line in the locale's encoding: Cyrillic names need UTF-8.
    export LC_ALL=C.UTF-8
    unset DISPLAY WAYLAND_DISPLAY
    "$WINE_LOADER" wineboot -i >/dev/null 2>&1
    wine_settle
}

wine() {
    "$WINE_LOADER" "$@"
}

wine_settle() {
    "$WINE_SERVER" -w
}
