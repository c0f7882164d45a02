#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows programs: cross-builds Veltaro.exe and Veltaro-demo.exe for
# 64-bit and 32-bit Windows with MinGW-w64, runs the 64-bit build's tests
# under Wine (the program end to end among them) on a private Xvfb display
# in a throwaway Wine prefix inside the build folder, checks that each
# program needs no library beside it but the system's, and makes the
# portable archives (build/windows-x64/package, build/windows-x86/package).
#
# VELTARO_PAWNIO_MODULES_DIR, where set, names a folder with PawnIO's
# three AMD modules and their licence for the 64-bit archive.
#
# The 32-bit build is built and packaged, not run: 32-bit programs need
# Debian's 32-bit Wine and a kernel that runs 32-bit programs, which the
# machines this runs on do not offer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 fonts-wine xvfb xauth unzip

modules_dir=${VELTARO_PAWNIO_MODULES_DIR:+$(realpath "$VELTARO_PAWNIO_MODULES_DIR")}
cmake --preset windows-x64 -DVELTARO_PAWNIO_MODULES_DIR="$modules_dir" >/dev/null
cmake --preset windows-x86 >/dev/null
for arch in x64 x86; do
    cmake --build --preset "windows-$arch"
done

# Windows' own libraries only: no MinGW, C++ or toolkit library may be
# needed beside the program. And only those every start needs: COM, the
# common controls and the shell cost memory and time, and load when first
# used.
system_libraries='^(ADVAPI32|GDI32|KERNEL32|msvcrt|USER32)\.dll$'
for program in build/windows-x64/app/Veltaro.exe build/windows-x64/app/Veltaro-demo.exe \
    build/windows-x86/app/Veltaro.exe build/windows-x86/app/Veltaro-demo.exe; do
    foreign=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\tDLL Name: //p' | grep -Eiv "$system_libraries" || true)
    if [ -n "$foreign" ]; then
        echo "$program imports libraries a start should not need: $foreign" >&2
        exit 1
    fi
done

# The rights each program's manifest asks for, and Veltaro.exe's size: at
# most 400 kB, which the C++ stream library linked statically would pass.
for arch in x64 x86; do
    grep -aq 'level="highestAvailable"' "build/windows-$arch/app/Veltaro.exe" &&
        grep -aq 'level="asInvoker"' "build/windows-$arch/app/Veltaro-demo.exe" ||
        { echo "windows-$arch: Veltaro.exe must ask for highestAvailable, Veltaro-demo.exe for asInvoker" >&2; exit 1; }
    bytes=$(stat -c %s "build/windows-$arch/app/Veltaro.exe")
    [ "$bytes" -le $((400 * 1024)) ] || { echo "windows-$arch: Veltaro.exe is $bytes bytes, more than 400 kB" >&2; exit 1; }
done

under_xvfb=(xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp")
# Wine now and then fails to start a helper process of the end-to-end
# tests (the ports' mutex holder never reported holding it, 1 run in 4
# here): a test that fails is run once more, and only a second failure
# fails the stage. Both runs are printed.
"${under_xvfb[@]}" ctest --preset windows-x64 || {
    echo "test-windows: running the failed tests once more" >&2
    "${under_xvfb[@]}" ctest --preset windows-x64 --rerun-failed
}

for arch in x64 x86; do
    cpack --preset "windows-$arch"
done
# The programs and the README; PawnIO's modules and their licence in the
# 64-bit archive where the build was given them.
ours="README.txt Veltaro-demo.exe Veltaro.exe "
modules=""
if [ -n "${VELTARO_PAWNIO_MODULES_DIR:-}" ]; then
    modules="AMDFamily0F.bin AMDFamily10.bin AMDFamily17.bin PawnIO-Modules-LICENSE.txt "
fi
for archive in build/windows-x64/package/Veltaro-*-win64.zip build/windows-x86/package/Veltaro-*-win32.zip; do
    # The modules' release by its tag; where the archive carries them, their source.
    readme=$(unzip -p "$archive" '*/README.txt' | tr -s ' \r\n' ' ')
    [[ "$readme" == *"release 0.2.10 (tag 0.2.10) or later"* ]] &&
        [[ -z "$modules" || "$archive" == *-win32.zip || "$readme" == *"PawnIO.Modules/tree/"* ]] ||
        { echo "$archive: its README.txt names no modules' release, or not their source" >&2; exit 1; }
    expected=$ours
    case "$archive" in *-win64.zip) expected="$modules$ours" ;; esac
    contents=$(unzip -Z1 "$archive" | sed 's|^[^/]*/||' | LC_ALL=C sort | tr '\n' ' ')
    if [ "$contents" != "$expected" ]; then
        echo "$archive holds: $contents" >&2
        exit 1
    fi
done
