#!/usr/bin/env bash
# Runs the real demo under Xvfb, driven with xdotool the way a user drives it:
# a quick Escape tap in the middle of the show ends it with status 0, closing
# the window does too, a missing or broken soundtrack is named and the show
# runs on without it, and a mouse button released outside the window is not
# the window's. Run from the build folder (where data/ lies).
set -u
demo="$1"
closer="$2"
data="$(pwd)/data"

. "$(dirname "$0")/demo_cases.sh"

show=$(make_folder)

# Slow frames are the rule in the conductor on a machine without a GPU: a tap
# shorter than one frame must still end the show.
run_case "an Escape tap during the conductor ends the demo with status 0" 640x480 "$show" '
    wait_for_show
    sleep 15
    kill -0 $pid 2>/dev/null || { echo "the demo ended by itself"; exit 4; }
    tap_escape
    ends_within 10
'

run_case "closing the window ends the demo with status 0" 640x480 "$show" '
    sleep 3
    "$closer" "$win"
    ends_within 300
'

no_music=$(make_folder)
rm "$no_music/data/soundtrack.ogg"
broken_music=$(make_folder)
rm "$broken_music/data/soundtrack.ogg"
head -c 20000 /dev/urandom >"$broken_music/data/soundtrack.ogg"
for music in "$no_music:No such file or directory" "$broken_music:it is not an Ogg Vorbis file"; do
    run_case "a soundtrack that cannot play (${music#*:}) is named and the show runs on" 640x480 \
        "${music%%:*}" '
        reason="'"${music#*:}"'"
        expected="Error: Cannot play \"data\\soundtrack.ogg\": $reason. The show runs without music."
        wait_for_show
        grep -qxF "$expected" "$err" || { echo "no message naming the soundtrack:"; cat "$err"; exit 7; }
        [ "$(wc -l <"$err")" -eq 1 ] || { echo "more than one message:"; cat "$err"; exit 8; }
        tap_escape
        ends_within 20
    '
done

# A screen larger than the demo's mode: the demo asks for a window (the box's
# default answer is Yes) and the pointer can leave it.
run_case "a right button released outside the window records nothing" 1024x768 "$show" '
    rm -f default.camera
    wait_for_show
    xdotool mousemove 300 200 mousedown 3 mousemove 900 700 sleep 0.5 mouseup 3
    sleep 1
    [ ! -e default.camera ] || { echo "a release outside the window recorded a view"; exit 9; }
    xdotool mousemove 300 200 click 3
    for i in $(seq 1 30); do [ -e default.camera ] && break; sleep 0.1; done
    [ -e default.camera ] || { echo "a click inside the window recorded nothing"; exit 10; }
    rm -f default.camera
    tap_escape
    ends_within 20
'

rm -rf "$show" "$no_music" "$broken_music"
exit $status
