# Sourced by scripts/test-windows after wine-prefix.sh and checks.sh. On a virtual X display with a
# window manager, drives the Windows programs under Wine with the keyboard as a teacher would and
# saves pictures of them:
#   start_display WORK_DIR          a display for what follows; stop_display ends it
#   drive_window QUILLET_EXE LINUX_BIN SHOTS_DIR
#   drive_installer SETUP_EXE SHOTS_DIR

display_pids=()
stop_display() {
    local pid
    for pid in "${display_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}

start_display() {
    local file=$1/display
    rm -f "$file"
    # Xvfb chooses a free display itself and tells its number on file descriptor 3.
    Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$file" 2>/dev/null &
    display_pids+=($!)
    for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$file")"
    openbox --config-file /dev/null >/dev/null 2>&1 &
    display_pids+=($!)
    sleep 1
}

# The id of the visible window whose title matches a pattern, waiting up to a minute for it (Wine
# starts slowly on a busy machine); empty when none appeared.
window() {
    local id
    for _ in $(seq 600); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Brings a window to the front and presses keys in it.
keys() {
    local id=$1
    shift
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
    sleep 0.5
    xdotool key --delay 100 "$@"
}
# Saves a window with its title bar once it has settled.
capture() {
    sleep 1.5
    if [ -n "$1" ] && import -window "$1" -frame "$shots/$2.png"; then echo "      picture: $shots/$2.png"; fi
}
# check_window DESCRIPTION VARIABLE PATTERN — waits for the window and counts whether it came.
check_window() {
    local id
    id=$(window "$3") || true
    check "$1" test -n "$id"
    printf -v "$2" '%s' "$id"
}

drive_window() {
    local exe=$1 linux_bin=$2
    shots=$3
    mkdir -p "$shots"
    # A copy of the program in a folder of its own, so Result.doc lands beside it and nowhere else.
    local folder=$shots/program
    rm -rf "$folder" && mkdir -p "$folder"
    cp "$exe" "$(dirname "$exe")/Help!.html" "$folder/"
    local sample
    sample=$(windows_path "$PWD/examples/class-4choices.txt")
    # The report Finish should write: the analysis page's own ticks are qlt's defaults.
    "$linux_bin/qlt" -o "$shots/expected-Result.doc" examples/class-4choices.txt

    (cd "$folder" && exec wine quillet.exe) &
    local program=$! info source dialog stat notice
    check_window "quillet.exe starts on the introduction page, titled in Thai" info 'โปรแกรมวิเคราะห์ข้อสอบแบบง่าย'
    [ -n "$info" ] || { kill "$program"; return 0; }
    capture "$info" wine-1-introduction
    keys "$info" alt+s
    check_window "Start leads to the data source page" source 'ระบุแหล่งข้อมูล$'
    keys "$source" alt+o
    check_window "Browse... opens the file dialog" dialog 'Open Data File'
    keys "$dialog" ctrl+a
    xdotool type --delay 60 "$sample"
    keys "$dialog" Return
    capture "$source" wine-2-source
    keys "$source" alt+n
    check_window "Next with a sample class leads to the analysis page" stat 'เลือกค่าสถิติและการวิเคราะห์'
    keys "$stat" alt+a
    capture "$stat" wine-3-analysis
    keys "$stat" alt+f
    check_window "Word being absent, Finish says where the report is" notice 'แจ้งให้ทราบ'
    [ -n "$notice" ] && capture "$notice" wine-4-notice
    check "Finish writes the report qlt writes" cmp "$shots/expected-Result.doc" "$folder/Result.doc"
    [ -n "$notice" ] && keys "$notice" Return
    sleep 2
    kill "$program" 2>/dev/null || true
    wineserver -k || true
}

drive_installer() {
    local setup=$1 language welcome
    shots=$2
    mkdir -p "$shots"
    wine "$setup" &
    local installer=$!
    check_window "the installer asks for a language" language 'Installer Language'
    [ -n "$language" ] || { kill "$installer"; return 0; }
    # Thai is listed below English; the list starts on the language of Windows.
    keys "$language" Down Return
    check_window "the installer's pages are in Thai" welcome 'ติดตั้ง'
    [ -n "$welcome" ] && capture "$welcome" wine-installer-thai
    [ -n "$welcome" ] && keys "$welcome" Escape Return # cancel, and confirm
    sleep 1
    kill "$installer" 2>/dev/null || true
    wineserver -k || true
}
