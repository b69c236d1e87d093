#!/usr/bin/env bash
# The sandbox the demo starts never outlives it: not when the demo finishes, and not when it
# is ended by any of the signals that end a program (Ctrl+C sends INT, a closed terminal HUP).
# Nor does anything of theirs stay behind in the temporary folder.
# Usage: sandbox_ends_with_demo.sh <pelbrook-demo>
set -u
demo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A home of its own too: the sandbox keeps its certificate there, not in the developer's.
export TMPDIR="$work/tmp" HOME="$work/home"
mkdir "$TMPDIR" "$HOME"
failed=0

sandbox_pid() {
    # Waits for the demo to report its sandbox, then prints the sandbox's pid.
    local log=$1
    for _ in $(seq 1 600); do
        local pid
        pid=$(sed -n 's/^sandbox at .* (pid \([0-9]*\))$/\1/p' "$log")
        if [ -n "$pid" ]; then echo "$pid"; return 0; fi
        sleep 0.1
    done
    return 1
}

# Gone, or a zombie its new parent has not reaped yet: either way it serves nothing.
ended() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 0
    [ -z "$state" ] || [ "$state" = Z ]
}

ended_within() {
    for _ in $(seq 1 100); do
        ended "$1" && return 0
        sleep 0.1
    done
    return 1
}

declare -A number=([KILL]=9 [TERM]=15 [INT]=2 [HUP]=1)
for how in KILL TERM INT HUP finish; do
    log="$work/$how.log"
    # A background job of a script ignores INT unless told otherwise; a terminal's would not.
    (trap - INT QUIT; exec "$demo" --autopilot card) > "$log" 2>&1 &
    demo_pid=$!
    if ! pid=$(sandbox_pid "$log"); then
        echo "FAIL $how: the demo never reported its sandbox"; cat "$log"; failed=1
        kill -KILL "$demo_pid" 2>/dev/null
        continue
    fi
    [ "$how" = finish ] || kill -"$how" "$demo_pid"
    wait "$demo_pid"
    status=$?
    expected=0
    [ "$how" = finish ] || expected=$((128 + ${number[$how]}))
    if [ "$status" -ne "$expected" ]; then
        echo "FAIL $how: the demo ended with $status, not $expected"; cat "$log"; failed=1
    fi
    if ended_within "$pid"; then
        echo "ok $how: sandbox $pid ended with the demo"
    else
        echo "FAIL $how: sandbox $pid outlived the demo"; failed=1
        kill -KILL "$pid" 2>/dev/null
    fi
done
if [ -n "$(ls -A "$TMPDIR")" ]; then
    echo "FAIL: left in the temporary folder:"; ls -A "$TMPDIR"; failed=1
fi
exit $failed
