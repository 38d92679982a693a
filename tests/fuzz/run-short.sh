#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for a short time (FUZZ_SECONDS each,
# default 20) from its seeds; exits 1 when any target finds a crash, a sanitizer report
# or a broken property. Inputs that failed are kept under build/fuzz/artifacts/.
#   tests/fuzz/run-short.sh                 all targets
#   FUZZ_SECONDS=300 tests/fuzz/run-short.sh fuzz_mpegaudio
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds=${FUZZ_SECONDS:-20}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

bin=build/fuzz/tests/fuzz
artifacts=$root/build/fuzz/artifacts
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The third-party MPEG/ID3 files beside the project seed the audio targets.
audio_seeds=()
if [ -d ../shared/corpus ]; then audio_seeds=(../shared/corpus); fi

# Tagged files with small pictures seed the picture target, made afresh for each run.
python3 tests/fuzz/make-picture-seeds.py "$work/picture-seeds"

seeds_for() {
  case $1 in
    fuzz_playlist) echo tests/fuzz/seeds/playlist ;;
    fuzz_picture) echo "$work/picture-seeds" "${audio_seeds[@]}" ;;
    *) echo "${audio_seeds[@]}" ;;
  esac
}

options_for() {
  case $1 in
    fuzz_playlist) echo "-max_len=4096" ;;
    fuzz_picture) echo "-dict=tests/fuzz/audio.dict -max_len=65536" ;;
    *) echo "-dict=tests/fuzz/audio.dict" ;;
  esac
}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(fuzz_audio_spans fuzz_id3v1 fuzz_id3v2 fuzz_mpegaudio fuzz_picture fuzz_playlist); fi

failed=()
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  log=$work/$target.log
  echo "fuzz: $target for ${seconds}s"
  # shellcheck disable=SC2046
  if "$bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$artifacts/$target-" $(options_for "$target") \
       "$work/$target" $(seeds_for "$target") >"$log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|Done)' "$log" | tail -1
  else
    failed+=("$target")
    tail -60 "$log"
    echo "fuzz: $target FAILED (input kept under $artifacts)"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: ${#failed[@]} failed: ${failed[*]}"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran without a finding"
