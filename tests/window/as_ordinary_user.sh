#!/bin/sh
# Runs a test as it is, or, when started by root, as the unprivileged user nobody (uid 65534), for whom
# a folder without write permission is really closed.
if [ "$(id -u)" -eq 0 ]; then
    exec setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
fi
exec "$@"
