#!/usr/bin/env bash
# Runs the real demo under Xvfb: it must start, draw frames, and end with
# status 0 on Escape and on closing its window. Run from the build folder.
# The demo reads the key state once a frame, so Escape is held until the
# demo has ended: a tap shorter than a slow frame would go unseen.
set -u
demo="$1"
closer="$2"
status=0

run_case() {
    local name="$1" action="$2"
    local log
    log=$(mktemp)
    xvfb-run -a -s "-screen 0 640x480x24" bash -c '
        demo="$1"; action="$2"; closer="$3"
        "$demo" & pid=$!
        win=""
        for i in $(seq 1 300); do
            win=$(xdotool search --name "^trof_dms$" 2>/dev/null | head -n 1)
            [ -n "$win" ] && break
            kill -0 $pid 2>/dev/null || break
            sleep 0.2
        done
        if [ -z "$win" ]; then echo "no window appeared"; kill $pid 2>/dev/null; wait $pid; exit 3; fi
        sleep 3
        if ! kill -0 $pid 2>/dev/null; then echo "the demo ended by itself"; wait $pid; exit 4; fi
        if [ "$action" = escape ]; then
            xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
            xdotool keydown Escape
        else
            "$closer" "$win"
        fi
        for i in $(seq 1 300); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
        [ "$action" = escape ] && xdotool keyup Escape 2>/dev/null
        if kill -0 $pid 2>/dev/null; then echo "still running after $action"; kill -9 $pid; exit 5; fi
        wait $pid
    ' _ "$demo" "$action" "$closer" >"$log" 2>&1
    local rc=$?
    if [ $rc -eq 0 ]; then
        echo "ok: $name"
    else
        echo "FAILED: $name (status $rc)"; sed 's/^/    /' "$log"; status=1
    fi
    rm -f "$log"
}

run_case "Escape ends the demo with status 0" escape
run_case "closing the window ends the demo with status 0" close
exit $status
