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
  # Xvfb picks a free display and writes its number to the file once it is ready.
  rm -f "$dir/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 200); do
    [ -s "$dir/display" ] && break
    sleep 0.05
  done
  display=$(head -n 1 "$dir/display" 2>/dev/null | tr -d '[:space:]')
  [ -n "$display" ] || { echo "Xvfb did not start" >&2; cat "$dir/xvfb.log" >&2; kill "$xvfb_pid" 2>/dev/null; exit 1; }
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
  # No window manager runs on this screen: Wine is told so, or it waits two
  # seconds for one each time a top-level window (a form) is hidden.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # Buttons in Windows' own face colour, which the simulator's scheme follows
  # (Wine's theme lightens it): the add-in paints an empty history swatch in it.
  wine reg add 'HKCU\Control Panel\Colors' /v ButtonFace /t REG_SZ /d '240 240 240' /f >/dev/null 2>&1
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
