#!/usr/bin/env bash
# Every command and option that the rqfs binary declares (as its --help shows them) is
# described in the manual page and offered by tab completion, and so are the names --type
# accepts. Usage: DocumentedTest.sh RQFS MAN_PAGE COMPLETION_SCRIPT
set -uo pipefail
rqfs=$1
page=$2
completion=$3

# shellcheck source=SCRIPTDIR/CompleteLine.sh
source "$(dirname "$(realpath "$0")")/CompleteLine.sh" "$completion"

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

# What the completion offers for the last word of a command line, each word between spaces.
offers() {
    local words
    mapfile -t words < <(complete_line "$1")
    printf ' %s ' "${words[@]}"
}

# The manual page's section of one command: from its .SS heading to the next heading.
man_section() {
    awk -v heading=".SS \"$1 " 'index($0, heading) == 1 { inside = 1; next }
        /^\.S[SH] / { inside = 0 } inside' "$page"
}

# The words of a help text's lines after the line "TITLE:", up to the next blank line.
help_block() {
    awk -v title="$1:" '$0 == title { inside = 1; next } /^$/ { inside = 0 } inside' |
        sed 's/^ *//'
}

commands=$("$rqfs" --help | help_block Subcommands | cut -d' ' -f1)
[[ -n $commands ]] || fail "rqfs --help lists no commands"
top=$(offers "rqfs ")
for option in --help --version; do
    [[ $top == *" $option "* ]] || fail "completion does not offer rqfs $option"
    grep -qF -- "${option//-/\\-}" "$page" || fail "$page does not describe rqfs $option"
done

for command in $commands; do
    [[ $top == *" $command "* ]] || fail "completion does not offer the command $command"
    section=$(man_section "$command")
    [[ -n $section ]] || fail "$page has no section for the command $command"
    heading=$(grep -F ".SS \"$command " "$page")
    offered=$(offers "rqfs $command x --")
    options=$("$rqfs" "$command" --help | help_block Options | grep -o -- '--[a-z-]*' | sort -u)
    for option in $options; do
        [[ $option == --help ]] && continue
        [[ $offered == *" $option "* ]] || fail "completion does not offer $command $option"
        [[ "$heading$section" == *"${option//-/\\-}"* ]] ||
            fail "$page does not describe $command $option"
    done
done

# "file type: exec, data, ..., or a number from 0 to 255"
types=$("$rqfs" add --help | sed -n 's/.*file type: \(.*\), or a number.*/\1/p' | tr -d ',')
[[ -n $types ]] || fail "rqfs add --help names no file types"
for type in $types; do
    [[ $(offers "rqfs add x /1 --type ") == *" $type "* ]] ||
        fail "completion does not offer --type $type"
    grep -qxF ".B ${type//-/\\-}" "$page" || fail "$page does not describe the file type $type"
done

((failed == 0)) && echo "every command, option and file type of rqfs is documented"
exit $failed
