#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Idempotent: apt-get update runs only when something is missing.
set -euo pipefail

PACKAGES=(
  cmake g++ make ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libssl-dev libsqlite3-dev libxml2-dev zlib1g-dev libprotobuf-c-dev
  libsimdjson-dev nlohmann-json3-dev libcurl4-openssl-dev libcpp-httplib-dev libcairo2-dev libpoppler-glib-dev
  libpng-dev libjpeg62-turbo-dev libgif-dev
  fonts-dejavu-core
  clang libclang-rt-14-dev
  jq procps
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
