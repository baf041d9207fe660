# Shared by run.sh and test.sh: install what is missing, configure and build.

kvr_packages=(cmake g++ make pkg-config qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite
  libqt6svg6 libgl-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev sdcc srecord)

# kvr_install_packages [PACKAGE...]: the project's packages and those named.
kvr_install_packages() {
  local missing=()
  for p in "${kvr_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# kvr_configure_and_build DIR [CMAKE-ARG...] [-- TARGET...]
kvr_configure_and_build() {
  local dir=$1
  shift
  local cmake_args=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do cmake_args+=("$1"); shift; done
  [ $# -gt 0 ] && shift && targets=("$@")
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_args[@]}" >/dev/null
  cmake --build "$dir" -j"$(nproc)" ${targets[@]+--target "${targets[@]}"}
}
