#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run. Idempotent: when
# everything is present it only checks and returns.
set -euo pipefail

packages=(
    # build
    g++ cmake ninja-build pkg-config
    # tests, benchmarks and fuzzing
    libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    # application server storage and the command lines of the suite's programs
    libsqlite3-dev libcli11-dev
    # scripts and transcripts of the host shell
    nlohmann-json3-dev
)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "bootstrap: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
