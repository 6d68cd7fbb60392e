#!/usr/bin/env bash
# A private Windows desktop for the Windows-side tests: an Xvfb screen and a
# fresh Wine prefix in a temporary folder, started and stopped by the tests.
#   wine_session.sh start DIR   creates them and writes DIR/env
#   wine_session.sh run DIR CMD...   runs CMD inside them (wine PROGRAM, wine reg ...)
#   wine_session.sh stop DIR    ends the Wine server and the screen, removes the prefix
set -euo pipefail
action=$1 dir=$2
shift 2
case "$action" in
start)
  mkdir -p "$dir"
  [ -f "$dir/env" ] && "$0" stop "$dir" || true
  prefix=$(mktemp -d /tmp/rowtint-wine.XXXXXX)
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1280x800x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  display=""
  for _ in $(seq 1 100); do
    read -r -t 0.1 -u "$fd" display && break || true
  done
  [ -n "$display" ] || { echo "Xvfb did not start" >&2; kill "$xvfb_pid" 2>/dev/null; exit 1; }
  cat >"$dir/env" <<ENV
export WINEPREFIX=$prefix
export DISPLAY=:$display
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
XVFB_PID=$xvfb_pid
ENV
  # shellcheck disable=SC1091
  source "$dir/env"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  echo "wine prefix $WINEPREFIX on display $DISPLAY"
  ;;
run)
  # shellcheck disable=SC1091
  source "$dir/env"
  exec "$@"
  ;;
stop)
  [ -f "$dir/env" ] || exit 0
  # shellcheck disable=SC1091
  source "$dir/env"
  wineserver -k 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
  case "$WINEPREFIX" in /tmp/rowtint-wine.*) rm -rf "$WINEPREFIX" ;; esac
  rm -f "$dir/env"
  ;;
*) echo "usage: $0 start|run|stop DIR [CMD...]" >&2; exit 2 ;;
esac
