#!/usr/bin/env bash
# Tab completion of rqfs, as bash runs it: each case types a command line and compares what
# the completion offers for its last word. Usage: CompletionTest.sh COMPLETION_SCRIPT
set -uo pipefail
completion=$(realpath "$1")
here=$(dirname "$(realpath "$0")")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch card.rqfs other.rqfs notes.txt card.json
mkdir layout

# shellcheck source=SCRIPTDIR/CompleteLine.sh
source "$here/CompleteLine.sh" "$completion"

failed=0
passed=0
# expect "LINE" "OFFERS": completing the last word of LINE (empty after a trailing space)
# offers exactly OFFERS, sorted and space-separated.
expect() {
    local line=$1 wanted=$2
    local got
    got=$(complete_line "$line" | sed '/^$/d' | sort -u | paste -sd ' ')
    if [[ $got == "$wanted" ]]; then
        ((++passed))
    else
        ((++failed))
        echo "FAIL: '$line' offers '$got', wanted '$wanted'"
    fi
}

# Commands and the program's own options.
expect "rqfs " "--help --version add batch build cat check cp diff dump export format info ls mkdir new passwd plan rm tree write"
# Options of a command wherever they are typed (DocumentedTest.sh checks that every option
# the binary has is offered), and of the commands the binary may not have yet.
expect "rqfs mkdir card.rqfs /0001 --" "--developer-password --developer-password-hex --help --lock-timeout --size --user-password --user-password-hex"
expect "rqfs add --" "--from --help --hex --lock-timeout --size --type"
expect "rqfs dump card.rqfs layout --r" "--redact-passwords"
expect "rqfs build layout out.rqfs --" "--allow-redacted --force --help --lock-timeout --output-dir --params"
expect "rqfs build layout --params n" "notes.txt"
expect "rqfs build layout --output-dir " "layout"
expect "rqfs build layout --params notes.txt --output-dir layout " "card.rqfs layout other.rqfs"
expect "rqfs nosuch --" ""
# --type values, also after '='.
expect "rqfs add card.rqfs /0001 --type " "data exec internal-exec private-key public-key"
expect "rqfs add card.rqfs /0001 --type = d" "data"
# Values that only the user knows are left alone.
expect "rqfs mkdir card.rqfs /0001 --size " ""
expect "rqfs passwd card.rqfs / --user-password " ""
expect "rqfs write card.rqfs /0001 --hex " ""
# Arguments by position: images, card paths (never completed), disk files, folders.
expect "rqfs ls " "card.rqfs layout other.rqfs"
expect "rqfs ls card.rqfs " ""
expect "rqfs add --type data card.rqfs " ""
expect "rqfs add --type data --from notes.txt " "card.rqfs layout other.rqfs"
expect "rqfs add card.rqfs /0001 --from n" "notes.txt"
expect "rqfs export card.rqfs /0001 " "card.json card.rqfs layout notes.txt other.rqfs"
expect "rqfs batch card.rqfs " "card.json card.rqfs layout notes.txt other.rqfs"
expect "rqfs dump card.rqfs " "layout"
expect "rqfs build " "card.json layout"
expect "rqfs build layout " "card.rqfs layout other.rqfs"
expect "rqfs diff card.rqfs " "card.json card.rqfs layout other.rqfs"
expect "rqfs plan --keep /0001 card.rqfs " "card.json card.rqfs layout other.rqfs"
expect "rqfs plan card.rqfs layout --output n" "notes.txt"
expect "rqfs check card.rqfs " ""

echo "$passed passed, $failed failed"
((failed == 0))
