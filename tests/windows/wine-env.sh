# Sourced by scripts/setup-windows.sh and scripts/test-windows.sh: the Wine
# environment the Windows test programs run in.
#
# One private 64-bit prefix under the build folder serves both deliverables:
# Debian's wine runs 32-bit programs in it through WoW64, and those see
# syswow64 as their system folder, so each architecture finds its own
# LIBMTS.dll under "C:\windows\system32" as the plug-in asks for it.

# vorn_wine_env <build root>: exports the variables every Wine call uses.
vorn_wine_env() {
  export WINEPREFIX="$1/wine-prefix"
  export WINEARCH=win64
  # No display: these tests open no window. Quiet: Wine's own diagnostics
  # would bury the test output. No Mono or Gecko installer prompts.
  export DISPLAY=
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# The folder a program of the given architecture (64 or 32) sees as
# GetSystemDirectory.
vorn_wine_system_dir() {
  if [ "$1" = 64 ]; then
    echo "$WINEPREFIX/drive_c/windows/system32"
  else
    echo "$WINEPREFIX/drive_c/windows/syswow64"
  fi
}

# Creates the prefix once; later calls find it ready and return at once.
vorn_wine_prepare_prefix() {
  if [ -f "$WINEPREFIX/system.reg" ] && [ -d "$(vorn_wine_system_dir 32)" ]; then
    return 0
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  echo "Creating the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -d "$(vorn_wine_system_dir 32)" ]; then
    echo "error: wineboot could not create a 64-bit prefix with WoW64 in $WINEPREFIX" >&2
    return 1
  fi
}

# Stops this prefix's wineserver (and so every Wine process in it).
vorn_wine_stop() {
  wineserver -k 2>/dev/null || true
}
