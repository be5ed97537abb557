# Sourced by the scripts that run the Windows build under Wine: a private prefix in the build
# tree, quiet, without add-on installers or desktop menu entries. Usage: wine_env BUILD_DIR
wine_env() {
    export WINEPREFIX="$(realpath "$1")/wineprefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

    if [ ! -f "$WINEPREFIX/.ready" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        # Without a window manager Wine waits 2 s on every hidden window unless it manages
        # its own.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.ready"
    fi
    # This Wine does not look in its own font folder: without these, Tahoma, MS Sans Serif and
    # the caption buttons' Marlett fall back to another face.
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}
