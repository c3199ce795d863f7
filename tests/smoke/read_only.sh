#!/usr/bin/env bash
# Runs a command with FOLDER on a read-only filesystem: a read-only bind
# mount of it in a mount namespace of the command's own (an unprivileged
# user namespace), so nothing outside the command sees the change.
#   read_only.sh FOLDER COMMAND [ARGUMENTS...]
exec unshare --map-root-user --mount bash -c '
    mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" || exit 99
    cd "$(pwd)" && shift && exec "$@"' _ "$@"
