#!/bin/sh
# Saves stopped from outside, or run twice at once, against the real program.
# Usage: interrupted_save_test.sh PROGRAM
set -eu
program=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-interrupted.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
count=400

# 400 mails of 400 KB each, so that a run takes long enough to be stopped.
mkdir -p "$work/root/Store/Inbox"
yes 0000000000000000000000000000000000000000000000000000000000000000000000000000 | head -n 5000 >"$work/body"
for i in $(seq -w 0 $((count - 1))); do
  printf 'From: a@example.org\nTo: b@example.org\nSubject: mail %s\nDate: Mon, 1 Jun 2009 10:00:00 +0000\n\n' $i |
    cat - "$work/body" >"$work/root/Store/Inbox/m$i.eml"
  echo "end of mail $i" >>"$work/root/Store/Inbox/m$i.eml"
done
printf '[Options]\nFnOutput=txt\nFnFormat=%%3\n' >"$work/settings.ini"
export QUILLSTOW_MAILROOT="$work/root" XDG_CONFIG_HOME="$work/config"

run() { "$program" '\\Store\Inbox' "$1" /ini "$work/settings.ini" /autorun /dbg 1 </dev/null; }
# Starts a run in the background; pid is the program's own.
start() {
  "$program" '\\Store\Inbox' "$1" /ini "$work/settings.ini" /autorun /dbg 1 </dev/null >"$2" 2>&1 &
  pid=$!
}
saved() { ls "$1" 2>/dev/null | grep -c '\.txt$' || true; }
# Every file under a final name is whole, and none other is left unless a
# run was killed.
check() {
  for file in "$1"/*.txt; do
    [ -e "$file" ] || continue
    tail -n 3 "$file" | grep -q '^end of mail [0-9]*' || fail "$file is cut"
  done
  [ "${2:-}" = killed ] || [ -z "$(ls -A "$1" | grep '^\.qs-')" ] || fail "$1 holds a temporary file"
}
wait_for() {
  tries=0
  until [ "$(saved "$1")" -ge "$2" ]; do
    [ $((tries += 1)) -lt 600 ] || fail "no progress in $1"
    sleep 0.05
  done
}

# Killed: whole files or none, and the leftover goes with the next run.
for attempt in 1 2 3 4 5; do
  start "$work/killed$attempt" /dev/null
  wait_for "$work/killed$attempt" $((attempt * 5))
  kill -KILL $pid
  wait $pid 2>/dev/null || true
  check "$work/killed$attempt" killed
done
before=$(saved "$work/killed1")
run "$work/killed1" 2>"$work/after-kill.log" || fail "the run after a killed one failed"
[ "$(saved "$work/killed1")" -eq $count ] || fail "the second run saved too little or too much"
check "$work/killed1"
grep -q "^$count listed: $((count - before)) saved, $before unchanged, 0 not saved" "$work/after-kill.log" ||
  fail "the run after a killed one did not take back its $before files: $(grep listed "$work/after-kill.log")"

# Saved again: nothing is written.
touch "$work/mark"
sleep 0.01
run "$work/killed1" 2>"$work/again.log" || fail "saving again failed"
[ -z "$(find "$work/killed1" -name '*.txt' -newer "$work/mark")" ] || fail "saving again rewrote files"
grep -q "^$count listed: 0 saved, $count unchanged, 0 not saved" "$work/again.log" ||
  fail "saving again: $(grep listed "$work/again.log")"

# Asked to stop: the run ends after the item at hand, says where, counts the
# rows left as not reached and ends with 128 and the signal; driven by
# standard input, it reads no further line.
stop() { # name signal status [input]
  if [ -n "${4:-}" ]; then
    printf '%s\n' "txtMailFolder=\\\\Store\\Inbox" "txtDir=$work/$1" cmdSearch cmdSave print |
      "$program" /ini "$work/settings.ini" >"$work/$1.out" 2>"$work/$1.log" &
  else
    start "$work/$1" "$work/$1.log"
  fi
  pid=$! status=0
  wait_for "$work/$1" 5 && kill -"$2" $pid
  wait $pid || status=$?
  [ $status -eq "$3" ] || fail "$1: a run stopped by $2 ended with status $status"
  check "$work/$1" && n=$(saved "$work/$1")
  [ "$n" -lt $count ] || fail "$1: the stop request was not noticed"
  grep -q "^Stopped after $n of $count\.$" "$work/$1.log" || fail "$1: no stop line: $(cat "$work/$1.log")"
  grep -q "^$count listed: $n saved, 0 unchanged, 0 not saved, $((count - n)) not reached$" "$work/$1.log" ||
    fail "$1: the summary does not count the rows not reached: $(cat "$work/$1.log")"
  ! grep -q "could not be saved" "$work/$1.log" || fail "$1: rows not reached were told as failures"
}
stop stopped TERM 143
stop interrupted INT 130
stop typed TERM 143 input
[ ! -s "$work/typed.out" ] || fail "the input went on being read after the stopped save"

# Two runs into one directory at once: one waits for the other.
start "$work/together" "$work/first.log"
run "$work/together" 2>"$work/second.log" || fail "the second of two runs failed"
wait $pid || fail "the first of two runs failed"
cat "$work/first.log" "$work/second.log" | grep -q "waited for another save" ||
  fail "neither of two runs at once waited for the other"
check "$work/together"
[ "$(saved "$work/together")" -eq $count ] || fail "two runs saved the wrong number of files"

# A flag set by a mail client renames a Maildir file; the mail is the same.
mkdir -p "$work/maildir/Store/Box/cur" "$work/maildir/Store/Box/new" "$work/maildir/Store/Box/tmp"
head -c 2000 "$work/root/Store/Inbox/m000.eml" >"$work/maildir/Store/Box/cur/1.host:2,"
head -c 2000 "$work/root/Store/Inbox/m001.eml" >"$work/maildir/Store/Box/new/2.host"
flags() {
  QUILLSTOW_MAILROOT="$work/maildir" "$program" '\\Store\Box' "$work/flags" /ini "$work/settings.ini" \
    /autorun /dbg 1 </dev/null 2>&1 | grep listed
}
flags >/dev/null
mv "$work/maildir/Store/Box/cur/1.host:2," "$work/maildir/Store/Box/cur/1.host:2,RS"
mv "$work/maildir/Store/Box/new/2.host" "$work/maildir/Store/Box/cur/2.host:2,S"
[ "$(flags)" = "2 listed: 0 saved, 2 unchanged, 0 not saved" ] || fail "flags changed the mail: $(flags)"
echo "interrupted and concurrent saves left only whole files, each mail once"
