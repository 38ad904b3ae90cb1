# Sourced by scripts/test-windows after wine-prefix.sh and checks.sh: `check_installer SETUP_EXE VERSION`
# installs silently into the current Wine prefix, checks the files, the Start-menu entry and the
# installed-programs entry, then uninstalls and checks that only a teacher's own file is left.

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet'

# The uninstall entry as text: `reg query` shows Thai as question marks, an exported file does not.
uninstall_entry() {
    local file=$WINEPREFIX/drive_c/uninstall-entry.reg
    rm -f "$file"
    wine reg export "$uninstall_key" 'C:\uninstall-entry.reg' /y >/dev/null 2>&1 || return 1
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'
}

# has_value NAME VALUE — the uninstall entry has the string NAME=VALUE; has_value NAME dword: —
# it has the number NAME; lacks_value NAME — it has no NAME at all.
has_value() {
    local expected=$2
    [ "$expected" = dword: ] || expected=\"$(printf '%s' "$2" | sed 's/\\/\\\\/g; s/"/\\"/g')\"
    uninstall_entry | grep -qF "\"$1\"=$expected"
}
lacks_value() {
    uninstall_entry >/dev/null && ! uninstall_entry | grep -qF "\"$1\"="
}

check_installer() {
    local setup=$1 version=$2
    local local_appdata start_menu folder name='Quillet โปรแกรมวิเคราะห์ข้อสอบ'
    local_appdata=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")
    start_menu=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")/Microsoft/Windows/Start\ Menu/Programs
    folder=$local_appdata/Programs/Quillet
    local windows_folder
    windows_folder=$(winepath -w "$folder")

    check "the installer is at most 20 MB ($(($(stat -c %s "$setup") / 1024)) KiB)" \
        test "$(stat -c %s "$setup")" -le $((20 * 1024 * 1024))
    check "the installer is a 64-bit Windows program" sh -c "x86_64-w64-mingw32-objdump -f '$setup' | grep -q 'pei-x86-64'"
    check "a silent install without administrator rights succeeds" wine "$setup" /S
    wineserver -w
    for file in quillet.exe qlt.exe 'Help!.html' LICENSE.txt Uninstall.exe \
        examples/class-4choices.txt examples/class-5choices.txt examples/class-slips.txt examples/README.md; do
        check "installed: $file" test -s "$folder/$file"
    done
    check "the installed qlt.exe runs" wine "$folder/qlt.exe" --version
    check "the Start-menu entry has the Thai name" test -s "$start_menu/$name.lnk"
    check "installed programs list '$name'" has_value DisplayName "$name"
    check "... with its version" has_value DisplayVersion "$version"
    check "... its icon" has_value DisplayIcon "$windows_folder\\quillet.exe,0"
    check "... how to remove it" has_value UninstallString "\"$windows_folder\\Uninstall.exe\""
    check "... its size" has_value EstimatedSize dword:
    check "... and no publisher" lacks_value Publisher


    check "a silent uninstall succeeds" wine "$folder/Uninstall.exe" /S
    wineserver -w # the uninstaller runs on from a copy of itself
    check "the program's folder is removed" test ! -e "$folder"
    check "the Start-menu entry is removed" test ! -e "$start_menu/$name.lnk"
    check "the installed-programs entry is removed" sh -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"

    wine "$setup" /S && wineserver -w
    echo "a report the teacher saved here" >"$folder/Result.doc"
    wine "$folder/Uninstall.exe" /S && wineserver -w
    check "a report the teacher saved beside the program survives uninstalling" \
        test -s "$folder/Result.doc" -a ! -e "$folder/quillet.exe" -a ! -e "$folder/examples"
    rm -rf "$folder"
}
