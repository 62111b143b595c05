#!/usr/bin/env bash
# Kills rqfs at random moments while it saves, over and over, and checks what is left:
# the image must always be exactly the image before or the image after the change (never
# torn), a signal rqfs can catch must leave no temporary or lock file, and a temporary
# file left by SIGKILL must be no more readable than the image and gone once a later run
# takes the lock.
#   scripts/kill-during-save.sh [RQFS] [ITERATIONS]
# SIGNALS picks the signals sent (default: KILL TERM INT HUP). For rqfs.exe under Wine,
# through a script that runs scripts/wine-run rqfs.exe "$@", use SIGNALS="KILL INT": Wine
# hands SIGINT to the program as a console's Ctrl+C, and ends it at once on the others.
set -euo pipefail

rqfs=$(realpath "${1:-build/default/cli/rqfs}")
iterations=${2:-1000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Two inputs of nearly the card's size, so that every save writes and flushes ~60 KB.
head -c 60000 /dev/urandom > a.bin
head -c 60000 /dev/urandom > b.bin
for side in a b; do
  printf 'rm /0001\nadd /0001 --type data --from %s.bin\n' "$side" > "to-$side.rqb"
done
"$rqfs" new card.rqfs
"$rqfs" add card.rqfs /0001 --type data --size 1
"$rqfs" batch card.rqfs to-a.rqb
cp card.rqfs image-a
"$rqfs" batch card.rqfs to-b.rqb
cp card.rqfs image-b
chmod 600 card.rqfs

# How long one run takes, to spread the kills over it.
start=$(date +%s%N)
for _ in 1 2 3 4 5 6; do "$rqfs" batch card.rqfs to-a.rqb; "$rqfs" batch card.rqfs to-b.rqb; done
run_us=$(( ($(date +%s%N) - start) / 12000 ))

declare -A kills=() interrupted=()
kept=()
torn=0 temporaries_after_catchable=0 locks_after_catchable=0 temporaries_after_kill=0
locks_after_kill=0 too_readable=0
read -r -a signals <<< "${SIGNALS:-KILL TERM INT HUP}"
for ((i = 0; i < iterations; i++)); do
  signal=${signals[RANDOM % ${#signals[@]}]}
  if cmp -s card.rqfs image-a; then target=b; else target=a; fi
  delay_us=$(( (RANDOM * 32768 + RANDOM) % (run_us * 12 / 10 + 1) ))
  status=0
  (timeout -s "$signal" "$(printf '0.%06d' "$delay_us")" "$rqfs" batch card.rqfs "to-$target.rqb"
   exit $?) 2>/dev/null || status=$?
  kills[$signal]=$(( ${kills[$signal]:-0} + 1 ))
  # timeout answers 124 when it sent the signal; SIGKILL shows as 128 + 9.
  if ((status == 124 || status == 137)); then
    interrupted[$signal]=$(( ${interrupted[$signal]:-0} + 1 ))
  fi
  if ! cmp -s card.rqfs image-a && ! cmp -s card.rqfs image-b; then
    torn=$((torn + 1))
    echo "torn image after $signal at ${delay_us} us" >&2
    cp image-a card.rqfs
  fi
  # What killed runs left stays: the next run that takes the lock removes it.
  shopt -s nullglob dotglob
  leftovers=(.rqfs-*.tmp card.rqfs.*.tmp)
  shopt -u nullglob dotglob
  leftovers=($(comm -13 <(printf '%s\n' "${kept[@]}" | sort) <(printf '%s\n' "${leftovers[@]}" | sort)))
  locks=()
  [[ -e card.rqfs.lock ]] && locks=(card.rqfs.lock)
  shopt -s nullglob dotglob
  kept=(.rqfs-*.tmp)
  shopt -u nullglob dotglob
  if [[ $signal == KILL ]]; then
    temporaries_after_kill=$((temporaries_after_kill + ${#leftovers[@]}))
    locks_after_kill=$((locks_after_kill + ${#locks[@]}))
    for file in "${leftovers[@]}"; do
      [[ $(stat -c %a "$file") == 600 ]] || too_readable=$((too_readable + 1))
    done
    rm -f "${locks[@]}"
  else
    temporaries_after_catchable=$((temporaries_after_catchable + ${#leftovers[@]}))
    locks_after_catchable=$((locks_after_catchable + ${#locks[@]}))
    rm -f "${leftovers[@]}" "${locks[@]}"
  fi
done

echo "iterations: $iterations, one run takes about ${run_us} us"
for signal in "${signals[@]}"; do
  echo "SIG$signal: ${kills[$signal]:-0} sent, ${interrupted[$signal]:-0} ended the run"
done
echo "torn images: $torn"
echo "temporary files left after a signal rqfs catches: $temporaries_after_catchable"
echo "lock files left after a signal rqfs catches: $locks_after_catchable"
echo "temporary files left after SIGKILL: $temporaries_after_kill (more readable than the image: $too_readable)"
echo "lock files left after SIGKILL (stale, taken over by the next run): $locks_after_kill"
"$rqfs" batch card.rqfs /dev/null
shopt -s nullglob dotglob
piled=(.rqfs-*.tmp)
echo "temporary files of killed runs still there after one more run: ${#piled[@]}"
"$rqfs" check card.rqfs > /dev/null && echo "final image: valid"
