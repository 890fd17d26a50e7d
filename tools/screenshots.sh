#!/bin/sh
# Pictures of every window into doc/screenshots/*.png, from the default preset's build.
#   tools/screenshots.sh            offscreen (no display needed)
#   ZEV_SCREENSHOTS_XVFB=1 tools/screenshots.sh   under xvfb-run instead
#   ZEV_BUILD_DIR=build/other tools/screenshots.sh another configured build folder
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/${ZEV_BUILD_DIR:-build/default}"
if [ ! -f "$build/CMakeCache.txt" ]; then
    (cd "$root" && cmake --preset default)
fi
cmake --build "$build" -j2 --target zev_screenshots
mkdir -p "$root/doc/screenshots"
if [ "${ZEV_SCREENSHOTS_XVFB:-0}" = 1 ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$build/tools/screenshots/zev_screenshots" \
        "$build/dist" "$root/doc/screenshots"
fi
QT_QPA_PLATFORM=offscreen exec "$build/tools/screenshots/zev_screenshots" "$build/dist" "$root/doc/screenshots"
