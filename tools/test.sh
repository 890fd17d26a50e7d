#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds zevdlg with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset default -DZEV_WERROR=ON
cmake --build --preset default
ctest --preset default
