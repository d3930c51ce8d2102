#!/usr/bin/env bash
# Runs a GoogleTest program under Wine (the toolchains' test emulator) and passes only
# when it ran to its own end: its closing "[  PASSED  ]" line and no "[  FAILED  ]",
# exit status 0, and no exception Wine reported. The exit status alone proves nothing
# here: a crashed program's debugger ends it with its own status, 0, about one time in
# five, and an exception inside a window procedure called from another thread's
# SendMessage is ignored by Wine, which then says so only on its seh channel.
#   bash cmake/wine-test.sh PROGRAM.exe [ARGUMENTS...]   (inside a running Wine session)
set -uo pipefail
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
# Output goes to files: a Wine program piped into another may never end.
WINEDEBUG="${WINEDEBUG:--all},err+seh" wine "$@" >"$out" 2>"$err" </dev/null || status=$?
cat "$out"
cat "$err" >&2

reasons=()
[ "$status" = 0 ] || reasons+=("exit status $status")
grep -q '^wine: Unhandled' "$err" && reasons+=("Wine reported an unhandled exception")
grep -q 'err:seh:.*ignoring exception' "$err" && reasons+=("Wine ignored an exception in a window procedure")
if grep -q '^\[  FAILED  \]' "$out"; then
    reasons+=("failed tests")
elif ! grep -q '^\[  PASSED  \]' "$out"; then
    reasons+=("no summary: the program did not run to its end")
fi
[ ${#reasons[@]} = 0 ] && exit 0
(IFS=,; echo "wine-test: $(basename "$1") failed:${reasons[*]/#/ }" >&2)
exit 1
