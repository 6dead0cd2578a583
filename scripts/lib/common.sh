# Shared by scripts/run, scripts/test, scripts/bench and .ci/run: installs what is
# missing, builds both trees, and manages the Wine prefix, Xvfb and wineserver.
# Sourced, not run.

QUILLOMI_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
QUILLOMI_BUILD=${QUILLOMI_BUILD:-$QUILLOMI_ROOT/build}
JOBS=${JOBS:-2}

log() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian packages the build and every test tier need. fonts-noto-cjk holds the
# face the windows take where "Meiryo UI" is missing (ui/font_face.h).
QUILLOMI_PACKAGES=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  wine wine64 xvfb x11-utils locales fonts-noto-cjk imagemagick
  clang libclang-rt-14-dev
)

ensure_packages() {
  local missing=() pkg
  for pkg in "${QUILLOMI_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# Wine takes its ANSI code page from the locale: without a generated ja_JP.UTF-8
# it silently falls back to 1252.
ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    log "generating the ja_JP.UTF-8 locale"
    if grep -q '^# *ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
      as_root sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    elif ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
      echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
  fi
}

configure_and_build() {
  local preset
  for preset in "$@"; do
    local dir
    case $preset in
      native) dir=$QUILLOMI_BUILD/native ;;
      windows-cross) dir=$QUILLOMI_BUILD/win64 ;;
      sanitize) dir=$QUILLOMI_BUILD/sanitize ;;
      fuzz) dir=$QUILLOMI_BUILD/fuzz ;;
    esac
    if [ ! -f "$dir/build.ninja" ]; then
      log "configuring $preset"
      cmake --preset "$preset" -S "$QUILLOMI_ROOT" -B "$dir" >/dev/null
    fi
    log "building $preset"
    cmake --build "$dir" -j"$JOBS"
  done
}

# Configures a tree when needed and builds only the given targets of it.
build_targets() {
  local preset=$1 dir
  shift
  case $preset in
    native) dir=$QUILLOMI_BUILD/native ;;
    windows-cross) dir=$QUILLOMI_BUILD/win64 ;;
  esac
  if [ ! -f "$dir/build.ninja" ]; then
    log "configuring $preset"
    cmake --preset "$preset" -S "$QUILLOMI_ROOT" -B "$dir" >/dev/null
  fi
  log "building $preset: $*"
  cmake --build "$dir" -j"$JOBS" --target "$@"
}

# clang with its libFuzzer runtime, which the fuzz targets link.
fuzzer_available() {
  command -v clang++ >/dev/null 2>&1 &&
    printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' |
      clang++ -x c++ -fsanitize=fuzzer - -o /dev/null >/dev/null 2>&1
}

wine_env() {
  export WINEPREFIX=$QUILLOMI_BUILD/wineprefix
  export WINEARCH=win64 WINEDEBUG=-all
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 2>/dev/null
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

QUILLOMI_STARTED_XVFB=
QUILLOMI_STARTED_WINESERVER=

# A private X server on a free display; its number comes back through -displayfd.
start_xvfb() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 1 -screen 0 1600x900x24 -nolisten tcp >"$fd_file" 2>/dev/null &
  QUILLOMI_STARTED_XVFB=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.05
  done
  export DISPLAY=:$(head -n1 "$fd_file")
  rm -f "$fd_file"
  log "Xvfb on $DISPLAY"
}

# The prefix is made once and kept under the build folder. Keyboard focus without
# a window manager needs Wine's virtual desktop.
ensure_wine_prefix() {
  wine_env
  if [ ! -f "$WINEPREFIX/.quillomi-ready" ]; then
    log "preparing the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x900 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.quillomi-ready"
  fi
}

# The first Wine process of a session starts Wine's services, which live on and
# inherit its output handles: started here with no pipe attached, they cannot
# keep a test runner waiting for a test's output to close.
start_wineserver() {
  wine_env
  wineserver -p
  QUILLOMI_STARTED_WINESERVER=1
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
  # Likewise the virtual desktop, which the first window of a session starts.
  wine explorer.exe /desktop=Default,1600x900 </dev/null >/dev/null 2>&1 &
  local i
  for i in $(seq 1 100); do
    pgrep -f 'explorer.exe /desktop' >/dev/null && break
    sleep 0.05
  done
}

stop_services() {
  if [ -n "$QUILLOMI_STARTED_WINESERVER" ]; then
    wineserver -k 2>/dev/null || true
    QUILLOMI_STARTED_WINESERVER=
  fi
  if [ -n "$QUILLOMI_STARTED_XVFB" ]; then
    kill "$QUILLOMI_STARTED_XVFB" 2>/dev/null || true
    wait "$QUILLOMI_STARTED_XVFB" 2>/dev/null || true
    QUILLOMI_STARTED_XVFB=
  fi
}
