#!/bin/sh
# The manual page renders through groff and man without a warning, and documents every
# option the program reads and its exit status.
set -eu
page=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

groff -man -Tutf8 -ww -z "$page" 2> "$work/groff.err"
if [ -s "$work/groff.err" ]; then cat "$work/groff.err"; echo "FAIL: groff warnings"; exit 1; fi
echo "ok: groff -man -ww without warnings"

MANWIDTH=80 man --nh --nj --warnings -E UTF-8 -l "$page" > "$work/page.txt" 2> "$work/man.err"
if [ -s "$work/man.err" ]; then cat "$work/man.err"; echo "FAIL: man warnings"; exit 1; fi
# Join the text so that checks do not depend on where lines break.
text=$(tr -s " \n" "  " < "$work/page.txt")
echo "ok: man -l renders $(wc -l < "$work/page.txt") lines"

expect ()
{
    case "$text" in
        *"$1"*) echo "ok: mentions \"$1\"" ;;
        *) echo "FAIL: rendered page lacks \"$1\""; exit 1 ;;
    esac
}

expect "brindle [--autoupdate] [--outputid N] [--inputid N] [--file file]"
expect "--file file"
expect "up to the end of the command line"
expect "--autoupdate Start the update at once"
expect "--outputid N"
expect "Exactly one blank"
expect "value below 1 selects output 1"
expect "--inputid N"
expect "no effect"
expect "in any letter case"
expect "EXIT STATUS"
expect "always exits with status 0"
expect "Starting it again while it runs does nothing"
