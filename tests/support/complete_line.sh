# Completes a command line as bash does when Tab is pressed at its end, with
# the completion script given, and prints the replies sorted, one a line.
# Bash splits the words at blanks and at colons, and hands the completion
# the last one, the part it replaces.
#   bash complete_line.sh COMPLETION_SCRIPT LINE
source "$1"
line=$2
COMP_LINE=$line
COMP_POINT=${#line}
spaced=${line//:/ : }
read -ra COMP_WORDS <<<"$spaced"
[[ $line == *[[:space:]] || $line == *: ]] && COMP_WORDS+=("")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
current=${line##*[[:space:]:]}
_tellavin_cli "${COMP_WORDS[0]}" "$current" "${COMP_WORDS[COMP_CWORD-1]}"
[[ ${#COMPREPLY[@]} -eq 0 ]] || printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort
