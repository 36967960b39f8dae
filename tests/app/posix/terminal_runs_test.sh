#!/bin/sh
# The Linux program's own command line, run as a shell user runs it: help
# and version, bad input (status 2, one line on standard error, nothing
# written), and a save's options against the same settings in the settings
# file (the same files, and the settings file left as it was).
# Usage: terminal_runs_test.sh PROGRAM MAILBOX
set -eu
program=$1
mailbox=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-terminal.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
unset QUILLSTOW_MAILROOT
fail() { echo "FAILED: $*" >&2; exit 1; }

"$program" --help >"$work/out" 2>"$work/err" </dev/null || fail "--help ended with $?"
grep -q '^Usage: quillstow save FOLDER DIRECTORY' "$work/out" && [ ! -s "$work/err" ] || fail "--help: $(cat "$work/out" "$work/err")"
"$program" --version >"$work/out" </dev/null || fail "--version ended with $?"
grep -q '^Quillstow [0-9]' "$work/out" || fail "--version: $(cat "$work/out")"

# Each bad command line: status 2, one line on standard error, nothing else.
while IFS='|' read -r args; do
  status=0
  eval "set -- $args"
  "$program" "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
  [ "$status" = 2 ] || fail "$args: status $status"
  [ "$(wc -l <"$work/err")" = 1 ] && [ ! -s "$work/out" ] || fail "$args: $(cat "$work/out" "$work/err")"
  [ ! -e "$work/bad" ] && [ ! -e "$work/config" ] || fail "$args wrote something"
done <<'CASES'
--bogus
save '\\Mailbox' "$work/bad" --since 2010-13-45
save '\\Mailbox' "$work/bad" --format pdf
save '\\Mailbox' "$work/bad" --threads 0
'\\Mailbox' "$work/bad" --format txt
save '\\Mailbox' "$work/bad" --name
CASES

# A save's options do what the same settings in the settings file do, and
# leave the settings file as it was.
printf '[Options]\nFnOutput=TXT\nFnFormat=%%3\nUseFnFolder=1\nSince=2019-06-01\n' >"$work/same.ini"
printf '[Options]\nFnOutput=MSG\nFnFormat=%%1 %%2\nUseFnFolder=0\n' >"$work/other.ini"
cp "$work/other.ini" "$work/other.ini.before"
QUILLSTOW_MAILROOT=$mailbox "$program" '\\Mailbox' "$work/by-file" /ini "$work/same.ini" /autorun </dev/null ||
  fail "the save by the settings file ended with $?"
"$program" save '\\Mailbox' "$work/by-options" --ini "$work/other.ini" --mail-root "$mailbox" \
  --format txt --name %3 --subfolders --since 2019-06-01 --threads 2 </dev/null ||
  fail "the save by options ended with $?"
diff -r -x .quillstow-saved -x .quillstow-lock "$work/by-file" "$work/by-options" >&2 ||
  fail "the options saved other files than the settings file"
[ "$(find "$work/by-options" -name '*.txt' | wc -l)" -gt 5 ] || fail "the save by options saved too little"
cmp -s "$work/other.ini" "$work/other.ini.before" || fail "the options were written to the settings file"
# Streams and status: a run driven by standard input that fails ends with 1,
# its message on standard error and nothing on standard output; the closing
# count of a save shows off a terminal only with --verbose.
status=0
printf 'txtMailFolder=\\\\Nowhere\\Inbox\ncmdSearch\n' |
  QUILLSTOW_MAILROOT=$mailbox "$program" >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] && [ ! -s "$work/out" ] || fail "a failed search driven by standard input: status $status, $(cat "$work/out")"
grep -q "^Quillstow: Can't access the specified Mail Folder.$" "$work/err" || fail "no message: $(cat "$work/err")"
"$program" save '\\Mailbox' "$work/by-options" --mail-root "$mailbox" --ini "$work/other.ini" \
  --format txt --name %3 --subfolders --since 2019-06-01 --verbose </dev/null >"$work/out" 2>"$work/err" ||
  fail "the verbose save ended with $?"
[ ! -s "$work/out" ] && grep -q ' listed: 0 saved, [0-9]* unchanged, 0 not saved$' "$work/err" ||
  fail "the verbose save told: $(cat "$work/out" "$work/err")"
echo "help, version, bad input, a save's options, streams and status behave"
