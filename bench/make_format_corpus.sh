#!/usr/bin/env bash
# make_format_corpus.sh FOLDER [COUNT]
# A corpus per format for plenvox-format-bench: one tagged file per format (a 3-minute
# tone encoded by ffmpeg: FLAC, Ogg Vorbis, Opus, AAC and ALAC in M4A, WAV, AIFF, WMA, MP3,
# with title, artist, album, track, date, genre and a comment) and COUNT hard links to it
# (default 2000) in FOLDER/<format>/; FOLDER/mixed/ holds one file of each format, for
# plenvox-frontend-bench's mixed playlist.
set -euo pipefail
folder=${1:?usage: make_format_corpus.sh FOLDER [COUNT]}
count=${2:-2000}
mkdir -p "$folder/mixed"
tone=$folder/tone.wav
[ -f "$tone" ] || sox -n -r 44100 -c 2 -b 16 "$tone" synth 180 sine 440 vol 0.5

make() {  # make NAME EXTENSION FFMPEG-OPTIONS...
  local name=$1 ext=$2
  shift 2
  local file=$folder/mixed/$name.$ext
  [ -f "$file" ] || ffmpeg -loglevel error -y -i "$tone" "$@" \
    -metadata title="Группа крови" -metadata artist="Кино" -metadata album="Звезда" \
    -metadata track=3 -metadata date=1988 -metadata genre=Rock -metadata comment="bench" "$file"
  mkdir -p "$folder/$name"
  for ((i = 0; i < count; i++)); do
    local link
    link=$(printf '%s/%s/%05d_%s.%s' "$folder" "$name" "$i" "$name" "$ext")
    [ -e "$link" ] || ln "$file" "$link"
  done
}

make flac flac -c:a flac
make vorbis ogg -c:a libvorbis -q:a 4
make opus opus -c:a libopus -b:a 128k
make aac m4a -c:a aac -b:a 192k
make alac m4a -c:a alac
make wav wav
make aiff aiff
make wma wma -c:a wmav2 -b:a 192k
make mp3 mp3 -c:a libmp3lame -b:a 192k -id3v2_version 3
echo "corpus: $count files per format in $folder"
