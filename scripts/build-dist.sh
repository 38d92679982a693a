#!/usr/bin/env bash
# The main job: installs what is missing, builds the installable plug-in into dist/
# (PlenvoxFast.wfx, PlenvoxFast.wfx64, settings.exe and the zip the host installs from;
# the Linux edition's plenvox.wfx, plenvox-settings and its archive for Double Commander),
# then runs a short demo under Wine that lists a generated playlist through a scripted host
# (with the 32-bit DLL, or with the 64-bit one where the machine cannot run 32-bit programs).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
for preset in mingw32 mingw64 linux; do
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j"$(nproc)"
done

rm -rf dist
mkdir -p dist/package
cp build/mingw32/bin/PlenvoxFast.wfx build/mingw64/bin/PlenvoxFast.wfx64 dist/package/
if [ -f build/mingw32/bin/settings.exe ]; then cp build/mingw32/bin/settings.exe dist/package/; fi
# The host reads the file as a Windows INI file: CRLF line ends.
sed 's/$/\r/' packaging/pluginst.inf > dist/package/pluginst.inf
(cd dist/package && zip -q -X ../PlenvoxFast.zip ./*)
cp dist/package/* dist/
rm -rf dist/package

# The Linux edition: Double Commander installs a plug-in from an archive that holds it
# and its pluginst.inf (Unix line ends there).
mkdir -p dist/linux
cp build/linux/src/plugin/so/plenvox.wfx build/linux/tools/settings/plenvox-settings dist/linux/
strip --strip-unneeded dist/linux/plenvox.wfx dist/linux/plenvox-settings  # no debug information
cp packaging/linux/pluginst.inf dist/linux/
(cd dist/linux && zip -q -X ../plenvox-linux-x86_64.zip ./*)
echo "dist/:"
ls -l dist

# The demo runs the 32-bit DLL where this machine runs 32-bit programs, else the 64-bit one.
demo_build=build/mingw32
if ! why=$(python3 tests/e2e/run.py probe --build build/mingw32); then
  echo "demo: $why"
  demo_build=build/mingw64
fi
echo "demo: $(basename "$(ls "$demo_build"/bin/PlenvoxFast.wfx*)") under Wine"
python3 tests/e2e/run.py demo --build "$demo_build"
