#!/usr/bin/env bash
# Reads the export or import table of a built PE file with objdump -p.
#   check-pe.sh exports OBJDUMP FILE DEF  the export names are exactly those of DEF, undecorated,
#                                         and every Unicode (W) form has its ANSI form beside it
#   check-pe.sh imports OBJDUMP FILE      every imported DLL is a system DLL
#   check-pe.sh version OBJDUMP FILE VER  the version resource names VER (1.2.3) as the file's
#                                         and the product's version, in numbers and in text
set -euo pipefail
mode=$1 objdump=$2 file=$3

case $mode in
exports)
  def=$4
  expected=$(awk 'NR > 1 && NF { print $1 }' "$def" | sort)
  # The export name table lists "[ordinal] name" lines after "[Ordinal/Name Pointer] Table".
  actual=$("$objdump" -p "$file" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
           awk '/^[ \t]+\[ *[0-9]+\]/ { print $NF }' | sort)
  if [ "$expected" != "$actual" ]; then
    echo "export table of $file differs from $def"
    diff <(echo "$expected") <(echo "$actual") || true
    exit 1
  fi
  if grep -q '@' <<<"$actual"; then echo "decorated export names in $file"; exit 1; fi
  # The entry points that the plug-in offers the host: the file system's, the Unicode
  # forms, the content columns', and the items' icons and thumbnails.
  required="FsInit FsGetDefRootName FsFindFirst FsFindNext FsFindClose FsGetFile FsStatusInfo
    FsPutFile FsDeleteFile FsExecuteFile FsInitW FsFindFirstW FsFindNextW FsGetFileW
    FsStatusInfoW FsPutFileW FsDeleteFileW FsExecuteFileW
    FsContentGetSupportedField FsContentGetSupportedFieldFlags FsContentGetDefaultSortOrder
    FsContentGetDefaultView FsContentGetDefaultViewW FsContentGetValue FsContentGetValueW
    FsContentStopGetValue FsContentStopGetValueW FsContentPluginUnloading
    FsExtractCustomIcon FsExtractCustomIconW FsGetPreviewBitmap FsGetPreviewBitmapW"
  for name in $required; do
    if ! grep -qx "$name" <<<"$actual"; then echo "$name not exported by $file"; exit 1; fi
  done
  # A host falls back to the ANSI form of an entry point when it has no W form, never the
  # other way round: a W form alone would leave old hosts without the entry point.
  for wide in $(grep 'W$' <<<"$actual" || true); do
    if ! grep -qx "${wide%W}" <<<"$actual"; then echo "$wide without ${wide%W} in $file"; exit 1; fi
  done
  echo "exports of $(basename "$file"): $(echo $actual)"
  ;;
imports)
  imports=$("$objdump" -p "$file" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
  allowed='^(kernel32|user32|shell32|ole32|advapi32|gdi32|comdlg32|shlwapi|comctl32|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$'
  bad=$(grep -Ev "$allowed" <<<"$imports" || true)
  if [ -n "$bad" ]; then
    echo "$(basename "$file") imports non-system DLLs: $bad"
    exit 1
  fi
  echo "imports of $(basename "$file"): $(echo $imports)"
  ;;
version)
  # The resource section's bytes as objdump dumps them; the resource is found by its key,
  # VS_VERSION_INFO in UTF-16, and read by the layout of VS_FIXEDFILEINFO behind it.
  "$objdump" -s -j .rsrc "$file" | python3 "$(dirname "$0")/pe-version.py" "$4"
  ;;
*) echo "usage: $0 exports|imports|version OBJDUMP FILE [DEF|VER]" >&2; exit 2 ;;
esac
