#!/bin/sh
# Installs the Brindle Debian package on this machine, checks the installed program, and
# removes the package again. Changes the system: run it in CI or a throw-away machine, as root
# (or with sudo available).
#
#   tests/packaging/install-check.sh [PACKAGE.deb | BUILD_DIR]
#
# Without an argument the package is made with CPack from build/release. Checks, in order:
# apt-get installs the package with its dependencies; brindle is on the PATH with its desktop
# entry, icons, manual page and documents; under Xvfb (its own, unless DISPLAY is set) brindle
# started from the PATH shows its main window with _NET_WM_ICON set; a second start exits 0
# without a second window; the close button ends the program with status 0 (it is killed if
# it does not end); removing the package leaves none of its files behind.
# Needs: apt, dpkg, man-db, desktop-file-utils, xvfb, xdotool, x11-utils (xprop), cmake.
# Every step is bounded by a timeout; exits non-zero at the first failed check.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
window_title='^Lantern Reverb version [0-9.]+ - R[0-9]+$'

work=$(mktemp -d)
xvfb_pid=
app_pid=
second_pid=
installed=no

cleanup ()
{
    for pid in $second_pid $app_pid; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    # A failed run does not leave the package installed.
    if [ "$installed" = yes ]; then
        echo "removing the package after the failure"
        as_root env DEBIAN_FRONTEND=noninteractive timeout 300 apt-get remove --purge -y -q brindle > /dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM

step () { echo "== $*"; }
ok () { echo "ok: $*"; }
fail () { echo "FAIL: $*"; exit 1; }

as_root ()
{
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi
}

# Polls a command until it succeeds; fails after the given seconds.
wait_for ()
{
    seconds=$1
    shift
    end=$(( $(date +%s) + seconds ))
    until "$@"; do
        [ "$(date +%s)" -lt "$end" ] || return 1
        sleep 0.2
    done
}

# A process that has ended but is not yet waited for is a zombie (state Z).
process_state () { sed -n 's/.*) \(.\).*/\1/p' "/proc/$1/stat" 2>/dev/null || true; }
is_running () { state=$(process_state "$1"); [ -n "$state" ] && [ "$state" != Z ]; }
not_running () { ! is_running "$1"; }
app_windows () { xdotool search --onlyvisible --name "$window_title" 2>/dev/null || true; }
has_window () { [ -n "$(app_windows)" ]; }

for tool in apt-get dpkg dpkg-deb man desktop-file-validate Xvfb xdotool xprop timeout; do
    command -v "$tool" > /dev/null || fail "$tool is not installed"
done

# --- the package -------------------------------------------------------------------------
step "package"
source=${1:-$root/build/release}
if [ -d "$source" ]; then
    timeout 300 cpack --config "$source/CPackConfig.cmake" -B "$work/cpack" > "$work/cpack.log" 2>&1 \
        || { cat "$work/cpack.log"; fail "cpack in $source"; }
    deb=$(ls "$work"/cpack/brindle_*_amd64.deb)
else
    deb=$source
fi
[ -f "$deb" ] || fail "no package at $deb"
cp "$deb" "$work/"
deb=$work/$(basename "$deb")
chmod 0755 "$work"
chmod 0644 "$deb"
ok "$(basename "$deb")"

if dpkg-query -W -f '${Status}' brindle 2>/dev/null | grep -q 'install ok installed'; then
    fail "brindle is already installed; remove it first (apt-get remove --purge brindle)"
fi
command -v brindle > /dev/null && fail "a brindle is on the PATH before installing: $(command -v brindle)"

# --- install -----------------------------------------------------------------------------
step "install"
# Minimal images often keep dpkg from installing manual pages and documents; this package's
# own are installed whatever the local settings, as the checks below need them.
as_root env DEBIAN_FRONTEND=noninteractive timeout 600 apt-get install -y -q --no-install-recommends \
    -o DPkg::Options::=--path-include=/usr/share/man/man1/brindle.1.gz \
    -o DPkg::Options::=--path-include='/usr/share/doc/brindle/*' \
    "$deb" > "$work/apt-install.log" 2>&1 || { cat "$work/apt-install.log"; fail "apt-get install"; }
installed=yes
dpkg-query -W -f '${Status}' brindle | grep -q 'install ok installed' || fail "brindle not installed"
ok "apt-get install $(basename "$deb") ($(dpkg-query -W -f '${Version}' brindle))"
dpkg -L brindle | sort > "$work/files"

# --- installed files ---------------------------------------------------------------------
step "installed files"
[ "$(command -v brindle)" = /usr/bin/brindle ] || fail "brindle on the PATH is '$(command -v brindle || true)'"
[ -x /usr/bin/brindle ] || fail "/usr/bin/brindle is not executable"
ok "brindle on the PATH: /usr/bin/brindle"

for f in /usr/share/applications/brindle.desktop \
         /usr/share/icons/hicolor/16x16/apps/brindle.png \
         /usr/share/icons/hicolor/32x32/apps/brindle.png \
         /usr/share/icons/hicolor/48x48/apps/brindle.png \
         /usr/share/icons/hicolor/64x64/apps/brindle.png \
         /usr/share/icons/hicolor/128x128/apps/brindle.png \
         /usr/share/icons/hicolor/256x256/apps/brindle.png \
         /usr/share/icons/hicolor/scalable/apps/brindle.svg \
         /usr/share/man/man1/brindle.1.gz \
         /usr/share/doc/brindle/copyright \
         /usr/share/doc/brindle/README.md; do
    [ -f "$f" ] || fail "$f missing"
    grep -qx "$f" "$work/files" || fail "$f is not listed as the package's"
done
ok "desktop entry, icons, manual page, copyright and README installed"

desktop-file-validate /usr/share/applications/brindle.desktop || fail "desktop-file-validate"
ok "desktop-file-validate /usr/share/applications/brindle.desktop"

MANWIDTH=80 timeout 60 man --warnings -P cat brindle > "$work/man.txt" 2> "$work/man.err" \
    || { cat "$work/man.err"; fail "man brindle"; }
[ -s "$work/man.err" ] && { cat "$work/man.err"; fail "man brindle warns"; }
for option in --file --autoupdate --outputid --inputid "EXIT STATUS"; do
    grep -q -- "$option" "$work/man.txt" || fail "man brindle does not mention $option"
done
ok "man brindle renders ($(wc -l < "$work/man.txt") lines, all four options)"

# --- the program -------------------------------------------------------------------------
step "program under X"
if [ -z "${DISPLAY:-}" ]; then
    exec 3> "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    wait_for 20 test -s "$work/display" || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
    ok "started Xvfb on $DISPLAY"
fi
has_window && fail "a Brindle window is already open on $DISPLAY"

(cd "$work" && exec brindle) > "$work/brindle.log" 2>&1 &
app_pid=$!
wait_for 30 has_window || { cat "$work/brindle.log"; fail "no window titled like '$window_title' within 30 s"; }
window=$(app_windows | head -n 1)
[ "$(app_windows | wc -l)" -eq 1 ] || fail "more than one main window"
ok "brindle from the PATH shows '$(xdotool getwindowname "$window")' (window $window)"

window_pid=$(xprop -id "$window" _NET_WM_PID | sed -n 's/.* = //p')
[ "$window_pid" = "$app_pid" ] || fail "window belongs to process '$window_pid', not the started $app_pid"
ok "window belongs to the started process"

icon=$(xprop -id "$window" -notype -f _NET_WM_ICON 32c ' $0 $1' _NET_WM_ICON)
icon_size=$(echo "$icon" | sed -n 's/^_NET_WM_ICON \([0-9]*\) \([0-9]*\)$/\1x\2/p')
[ -n "$icon_size" ] && [ "$icon_size" != 0x0 ] || fail "the window has no _NET_WM_ICON ($icon)"
ok "_NET_WM_ICON set: $icon_size"

wm_class=$(xprop -id "$window" WM_CLASS | sed -n 's/.* = "\([^"]*\)".*/\1/p')
entry_class=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/brindle.desktop)
[ "$wm_class" = "$entry_class" ] || fail "WM_CLASS '$wm_class' differs from the desktop entry's '$entry_class'"
ok "WM_CLASS matches the desktop entry: $wm_class"

