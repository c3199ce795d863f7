# The helpers of the tests that drive the real demo under Xvfb: sourced with
# $demo, $closer and $data set; a failed case sets status to 1.
status=0

# A working folder whose data/ links to the build's files, less or with
# replacements for the ones a case breaks.
make_folder() {
    local folder
    folder=$(mktemp -d)
    mkdir "$folder/data"
    ln -s "$data"/* "$folder/data/"
    echo "$folder"
}

# Runs one case in its own X server; the case body runs with $demo started in
# the current folder (pid in $pid, stderr in $err) once its window is there.
# Arguments after the body go before xvfb-run (env settings, a wrapper).
# The server runs with -noreset: by default it resets whenever its last
# client leaves (each xdotool poll), and a client connecting during a reset
# is dropped, so the demo could find no display.
run_case() {
    local name="$1" screen="$2" folder="$3" body="$4"
    shift 4
    local log
    log=$(mktemp)
    (cd "$folder" && "$@" xvfb-run -a -s "-screen 0 ${screen}x24 -noreset" bash -c '
        demo="$1"; closer="$2"; body="$3"
        err=$(mktemp)
        "$demo" 2>"$err" & pid=$!
        # Answers the message box, if the display can show one: its default button.
        answer_box() {
            local box
            box=$(xdotool search --name "^($1)\$" 2>/dev/null | head -n 1)
            [ -n "$box" ] && xdotool windowfocus "$box" key Return 2>/dev/null
            return 0
        }
        wait_for_window() {
            for i in $(seq 1 300); do
                answer_box "Kiru GL|Error"
                win=$(xdotool search --name "^trof_dms\$" 2>/dev/null | head -n 1)
                [ -n "$win" ] && return 0
                kill -0 $pid 2>/dev/null || return 1
                sleep 0.2
            done
            return 1
        }
        # Ends within $1 tenths of a second or fails the case.
        ends_within() {
            for i in $(seq 1 "$1"); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
            if kill -0 $pid 2>/dev/null; then echo "still running"; kill -9 $pid; exit 5; fi
            wait $pid
        }
        tap_escape() {
            xdotool windowfocus "$win" 2>/dev/null
            xdotool key Escape
        }
        picture() { xwd -root -silent | md5sum; }
        # The show goes on: the picture changes within a second.
        picture_moves() {
            local first
            first=$(picture); sleep 1
            [ "$first" != "$(picture)" ] || { echo "the picture stands still"; exit 6; }
        }
        # Waits out the start-up (long in a sanitizer build): the show runs
        # once the picture changes twice in a row half a second apart (the
        # "loading" line appearing is one change), within two minutes.
        wait_for_show() {
            local last now changes=0
            last=$(picture)
            for i in $(seq 1 240); do
                sleep 0.5
                now=$(picture)
                if [ "$now" != "$last" ]; then changes=$((changes + 1)); else changes=0; fi
                [ $changes -ge 2 ] && return 0
                last=$now
            done
            echo "the show never started"; exit 6
        }
        if ! wait_for_window; then echo "no window appeared"; cat "$err"; kill $pid 2>/dev/null; exit 3; fi
        eval "$body"
    ' _ "$demo" "$closer" "$body") >"$log" 2>&1
    local rc=$?
    if [ $rc -eq 0 ]; then
        echo "ok: $name"
    else
        echo "FAILED: $name (status $rc)"; sed 's/^/    /' "$log"; status=1
    fi
    rm -f "$log"
}

