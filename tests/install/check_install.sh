#!/usr/bin/env bash
# Installs the build into an empty prefix and checks what a desktop needs of it: both programs in
# bin/, the help page and sample classes in share/quillet where the window program looks for them,
# a valid menu entry whose command and icon are installed, a valid software-centre description
# that launches that entry, the licence in Debian's form, and a manual page for each program that
# man reads without a warning and, for qlt, names every option qlt --help lists. The installed qlt
# then analyses an installed sample class.
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

copyright=$prefix/share/doc/quillet/copyright
[ -s "$copyright" ] || fail "share/doc/quillet/copyright is not installed"
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in Debian's machine-readable format"
grep -q '^License: GPL-3.0-or-later$' "$copyright" || fail "the copyright file does not give the licence"

for program in quillet qlt; do
    page=$prefix/share/man/man1/$program.1.gz
    gzip --test "$page" 2>/dev/null || fail "share/man/man1/$program.1.gz is not installed or not compressed"
    if command -v man >/dev/null; then
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man finds faults in the page of $program: $warnings"
    fi
done
# Read once: grep -q leaving a pipe early would fail the pipeline under pipefail.
manual=$(zcat "$prefix/share/man/man1/qlt.1.gz" | sed 's/\\-/-/g')
for option in $("$prefix/bin/qlt" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$manual" || fail "qlt's manual page does not describe $option"
done

"$prefix/bin/qlt" -o "$prefix/Result.doc" "$prefix/share/quillet/examples/class-4choices.txt" ||
    fail "the installed qlt cannot analyse the installed sample class"
[ -s "$prefix/Result.doc" ] || fail "the installed qlt wrote no report"
echo "The installation is complete and valid."
