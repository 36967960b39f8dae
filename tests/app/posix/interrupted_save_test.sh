#!/bin/sh
# Saves stopped from outside, run against the real program: a run killed in
# the middle leaves only whole files under final names, and the next run
# clears its leftovers; a run asked to stop ends after the item at hand with
# status 1; two runs saving into one directory at once leave whole files.
# Usage: interrupted_save_test.sh PROGRAM
set -eu
program=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-interrupted.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
count=400

# 400 mails of 400 KB each, so that a run takes long enough to be stopped.
mkdir -p "$work/root/Store/Inbox"
line=$(printf '%076d' 0)
n=0
while [ $n -lt 5000 ]; do echo "$line"; n=$((n + 1)); done >"$work/body"
i=0
while [ $i -lt $count ]; do
  {
    printf 'From: a@example.org\nTo: b@example.org\nSubject: mail %03d\n' $i
    printf 'Date: Mon, 1 Jun 2009 10:00:00 +0000\n\n'
    cat "$work/body"
    echo "end of mail $i"
  } >"$work/root/Store/Inbox/m$(printf %03d $i).eml"
  i=$((i + 1))
done
printf '[Options]\nFnOutput=txt\nFnFormat=%%3\n' >"$work/settings.ini"
export QUILLSTOW_MAILROOT="$work/root" XDG_CONFIG_HOME="$work/config"

run() { "$program" '\\Store\Inbox' "$1" /ini "$work/settings.ini" /autorun </dev/null; }
# Starts a run in the background; pid is the program's own.
start() {
  "$program" '\\Store\Inbox' "$1" /ini "$work/settings.ini" /autorun </dev/null >"$2" 2>&1 &
  pid=$!
}

# Every file under a final name is whole: it ends with its mail's last line.
check_whole() {
  for file in "$1"/*.txt; do
    [ -e "$file" ] || continue
    tail -n 3 "$file" | grep -q '^end of mail [0-9]*' || fail "$file is cut"
  done
}

# Waits until the directory holds at least n final files.
wait_for() {
  tries=0
  while [ "$(ls "$1" 2>/dev/null | grep -c '\.txt$')" -lt "$2" ]; do
    tries=$((tries + 1))
    [ $tries -lt 600 ] || fail "no progress in $1"
    sleep 0.05
  done
}

# Killed: whole files or none, and the leftover goes with the next run.
for attempt in 1 2 3 4 5; do
  out=$work/killed$attempt
  start "$out" /dev/null
  wait_for "$out" $((attempt * 5))
  kill -KILL $pid
  wait $pid 2>/dev/null || true
  check_whole "$out"
done
leftovers=$(ls -A "$work"/killed* | grep -c '^\.qs-' || true)
echo "killed runs left $leftovers temporary files"
run "$work/killed1" 2>/dev/null || fail "the run after a killed one failed"
[ "$(ls "$work/killed1" | grep -c '\.txt$')" -eq $count ] || fail "the second run saved too little"
[ -z "$(ls -A "$work/killed1" | grep '^\.qs-')" ] || fail "a killed run's temporary file stayed"

# Asked to stop: the run ends after the item at hand, with status 1 and the
# rows not reached counted as not saved.
out=$work/stopped
start "$out" "$work/stopped.log"
wait_for "$out" 5
kill -TERM $pid
status=0
wait $pid || status=$?
[ $status -eq 1 ] || fail "a stopped run ended with status $status"
check_whole "$out"
saved=$(ls "$out" | grep -c '\.txt$')
[ "$saved" -lt $count ] || fail "the stop request was not noticed"
grep -q "$((count - saved)) of $count emails could not be saved." "$work/stopped.log" ||
  fail "the summary does not count the rows not reached: $(cat "$work/stopped.log")"
[ -z "$(ls -A "$out" | grep '^\.qs-')" ] || fail "a stopped run left a temporary file"

# Two runs into one directory at once.
out=$work/together
start "$out" /dev/null
run "$out" 2>/dev/null || fail "the second of two runs failed"
wait $pid || fail "the first of two runs failed"
check_whole "$out"
[ "$(ls "$out" | grep -c '\.txt$')" -eq $count ] || fail "two runs saved the wrong number of files"
[ -z "$(ls -A "$out" | grep '^\.qs-')" ] || fail "two runs left a temporary file"
echo "interrupted and concurrent saves left only whole files"
