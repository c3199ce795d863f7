#!/usr/bin/env bash
# The demo on an X server that offers its 640x480 mode beside a 1024x768
# desktop (Xorg's dummy driver), so the full-screen mode change is real:
# every way the demo ends must put the desktop's mode back, the ones that
# skip the window release (a load error during start-up) too. Exits 77
# (skipped) where no such server can be started, e.g. without root.
# Run from the build folder.
set -u
demo="$1"
config="$(dirname "$0")/dummy_display.conf"
data="$(pwd)/data"
work=$(mktemp -d)
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$work"' EXIT

display=""
for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
[ -n "$display" ] || { echo "skipped: no free display number"; exit 77; }
Xorg "$display" -config "$(realpath "$config")" -noreset -nolisten tcp -novtswitch -sharevts \
    -logfile "$work/xorg.log" >"$work/xorg.out" 2>&1 &
server=$!
export DISPLAY="$display"
for i in $(seq 1 50); do xrandr >/dev/null 2>&1 && break; sleep 0.2; done
xrandr >/dev/null 2>&1 || { echo "skipped: Xorg with the dummy driver did not start"; exit 77; }

current_mode() { xrandr | sed -n 's/^Screen 0:.*current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }
status=0
check() {
    if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1 (mode $2, expected $3)"; status=1; fi
}

mkdir -p "$work/show/data" "$work/broken/data"
ln -s "$data"/* "$work/show/data/"
ln -s "$data"/* "$work/broken/data/"
rm "$work/broken/data/en3.camera"

(cd "$work/show" && exec "$demo" 2>/dev/null) & pid=$!
for i in $(seq 1 150); do [ "$(current_mode)" = 640x480 ] && break; sleep 0.2; done
check "the demo switches the display to 640x480" "$(current_mode)" 640x480
sleep 2
xdotool key Escape
wait $pid
check "Escape ends the demo with status 0" "$?" 0
check "after Escape the desktop mode is back" "$(current_mode)" 1024x768

(cd "$work/broken" && exec "$demo" 2>"$work/broken.err")
check "a missing camera path ends start-up with status 1" "$?" 1
grep -q 'en3.camera' "$work/broken.err" || { echo "FAILED: the load error does not name the file"; status=1; }
check "after the load error the desktop mode is back" "$(current_mode)" 1024x768
exit $status
