# Sourced by the Windows scripts: a quiet Wine in its own prefix outside the checkout.
# wine_start boots the prefix once and leaves a persistent wineserver with its services
# running: ctest hangs on the pipes they would otherwise hold open after the first test.
export WINEPREFIX="${DALVO_WINEPREFIX:-$HOME/.cache/dalvo-win/wine}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winealsa.drv,winepulse.drv=d;mscoree,mshtml="

wine_start() {
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  wineserver -p 2>/dev/null || true  # one may be running already
  wine cmd /c exit >/dev/null 2>&1
}

# Ends that server and every program of the prefix.
wine_stop() {
  wineserver -k 2>/dev/null || true
}