step "second start"
(cd "$work" && exec brindle --autoupdate --file /nonexistent.syx) > "$work/second.log" 2>&1 &
second_pid=$!
wait_for 20 not_running "$second_pid" || fail "the second start is still running after 20 s"
second_status=0
wait "$second_pid" || second_status=$?
second_pid=
[ "$second_status" -eq 0 ] || fail "the second start exited with $second_status"
[ "$(app_windows | wc -l)" -eq 1 ] || fail "the second start changed the windows"
is_running "$app_pid" || fail "the first instance ended"
ok "a second start exits 0 and opens no window"

step "close"
# The close button sits at the right end of the title bar.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH - 21)) $((Y + 17)) click 1
closed=yes
if ! wait_for 15 not_running "$app_pid"; then
    closed=no
    echo "the close button did not end brindle within 15 s; killing it"
    xdotool windowkill "$window" 2>/dev/null || true
    wait_for 5 not_running "$app_pid" || kill -KILL "$app_pid" 2>/dev/null || true
fi
app_status=0
wait "$app_pid" || app_status=$?
app_pid=
[ "$closed" = yes ] || fail "brindle did not end by its close button"
[ "$app_status" -eq 0 ] || { cat "$work/brindle.log"; fail "brindle exited with $app_status"; }
wait_for 5 sh -c "! xdotool search --onlyvisible --name '$window_title' > /dev/null 2>&1" \
    || fail "the window is still shown"
ok "the close button ends brindle with status 0"

# --- removal -----------------------------------------------------------------------------
step "remove"
as_root env DEBIAN_FRONTEND=noninteractive timeout 300 apt-get remove --purge -y -q brindle \
    > "$work/apt-remove.log" 2>&1 || { cat "$work/apt-remove.log"; fail "apt-get remove --purge"; }
installed=no
dpkg-query -W -f '${Status}' brindle 2>/dev/null | grep -q 'install ok installed' && fail "brindle still installed"
left=0
while read -r path; do
    # Folders shared with other packages (/usr/share/icons/...) stay; the package's own go.
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        case "$path" in
            */brindle) echo "left behind: $path"; left=1 ;;
        esac
    elif [ -e "$path" ] || [ -L "$path" ]; then
        echo "left behind: $path"
        left=1
    fi
done < "$work/files"
[ "$left" -eq 0 ] || fail "removing the package left files behind"
command -v brindle > /dev/null && fail "brindle is still on the PATH"
ok "apt-get remove --purge leaves none of the package's $(wc -l < "$work/files") paths"

echo "install check passed"
