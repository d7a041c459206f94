#!/bin/sh
# ardour_session.sh ARDOUR-LUA SCRIPT DIR: runs the Ardour session script in
# a fresh DIR. Ardour 7 itself now and then aborts while it sets up a new
# track's ports ("Port already exists"), more often on a busy machine, before
# any plug-in code has run: that abort is Ardour's, so the run is tried again,
# up to three times. Any other failure fails at once.
lua=$1 script=$2 dir=$3
for attempt in 1 2 3; do
  rm -rf "$dir"
  out=$("$lua" "$script" "$dir" 2>&1)
  case $out in
    *"ardour session: ok"*) printf '%s\n' "$out"; exit 0 ;;
    *"Port already exists"*) echo "ardour_session.sh: attempt $attempt: Ardour aborted setting up its ports" ;;
    *) printf '%s\n' "$out"; exit 1 ;;
  esac
done
printf '%s\n' "$out"
exit 1
