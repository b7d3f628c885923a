# Sourced by run.sh and test.sh: installs the Debian packages the build and the
# tests need when any is missing (apt-get as root, through sudo otherwise).
# The fuzz targets' compiler is a list of its own, installed only by test.sh's
# fuzz run: `quillet_install_deps QUILLET_FUZZ_PACKAGES`.
QUILLET_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6svg6 libgl-dev libxkbcommon-dev libx11-dev
  libqscintilla2-qt6-dev
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei qt6-translations-l10n
  poppler-utils xvfb xauth
  php-cli python3
  universal-ctags
)
QUILLET_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# Installs the packages of the named list (QUILLET_PACKAGES by default).
quillet_install_deps() {
  local -n wanted="${1:-QUILLET_PACKAGES}"
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures (once) and builds the tree in build/ incrementally.
quillet_build() {
  local root build
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  build="${QUILLET_BUILD_DIR:-$root/build}"
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo || return 1
  fi
  cmake --build "$build" --parallel "$(nproc)" "$@"
}
