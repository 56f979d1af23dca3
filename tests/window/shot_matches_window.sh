#!/usr/bin/env bash
# Runs the program in a real window on the current X display with a script that ends
# in `shot title`, captures the screen while the window is still open, and prints how
# many pixels of the window's client area differ from the shot.
#   shot_matches_window.sh DALVO DATA WORK
set -u
DALVO=$1 DATA=$2 WORK=$3
rm -rf "$WORK"; mkdir -p "$WORK/out"; cp -r "$DATA" "$WORK/data"
printf 'idle\nshot title\n' >"$WORK/s.script"
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$DALVO" --data "$WORK/data" --out "$WORK/out" --input "$WORK/s.script" >/dev/null 2>&1 &
GAME=$!
for _ in $(seq 100); do [ -f "$WORK/out/title.png" ] && break; sleep 0.1; done
sleep 0.5  # the script's last turn presents before the window is read
id=$(xdotool search --name 'DALVO' | head -1)
[ -n "$id" ] || { kill "$GAME"; echo "no window"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$id")"
import -window root "$WORK/root.png"
kill "$GAME"; wait "$GAME" 2>/dev/null
MENU=$((HEIGHT - 480))  # the menu bar above the 640 x 480 client area
convert "$WORK/root.png" -crop "640x480+$X+$((Y + MENU))" +repage "$WORK/client.png"
compare -metric AE "$WORK/client.png" "$WORK/out/title.png" null: 2>&1
echo
