#!/usr/bin/env bash
# Checks a built zevdlg .deb without installing it: unpacks it into a scratch root, runs the unpacked
# zevdlg-cli (--version, check on the packaged sample) and the unpacked zevdlg offscreen under an
# empty HOME until its log says "Init complete.", and fails if either wrote into the unpacked tree.
#   tools/check-package.sh build/release/zevdlg_0.25.4_amd64.deb
set -euo pipefail
deb=${1:?usage: tools/check-package.sh PACKAGE.deb}
scratch=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

root=$scratch/root
dpkg-deb -I "$deb"
dpkg-deb -c "$deb"
dpkg -x "$deb" "$root"
for f in usr/bin/zevdlg usr/bin/zevdlg-cli usr/share/zevdlg/ZEVDlg.ini usr/share/zevdlg/messages.dat \
  usr/share/zevdlg/dialogue/sample.zev usr/share/zevdlg/plugins/Utility_relabelplug.so \
  usr/share/zevdlg/doc/index.html usr/share/applications/zevdlg.desktop usr/share/mime/packages/zevdlg.xml \
  usr/share/icons/hicolor/scalable/apps/zevdlg.svg; do
  [ -e "$root/$f" ] || { echo "check-package: the package lacks /$f" >&2; exit 1; }
done
ls "$root"/usr/share/man/man1/zevdlg-cli.1* >/dev/null
before=$(cd "$root" && find . -printf '%p %s %T@\n' | sort)

mkdir "$scratch/home"
export HOME=$scratch/home
unset ZEVDLG_HOME XDG_CONFIG_HOME XDG_STATE_HOME XDG_DATA_HOME
cli=$root/usr/bin/zevdlg-cli
version=$("$cli" --version)
want="zevdlg $(dpkg-deb -f "$deb" Version)"
case "$version" in
  "$want"*) echo "check-package: $version" ;;
  *) echo "check-package: --version printed '$version', the package is $want" >&2; exit 1 ;;
esac
"$cli" check "$root/usr/share/zevdlg/dialogue/sample.zev"

log=$HOME/.local/state/zevdlg/debug.log
QT_QPA_PLATFORM=offscreen "$root/usr/bin/zevdlg" >"$scratch/zevdlg.out" 2>&1 &
pid=$!
for _ in $(seq 1 120); do
  grep -qs "Init complete." "$log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=""
if ! grep -qs "Init complete." "$log"; then
  echo "check-package: the unpacked zevdlg did not reach \"Init complete.\" in $log" >&2
  cat "$scratch/zevdlg.out" >&2
  [ -f "$log" ] && cat "$log" >&2
  exit 1
fi
[ -f "$HOME/.config/zevdlg/ZEVDlg.ini" ] || { echo "check-package: ZEVDlg.ini was not seeded" >&2; exit 1; }

after=$(cd "$root" && find . -printf '%p %s %T@\n' | sort)
if [ "$before" != "$after" ]; then
  echo "check-package: the program wrote into its installed folders:" >&2
  diff <(echo "$before") <(echo "$after") >&2 || true
  exit 1
fi
echo "check-package: $(basename "$deb") unpacks, starts and writes only under HOME"
