#!/usr/bin/env bash
# The Debian package as a user gets it: installed with apt-get, /usr/bin/tarifmaster started by an
# ordinary user with a fresh home on a virtual screen (Xvfb), both reports written by clicks into that
# user's documents folder, a help page opened through the desktop (a stand-in xdg-open records what
# it was asked to open), the same as root, and the package purged without leaving anything behind.
#
# The window is driven with xdotool at the controls' known positions (pixels of the 100 % window):
# tab "10", Option9, "отчет" (Command7), "Пример" (Command5) and "Выход" (Command6); Return closes the
# confirmation box.
# Usage: package_install_test.sh DEB_FILE VERSION APP_ID   (as root; exits 77, skipped, otherwise)
set -euo pipefail
deb=$(realpath "$1")
version=$2
app_id=$3
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing a package needs root"
    exit 77
fi

# Everything the test and the users it runs as need lies in a folder under /tmp that every user can
# enter, the package too, and the test runs from there: the build folder may be closed to them (a
# clone in /root), and so may the folder CTest starts the test in.
work=$(mktemp -d /tmp/tarifmaster-package-XXXXXX)
chmod 755 "$work"
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    if dpkg-query -W -f='${Status}' tarifmaster 2>/dev/null | grep -q 'ok installed'; then
        apt-get -o DPkg::Lock::Timeout=600 purge -y -qq tarifmaster >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
cp "$deb" "$work/"
deb="$work/$(basename "$deb")"
chmod 644 "$deb"
cd "$work"

