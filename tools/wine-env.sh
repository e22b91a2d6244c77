#!/usr/bin/env bash
# The private Wine environment of one build tree: a virtual X display (Xvfb), a Wine prefix kept inside the
# build tree and a persistent wineserver with RpcSs running. It never uses the caller's DISPLAY, WINEPREFIX or
# ~/.wine (unless told to use a display, below), and it does not build anything.
#
#   tools/wine-env.sh start  [BUILD_DIR]   bring everything up (idempotent, serialised by a lock)
#   tools/wine-env.sh stop   [BUILD_DIR]   end the wineserver, all Wine processes of the prefix, and Xvfb
#   tools/wine-env.sh env    [BUILD_DIR]   print the export lines of a running environment, for eval
#   tools/wine-env.sh status [BUILD_DIR]   exit 0 when the environment is up
#   source tools/wine-env.sh [BUILD_DIR]   start, then export DISPLAY, WINEPREFIX, ... into the calling shell
#
# BUILD_DIR defaults to $LUMORRA_BUILD_DIR, else build/mingw-x64 of this checkout. Everything lives under it:
#   BUILD_DIR/wine-prefix   the prefix (made once, remade when Wine's version or the recipe below changes)
#   BUILD_DIR/wine-env/     display, process ids (Xvfb, trayer), logs, the lock, the locale, and `env`
#
# On Xvfb a notification area (trayer, bottom right) is started too, so that tray icons dock as on a desktop.
#
# LUMORRA_WINE_LINGER=N keeps the wineserver (and with it Xvfb) alive N seconds after the last Wine process
# ends; unset means until `stop`. wine-run.sh sets it when it has to bring the environment up by itself, so a
# plain `ctest` leaves nothing running for long.
# LUMORRA_WINE_DISPLAY=:0 uses that (real) display instead of an Xvfb, with a prefix of its own
# (BUILD_DIR/wine-prefix-display, BUILD_DIR/wine-env-display/) that lets the window manager do its work;
# tools/run.sh uses it when there is a display. Give it to every command (start, env, stop) of that environment.

# Bump when the prefix recipe changes: an existing prefix with another stamp is thrown away and made anew.
_lw_recipe=5

_lw_repo() { (cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd); }

_lw_init() {
  local build=${1:-${LUMORRA_BUILD_DIR:-$(_lw_repo)/build/mingw-x64}}
  mkdir -p "$build" || return 1
  _lw_build=$(cd "$build" && pwd)
  _lw_external=${LUMORRA_WINE_DISPLAY:-}
  if [ -n "$_lw_external" ]; then
    _lw_state=$_lw_build/wine-env-display
    _lw_prefix=$_lw_build/wine-prefix-display
  else
    _lw_state=$_lw_build/wine-env
    _lw_prefix=$_lw_build/wine-prefix
  fi
  mkdir -p "$_lw_state" || return 1
}

_lw_log() { printf '[wine-env] %s\n' "$*" >&2; }

# The variables every Wine command of the environment runs with.
# - Programs run as on a Chinese Windows: Wine takes the ANSI code page (936, GBK), the locale and the UI
#   language from LC_ALL. Its Unix side needs that locale in glibc too, or it converts command lines and file
#   names to ASCII ("??"); a private copy is made under BUILD_DIR/wine-env/locale (LOCPATH), leaving the
#   system's locales alone. LC_ALL goes to each Wine command (env LC_ALL=... wine) and is never exported into a
#   bash, which would warn that it cannot set a locale it does not find.
# - mscoree=d: no Mono install prompt; winemenubuilder.exe=d: no menu entries or file associations written into
#   the user's home. Wine's Gecko is not packaged by Debian and nothing here waits for its download prompt.
# - WINEDEBUG=-all also silences Debian's "wine32 is missing" hint, irrelevant for 64-bit programs.
_lw_wine_vars() {
  export WINEPREFIX=$_lw_prefix
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree=d;winemenubuilder.exe=d"
  export LUMORRA_WINE_LOCALE=${LUMORRA_WINE_LOCALE:-zh_CN.UTF-8}
  export LOCPATH=$_lw_state/locale
  unset WAYLAND_DISPLAY WINELOADER WINESERVER
}

