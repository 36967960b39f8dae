#!/bin/sh
# Every quillstow command line in the example blocks of the README, the
# manual page, the help page and the usage text, run as shown by a new user
# (a scratch home) on the sample mailbox: each must end with status 0. Then
# the bash completion the documents promise.
# Usage: documented_commands_test.sh PROGRAM MAILBOX SOURCE_DIR DATA_FILE
# (DATA_FILE: an Outlook data file with an Inbox, for ~/backup/archive.pst)
set -eu
program=$(realpath "$1")
mailbox=$(realpath "$2")
source=$(realpath "$3")
data_file=$(realpath "$4")
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-documented.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { printf 'FAILED: %s\n' "$*" >&2; exit 1; }

export HOME="$work/home"
unset XDG_CONFIG_HOME QUILLSTOW_THREADS DISPLAY WAYLAND_DISPLAY
export QUILLSTOW_MAILROOT="$mailbox"
mkdir -p "$HOME/backup" "$work/bin" "$work/build/native/app"
ln -s "$mailbox" "$HOME/mail"
cp "$data_file" "$HOME/backup/archive.pst"
ln -s "$program" "$work/bin/quillstow"
ln -s "$program" "$work/build/native/app/quillstow"
export PATH="$work/bin:$PATH"
cd "$work"

# The example blocks' lines, as a shell reads them.
readme_blocks() { sed -n 's/^    //p' "$source/README.md"; }
manual_blocks() {
  sed -n '/^\.nf/,/^\.fi/{/^\./d;s/\\(aq/'"'"'/g;s/\\(dq/"/g;s/\\-/-/g;s/\\&//g;s/\\e/\\/g;p;}' \
    "$source/packaging/quillstow.1.in"
}
help_blocks() {
  awk '/<pre>/ { inside = 1 } inside; /<\/pre>/ { inside = 0 }' "$source/Help/index.html" |
    sed 's/<[^>]*>//g;s/&lt;/</g;s/&gt;/>/g;s/&quot;/"/g;s/&#39;/'"'"'/g;s/&amp;/\&/g'
}
usage_blocks() { "$program" --help | sed -n 's/^  //p'; }

for document in readme manual help usage; do
  "${document}_blocks" | grep -E '(^|[|] *)([A-Za-z_][A-Za-z0-9_]*=[^ ]* +)*([^ ]*/)?quillstow( |$)' \
    >"$work/lines" || true
  [ "$(wc -l <"$work/lines")" -ge 3 ] || fail "the $document shows only these command lines: $(cat "$work/lines")"
  while IFS= read -r line; do
    status=0
    sh -c "$line" </dev/null >"$work/out" 2>"$work/err" || status=$?
    [ "$status" = 0 ] || fail "the $document's $line ended with status $status: $(cat "$work/err")"
  done <"$work/lines"
  echo "the $document's $(wc -l <"$work/lines") command lines ran"
done

completions=$(bash -c '. "$1"
  complete_at() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _quillstow; echo "${COMPREPLY[*]}"; }
  complete_at quillstow f; complete_at quillstow list x --js; complete_at quillstow list x --columns sent,re
  complete_at quillstow save x y --format d; complete_at quillstow export x --o' sh \
  "$source/packaging/quillstow.bash-completion")
[ "$completions" = "$(printf 'folders\n--json\nsent,Received\ndir\n--output')" ] ||
  fail "bash completion gave: $completions"
