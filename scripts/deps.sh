# Installs the Debian packages the build and tests need, when some are missing.
# Sourced by scripts/play and scripts/test.

ZORVEX_PACKAGES=(
  cmake g++ make pkg-config
  libsdl2-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xdotool imagemagick gifsicle x11-utils sox
  zlib1g-dev libpng-dev dpkg-dev desktop-file-utils
)
# Only for the Windows build (the cross compilers and zip) and its checks under Wine: neither
# scripts/play nor a plain build asks for them.
ZORVEX_WINDOWS_BUILD_PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix libz-mingw-w64-dev zip unzip)
ZORVEX_WINDOWS_TEST_PACKAGES=(wine wine64 openbox)

# Only for the browser build and its checks; scripts/play never needs them.
ZORVEX_WEB_PACKAGES=(emscripten nodejs chromium)

zorvex_install_web_deps() {
  zorvex_install_deps "${ZORVEX_WEB_PACKAGES[@]}"
}

# Installs the packages named, or ZORVEX_PACKAGES when none are.
zorvex_install_deps() {
  local missing=()
  local pkg
  local wanted=("$@")
  [ $# -eq 0 ] && wanted=("${ZORVEX_PACKAGES[@]}")
  for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Zorvex needs these packages. Please run, as root:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null || return 1
  apt-get install -y -q -o DPkg::Lock::Timeout=600 "${missing[@]}" >/dev/null || return 1
}