# Process id of the wineserver of our prefix, found by the directory it runs in: server-DEV-INODE (of the prefix)
# under a temporary directory whose name varies between Wine builds (/tmp/.wine-UID, /tmp/wine-XXXXXX).
_lw_server_pid() {
  [ -d "$_lw_prefix" ] || return 1
  local dev ino suffix p comm
  read -r dev ino < <(stat -c '%d %i' "$_lw_prefix") || return 1
  suffix=$(printf '/server-%x-%x' "$dev" "$ino")
  for p in /proc/[0-9]*; do
    # read, not cat: this runs before every test program, and a fork per process would cost a third of a second.
    read -r comm 2>/dev/null <"$p/comm" || continue
    case "$comm" in wineserver*) ;; *) continue ;; esac
    case "$(readlink "$p/cwd" 2>/dev/null)" in *"$suffix") echo "${p#/proc/}"; return 0 ;; esac
  done
  return 1
}

# A zombie counts as dead: the init of some containers never reaps orphans, so kill -0 alone is not enough.
_lw_alive() {
  local st
  [ -n "${1:-}" ] && st=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null) && [ "${st%% *}" != Z ]
}

_lw_display_alive() {
  local d pid
  d=$(cat "$_lw_state/display" 2>/dev/null) || return 1
  if [ -z "$_lw_external" ]; then
    pid=$(cat "$_lw_state/xvfb.pid" 2>/dev/null) || return 1
    _lw_alive "$pid" && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 1
  else
    [ "$d" = "$_lw_external" ] || return 1
  fi
  xdpyinfo -display "$d" >/dev/null 2>&1
}

_lw_start_display() {
  _lw_display_alive && return 0
  rm -f "$_lw_state/display" "$_lw_state/xvfb.pid"
  if [ -n "$_lw_external" ]; then
    if ! xdpyinfo -display "$_lw_external" >/dev/null 2>&1; then
      _lw_log "cannot open the display $_lw_external"; return 1
    fi
    echo "$_lw_external" >"$_lw_state/display"
    return 0
  fi
  local fdfile=$_lw_state/displayfd n=""
  : >"$fdfile"
  # -displayfd lets Xvfb pick a free display number and write it to us. The subshell makes Xvfb a child of init,
  # so neither CTest's process-tree kill nor the end of this script takes it down mid-run.
  # Xvfb makes no /tmp/.X*-lock with -displayfd, so its pid comes from here (setsid does not fork in a
  # background job, which is never a process-group leader).
  (setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
     3>"$fdfile" </dev/null >>"$_lw_state/xvfb.log" 2>&1 &
   echo $! >"$_lw_state/xvfb.pid.tmp")
  for _ in $(seq 100); do
    n=$(tr -dc '0-9' <"$fdfile")
    [ -n "$n" ] && break
    sleep 0.1
  done
  if [ -z "$n" ]; then
    _lw_log "Xvfb did not start; its log:"; tail -n 20 "$_lw_state/xvfb.log" >&2
    return 1
  fi
  local pid
  pid=$(cat "$_lw_state/xvfb.pid.tmp" 2>/dev/null)
  rm -f "$_lw_state/xvfb.pid.tmp"
  if ! _lw_alive "$pid" || [ "$(cat "/proc/$pid/comm" 2>/dev/null)" != Xvfb ]; then
    _lw_log "Xvfb on :$n has no live process"; return 1
  fi
  echo ":$n" >"$_lw_state/display"
  echo "$pid" >"$_lw_state/xvfb.pid"
  _lw_log "Xvfb :$n (pid $pid), 1280x1024x24"
}

