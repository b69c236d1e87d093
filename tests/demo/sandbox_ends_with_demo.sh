#!/usr/bin/env bash
# The sandbox the demo starts never outlives it: not when the demo finishes, and not when it
# is killed by any of the signals that end a program (a closed terminal sends HUP).
# Usage: sandbox_ends_with_demo.sh <pelbrook-demo>
set -u
demo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

sandbox_pid() {
    # Waits for the demo to report its sandbox, then prints the sandbox's pid.
    local log=$1
    for _ in $(seq 1 300); do
        local pid
        pid=$(sed -n 's/^sandbox at .* (pid \([0-9]*\))$/\1/p' "$log")
        if [ -n "$pid" ]; then echo "$pid"; return 0; fi
        sleep 0.1
    done
    return 1
}

gone_within() {
    local pid=$1
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

for how in KILL TERM INT HUP finish; do
    log="$work/$how.log"
    "$demo" --autopilot card > "$log" 2>&1 &
    demo_pid=$!
    if ! pid=$(sandbox_pid "$log"); then
        echo "FAIL $how: the demo never reported its sandbox"; cat "$log"; failed=1
        kill -KILL "$demo_pid" 2>/dev/null
        continue
    fi
    if [ "$how" = finish ]; then
        wait "$demo_pid"
    else
        kill -"$how" "$demo_pid"
    fi
    if gone_within "$pid"; then
        echo "ok $how: sandbox $pid ended with the demo"
    else
        echo "FAIL $how: sandbox $pid outlived the demo"; failed=1
        kill -KILL "$pid" 2>/dev/null
    fi
    wait "$demo_pid" 2>/dev/null
done
exit $failed
