#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Both demos (ci and windows-x64 builds, the latter under Wine) in trayer's
# notification area on a private Xvfb display (VELTARO_DISPLAY, or a free
# one): the number read off the docked icon; a click on it brings the window
# back over another; "Exit" in its menu ends the program and its icon.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh trayer xvfb xdotool x11-utils imagemagick wine wine64 fonts-wine
wine=$(command -v /usr/lib/wine/wine64 || command -v wine)
work=$(mktemp -d)
exec {displayfd}<> <(:)
Xvfb ${VELTARO_DISPLAY:-} -displayfd "$displayfd" -screen 0 1024x768x24 -nolisten tcp & pids=($!)
read -r -u "$displayfd" number
export DISPLAY=":$number" WINEPREFIX=$PWD/build/windows-x64/tray-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work" "$WINEPREFIX"' EXIT

wait_for() {
    for _ in $(seq 100); do "$@" 2>/dev/null && return 0 || sleep 0.1; done
    echo "Timed out: $*" >&2 && return 1
}
found() { printf -v "$1" %s "$("${@:2}" 2>/dev/null | head -n 1)" && [ -n "${!1}" ]; }
under() { # the window, or one inside it, is the top one at the point
    found top sh -c "xdotool mousemove $2 $3 getmouselocation --shell | sed -n 's/^WINDOW=//p'"
    [ "$top" = "$1" ] || xwininfo -id "$1" -tree | grep -q "^ *$(printf '0x%x' "$top") "; }
centre() { eval "$(xdotool getwindowgeometry --shell "$1")" && echo $((X + WIDTH / 2)) $((Y + HEIGHT / 2)); }
docked() { xwininfo -id "$panel" -children | grep -v ' 1x1+' | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'; }
gone() { ! kill -0 "$1" 2>/dev/null && [ -z "$(docked)" ]; }

trayer --edge bottom --align right --widthtype request --height 48 --SetDockType true --transparent false & pids+=($!)
wait_for found panel xdotool search --name '^panel$'

check_face() {
    local face=$1 program window icon shown cover
    "${@:2}" & program=$! && pids+=($!)
    wait_for found window xdotool search --name '^Veltaro \(simulated processor\)$'
    wait_for found icon docked
    sleep 1
    import -window "$icon" -depth 8 "ppm:$work/icon.ppm"
    shown=$(build/ci/tests/app/qt/readicon "$work/icon.ppm") && [[ $shown =~ ^[0-9]+$ ]] ||
        { echo "$face: no number in the docked icon" >&2 && return 1; }

    xmessage -geometry 600x400+0+0 cover & pids+=($!)
    wait_for found cover xdotool search --name '^xmessage$'
    wait_for under "$cover" $(centre "$window")
    xdotool mousemove $(centre "$icon") click 1
    wait_for under "$window" $(centre "$window")
    kill "${pids[-1]}"
    xdotool mousemove $(centre "$icon") click 3 sleep 1 key Up Return
    wait_for gone "$program"
    echo "$face: the docked icon shows $shown; a click on it brought the window to the front; Exit ended it"
}

check_face qt build/ci/app/veltaro-demo
cmake -DACTION=setup -DPREFIX="$WINEPREFIX" -DWINE="$wine" -DWINESERVER="$(command -v wineserver)" \
    -DFONTS=/usr/share/wine/fonts -P tests/wineprefixaction.cmake
check_face wine "$wine" build/windows-x64/app/Veltaro-demo.exe
