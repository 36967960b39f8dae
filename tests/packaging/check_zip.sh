#!/bin/sh
# The Windows zip: one directory holding the program, its help page, the
# README and the licence, and a program of the zip's version that needs no
# DLL but the system's.
# Given the fake Outlook, the zip is also unpacked into a fresh Wine prefix
# and the program run unattended against it: it must save the mail and end
# with status 0.
# Usage: check_zip.sh PACKAGE.zip [fake_outlook.dll]
set -eu
zip=$(realpath "$1")
fake=${2:+$(realpath "$2")}
wine_run=$(realpath "$(dirname "$0")/../../cmake/wine-run")
fail() { echo "FAILED: $*" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-zip.XXXXXX")
export WINEPREFIX="$work/prefix"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

top=$(basename "$zip" .zip)
unzip -Z1 "$zip" | grep -v '/$' | sort >"$work/files"
printf '%s\n' "$top/Help/index.html" "$top/LICENSE.txt" "$top/Quillstow.exe" "$top/README.txt" |
  sort | diff - "$work/files" >&2 || fail "the zip's files are not the four expected"

# Only the system's own DLLs: the C++ runtime is linked in.
unzip -q "$zip" -d "$work/unpacked"
exe="$work/unpacked/$top/Quillstow.exe"
objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u >"$work/imports"
while read -r dll; do
  case $dll in
    advapi32.dll | comctl32.dll | comdlg32.dll | gdi32.dll | kernel32.dll | msvcrt.dll | \
    ole32.dll | oleaut32.dll | shell32.dll | shlwapi.dll | user32.dll) ;;
    *) fail "Quillstow.exe needs $dll, which Windows does not have" ;;
  esac
done <"$work/imports"
# The version resource carries the version the zip is named by.
version=$(echo "$top" | cut -d- -f2)
strings -e l "$exe" | grep -qx "$version.0" || fail "Quillstow.exe does not carry version $version"
echo "$top: $(wc -l <"$work/files") files; Quillstow.exe imports $(tr '\n' ' ' <"$work/imports")"
[ -n "$fake" ] || exit 0

# A fresh prefix, the zip unpacked into it, the fake registered as Outlook.
"$wine_run" cmd /c exit 0
unzip -q "$zip" -d "$WINEPREFIX/drive_c"
cp "$fake" "$WINEPREFIX/drive_c/fake_outlook.dll"
clsid='{0006F03A-0000-0000-C000-000000000046}'
reg() { "$wine_run" reg add "$@" /f >/dev/null; }
reg 'HKCR\Outlook.Application' /ve /d Outlook.Application
reg 'HKCR\Outlook.Application\CLSID' /ve /d "$clsid"
reg "HKCR\\CLSID\\$clsid\\InprocServer32" /ve /d 'C:\fake_outlook.dll'
reg "HKCR\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel /d Apartment
mkdir "$WINEPREFIX/drive_c/saved"

status=0
LC_ALL=C.UTF-8 "$wine_run" "C:\\$top\\Quillstow.exe" '\\Postfach Zoë\Inbox' 'C:\saved' /autorun \
  >"$work/run.log" 2>&1 || status=$?
[ $status -eq 0 ] || fail "the unattended run ended with status $status: $(cat "$work/run.log")"
saved=$(find "$WINEPREFIX/drive_c/saved" -name '*.msg' | wc -l)
[ "$saved" -ge 3 ] || fail "only $saved message files were saved"
echo "$top: run unattended under Wine against the fake Outlook, $saved message files saved"
