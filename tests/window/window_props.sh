#!/usr/bin/env bash
# Starts the program in a real window on the current X display with the about box open,
# and prints what the window manager is told about each window:
#   main X Y WIDTH HEIGHT CLASS TRANSIENT ICON
#   dialog TRANSIENT_IS_MAIN
# then the program's standard error.
#   window_props.sh DALVO DATA WORK [ARG…]
set -u
DALVO=$1 DATA=$2 WORK=$3
shift 3
rm -rf "$WORK"; mkdir -p "$WORK"; cp -r "$DATA" "$WORK/data"
printf 'idle\nmenu vvrr\nidle\n' >"$WORK/s.script"
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$DALVO" --data "$WORK/data" --input "$WORK/s.script" "$@" \
    >/dev/null 2>"$WORK/stderr.txt" &
GAME=$!
for _ in $(seq 150); do
    [ "$(xdotool search --onlyvisible --pid "$GAME" 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.1
done
sleep 0.3
main=$(xdotool search --onlyvisible --name '^DALVO!$' | head -1)
[ -n "$main" ] || { kill "$GAME"; echo "no window"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$main")"
prop() { xprop -id "$1" -notype -f "$2" "$3" "$4" "$2" | sed 's/^[^=:]*[=:] *//'; }
echo "main $X $Y $WIDTH $HEIGHT $(prop "$main" WM_CLASS 8s '=$0,$1') $(prop "$main" WM_TRANSIENT_FOR 32x '=$0') $(prop "$main" _NET_WM_ICON 32c '=$0,$1')"
for id in $(xdotool search --onlyvisible --pid "$GAME"); do
    [ "$id" = "$main" ] && continue
    owner=$(prop "$id" WM_TRANSIENT_FOR 32x '=$0')
    [ "$((owner))" = "$main" ] 2>/dev/null && echo "dialog yes" || echo "dialog no ($owner)"
done
kill "$GAME"; wait "$GAME" 2>/dev/null
cat "$WORK/stderr.txt"
echo
