# Shared by run.sh and test.sh: installs the Debian packages the build needs,
# only those that are missing, with sudo when not root. The window's English
# needs lrelease (qt6-l10n-tools) and its CMake functions (qt6-tools-dev).
MORVANE1_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev fonts-dejavu-core xvfb xauth
  qt6-l10n-tools qt6-tools-dev
  libgtest-dev libgmock-dev libbenchmark-dev libqd-dev
  desktop-file-utils appstream dpkg-dev file lintian
)
# Only the tests use these: the package test presses "схема" in the
# installed window under Xvfb, compares the picture it shows and reads its
# icon and class (xprop); the README's test spreads a sweep with GNU parallel.
MORVANE1_TEST_PACKAGES=(xdotool imagemagick x11-utils parallel)

morvane1_install_missing() {
  local missing=()
  local p
  for p in "${MORVANE1_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
