#!/usr/bin/env bash
# check_bench_corpus.sh PLENVOX_INFO GENERATOR OUTDIR REFERENCE_DIR
#
# The benchmark corpus through plenvox-info, compared with a committed reference: the
# generator (make_corpus.sh) writes its base corpus into OUTDIR once; a later run reuses
# it while every file still has the md5 sum that the generator listed. The corpus must be
# the one the reference was written from (REFERENCE_DIR/bench-corpus-md5sums.txt), and
# plenvox-info's JSON over it must equal REFERENCE_DIR/bench-corpus-info.jsonl byte for
# byte (check_corpus_json.py, which also checks every report on its own).
#   --write-reference: regenerate nothing that is intact, then write both reference files.
set -euo pipefail

write=
if [ "${1:-}" = --write-reference ]; then write=1; shift; fi
[ $# -eq 4 ] || { echo "usage: $0 [--write-reference] PLENVOX_INFO GENERATOR OUTDIR REFERENCE_DIR" >&2; exit 2; }
tool=$1 generator=$2 out=$3 reference=$4
here=$(cd "$(dirname "$0")" && pwd)
md5s=$reference/bench-corpus-md5sums.txt
jsonl=$reference/bench-corpus-info.jsonl

intact() {
  [ -f "$out/md5sums.txt" ] && [ -d "$out/base" ] &&
    (cd "$out/base" && md5sum --check --quiet --strict ../md5sums.txt >/dev/null 2>&1) &&
    [ "$(ls -1 "$out/base" | wc -l)" -eq "$(wc -l < "$out/md5sums.txt")" ]
}

if intact; then
  echo "bench corpus: reusing $out/base"
else
  echo "bench corpus: generating into $out"
  if ! "$generator" "$out" > "$out.log" 2>&1; then
    cat "$out.log"
    echo "bench corpus: the generator failed; scripts/setup.sh installs the tools it needs" >&2
    exit 1
  fi
fi

if [ -n "$write" ]; then
  cp "$out/md5sums.txt" "$md5s"
  exec python3 "$here/check_corpus_json.py" "$tool" "$out/base" --write-reference "$jsonl"
fi

if ! diff -u "$md5s" "$out/md5sums.txt"; then
  echo "bench corpus: the generated files differ from those the reference was written from" >&2
  exit 1
fi
exec python3 "$here/check_corpus_json.py" "$tool" "$out/base" --reference "$jsonl"
