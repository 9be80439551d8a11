# Sourced: the Wine settings every run and test uses.
export WINEDEBUG="${WINEDEBUG:--all}"
# No menu entries or desktop files on the host for shortcuts the program writes; no Mono/Gecko prompts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64

# make_prefix DIR [headless]: a fresh 64-bit prefix; "headless" selects Wine's null graphics driver.
make_prefix() {
    local dir="$1" mode="${2:-}"
    mkdir -p "$dir"
    WINEPREFIX="$dir" wineboot -i > "$dir.boot.log" 2>&1
    if [ "$mode" = headless ]; then
        WINEPREFIX="$dir" wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f > /dev/null 2>&1
    fi
    WINEPREFIX="$dir" wineserver -w
    rm -f "$dir.boot.log"
}