# The notification area: Windows always has one, and Wine docks tray icons into an X one (XEMBED) when it finds
# it as a program adds its icon. trayer provides it at the bottom right; without it Wine has nowhere to show them.
_lw_tray_alive() {
  local pid
  pid=$(cat "$_lw_state/trayer.pid" 2>/dev/null) && _lw_alive "$pid" && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = trayer ]
}

_lw_start_tray() {
  [ -n "$_lw_external" ] && return 0
  _lw_tray_alive && return 0
  if ! command -v trayer >/dev/null 2>&1; then
    _lw_log "no trayer: tray icons will not be docked anywhere"
    return 0
  fi
  (setsid trayer --edge bottom --align right --widthtype pixel --width 240 --heighttype pixel --height 32 \
     --transparent false --expand false </dev/null >>"$_lw_state/trayer.log" 2>&1 &
   echo $! >"$_lw_state/trayer.pid")
  local _
  for _ in $(seq 50); do
    xdotool search --classname '^panel$' >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  _lw_log "trayer did not show its panel; log: $_lw_state/trayer.log"
}

_lw_make_locale() {
  local name=$LUMORRA_WINE_LOCALE dir=$_lw_state/locale
  case "$name" in C | C.* | POSIX) return 0 ;; esac
  [ -f "$dir/$name/LC_CTYPE" ] && return 0
  local lang=${name%%.*} charset=UTF-8
  [ "$lang" != "$name" ] && charset=${name#*.}
  mkdir -p "$dir"
  localedef -i "$lang" -f "$charset" "$dir/$name" >>"$_lw_state/locale.log" 2>&1
  if [ ! -f "$dir/$name/LC_CTYPE" ]; then
    _lw_log "could not make the locale $name (is the package locales installed?); log: $_lw_state/locale.log"
    _lw_log "Wine goes on with ASCII for Unix command lines and file names"
  fi
  return 0
}

_lw_stamp() { echo "recipe=$_lw_recipe display=${_lw_external:+external} $(wine --version 2>/dev/null)"; }

_lw_prefix_valid() {
  [ -f "$_lw_prefix/system.reg" ] && [ -f "$_lw_prefix/user.reg" ] &&
    [ -d "$_lw_prefix/drive_c/windows/system32" ] &&
    [ "$(cat "$_lw_prefix/.lumorra-stamp" 2>/dev/null)" = "$(_lw_stamp)" ]
}

