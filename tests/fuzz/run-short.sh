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

# The format readers' targets start from small files that ffmpeg makes here (their own
# first bytes cut off, as each target puts them back in front).
format_seeds() {
  local target=$1 dir=$work/seeds-$1 tone=$work/tone.wav
  mkdir -p "$dir"
  command -v sox >/dev/null && command -v ffmpeg >/dev/null || { echo "$dir"; return; }
  [ -f "$tone" ] || sox -n -r 8000 -c 1 "$tone" synth 0.3 sine 440 2>/dev/null
  local make=() skip=4
  case $target in
    fuzz_flac|fuzz_flac_behind_id3) make=("-c:a flac f.flac") ;;
    fuzz_ogg) make=("-c:a libvorbis v.ogg" "-c:a libopus o.opus" "-c:a flac -f ogg f.oga") ;;
    fuzz_wav) make=("-metadata title=t w.wav"); skip=12 ;;
    fuzz_aiff) make=("a.aiff"); skip=12 ;;
    fuzz_mp4) make=("-c:a aac -metadata title=t m.m4a" "-c:a alac l.m4a"); skip=16 ;;
    fuzz_asf) make=("-c:a wmav2 -metadata title=t w.wma"); skip=16 ;;
  esac
  for recipe in "${make[@]}"; do
    # shellcheck disable=SC2086
    set -- $recipe
    local out=${*: -1} options=("${@:1:$#-1}")
    ffmpeg -loglevel error -y -i "$tone" "${options[@]}" "$dir/full-$out" 2>/dev/null &&
      tail -c +$((skip + 1)) "$dir/full-$out" >"$dir/$out" && rm -f "$dir/full-$out"
  done
  echo "$dir"
}

seeds_for() {
  case $1 in
    fuzz_playlist) echo tests/fuzz/seeds/playlist ;;
    fuzz_flac|fuzz_flac_behind_id3|fuzz_ogg|fuzz_wav|fuzz_aiff|fuzz_mp4|fuzz_asf) format_seeds "$1" ;;
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
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_audio_spans fuzz_id3v1 fuzz_id3v2 fuzz_mpegaudio fuzz_picture fuzz_playlist fuzz_flac
           fuzz_flac_behind_id3 fuzz_ogg fuzz_wav fuzz_aiff fuzz_mp4 fuzz_asf)
fi

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
