# Sourced by the Wine scripts, which set root to the source tree. Each
# architecture's programs run in a Wine prefix of the build's own,
# build/wine/<arch>, made once.
wine_server=/usr/lib/wine/wineserver64
[ -x "$wine_server" ] || wine_server=/usr/lib/wine/wineserver32

# Sets up the environment for ARCH's programs; where they cannot run here,
# returns 1 with the reason in wine_unusable (2 for an unknown ARCH).
wine_use() {
  case "$1" in
    win64) wine_loader=/usr/lib/wine/wine64 wine_package=wine64 ;;
    win32) wine_loader=/usr/lib/wine/wine wine_package=wine32:i386 ;;
    *) return 2 ;;
  esac
  if [ ! -x "$wine_loader" ]; then
    wine_unusable="Wine cannot start $1 programs: $wine_package is not installed"
    return 1
  fi
  # The loader of 32-bit programs is itself a 32-bit x86 program.
  if ! "$wine_loader" --version >/dev/null 2>&1; then
    case "$1" in
      win32) wine_unusable="this kernel cannot start 32-bit x86 programs, so Wine cannot start \
32-bit Windows programs" ;;
      *) wine_unusable="Wine's loader $wine_loader does not start" ;;
    esac
    return 1
  fi
  export WINEPREFIX="$root/build/wine/$1"
  export WINEARCH="$1"
  export WINELOADER="$wine_loader"
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No Mono or Gecko installers, no menu entries or file types in the home folder.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Makes the prefix when it is missing; quiet unless it fails.
wine_make_prefix() {
  if [ -f "$WINEPREFIX/.made" ]; then return 0; fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 8
    if [ ! -f "$WINEPREFIX/.made" ]; then
      rm -rf "$WINEPREFIX"
      if ! { "$wine_loader" wineboot -i && "$wine_server" -w; } \
        </dev/null >"$WINEPREFIX.log" 2>&1; then
        echo "wine: making the prefix $WINEPREFIX failed:" >&2
        cat "$WINEPREFIX.log" >&2
        exit 1
      fi
      touch "$WINEPREFIX/.made"
    fi
  ) 8>"$WINEPREFIX.lock"
}
