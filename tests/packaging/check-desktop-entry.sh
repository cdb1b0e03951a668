#!/bin/sh
# The desktop entry validates without errors, warnings or hints, and starts the installed
# program with the installed icon.
set -eu
entry=$1

out=$(desktop-file-validate "$entry" 2>&1) || { echo "$out"; echo "FAIL: desktop-file-validate"; exit 1; }
[ -z "$out" ] || { echo "$out"; echo "FAIL: desktop-file-validate has remarks"; exit 1; }
echo "ok: desktop-file-validate $entry"

value () { sed -n "s/^$1=//p" "$entry"; }
check ()
{
    got=$(value "$1")
    [ "$got" = "$2" ] || { echo "FAIL: $1=$got, expected $2"; exit 1; }
    echo "ok: $1=$got"
}

check Type Application
check Exec brindle
check Icon brindle
check Terminal false
check Name Brindle
value Categories | grep -q 'HardwareSettings;' || { echo "FAIL: Categories lack HardwareSettings"; exit 1; }
echo "ok: Categories=$(value Categories)"
