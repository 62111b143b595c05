# Runs rqfs's tab completion the way bash does, for the test scripts that source this file
# with the completion script as its argument.

# compopt only works while bash itself completes; here the options it sets do not matter.
compopt() { :; }
# shellcheck source=/dev/null
source "$1" || exit 1

# Completes the last word of a command line (an empty word after a trailing space) and
# prints what is offered, one word a line.
complete_line() {
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _rqfs
    printf '%s\n' "${COMPREPLY[@]}"
}
