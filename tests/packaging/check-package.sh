#!/bin/sh
# Builds the Debian package from a build tree with CPack (into a temporary folder) and checks
# its name, control fields, contents and lintian's verdict: no errors and no warnings.
# Usage: check-package.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail () { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/brindle_${version}_amd64.deb
[ -f "$deb" ] || { ls "$work"; fail "no $(basename "$deb")"; }
echo "ok: cpack made $(basename "$deb")"

field ()
{
    dpkg-deb --field "$deb" "$1"
}

expect_field ()
{
    got=$(field "$1")
    [ "$got" = "$2" ] || fail "$1: '$got', expected '$2'"
    echo "ok: $1: $got"
}

expect_field Package brindle
expect_field Version "$version"
expect_field Architecture amd64
expect_field Section sound
expect_field Priority optional
field Maintainer | grep -q '^larkspur audio <.*@.*>$' || fail "Maintainer: $(field Maintainer)"
echo "ok: Maintainer: $(field Maintainer)"
field Description | head -1 | grep -q 'Lantern Reverb' || fail "Description: $(field Description | head -1)"
echo "ok: Description: $(field Description | head -1)"

# dpkg-shlibdeps' findings (libc6, libstdc++6, libfreetype6, ...) and the libraries JUCE
# opens at run time.
depends=$(field Depends)
for package in libc6 libstdc++6 libfreetype6 libpng16-16 libx11-6 libxext6 libxrandr2 libxinerama1 \
               libxcursor1 fontconfig-config fonts-dejavu-core; do
    echo "$depends" | tr ',|' '\n\n' | sed 's/^ *//; s/ .*//' | grep -qx "$package" \
        || fail "Depends lacks $package: $depends"
done
echo "ok: Depends: $depends"

dpkg-deb --contents "$deb" > "$work/contents"
expect_path ()
{
    grep -q "^$1 .* \./$2\$" "$work/contents" || { cat "$work/contents"; fail "package lacks $2 ($1)"; }
    echo "ok: $2"
}

expect_path "-rwxr-xr-x root/root" usr/bin/brindle
expect_path "-rw-r--r-- root/root" usr/share/applications/brindle.desktop
for size in 16 32 48 64 128 256; do
    expect_path "-rw-r--r-- root/root" "usr/share/icons/hicolor/${size}x${size}/apps/brindle.png"
done
expect_path "-rw-r--r-- root/root" usr/share/icons/hicolor/scalable/apps/brindle.svg
expect_path "-rw-r--r-- root/root" usr/share/man/man1/brindle.1.gz
expect_path "-rw-r--r-- root/root" usr/share/doc/brindle/copyright
expect_path "-rw-r--r-- root/root" usr/share/doc/brindle/changelog.gz
expect_path "-rw-r--r-- root/root" usr/share/doc/brindle/README.md
expect_path "-rw-r--r-- root/root" usr/share/doc/brindle/LICENSE
if grep -q ' \./usr/bin/Brindle$' "$work/contents"; then fail "the program is installed as Brindle"; fi

dpkg-deb --extract "$deb" "$work/root"
file "$work/root/usr/bin/brindle" | grep -q 'stripped' && ! file "$work/root/usr/bin/brindle" | grep -q 'not stripped' \
    || fail "usr/bin/brindle is not stripped: $(file "$work/root/usr/bin/brindle")"
echo "ok: usr/bin/brindle is stripped"

# lintian refuses to run as root without this; it only reads the package.
lintian --allow-root --tag-display-limit 0 --display-info "$deb" > "$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
if grep -Eq '^[EW]: ' "$work/lintian.log"; then fail "lintian reports errors or warnings"; fi
lintian --allow-root --fail-on error,warning "$deb" > /dev/null 2>&1 || fail "lintian exit status"
echo "ok: lintian without errors or warnings"
