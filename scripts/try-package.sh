#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 (bookworm) made with debootstrap, and
# checks it as a user would: rqfs --version, man rqfs, the .rqfs type in the MIME database,
# and the editor started with its desktop entry's Exec line on a virtual display.
# Usage (as root): scripts/try-package.sh PACKAGE.deb [CHROOT_DIR]
# A CHROOT_DIR that already holds a system is reused; without one, a temporary chroot is
# made and removed afterwards. Needs debootstrap and a reachable Debian mirror.
set -euo pipefail

package=$(realpath "$1")
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
command -v debootstrap >/dev/null || { echo "try-package: needs debootstrap" >&2; exit 2; }

if [[ $# -ge 2 ]]; then
    root=$2
    made=false
else
    root=$(mktemp -d)
    made=true
fi

mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount --lazy "${mounted[i]}"
    done
    if $made; then
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT

if [[ ! -x $root/usr/bin/apt-get ]]; then
    echo "try-package: making a Debian 12 system in $root"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
        { cat "$root.debootstrap.log"; exit 1; }
    rm -f "$root.debootstrap.log"
fi
for fs in proc dev; do
    mount --bind "/$fs" "$root/$fs"
    mounted+=("$root/$fs")
done

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

cp "$package" "$root/tmp/"
name=$(basename "$package")
in_root apt-get update -q
# man-db and the virtual display are what a desktop system has and a minimal one lacks.
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./tmp/$name" man-db xvfb xauth

echo "== rqfs --version"
in_root rqfs --version
echo "== man rqfs (first lines)"
in_root env MANPAGER=cat MANWIDTH=80 man rqfs | head -n 8
echo "== MIME database"
in_root grep -F '*.rqfs' /usr/share/mime/globs2
echo "== desktop entry"
exec_line=$(in_root sed -n 's/^Exec=//p' /usr/share/applications/rqvfs-editor.desktop)
echo "Exec=$exec_line"
in_root rqfs new --force /tmp/card.rqfs
command_line=${exec_line//%f//tmp/card.rqfs}
echo "== starting '$command_line' on a virtual display for 10 seconds"
status=0
# shellcheck disable=SC2086  # the Exec line is split into words as the desktop does
in_root xvfb-run -a timeout 10 $command_line || status=$?
if [[ $status -eq 124 ]]; then
    echo "the editor was still running after 10 seconds: it started"
else
    echo "try-package: the editor ended with status $status" >&2
    exit 1
fi
