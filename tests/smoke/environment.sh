#!/usr/bin/env bash
# The real demo in a hostile environment (test_demo_start covers the lack of
# a display): no sound device, a read-only working folder when the editor
# saves, the data folder on a read-only filesystem, "default.camera" being a
# folder, the window closed while the "loading" line is up. Each gives its message or carries on, and
# nothing on disk is damaged. Run from the build folder (where data/ lies).
set -u
demo="$1"
closer="$2"
data="$(pwd)/data"
read_only="$(cd "$(dirname "$0")" && pwd)/read_only.sh"

. "$(dirname "$0")/demo_cases.sh"

folder=$(make_folder)

run_case "without a sound device the show runs on the silent clock" 640x480 "$folder" '
    wait_for_show
    [ ! -s "$err" ] || { echo "unexpected messages:"; cat "$err"; exit 7; }
    tap_escape
    ends_within 20
' env SDL_AUDIODRIVER=pulseaudio PULSE_SERVER=unix:/nonexistent

run_case "closing the window while the loading line is up ends the demo with status 0" 640x480 \
    "$folder" '
    "$closer" "$win"
    ends_within 300
'

# A right-click saves default.camera; the save fails with the message, the
# show goes on and the folder holds what it held before.
saving_fails='
    wait_for_show
    xdotool mousemove 300 200 click 3
    for i in $(seq 1 30); do grep -q "Cannot save" "$err" && break; sleep 0.1; done
    answer_box Error
    expected="Error: Cannot save the camera path to \"default.camera\": $reason"
    grep -qxF "$expected" "$err" || { echo "no message naming the file:"; cat "$err"; exit 7; }
    picture_moves
    tap_escape
    ends_within 20
    [ ! -e default.camera.tmp ] || { echo "the temporary file was left behind"; exit 8; }
'

if "$read_only" "$folder" true 2>/dev/null; then
    run_case "a save into a read-only working folder is named and the show runs on" 640x480 \
        "$folder" "reason='Read-only file system'; $saving_fails" "$read_only" "$folder"
    [ ! -e "$folder/default.camera" ] || { echo "FAILED: a file appeared in the read-only folder"; status=1; }

    run_case "the data folder on a read-only filesystem plays as usual" 640x480 "$folder" '
        wait_for_show
        [ ! -s "$err" ] || { echo "unexpected messages:"; cat "$err"; exit 7; }
        tap_escape
        ends_within 20
    ' "$read_only" "$data"
else
    echo "skipped: the read-only cases (no unprivileged mount namespaces here)"
fi

mkdir "$folder/default.camera"
echo "kept" >"$folder/default.camera/note"
run_case "a save onto a folder named default.camera is named and the show runs on" 640x480 \
    "$folder" "reason='Is a directory'; $saving_fails"
[ "$(cat "$folder/default.camera/note" 2>/dev/null)" = kept ] ||
    { echo "FAILED: the folder default.camera was changed"; status=1; }

rm -rf "$folder"
exit $status
