#!/usr/bin/env bash
# The MIME type file is well-formed XML, and the shared MIME database built from it maps
# *.rqfs to our type with its own icon. Usage: MimeTypeTest.sh MIME_XML
set -euo pipefail
xml=$1

xmllint --noout "$xml"

share=$(mktemp -d)
trap 'rm -rf "$share"' EXIT
database=$share/mime
mkdir -p "$database/packages"
cp "$xml" "$database/packages/"
XDG_DATA_HOME=$share update-mime-database "$database"

status=0
expect_line() {
    local file=$1 line=$2
    if ! grep -qxF "$line" "$database/$file"; then
        echo "$file lacks '$line'; it holds:"
        cat "$database/$file"
        status=1
    fi
}
expect_line globs2 "50:application/x-rqvfs-document:*.rqfs"
expect_line icons "application/x-rqvfs-document:application-x-rqvfs-document"
expect_line generic-icons "application/x-rqvfs-document:x-office-document"
exit $status
