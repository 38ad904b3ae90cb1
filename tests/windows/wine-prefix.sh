# Sourced by the Windows tests: `wine_prefix DIR` makes DIR a private 64-bit Wine prefix that
# reports itself as Windows 10 and shows Thai in Wine's own dialogs, creating it on first use, and
# exports what the Windows programs need to run quietly and to show their Qt output.

wine_prefix() {
    mkdir -p "$1"
    export WINEPREFIX
    WINEPREFIX=$(cd "$1" && pwd)
    export WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to download Mono or Gecko
    export WINEQT_FORCE_STDERR_LOGGING=1       # Qt's messages and Qt Test's output to stderr
    [ -f "$WINEPREFIX/.quillet-ready" ] && return 0

    echo "Creating the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine winecfg -v win10 >/dev/null 2>&1
    # Wine's own Tahoma has no Thai letters; linking it to a Thai font of fonts-thai-tlwg fixes
    # the installer's Thai pages and every other Wine dialog.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d 'Loma.ttf,Loma' /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.quillet-ready"
}

# The Windows form of a path on the build machine (Wine shows the root as drive Z:).
windows_path() {
    winepath -w "$1" 2>/dev/null
}
