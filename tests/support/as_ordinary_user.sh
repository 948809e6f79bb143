#!/bin/sh
# Runs a test program as an ordinary user: as the user who started it, or as nobody (uid 65534) when
# that is root, for whom a folder without write permission is really closed.
#
#   as_ordinary_user.sh PROGRAM [NAME=FOLDER]...
#
# That user may not even enter the build folder (a clone in /root is closed to everyone else), so the
# program and the folders it reads are first copied side by side into a fresh folder under /tmp that
# every user may read and enter: PROGRAM's copy, and each FOLDER's copy named NAME. The program runs
# from there, finds the copies beside itself, and gets a TMPDIR of the user's own inside it. The whole
# folder is removed afterwards.
set -eu
program=$1
shift

stage=$(mktemp -d /tmp/tarifmaster-staged-XXXXXX)
cleanup() {
    chmod -R u+rwX "$stage" 2>/dev/null || true # what a failed test left closed
    rm -rf "$stage"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp "$program" "$stage/"
for pair in "$@"; do
    cp -R "${pair#*=}" "$stage/${pair%%=*}"
done
chmod -R a+rX "$stage"
mkdir -m 700 "$stage/tmp"

as_user=
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$stage/tmp"
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
cd "$stage"
status=0
TMPDIR="$stage/tmp" $as_user "./$(basename "$program")" || status=$?
exit $status
