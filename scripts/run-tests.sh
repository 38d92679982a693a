#!/usr/bin/env bash
# Every test: installs what is missing, builds the native core with its unit tests
# (AddressSanitizer and UndefinedBehaviorSanitizer), both Windows editions and the Linux
# edition, then runs the unit tests, the checks on the built DLLs, the end-to-end suite
# under Wine and the Linux edition's run in Double Commander.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
jobs=$(nproc)
for preset in native mingw32 mingw64 linux; do
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j"$jobs"
done

if [ -f tests/fuzz/run-short.sh ]; then tests/fuzz/run-short.sh; fi

status=0
for preset in mingw32 mingw64 native linux; do
  ctest --preset "$preset" -j"$jobs" || status=1
  # CTest lists skipped tests without their output: say why each was skipped (the
  # 32-bit end-to-end groups on a machine that cannot run 32-bit programs).
  awk '/^[0-9]+\/[0-9]+ Test: / { name = $3 } /^skipped: / { print name ": " $0 }' \
    "build/$preset/Testing/Temporary/LastTest.log" 2>/dev/null || true
done
exit $status
