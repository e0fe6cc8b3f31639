#!/bin/bash
# The test rig: a private Wine prefix, an Xvfb display and a persistent wineserver.
#   rig.sh up DIR [DISPLAY]  make the prefix (once) and start the display and wineserver;
#                            with DISPLAY, everything runs on that display instead
#   rig.sh down DIR          stop everything "up" started, by pid
#   rig.sh run DIR EXE...    run one Windows program in the rig
# Every Wine program of a prefix must use one display: Wine's desktop window
# lives on the display of the program that made it, and a program on another
# display cannot create its windows there (X error BadWindow).
# It also makes serial links for the tests: socat pty pairs whose ends are the
# COM ports COM3 <-> COM13 and COM12 <-> COM22 (server end <-> phone end). A
# pair whose phone end is closed ends, like a dropped Bluetooth link, and is
# made again at once under the same names, so a Connect can bring it back. COM6
# is a port whose reads fail until a test mends it (see start_serial_links).
set -u
command=$1
dir=$(realpath -m "$2")
shift 2
envfile=$dir/env

start_display() {
  for n in $(seq 90 199); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
    # In a session of its own: a Ctrl+C at the terminal must not end the display under Wine.
    setsid Xvfb :$n -nolisten tcp -screen 0 1024x768x24 >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 50); do
      [ -e /tmp/.X11-unix/X$n ] && { echo ":$n"; return 0; }
      kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
  done
  return 1
}

make_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  wineboot -i >"$dir/wineboot.log" 2>&1 </dev/null
  wineserver -w
  # A crashing test program must end, not wait for someone at a crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1
  # A virtual desktop with its own taskbar: without it every tray icon call waits
  # for an X11 system tray that Xvfb does not have.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
}

# Keeps one pty pair alive until the rig goes down: the server's end and the phone's.
serial_pair() {
  local server=$1 phone=$2
  while [ -f "$dir/serial.on" ]; do
    socat pty,raw,echo=0,link="$server" pty,raw,echo=0,link="$phone" 2>/dev/null
    sleep 0.2
  done
}

start_serial_links() {
  touch "$dir/serial.on"
  for pair in 3:13 12:22; do
    server=${pair%:*} phone=${pair#*:}
    ln -sfn "$dir/com$server" "$WINEPREFIX/dosdevices/com$server"
    ln -sfn "$dir/com$phone" "$WINEPREFIX/dosdevices/com$phone"
    serial_pair "$dir/com$server" "$dir/com$phone" </dev/null >/dev/null 2>&1 &
    echo $! >>"$dir/serial.pids"
  done
  # COM6 opens, but every read from it fails at once (its device is /dev/null), as
  # on a Bluetooth port whose link has gone. A test mends it by renaming the folder
  # port6-working, whose port pairs with COM16, to port6 (and back when done).
  rm -rf "$dir/port6" "$dir/port6-working" "$dir/port6-failing"
  mkdir -p "$dir/port6" "$dir/port6-working"
  ln -sfn /dev/null "$dir/port6/device"
  ln -sfn "$dir/port6/device" "$WINEPREFIX/dosdevices/com6"
  ln -sfn "$dir/com16" "$WINEPREFIX/dosdevices/com16"
  serial_pair "$dir/port6-working/device" "$dir/com16" </dev/null >/dev/null 2>&1 &
  echo $! >>"$dir/serial.pids"
  # COM9 stays missing, for the tests of a port that does not exist.
  rm -f "$WINEPREFIX/dosdevices/com9"
  for _ in $(seq 50); do
    [ -e "$dir/com3" ] && [ -e "$dir/com12" ] && [ -e "$dir/com16" ] && return 0
    sleep 0.1
  done
}

up() {
  down 2>/dev/null
  mkdir -p "$dir"
  if [ -n "${1:-}" ]; then
    display=$1
  else
    display=$(start_display) || { echo "rig: no free X display" >&2; exit 1; }
  fi
  cat >"$envfile" <<EOT
export WINEPREFIX='$dir/prefix'
export DISPLAY='$display'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
EOT
  . "$envfile"
  make_prefix
  wineserver -p >/dev/null 2>&1 </dev/null
  # Wine's own services start with the first program and keep its output open;
  # start them here, detached, so test output pipes close when a test ends.
  wineboot >/dev/null 2>&1 </dev/null
  start_serial_links
  echo "rig: up on display $DISPLAY, prefix $WINEPREFIX"
}

down() {
  rm -f "$dir/serial.on"
  if [ -f "$dir/serial.pids" ]; then
    for pid in $(cat "$dir/serial.pids"); do
      children=$(ps -o pid= --ppid "$pid" 2>/dev/null)
      kill "$pid" $children 2>/dev/null
    done
    rm -f "$dir/serial.pids"
  fi
  # Also a wineserver that a program started while the rig was down.
  [ -d "$dir/prefix" ] && WINEPREFIX=$dir/prefix wineserver -k 2>/dev/null
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null
    rm -f "$dir/xvfb.pid"
  fi
  rm -f "$envfile"
  return 0
}

run() {
  [ -f "$envfile" ] || { echo "rig: not up (run 'rig.sh up $dir' or the ctest fixture)" >&2; exit 1; }
  . "$envfile"
  # Once in many runs on a busy machine, wine has failed at once, silently,
  # before the program wrote a byte. Such a program never ran: it is said and
  # run once more, with Wine's errors shown should it fail again.
  local output status
  output=$(mktemp)
  wine "$@" | tee "$output"
  status=${PIPESTATUS[0]}
  if [ "$status" -ne 0 ] && [ ! -s "$output" ]; then
    echo "rig: $1 failed ($status) before writing anything; running it once more" >&2
    WINEDEBUG=err+all wine "$@"
    status=$?
  fi
  rm -f "$output"
  return "$status"
}

case $command in
  up) up "$@" ;;
  down) down ;;
  run) run "$@" ;;
  *) echo "usage: rig.sh up|down|run DIR [EXE ARGS...]" >&2; exit 2 ;;
esac