fail() {
    echo "FAIL: $*"
    for log in "$work"/*.log; do
        if [ -f "$log" ]; then echo "--- $log"; cat "$log"; fi
    done
    exit 1
}

# Waits up to 20 s for a command to succeed.
wait_for() {
    for _ in $(seq 200); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# --- install
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -o DPkg::Lock::Timeout=600 -y -qq)
if ! "${apt[@]}" install --no-install-recommends "$deb" >"$work/apt.log" 2>&1; then
    "${apt[@]}" update >>"$work/apt.log" 2>&1
    "${apt[@]}" install --no-install-recommends "$deb" >>"$work/apt.log" 2>&1 || fail "apt-get install"
fi
mapfile -t packaged < <(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | grep -v '^/usr$')
for path in /usr/bin/tarifmaster /usr/bin/tarifmaster-batch /usr/share/tarifmaster/tarif.htm /usr/share/tarifmaster/tmas.gif \
    "/usr/share/applications/$app_id.desktop" "/usr/share/metainfo/$app_id.metainfo.xml" \
    "/usr/share/icons/hicolor/scalable/apps/$app_id.svg" "/usr/share/icons/hicolor/256x256/apps/$app_id.png" \
    /usr/share/man/man1/tarifmaster.1.gz /usr/share/doc/tarifmaster/copyright \
    /usr/share/tarifmaster/web/index.html /usr/share/tarifmaster/web/tarifmaster.js \
    /usr/share/tarifmaster/web/fleet.js /usr/share/tarifmaster/web/sw.js; do
    [ -e "$path" ] || fail "not installed: $path"
done
[ "$(/usr/bin/tarifmaster --version)" = "ТарифМастер $version" ] || fail "--version"
[ "$(/usr/bin/tarifmaster-batch --version)" = "ТарифМастер $version" ] || fail "tarifmaster-batch --version"
for page in tarifmaster tarifmaster-batch; do
    zcat "/usr/share/man/man1/$page.1.gz" >"$work/manual.txt"
    grep -q '^\.SH ИМЯ' "$work/manual.txt" || fail "manual page of $page"
done

# --- a virtual screen and a stand-in for the desktop's opener
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for test -S "/tmp/.X11-unix/X$display" || fail "Xvfb did not start"
export DISPLAY=":$display"

mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<'EOF'
#!/bin/sh
printf '%s\n' "$@" >>"$OPENED_LOG"
EOF
chmod 755 "$work/bin/xdg-open"

click() { # window x y
    xdotool mousemove --sync --window "$1" "$2" "$3" click 1
}

# Confirms the message box that a report click opens, and waits until it is gone.
confirm_box() {
    local main=$1 box=
    for _ in $(seq 200); do
        box=$(xdotool search --onlyvisible --name 'ТарифМастер' 2>/dev/null | grep -vx "$main" | head -1) || true
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "no confirmation box"
    xdotool windowfocus --sync "$box"
    xdotool key Return
    wait_for sh -c "! xdotool search --onlyvisible --name 'ТарифМастер' | grep -vxq '$main'" || fail "the box stayed"
}

# run_program USER_ID HOME: starts the installed program as that user and writes both reports, opens
# the example page and leaves by "Выход".
run_program() {
    local uid=$1 home=$2 as=()
    if [ "$uid" -ne 0 ]; then as=(setpriv --reuid="$uid" --regid="$uid" --clear-groups); fi
    mkdir -p "$home" "$work/runtime-$uid"
    chown "$uid:$uid" "$home" "$work/runtime-$uid"
    chmod 700 "$work/runtime-$uid"
    : >"$work/opened-$uid.txt"
    chmod 666 "$work/opened-$uid.txt"
    "${as[@]}" env -i HOME="$home" PATH="$work/bin:/usr/bin:/bin" DISPLAY="$DISPLAY" LANG=C.UTF-8 \
        XDG_RUNTIME_DIR="$work/runtime-$uid" OPENED_LOG="$work/opened-$uid.txt" \
        /usr/bin/tarifmaster >"$work/program-$uid.log" 2>&1 &
    local pid=$!
    local main
    main=$(timeout 20 xdotool search --sync --onlyvisible --class tarifmaster | head -1) || fail "no window"

    # The window class is the desktop entry's StartupWMClass, and the window carries an icon.
    local class
    class=$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$app_id.desktop")
    # (Into files: grep -q would leave xprop writing into a closed pipe, a failure under pipefail.)
    xprop -id "$main" WM_CLASS >"$work/wm-class.txt"
    grep -q "\"$class\", \"$class\"" "$work/wm-class.txt" || fail "WM_CLASS: $(cat "$work/wm-class.txt")"
    xprop -id "$main" _NET_WM_ICON >"$work/wm-icon.txt"
    grep -q 'Icon (' "$work/wm-icon.txt" || fail "no window icon"

    click "$main" 565 11 # tab "10"
    click "$main" 100 340 # "отчет": the text report is chosen at start
    confirm_box "$main"
    click "$main" 128 312 # Option9: the document
    click "$main" 100 340
    confirm_box "$main"
    click "$main" 244 396 # "Пример"
    wait_for grep -q . "$work/opened-$uid.txt" || fail "the example page was not opened"
    click "$main" 364 396 # "Выход"
    local status=0
    wait "$pid" || status=$?
    [ $status -eq 0 ] || fail "the program ended with status $status"

    [ "$(cat "$work/opened-$uid.txt")" = "file:///usr/share/tarifmaster/primer.htm" ] ||
        fail "opened: $(cat "$work/opened-$uid.txt")"
    local documents="$home/Documents"
    [ "$(stat -c %u "$documents/str.txt")" = "$uid" ] || fail "no text report owned by $uid in $documents"
    LC_ALL=C grep -q $'\xc8\xd2\xce\xc3\xce:' "$documents/str.txt" || fail "str.txt has no total line"
    head -c 6 "$documents/str.doc" | grep -q '{\\rtf1' || fail "str.doc is no RTF document"
    grep -q 'pngblip' "$documents/str.doc" || fail "str.doc has no picture"
}

run_program 65534 "$work/user-home"
run_program 0 "$work/root-home" # root, too, writes into its documents folder, never into /usr
for path in /usr/bin/str.txt /usr/bin/str.doc /usr/share/tarifmaster/str.txt /usr/share/tarifmaster/str.doc; do
    if [ -e "$path" ]; then fail "a report was written into the install prefix: $path"; fi
done
dpkg --verify tarifmaster || fail "installed files changed"

# --- remove: nothing of the package stays
"${apt[@]}" purge tarifmaster >>"$work/apt.log" 2>&1 || fail "apt-get purge"
for path in "${packaged[@]}"; do
    case "$path" in
    /usr/bin | /usr/share | /usr/share/applications | /usr/share/doc | /usr/share/icons | /usr/share/icons/hicolor | \
        /usr/share/icons/hicolor/* | /usr/share/man | /usr/share/man/man1 | /usr/share/metainfo)
        if [ -d "$path" ]; then continue; fi ;; # shared folders of the system
    esac
    if [ -e "$path" ]; then fail "left behind: $path"; fi
done
if [ -e /usr/share/tarifmaster ]; then fail "left behind: /usr/share/tarifmaster"; fi
echo "package: installed, used by an ordinary user and by root, and purged without a trace"