_lw_make_prefix() {
  _lw_prefix_valid && return 0
  local t0=$SECONDS
  if [ -e "$_lw_prefix" ]; then
    _lw_log "prefix $_lw_prefix is stale or incomplete: making it anew"
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    rm -rf "$_lw_prefix"
  fi
  _lw_log "making Wine prefix $_lw_prefix"
  local log=$_lw_state/prefix.log reg=$_lw_state/prefix.reg
  # No window manager runs on Xvfb: Wine must neither wait for one to confirm focus nor let one frame its windows
  # (on a real display the window manager does its usual work). A crashing program ends at once instead of
  # opening a crash dialog nobody answers.
  local x11='"UseTakeFocus"="N"' managed='"Managed"="N"'
  [ -n "$_lw_external" ] && x11='"UseTakeFocus"="Y"' && managed='"Managed"="Y"'
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' "$x11" "$managed" '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' >"$reg"
  {
    timeout 180 env LC_ALL="$LUMORRA_WINE_LOCALE" wineboot -i &&
      timeout 60 env LC_ALL="$LUMORRA_WINE_LOCALE" wine regedit /S "Z:${reg//\//\\}" &&
      timeout 120 wineserver -w
  } </dev/null >>"$log" 2>&1
  local rc=$?
  if [ $rc -ne 0 ] || [ ! -f "$_lw_prefix/user.reg" ]; then
    _lw_log "making the prefix failed (exit $rc); log: $log"; tail -n 20 "$log" >&2
    wineserver -k >/dev/null 2>&1
    return 1
  fi
  if ! grep -qF "$x11" "$_lw_prefix/user.reg"; then
    _lw_log "the prefix's registry settings did not stick; log: $log"; return 1
  fi
  # Debian's Wine does not look in its own font folder (fonts-wine, /usr/share/wine/fonts): without Marlett,
  # Tahoma and the rest, captions show "0 1 r" for their buttons and texts take other metrics than on Windows.
  if [ -d /usr/share/wine/fonts ]; then
    cp -n /usr/share/wine/fonts/* "$_lw_prefix/drive_c/windows/Fonts/" 2>>"$log"
  else
    _lw_log "no /usr/share/wine/fonts (package fonts-wine): Wine draws with substitute fonts"
  fi
  _lw_stamp >"$_lw_prefix/.lumorra-stamp"
  _lw_log "prefix ready in $((SECONDS - t0)) s"
}

# Takes trayer and Xvfb down once the wineserver has ended (it ends by itself after LUMORRA_WINE_LINGER seconds
# idle).
_lw_start_watchdog() {
  local xvfb tray
  xvfb=$(cat "$_lw_state/xvfb.pid")
  tray=$(cat "$_lw_state/trayer.pid" 2>/dev/null)
  # shellcheck disable=SC2016
  (setsid bash -c 'alive() { local st; st=$(sed "s/.*) //" "/proc/$1/stat" 2>/dev/null) && [ "${st%% *}" != Z ]; }
                   while alive "$1"; do sleep 1; done; kill $3 "$2" 2>/dev/null' \
     lumorra-wine-watchdog "$1" "$xvfb" "$tray" </dev/null >/dev/null 2>&1 &)
}

_lw_write_env() {
  {
    printf 'export DISPLAY=%q\n' "$(cat "$_lw_state/display")"
    printf 'export WINEPREFIX=%q\n' "$_lw_prefix"
    printf 'export WINEARCH=win64\nexport WINEDEBUG=-all\n'
    printf 'export WINEDLLOVERRIDES=%q\n' "$WINEDLLOVERRIDES"
    printf '# Run Wine programs as: env LC_ALL="$LUMORRA_WINE_LOCALE" wine PROGRAM.exe\n'
    printf 'export LUMORRA_WINE_LOCALE=%q\n' "$LUMORRA_WINE_LOCALE"
    printf 'export LOCPATH=%q\n' "$LOCPATH"
    printf 'unset WAYLAND_DISPLAY WINELOADER WINESERVER\n'
  } >"$_lw_state/env.tmp" && mv -f "$_lw_state/env.tmp" "$_lw_state/env"
}

_lw_start_locked() {
  _lw_wine_vars
  _lw_make_locale
  _lw_start_display || return 1
  export DISPLAY
  DISPLAY=$(cat "$_lw_state/display")
  _lw_start_tray

  local spid
  spid=$(_lw_server_pid)
  if [ -n "$spid" ] && _lw_prefix_valid && [ -f "$_lw_state/ready" ] &&
     [ "$(cat "$_lw_state/ready")" = "$spid $DISPLAY" ]; then
    _lw_write_env
    return 0
  fi

  rm -f "$_lw_state/ready"
  if [ -n "$spid" ] && ! _lw_prefix_valid; then wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; fi
  _lw_make_prefix || return 1

  local t0=$SECONDS log=$_lw_state/server.log
  spid=$(_lw_server_pid)
  if [ -n "$spid" ]; then
    # A server of another session (or one started without a display) is running: replace it, so every Wine
    # process of the run sees this display.
    wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  fi
  # -p keeps the server (and with it services.exe, explorer.exe and RpcSs) between test programs.
  wineserver "-p${LUMORRA_WINE_LINGER:-}" </dev/null >>"$log" 2>&1
  spid=""
  for _ in $(seq 50); do spid=$(_lw_server_pid) && break; sleep 0.1; done
  if [ -z "$spid" ]; then _lw_log "wineserver did not start; log: $log"; return 1; fi

  # COM out of process needs RpcSs; "already started" (error 2182) is fine. Starting it here also brings up
  # services.exe and the desktop process, so they do not start later inside a test (whose output pipe CTest
  # would then wait on).
  timeout 60 env LC_ALL="$LUMORRA_WINE_LOCALE" wine net start rpcss </dev/null >>"$log" 2>&1
  local up=""
  for _ in $(seq 100); do
    if timeout 20 env LC_ALL="$LUMORRA_WINE_LOCALE" wine sc query rpcss </dev/null 2>>"$log" | grep -Eq "STATE +: +4 "; then up=1; break; fi
    sleep 0.2
  done
  if [ -z "$up" ]; then _lw_log "RpcSs does not run; log: $log"; return 1; fi
  # The desktop window belongs to explorer.exe, which the first program with a window starts: start it here.
  timeout 30 env LC_ALL="$LUMORRA_WINE_LOCALE" wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >>"$log" 2>&1

  [ -z "$_lw_external" ] && _lw_start_watchdog "$spid"
  echo "$spid $DISPLAY" >"$_lw_state/ready"
  _lw_write_env
  _lw_log "wineserver $spid up with RpcSs in $((SECONDS - t0)) s (prefix $_lw_prefix, DISPLAY $DISPLAY)"
}

lumorra_wine_start() {
  _lw_init "${1:-}" || return 1
  # -o: the lock stays with flock itself, so the daemons started under it (Xvfb, wineserver, Wine's services)
  # do not inherit it and hold it for ever.
  flock -o -w 600 "$_lw_state/lock" bash "$(_lw_repo)/tools/wine-env.sh" _start "$_lw_build" ||
    { _lw_log "bringing up the Wine environment of $_lw_build failed"; return 1; }
}

lumorra_wine_stop() {
  _lw_init "${1:-}" || return 1
  flock -o -w 120 "$_lw_state/lock" bash "$(_lw_repo)/tools/wine-env.sh" _stop "$_lw_build"
}

_lw_stop_locked() {
  _lw_wine_vars
  local pid
  if _lw_server_pid >/dev/null; then
    wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1
  fi
  if _lw_tray_alive; then kill "$(cat "$_lw_state/trayer.pid")" 2>/dev/null; fi
  rm -f "$_lw_state/trayer.pid"
  pid=$(cat "$_lw_state/xvfb.pid" 2>/dev/null)
  if _lw_alive "$pid" && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then kill "$pid" 2>/dev/null; fi
  rm -f "$_lw_state/xvfb.pid"
  rm -f "$_lw_state/ready" "$_lw_state/env" "$_lw_state/display"
}

lumorra_wine_status() {
  _lw_init "${1:-}" || return 1
  _lw_wine_vars
  _lw_display_alive && _lw_server_pid >/dev/null && [ -f "$_lw_state/env" ]
}

if [ "${BASH_SOURCE[0]}" != "$0" ]; then
  # Sourced: bring the environment up and take its variables into the calling shell.
  if lumorra_wine_start "${1:-}"; then
    # shellcheck disable=SC1091
    source "$_lw_state/env"
  else
    return 1
  fi
else
  set -u
  cmd=${1:-}
  shift || true
  case "$cmd" in
    start) lumorra_wine_start "${1:-}" ;;
    stop) lumorra_wine_stop "${1:-}" ;;
    env) lumorra_wine_status "${1:-}" && cat "$_lw_state/env" ;;
    status) lumorra_wine_status "${1:-}" ;;
    _start) _lw_init "$1" && _lw_start_locked ;;
    _stop) _lw_init "$1" && _lw_stop_locked ;;
    *) sed -n '2,24s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
  esac
fi
