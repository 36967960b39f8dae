#!/bin/sh
# A save on several threads writes the same files, names and bytes, as a save
# on one thread, in every output format, and saving again gives them again.
# Usage: threads_save_test.sh PROGRAM MAILBOX
set -eu
program=$1
export QUILLSTOW_MAILROOT=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-threads.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
fail() { echo "FAILED: $*" >&2; exit 1; }
for format in dir msg txt rtf; do
  printf '[Options]\nFnOutput=%s\nFnFormat=%%3 %%2\nUseFnFolder=1\n' $format >"$work/$format.ini"
  for threads in 1 3 3; do
    out=$work/$format-$threads
    [ -d "$out" ] && out=$out-again
    QUILLSTOW_THREADS=$threads "$program" '\\Mailbox' "$out" /ini "$work/$format.ini" /autorun \
      </dev/null || fail "the $format save on $threads threads failed"
  done
  diff -r -x .quillstow-saved -x .quillstow-lock "$work/$format-1" "$work/$format-3" >&2 ||
    fail "$format files differ between one thread and three"
  diff -r -x .quillstow-saved -x .quillstow-lock "$work/$format-3" "$work/$format-3-again" >&2 ||
    fail "$format files differ between two saves"
  [ "$(find "$work/$format-1" -type f | wc -l)" -gt 40 ] || fail "the $format save wrote too few files"
done
echo "one thread and several saved the same files"
