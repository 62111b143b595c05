#!/usr/bin/env bash
# Runs every benchmark program and compare-cli.sh, then prints all their rows as one
# Markdown table, the one docs/performance.md keeps. The programs' own reports go to
# standard error; standard output is the table alone.
# Usage: bench/run-all.sh RQFS PROGRAM...
set -euo pipefail
# Widgets measured by a Qt program draw offscreen.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
here=$(cd "$(dirname "$0")" && pwd)
rqfs=$1
shift

rows=$(mktemp)
report=$(mktemp)
trap 'rm -f "$rows" "$report"' EXIT
for program in "$@"; do
  echo "== $(basename "$program")" >&2
  "$program" | tee "$report" >&2
  grep '^row|' "$report" >>"$rows"
done
echo "== compare-cli.sh" >&2
"$here/compare-cli.sh" "$rqfs" | tee "$report" >&2
grep '^row|' "$report" >>"$rows"

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
echo
echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores (${cpu:-unknown CPU}), $(uname -sr)."
echo
echo "| measure | ours | floor or peer | ratio | goal | |"
echo "|---|---|---|---|---|---|"
awk -F'|' '{ printf "| %s | %s | %s | %s | %s | %s |\n", $2, $3, $4, $5, $6, $7 }' "$rows"
