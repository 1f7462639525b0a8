# SPDX-License-Identifier: MIT
# Sourced by the scripts that run Windows programs: `wine_session_start` gives them the project's
# own wine prefix (build/wine, made once, after the wine packages are in) and one wineserver that
# lives until the sourcing script exits, on a virtual X display of its own (Xvfb), so dialogs and
# message boxes open as they would for a user (without Xvfb: no display, and they fail at once).
# Every wine step has a time limit, so a hung Windows program cannot hold up the run.

wine_session_stop() {
  timeout 30 wineserver -k 2>/dev/null || true
  timeout 30 wineserver -w 2>/dev/null || true
  if [[ -n ${WINE_SESSION_XVFB_PID:-} ]]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
}

# Starts Xvfb on a free display number and exports DISPLAY; nothing when Xvfb is missing.
wine_session_display() {
  unset DISPLAY WAYLAND_DISPLAY
  command -v Xvfb >/dev/null || return 0
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$number_file" >/dev/null 2>&1 &
  WINE_SESSION_XVFB_PID=$!
  local try
  for try in $(seq 100); do
    [[ -s $number_file ]] && break
    sleep 0.1
  done
  if [[ -s $number_file ]]; then
    export DISPLAY=":$(head -1 "$number_file")"
  fi
  rm -f "$number_file"
}

wine_session_start() {
  export WINEPREFIX="$PWD/build/wine" WINEARCH=win64 WINEDEBUG=-all
  # Neither .NET nor a browser engine is needed, so wine offers to install neither.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  trap wine_session_stop EXIT
  wine_session_display

  # A prefix left by another wine version is made anew rather than upgraded on the fly.
  local stamp="$WINEPREFIX/.made-by"
  if [[ ! -f $stamp || $(cat "$stamp") != "$(wine --version)" ]]; then
    echo "== making the wine prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    timeout 300 wineboot --init
    # A Windows program that crashes ends there, instead of waiting in the debugger.
    local view
    for view in 'HKLM\Software' 'HKLM\Software\Wow6432Node'; do
      timeout 60 wine reg delete "$view\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" \
        /v Debugger /f >/dev/null 2>&1 || true
    done
    timeout 120 wineserver -w
    wine --version >"$stamp"
  fi

  # One server for the whole session, so each program starts in a fraction of a second. The first
  # program starts wine's own background services, which would inherit and hold open the output
  # of whatever started them; started here, they hold /dev/null instead of a test's output.
  timeout 30 wineserver -p
  timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null
}
