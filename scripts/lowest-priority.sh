#!/usr/bin/env bash
# Runs a command in a session of its own (to be stopped as one: kill -- -PID) at the lowest
# priority, so that it takes only the time other work leaves idle. Where the kernel schedules each
# session as a group of its own (autogroup), that group's priority is lowered too: a niced command
# in a new session would otherwise take an equal share with the rest.
# Usage: scripts/lowest-priority.sh COMMAND [ARGS...]
if [ -z "${LANTERNFIN_OWN_SESSION:-}" ]; then
    LANTERNFIN_OWN_SESSION=1 exec setsid -w "$0" "$@"
fi
unset LANTERNFIN_OWN_SESSION
echo 19 >/proc/self/autogroup 2>/dev/null || true
exec nice -n 19 "$@"
