#!/usr/bin/env bash
# Reads the dynamic symbols of the Linux edition's shared object.
#   check-elf.sh FILE DEF   an x86_64 ELF shared object that defines exactly the names of DEF
#                           (the Windows export file: both editions export the same entry
#                           points, but for the pictures', which hand back Windows icons and
#                           bitmaps and which Double Commander does not call), under their
#                           plain C names, and needs libmpdclient
set -euo pipefail
file=$1 def=$2

if ! readelf -h "$file" | grep -q 'Type:.*DYN'; then echo "$file is no ELF shared object"; exit 1; fi
if ! readelf -h "$file" | grep -q 'Machine:.*X86-64'; then echo "$file is not for x86_64"; exit 1; fi
windows_only='^(FsExtractCustomIcon|FsGetPreviewBitmap)W?$'
expected=$(awk 'NR > 1 && NF { print $1 }' "$def" | grep -Ev "$windows_only" | sort)
actual=$(nm -D --defined-only "$file" | awk '{ print $NF }' | sort)
if [ "$expected" != "$actual" ]; then
  echo "dynamic symbols of $file differ from $def"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
if ! readelf -d "$file" | grep -q 'NEEDED.*libmpdclient'; then echo "$file does not link libmpdclient"; exit 1; fi
echo "exports of $(basename "$file"): $(echo $actual)"
