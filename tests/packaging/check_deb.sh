#!/bin/sh
# The Debian package as a user meets it: installed with dpkg, the installed
# program run by a new user (a fresh HOME) with a settings change through the
# Options dialog and then unattended on the installed sample mailbox, its
# manual page read, and the package removed again, also when a check fails,
# leaving none of its files behind.
# Usage: check_deb.sh PACKAGE.deb
set -eu
deb=$(realpath "$1")
package=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
fail() { echo "FAILED: $*" >&2; exit 1; }
installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; }
# dpkg, waiting up to five minutes while another dpkg holds its lock.
run_dpkg() {
  tries=0
  while ! $sudo dpkg "$@" >"$work/dpkg.log" 2>&1; do
    grep -q 'lock' "$work/dpkg.log" && [ $tries -lt 150 ] || { cat "$work/dpkg.log" >&2; return 1; }
    tries=$((tries + 1))
    sleep 2
  done
}
installed && fail "$package is installed already; remove it first"

work=$(mktemp -d "${TMPDIR:-/tmp}/qs-deb.XXXXXX")
cleanup() {
  installed && run_dpkg -r "$package"
  rm -rf "$work"
}
trap cleanup EXIT
run_dpkg -i "$deb"
dpkg-query -L "$package" >"$work/files"

export HOME="$work/home"
unset XDG_CONFIG_HOME QUILLSTOW_MAILROOT DISPLAY WAYLAND_DISPLAY
mkdir "$HOME" "$work/saved"
cd "$work"

# Text files, confirmed with OK: the first OK makes ~/.config/quillstow.
printf 'mnuOptions\ncboFnOutput=TXT\nDateFormat=yyyy-mm-dd\ncmdOK\n' | quillstow >options.log 2>&1 ||
  fail "the Options run ended with status $?: $(cat options.log)"
settings=$HOME/.config/quillstow/Quillstow.ini
grep -q '^FnOutput=TXT' "$settings" || fail "no FnOutput=TXT in $settings"
[ "$(stat -c %a "$HOME/.config/quillstow")" = 700 ] || fail "the settings directory is not the user's alone"

# Unattended, on the sample mailbox that came with the package.
status=0
quillstow '\\Mailbox\Inbox' "$work/saved" /autorun </dev/null >run.log 2>&1 || status=$?
[ $status -eq 0 ] || fail "the unattended run ended with status $status: $(cat run.log)"
[ ! -s run.log ] || fail "the unattended run printed: $(cat run.log)"
saved=$(find saved -name '*.txt' | wc -l)
[ "$saved" -ge 10 ] || fail "only $saved text files were saved"

# The manual page, of this version.
MANWIDTH=80 man quillstow 2>man.err >man.txt || fail "man quillstow: $(cat man.err)"
grep -q "Quillstow $version" man.txt || fail "the manual page does not name version $version"
grep -q 'EXIT STATUS' man.txt || fail "the manual page has no exit status"

# Bash completes the command, its options and the formats.
completions=$(cd "$HOME" && bash -c '. /usr/share/bash-completion/completions/quillstow
  complete_at() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _quillstow; echo "${COMPREPLY[*]}"; }
  complete_at quillstow sa; complete_at quillstow save x --form; complete_at quillstow save x --format r')
[ "$completions" = "$(printf 'save\n--format\nrtf')" ] || fail "bash completion gave: $completions"

run_dpkg -r "$package"
installed && fail "$package is still installed"
while read -r path; do
  case $path in
    */quillstow | */quillstow/* | */quillstow.1.gz) [ ! -e "$path" ] || fail "$path stayed" ;;
  esac
done <"$work/files"
echo "$package $version: installed, run unattended with its sample mailbox ($saved files), removed"
