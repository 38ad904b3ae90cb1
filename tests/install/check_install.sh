#!/usr/bin/env bash
# Installs the build into an empty prefix and checks what a desktop needs of it: both programs in
# bin/, the help page and sample classes in share/quillet where the window program looks for them,
# a valid menu entry whose command and icon are installed, and a valid software-centre description
# that launches that entry. The installed qlt then analyses an installed sample class.
# Usage: check_install.sh CMAKE BUILD_DIR PREFIX
set -euo pipefail
cmake=$1 build=$2 prefix=$3

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps desktop-file-utils appstream installs it"
done

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

for program in quillet qlt; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done
for file in 'Help!.html' examples/class-4choices.txt examples/class-5choices.txt examples/class-slips.txt; do
    [ -s "$prefix/share/quillet/$file" ] || fail "share/quillet/$file is not installed"
done

entry=$prefix/share/applications/quillet.desktop
desktop-file-validate "$entry" || fail "the menu entry is not valid"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$prefix/bin/$command" ] || fail "the menu entry starts '$command', which is not in bin/"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -s "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the menu entry's icon '$icon' is not installed"
appstreamcli validate-tree --no-net --strict "$prefix" || fail "the software-centre description is not valid"

"$prefix/bin/qlt" -o "$prefix/Result.doc" "$prefix/share/quillet/examples/class-4choices.txt" ||
    fail "the installed qlt cannot analyse the installed sample class"
[ -s "$prefix/Result.doc" ] || fail "the installed qlt wrote no report"
echo "The installation is complete and valid."
