#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR with prefix /usr, as the package does, and checks
# what a user gets: every file in its place, icons at their sizes, a desktop entry whose
# program, icon and MIME type are installed, and the installed programs answering --version
# with the project version, the editor without a display, and failing when they cannot write.
# Usage: InstallTest.sh BUILD_DIR VERSION GUI (ON or OFF)
set -uo pipefail
build=$1
version=$2
gui=$3

dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
if ! DESTDIR=$dest cmake --install "$build" --prefix /usr >"$dest/install.log" 2>&1; then
    cat "$dest/install.log"
    exit 1
fi
root=$dest/usr

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
expect_file() {
    [[ -f $root/$1 ]] || fail "not installed: /usr/$1"
}
expect_output() {
    local wanted=$1 got
    shift
    got=$("$@" 2>&1)
    [[ $got == "$wanted" ]] || fail "$* printed '$got', wanted '$wanted'"
}
# Width and height of a PNG, from its IHDR chunk.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'
}

expect_file bin/rqfs
expect_file share/man/man1/rqfs.1.gz
expect_file share/bash-completion/completions/rqfs
expect_file share/doc/rqvfs-editor/copyright
expect_file share/doc/rqvfs-editor/changelog.gz
for gz in "$root"/share/man/man1/*.gz "$root"/share/doc/rqvfs-editor/*.gz; do
    gzip -t "$gz" || fail "not a gzip file: $gz"
done
expect_output "rqfs $version" "$root/bin/rqfs" --version
# An answer that cannot be written is a failure, not a success.
"$root/bin/rqfs" --version >/dev/full 2>&1 && fail "rqfs --version >/dev/full succeeded"

if [[ $gui == ON ]]; then
    expect_file bin/rqvfs-editor
    expect_file share/man/man1/rqvfs-editor.1.gz
    expect_file share/metainfo/org.rqvfs.editor.metainfo.xml
    expect_file share/mime/packages/rqvfs-editor.xml
    desktop=share/applications/rqvfs-editor.desktop
    expect_file "$desktop"
    expect_output "rqvfs-editor $version" \
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/rqvfs-editor" --version
    "$root/bin/rqvfs-editor" --help >/dev/full 2>&1 && fail "rqvfs-editor --help >/dev/full succeeded"

    exec_line=$(sed -n 's/^Exec=//p' "$root/$desktop")
    program=${exec_line%% *}
    [[ -x $root/bin/$program ]] || fail "Exec=$exec_line names no installed program"
    icon=$(sed -n 's/^Icon=//p' "$root/$desktop")
    mime_type=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$root/$desktop")
    grep -qF "<mime-type type=\"$mime_type\">" "$root/share/mime/packages/rqvfs-editor.xml" ||
        fail "MimeType=$mime_type is not defined by the installed MIME file"
    grep -qF '<launchable type="desktop-id">rqvfs-editor.desktop</launchable>' \
        "$root/share/metainfo/org.rqvfs.editor.metainfo.xml" ||
        fail "the AppStream file does not launch the installed desktop entry"

    hicolor=share/icons/hicolor
    for named in "apps/$icon" "mimetypes/${mime_type//\//-}"; do
        expect_file "$hicolor/scalable/$named.svg"
        for size in 16 32 48 64 128 256; do
            png=$hicolor/${size}x$size/$named.png
            expect_file "$png"
            [[ -f $root/$png ]] && [[ $(png_size "$root/$png") != "${size}x$size" ]] &&
                fail "$png is $(png_size "$root/$png")"
        done
    done
fi

((failed == 0)) && echo "installed as expected"
exit $failed
