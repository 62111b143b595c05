#!/usr/bin/env bash
# rqfs against mtools, a FAT image tool, doing the same work: building an image of 100
# files of 300 bytes from a script, and one ls, add, export and check on such an image.
# Times are medians of wall-clock runs, ours and the peer's interleaved round by round;
# memory is the median peak resident set size that GNU time reports (%M). Prints one line
# per row: "row|measure|ours|peer|ratio|goal|verdict".
# Usage: bench/compare-cli.sh [--quick] RQFS   (--quick: one round, to see that it runs)
set -euo pipefail
export LC_ALL=C

rounds=51
memory_runs=5
if [[ ${1:-} == --quick ]]; then
  rounds=1
  memory_runs=1
  shift
fi
if [[ $# -ne 1 ]]; then
  echo "usage: $0 [--quick] RQFS" >&2
  exit 2
fi
rqfs=$(realpath "$1")
for tool in mformat mcopy mdir /usr/bin/time; do
  command -v "$tool" >/dev/null || {
    echo "compare-cli: $tool is missing; scripts/install-deps.sh installs it" >&2
    exit 1
  }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/rqvfs-compare-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
# mtools reads no user configuration, and never asks before replacing a file.
export MTOOLSRC=/dev/null

mkdir in
for i in $(seq 1 100); do
  head -c 300 /dev/urandom >"in/f$(printf %03d "$i")"
  printf 'add /%04X --type data --from in/f%03d\n' "$i" "$i" >>build.rqb
done

# The smallest standard FAT floppy whose root directory takes 100 files.
fat_new() { mformat -i "$1" -C -f 720 ::; }

# Each side of a row is an array holding one command; build sides call a function.
build_ours() { "$rqfs" batch --new card.rqfs build.rqb; }
build_peer() { fat_new fat.img && mcopy -i fat.img in/f* ::; }
build_prepare() { rm -f card.rqfs fat.img; }
fill_prepare() { cp empty.rqfs card.rqfs && cp empty.img fat.img; }
add_prepare() { cp base.rqfs card.rqfs && cp base.img fat.img; }
export_prepare() { rm -f out.bin; }
no_prepare() { :; }

build_one=(build_ours)
build_fat=(build_peer)
fill_ours=("$rqfs" batch card.rqfs build.rqb)
fill_peer=(mcopy -i fat.img in/f* ::)
ls_ours=("$rqfs" ls base.rqfs)
ls_peer=(mdir -i base.img ::)
add_ours=("$rqfs" add card.rqfs /0065 --type data --from in/f001)
add_peer=(mcopy -i fat.img in/f001 ::/NEW.BIN)
export_ours=("$rqfs" export base.rqfs /0001 out.bin)
export_peer=(mcopy -n -i base.img ::/f001 out.bin)
check_ours=("$rqfs" check base.rqfs)
check_peer=(mdir -/ -i base.img ::)

"$rqfs" new empty.rqfs
fat_new empty.img
"$rqfs" batch --new base.rqfs build.rqb
fat_new base.img
mcopy -i base.img in/f* ::

# Called inside a command substitution: its exit fails the assignment that stops the script.
failed() {
  echo "compare-cli: failed: $*" >&2
  exit 1
}

# Runs a command once and prints its wall-clock time in microseconds.
elapsed() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null || failed "$@"
  local end=$EPOCHREALTIME
  echo $((${end/./} - ${start/./}))
}

# Runs a command once under GNU time and prints its peak resident set size in KiB.
peak_kib() {
  /usr/bin/time -f %M -o peak.txt "$@" >/dev/null || failed "$@"
  cat peak.txt
}

# sample ARRAY MEASURE COMMAND...: runs the caller's $prepare, then appends what MEASURE
# prints for COMMAND to ARRAY. Every step is a plain command, so a failure stops the script.
sample() {
  local -n samples=$1
  local value
  $prepare
  value=$("${@:2}")
  samples+=("$value")
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

show_time() { awk -v us="$1" 'BEGIN { if (us >= 1000) printf "%.2f ms", us / 1000; else printf "%.0f us", us }'; }

# row MEASURE OURS PEER_NAME PEER GOAL UNIT: prints one row of the table; a goal of "-"
# marks a row shown for comparison only.
row() {
  local measure=$1 ours=$2 peer_name=$3 peer=$4 goal=$5 unit=$6 ours_text peer_text
  if [[ $unit == us ]]; then
    ours_text=$(show_time "$ours")
    peer_text=$(show_time "$peer")
  else
    ours_text="$ours KiB"
    peer_text="$peer KiB"
  fi
  awk -v m="$measure" -v o="$ours_text" -v pn="$peer_name" -v pt="$peer_text" -v a="$ours" -v b="$peer" -v g="$goal" \
    'BEGIN {
      r = a / b
      if (g == "-") goal = verdict = "-"
      else { goal = sprintf("<= %.2fx", g); verdict = (r <= g ? "met" : "not met") }
      printf "row|%s|%s|%s %s|%.2fx|%s|%s\n", m, o, pn, pt, r, goal, verdict
    }'
}

# compare NAME MEASURE PEER_NAME GOAL OURS PEER PREPARE [MEMORY_GOAL]: interleaved timing
# rounds (which side goes first alternates), then peak memory when a memory goal is given.
# OURS and PEER name the arrays holding the two commands.
compare() {
  local name=$1 measure=$2 peer_name=$3 goal=$4 prepare=$7 memory_goal=${8:-}
  local -n ours=$5 peer=$6
  local ours_times=() peer_times=() round
  for ((round = 0; round < rounds; ++round)); do
    if ((round % 2)); then
      sample peer_times elapsed "${peer[@]}"
      sample ours_times elapsed "${ours[@]}"
    else
      sample ours_times elapsed "${ours[@]}"
      sample peer_times elapsed "${peer[@]}"
    fi
  done
  row "$measure" "$(printf '%s\n' "${ours_times[@]}" | median)" "$peer_name" \
    "$(printf '%s\n' "${peer_times[@]}" | median)" "$goal" us
  [[ -n $memory_goal ]] || return 0
  local ours_peaks=() peer_peaks=()
  for ((round = 0; round < memory_runs; ++round)); do
    sample ours_peaks peak_kib "${ours[@]}"
    sample peer_peaks peak_kib "${peer[@]}"
  done
  row "$name, peak memory" "$(printf '%s\n' "${ours_peaks[@]}" | median)" "$peer_name" \
    "$(printf '%s\n' "${peer_peaks[@]}" | median)" "$memory_goal" KiB
}

compare build "build a card of 100 files of 300 bytes by script (rqfs batch --new)" \
  "mformat + mcopy" 0.5 build_one build_fat build_prepare
compare fill "the same into an existing empty image (rqfs batch)" \
  "mcopy" - fill_ours fill_peer fill_prepare
compare "one rqfs ls" "one rqfs ls" "mdir" 1.0 ls_ours ls_peer no_prepare 1.0
compare "one rqfs add" "one rqfs add" "mcopy in" 1.0 add_ours add_peer add_prepare 1.0
compare "one rqfs export" "one rqfs export" "mcopy out" 1.0 export_ours export_peer export_prepare 1.0
compare "one rqfs check" "one rqfs check" "mdir -/" 1.0 check_ours check_peer no_prepare 1.0
