#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds zevdlg and starts it on the shipped sample dialogue.
# Without a display it runs under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset release
cmake --build --preset release
dist=build/release/dist
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  exec xvfb-run -a "$dist/zevdlg" "$dist/dialogue/sample.zev" "$@"
fi
exec "$dist/zevdlg" "$dist/dialogue/sample.zev" "$@"
