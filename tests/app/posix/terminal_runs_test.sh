#!/bin/sh
# The Linux program's own command line, run as a shell user runs it: its
# commands, options, outputs, streams and status.
# Usage: terminal_runs_test.sh PROGRAM MAILBOX
set -eu
program=$1
mailbox=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-terminal.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
unset QUILLSTOW_MAILROOT
fail() { echo "FAILED: $*" >&2; exit 1; }
# The program on the sample mailbox, with nothing to read.
qs() { "$program" "$@" --mail-root "$mailbox" </dev/null; }
orders='\\Mailbox\Inbox\Orders'

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
save '\\Mailbox' "$work/bad" --name
save '\\Mailbox' --since 2010-01-01
list '\\Mailbox' --output "$work/bad" --columns Sent,Sender
list '\\Mailbox' --output "$work/bad" --before yesterday
list '\\Mailbox' --output "$work/bad" --format txt
export '\\Mailbox' --output "$work/bad" --json
export '\\Mailbox' "$work/bad"
folders --output "$work/bad"
folders --mail-root
CASES

# A save's options do what the same settings in the settings file do, and
# leave the settings file as it was.
printf '[Options]\nFnOutput=TXT\nFnFormat=%%3\nUseFnFolder=1\nSince=2019-06-01\n' >"$work/same.ini"
printf '[Options]\nFnOutput=MSG\nFnFormat=%%1 %%2\nUseFnFolder=0\n' >"$work/other.ini"
cp "$work/other.ini" "$work/other.ini.before"
QUILLSTOW_MAILROOT=$mailbox "$program" '\\Mailbox' "$work/by-file" /ini "$work/same.ini" /autorun </dev/null ||
  fail "the save by the settings file ended with $?"
qs save '\\Mailbox' "$work/by-options" --ini "$work/other.ini" --format txt --name %3 --subfolders \
  --since 2019-06-01 --threads 2 || fail "the save by options ended with $?"
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
qs save '\\Mailbox' "$work/by-options" --ini "$work/other.ini" --format txt --name %3 --subfolders \
  --since 2019-06-01 --verbose >"$work/out" 2>"$work/err" || fail "the verbose save ended with $?"
[ ! -s "$work/out" ] && grep -q ' listed: 0 saved, [0-9]* unchanged, 0 not saved$' "$work/err" ||
  fail "the verbose save told: $(cat "$work/out" "$work/err")"

# The list: a line of headers, then a row per mail, only these on standard
# output; the columns asked for in their order, and the date window.
qs list "$orders" --ini "$work/other.ini" >"$work/out" 2>"$work/err" || fail "the list ended with $?"
[ "$(head -n 1 "$work/out")" = "$(printf 'Sent\tFrom\tSubject\tTo\tReceived\tEntryID\tFolder\tLatestTime')" ] &&
  [ "$(wc -l <"$work/out")" = 7 ] && [ ! -s "$work/err" ] || fail "the list: $(cat "$work/out" "$work/err")"
cmp -s "$work/other.ini" "$work/other.ini.before" || fail "the list wrote to the settings file"
qs list "$orders" --columns 'subject, FOLDER' --since 2019-06-01 --output "$work/list.tsv" ||
  fail "the list into a file ended with $?"
printf 'Subject\tFolder\nPurchase order DE-2019-17\t%s\nOrder 1066\t%s\nOrder 1067\t%s\n' \
  "$orders" "$orders" "$orders" >"$work/expected"
cmp -s "$work/list.tsv" "$work/expected" || fail "the list's columns: $(cat "$work/list.tsv")"
# JSON: a valid object per mail of the whole mailbox, times with the offset.
TZ=UTC0 qs list '\\Mailbox' --json >"$work/out" || fail "the JSON list ended with $?"
python3 -c 'import json, sys; rows = [json.loads(line) for line in sys.stdin]; sys.exit(len(rows) < 40)' \
  <"$work/out" || fail "the JSON list is no JSON line per mail"
TZ=JST-9 qs list "$orders" --json --columns sent,subject | head -n 1 >"$work/out"
[ "$(cat "$work/out")" = '{"Sent":"2019-03-04T18:00:00+09:00","Subject":"Order 1042"}' ] ||
  fail "the first JSON row: $(cat "$work/out")"

# Folders: every folder's path, in the folder chooser's order.
qs folders >"$work/out" || fail "folders ended with $?"
[ "$(sed -n '1p;4p;11p;15p' "$work/out" | tr '\n' '|')" = \
  '\\Archive|\\Archive\2015\Messe Köln|\\Mailbox\Inbox\Suppliers\Japan\Uji Harvest 2019|\\Mailbox\Sent Items|' ] &&
  [ "$(wc -l <"$work/out")" = 15 ] || fail "folders: $(cat "$work/out")"

# Export: the line format of the settings file; by default list.txt beside
# the settings file (not written itself), CR LF in a file, LF into a pipe.
printf '[Options]\nTextFormat=%%3\n' >"$work/lines.ini"
qs export "$orders" || fail "the export ended with $?"
[ "$(wc -l <"$work/config/quillstow/list.txt")" = 6 ] && [ ! -e "$work/config/quillstow/Quillstow.ini" ] ||
  fail "the export beside the settings file: $(ls "$work/config/quillstow")"
qs export "$orders" --ini "$work/lines.ini" --output "$work/list.txt" || fail "the export into a file ended with $?"
[ "$(head -n 1 "$work/list.txt")" = "$(printf 'Order 1042\r')" ] || fail "the exported file: $(cat "$work/list.txt")"
qs export "$orders" --ini "$work/lines.ini" --output - | cat >"$work/out"
tr -d '\r' <"$work/list.txt" | cmp -s - "$work/out" || fail "the export into a pipe: $(od -c "$work/out" | head)"

# A command that fails: its reason on standard error, nothing on standard
# output, status 1.
while IFS='|' read -r args; do
  status=0
  eval "set -- $args"
  "$program" "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
  [ "$status" = 1 ] && [ ! -s "$work/out" ] && grep -q '^Quillstow: ' "$work/err" ||
    fail "$args: status $status, $(cat "$work/out" "$work/err")"
done <<'FAILING'
list '\\Nowhere' --mail-root "$mailbox"
export '\\Nowhere' --mail-root "$mailbox" --output -
list '\\Mailbox' --mail-root "$mailbox" --output "$work/list.txt/x"
folders --mail-root "$work/nowhere"
FAILING

# The access helper is started before and after a command's search.
printf '#!/bin/sh\necho "$1" >>"%s"\n' "$work/helper.log" >"$work/helper"
chmod +x "$work/helper"
printf '[HKCU\\Software\\Orrinwick\\Quillstow]\nAccessProg=HKCU\\Helper\\Path\nAllowAccess=allow\nDisallowAccess=disallow\n[HKCU\\Helper]\nPath=%s\n' \
  "$work/helper" >"$work/config/quillstow/registry.txt"
qs list "$orders" >/dev/null || fail "the list ended with $?"
qs export "$orders" --output - >/dev/null || fail "the export ended with $?"
tries=0
while [ "$(sort "$work/helper.log" 2>/dev/null | tr '\n' ' ')" != "allow allow disallow disallow " ]; do
  [ $tries -lt 100 ] || fail "the access helper was told: $(cat "$work/helper.log")"
  tries=$((tries + 1))
  sleep 0.1
done
echo "help, version, bad input, a save's options, the commands, streams, status and the access helper behave"
