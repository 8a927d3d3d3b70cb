# Sourced first by every script: strict mode, and a command that ends the script says where
# it stood and what it was, also when it failed inside a pipe or a $(...). A failure inside
# $(...) is reported by the command that used it, which is what ends the script.
set -eEuo pipefail
trap 'say_failed $? $LINENO "$BASH_COMMAND"' ERR
say_failed() {
  [[ $- == *e* ]] || return 0
  echo "${0##*/}: line $2: $3 failed (status $1)" >&2
}
