#!/usr/bin/env bash
# Installs every Debian package that building, testing, fuzzing and running Ondrel need.
# As root it installs them; otherwise it prints the line to run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev libssl-dev zlib1g-dev
  libpcre2-dev libcpp-httplib-dev openssl
  libpng-dev libjpeg62-turbo-dev libgif-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqt6svg6 qt6-qpa-plugins
  xvfb xauth fonts-noto-cjk imagemagick
  dbus at-spi2-core python3-gi gir1.2-atspi-2.0
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages; run:" >&2
  echo "sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
