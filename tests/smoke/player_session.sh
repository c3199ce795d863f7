#!/usr/bin/env bash
# An author's session with the real player under Xvfb, driven with xdotool:
# start at 40 s, play and pause (the clock stands), seek (the frame equals the capture
# tool's), a segment jump, a loop range that plays over and over, reloads of
# a changed, a missing and a restored camera file, a key fixed in free
# flight, the overlay, a larger window and F11. Screen grabs go to player_session/ in the build folder.
# Usage: player_session.sh PLAYER CAPTURE, run from the build folder.
set -u
player=$(readlink -f "$1")
capture=$(readlink -f "$2")
build=$(pwd)
grabs="$build/player_session"
rm -rf "$grabs"
mkdir -p "$grabs"
folder=$(mktemp -d)
mkdir "$folder/data" "$folder/shots"
ln -s "$build"/data/* "$folder/data/"

cd "$folder"
session=$(cat <<'SESSION'
player="$1"; grabs="$2"
fail() { echo "FAIL: $*"; failed=1; }
failed=0
"$player" --at 40000 --paused --shots shots </dev/null >out.txt 2>&1 & pid=$!
win=$(timeout 60 xdotool search --sync --name '^trof_player$' | head -n 1)
[ -n "$win" ] || { cat out.txt; echo "FAIL: no player window"; exit 1; }
key() { xdotool key --window "$win" "$@"; }
# F12, then the music time of the shot once it is written.
shot() {
    local before
    before=$(grep -c '^trof_player: shot' out.txt)
    key F12
    for i in $(seq 1 100); do
        [ "$(grep -c '^trof_player: shot' out.txt)" -gt "$before" ] && break
        sleep 0.1
    done
    grep '^trof_player: shot' out.txt | tail -n 1 | sed 's/^trof_player: shot \([0-9]*\) ms.*/\1/'
}
# Waits until the player has said something that matches.
said() {
    for i in $(seq 1 200); do grep -q "$1" out.txt && return 0; sleep 0.1; done
    fail "the player never said: $1"; return 1
}
grab() { ffmpeg -nostdin -loglevel error -y -f x11grab -video_size 1024x600 -i "$DISPLAY" -frames:v 1 "$grabs/$1.png"; }

[ "$(shot)" = 40000 ] || fail "the show did not start at 40 s"
key space; sleep 0.5; key space
paused=$(shot); sleep 1; still=$(shot)
[ "$paused" = "$still" ] || fail "paused at $paused but a second later at $still"
cp "shots/player_$(printf %06d "$paused").png" paused.png
echo "$paused" >paused_time

key Right; [ "$(shot)" = $((paused + 1000)) ] || fail "Right did not seek 1 s"
key shift+Right; sought=$(shot)
[ "$sought" = $((paused + 11000)) ] || fail "Shift+Right did not seek 10 s"
echo "$sought" >sought_time
key Next; segment=$(shot)
[ "$segment" -gt "$sought" ] && [ "$segment" -lt 65600 ] || fail "Page Down went to $segment"

# A loop of one second, played over and over.
key bracketleft; key Right; key bracketright; key space; sleep 3
looped=$(shot)
[ "$looped" -ge "$segment" ] && [ "$looped" -lt $((segment + 1000)) ] ||
    fail "after 3 s of a loop from $segment to $((segment + 1000)) the music is at $looped"
key Tab; sleep 0.5; grab loop_overlay
key space BackSpace

# Back to the city's segment; its path changed, removed, restored.
for i in 1 2 3; do [ "$(shot)" -ge 40000 ] && key Prior; done
city=$(shot)
[ "$city" -lt 40000 ] && [ "$city" -gt 39000 ] || fail "Page Up went to $city"
cp "shots/player_$(printf %06d "$city").png" city.png
rm data/en3.camera; cp data/en1.camera data/en3.camera
key F5; said 'F5: camera paths reloaded'
shot >/dev/null
cmp -s city.png "shots/player_$(printf %06d "$city").png" && fail "a new camera file left the frame as it was"
cp "shots/player_$(printf %06d "$city").png" changed.png
rm data/en3.camera
key F5; said 'F5: camera paths kept: Cannot load "data.en3.camera"'
sleep 0.5; grab broken_camera_overlay
shot >/dev/null
cmp -s changed.png "shots/player_$(printf %06d "$city").png" || fail "a missing camera file changed the frame"
ln -s "$(readlink -f data/en1.camera | sed 's/en1.camera$/en3.camera/')" data/en3.camera
key r; said 'R: textures, meshes and camera paths reloaded'
shot >/dev/null
cmp -s city.png "shots/player_$(printf %06d "$city").png" || fail "the restored data did not give the old frame"

# Free flight: forwards for a moment, the view put into the path as a key,
# saved, and shown by the path once the flight ends.
key f; said 'flying in en3'
xdotool keydown --window "$win" Up; sleep 0.5; xdotool keyup --window "$win" Up
key k; said 'en3: key [0-9]* fixed at t 0.5'
key f; key F5
shot >/dev/null
cmp -s city.png "shots/player_$(printf %06d "$city").png" && fail "the fixed key did not change the frame"
[ -f data/en3.camera ] && [ ! -L data/en3.camera ] || fail "the fixed path was not saved to data/en3.camera"

# A larger window shows the picture scaled with its aspect kept. (Desktop
# full screen needs a window manager to grow the window; without one F11
# must at least leave the player running.)
xdotool windowsize "$win" 1024 600; sleep 1; grab letterboxed
key F11; sleep 0.5; key F11; sleep 0.5
kill -0 $pid || fail "F11 ended the player"
key Escape
wait $pid || fail "the player ended with status $?"
cat out.txt
exit $failed
SESSION
)
xvfb-run -a -s "-screen 0 1024x600x24 -noreset" bash -c "$session" session "$player" "$grabs" </dev/null
status=$?

# The frames after the start, a pause and a seek against the capture tool's.
paused=$(cat paused_time); sought=$(cat sought_time)
SDL_VIDEODRIVER=offscreen "$capture" --time 40000 --time "$paused" --time "$sought" --out capture >/dev/null 2>&1 ||
    { echo "FAIL: the capture tool failed"; status=1; }
for t in 40000 "$paused" "$sought"; do
    name=$(printf %06d "$t")
    if ! cmp -s "capture/time_$name.png" "shots/player_$name.png"; then
        echo "FAIL: the player's frame at $t ms is not the capture tool's"
        status=1
    fi
done
rm -rf "$folder"
exit $status
