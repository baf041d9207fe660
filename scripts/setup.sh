# Shared by run.sh and test.sh: install what is missing, configure and build.

kvr_packages=(cmake g++ make pkg-config qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite
  libgl-dev libgtest-dev libgmock-dev libbenchmark-dev sdcc srecord)

kvr_install_packages() {
  local missing=()
  for p in "${kvr_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

kvr_configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}
