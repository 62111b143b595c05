#!/usr/bin/env bash
# A manual page must format without a single warning from man and groff, the check
# Debian's lintian makes. Usage: ManPageTest.sh PAGE
set -euo pipefail
page=$1

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
if [[ -n $warnings ]]; then
    echo "$page: man reports:"
    echo "$warnings"
    exit 1
fi
echo "$page: no warnings"
