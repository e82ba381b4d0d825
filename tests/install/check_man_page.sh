#!/usr/bin/env bash
# Holds a man page against its program: the page renders without a warning,
# and every option (--name) that the program's help texts print appears in it.
#
#   check_man_page.sh PAGE PROGRAM ARGS...
#
# Each ARGS is one invocation that prints a help text, its words separated by
# spaces ("--help", "list --help").
set -uo pipefail

page=$1
program=$2
shift 2
failed=0

warnings=$(groff -man -Tascii -ww -z "$page" 2>&1)
if [[ -n "$warnings" ]]; then
  echo "$page: groff warns:"
  echo "$warnings"
  failed=1
fi
# One paragraph a line, no hyphenation and no overstriking, so an option is
# never broken across lines.
text=$(groff -man -Tascii -rLL=5000n -rHY=0 -P-cbou "$page" 2>/dev/null)

for invocation in "$@"; do
  read -r -a args <<<"$invocation"
  if ! help=$("$program" "${args[@]}" 2>&1); then
    echo "$program $invocation: failed"
    failed=1
    continue
  fi
  while read -r option; do
    [[ -z "$option" ]] && continue
    if ! grep -q -E -- "(^|[^-a-z])${option}([^-a-z]|\$)" <<<"$text"; then
      echo "$page: no $option (printed by $(basename "$program") $invocation)"
      failed=1
    fi
  done < <(grep -o -E -- '--[a-z][a-z-]*[a-z]' <<<"$help" | sort -u)
done

if [[ $failed -eq 0 ]]; then
  echo "$page: every option of $(basename "$program") $* is in the page"
fi
exit $failed
