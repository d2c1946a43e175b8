#!/bin/sh
# Fills a work folder with a fuzz target's seeds: its own (fuzz/corpus/NAME)
# and those fuzz/peer_seeds.txt names in the peer corpus, when present.
#   fuzz/seed.sh NAME WORKDIR
set -eu
name=$1
work=$2
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${SIGIL_PEER_CORPUS:-$root/../shared/corpus}
mkdir -p "$work"
cp -r "$root/fuzz/corpus/$name"/. "$work"/ 2>/dev/null || true
grep -v '^#' "$root/fuzz/peer_seeds.txt" | while read -r target path skip; do
  [ "$target" = "$name" ] || continue
  [ -f "$corpus/$path" ] || continue
  tail -c +"$((skip + 1))" "$corpus/$path" >"$work/peer_$(echo "$path" | tr / _)"
done
