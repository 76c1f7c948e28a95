#!/usr/bin/env bash
# Sets up a Debian machine for Kestrix, builds it, then runs the application or the tests.
#   scripts/setup.sh run    install what is missing, build, start Kestrix on the sample tree
#   scripts/setup.sh test   install what is missing, build, run every test
# Safe to run again: installs only missing packages and builds incrementally.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mode="${1:-test}"

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  putty-tools            # psftp and plink, the transfer tools
  openssh-server         # the test SSH server
  util-linux iproute2    # unshare and ip for the test server's namespace
  xvfb xauth             # a display for the application where none is
  fonts-dejavu-core adwaita-icon-theme
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build="$here/build"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"

case "$mode" in
  test)
    cd "$build"
    ctest --output-on-failure -j"$(nproc)"
    ;;
  run)
    exec "$here/scripts/run-sample.sh" "$build/kestrix"
    ;;
  *)
    echo "usage: $0 run|test" >&2; exit 2 ;;
esac
