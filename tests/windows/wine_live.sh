#!/usr/bin/env bash
# The Windows demo (scripts/build-windows) live under wine64 on Xvfb, where no
# sound device opens: on a 640x480 screen it goes full screen, plays and a
# quick Escape tap ends it with status 0; on a larger screen it asks for a
# window, plays in one after Yes, and after No says that it closes and ends.
# Usage: wine_live.sh WINE64 WINDOWS_BUILD_DIR, from the folder holding data/.
# Exits 77 (skipped) where the Windows build is missing.
set -u
wine64="$1"
demo="$2/trof_dms.exe"
[ -f "$demo" ] || { echo "skipped: no $demo"; exit 77; }
wineserver="$(dirname "$wine64")/wineserver64"
export WINEPREFIX="$2/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
status=0

# Runs one case on its own X server of the given size; the case body runs
# with the demo started (pid in $pid, stderr in $err).
run_case() {
    local name="$1" screen="$2" body="$3" log
    log=$(mktemp)
    xvfb-run -a -s "-screen 0 ${screen}x24 -noreset" bash -c '
        wine64="$1"; demo="$2"; body="$3"
        err=$(mktemp)
        "$wine64" "$demo" 2>"$err" & pid=$!
        window_named() {
            for i in $(seq 1 120); do
                found=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
                [ -n "$found" ] && { echo "$found"; return 0; }
                kill -0 $pid 2>/dev/null || return 1
                sleep 0.25
            done
            return 1
        }
        press() { xdotool windowfocus "$1" 2>/dev/null; xdotool key "$2"; }
        # Answers a box with a key until the window named $3 appears: a key
        # sent before the box takes input is lost.
        answer() {
            for try in 1 2 3 4 5; do
                press "$1" "$2"
                for i in $(seq 1 8); do
                    found=$(xdotool search --name "^$3\$" 2>/dev/null | head -n 1)
                    [ -n "$found" ] && { echo "$found"; return 0; }
                    sleep 0.25
                done
            done
            return 1
        }
        # The picture changes while the show plays on the silent clock.
        plays() {
            local first; first=$(xwd -root -silent | md5sum); sleep 1
            [ "$first" != "$(xwd -root -silent | md5sum)" ] || { echo "the picture stands still"; exit 6; }
        }
        # Wine takes about two seconds to take a process down.
        ends_with() {
            for i in $(seq 1 "$2"); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
            if kill -0 $pid 2>/dev/null; then echo "still running"; kill -9 $pid; exit 5; fi
            wait $pid; local rc=$?
            [ $rc -eq "$1" ] || { echo "status $rc, expected $1"; grep -v ALSA "$err"; exit 7; }
        }
        eval "$body"
    ' _ "$wine64" "$demo" "$body" >"$log" 2>&1
    local rc=$?
    # The next case starts its own wine server, which learns its screen anew.
    "$wineserver" -k 2>/dev/null; "$wineserver" -w 2>/dev/null
    if [ $rc -eq 0 ]; then echo "ok: $name"; else echo "FAILED: $name"; sed 's/^/    /' "$log"; status=1; fi
    rm -f "$log"
}

run_case "full screen on 640x480, plays, an Escape tap ends it with 0" 640x480 '
    win=$(window_named trof_dms) || { echo "no window"; exit 3; }
    [ "$(xdotool getwindowgeometry "$win" | grep -c "Position: 0,0\|Geometry: 640x480")" -eq 2 ] ||
        { echo "not full screen:"; xdotool getwindowgeometry "$win"; exit 4; }
    sleep 2; plays
    press "$win" Escape
    ends_with 0 60
'

run_case "on 1024x768 the mode is refused; Yes gives a window that plays" 1024x768 '
    box=$(window_named "Kiru GL") || { echo "no question"; exit 3; }
    win=$(answer "$box" Return trof_dms) || { echo "no window after Yes"; exit 3; }
    sleep 2; plays
    xdotool getwindowgeometry "$win" | grep -q "Geometry: 640x480" ||
        { echo "not 640x480:"; xdotool getwindowgeometry "$win"; exit 4; }
    press "$win" Escape
    ends_with 0 60
'

run_case "on 1024x768, No says the program will close and it ends" 1024x768 '
    box=$(window_named "Kiru GL") || { echo "no question"; exit 3; }
    closing=$(answer "$box" n Error) || { echo "no closing box"; exit 3; }
    press "$closing" Return
    ends_with 1 50
    # On Windows stderr lines end with CR LF.
    tr -d "\r" <"$err" | grep -qx "Error: Program Will Now Close." ||
        { echo "no closing message:"; cat "$err"; exit 8; }
'
exit $status
