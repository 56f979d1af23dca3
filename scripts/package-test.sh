#!/usr/bin/env bash
# The Debian package as a player meets it: made from a build folder by CPack, linted,
# installed with apt-get, its game played headless by an ordinary user to the title and
# through one save (which must land in that user's own folder, with nothing under /usr
# changed), its desktop entry started under a virtual X server, then purged.
#   scripts/package-test.sh [BUILD]      (default: build, as scripts/test.sh configures it)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${1:-build}
./scripts/setup.sh package
export DEBIAN_FRONTEND=noninteractive

cmake --build "$BUILD" -j"$(nproc)" --target dalvo dalvo-check dist
rm -f "$BUILD"/dalvo_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
deb=$(echo "$ROOT/$BUILD"/dalvo_*.deb)
echo "== $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB; Depends: $(dpkg-deb -f "$deb" Depends)"
lintian --fail-on error,warning "$deb"
appstreamcli validate --no-net packaging/org.dalvo.dalvo.metainfo.xml
desktop-file-validate packaging/dalvo.desktop

if dpkg-query -W -f='${Status}' dalvo 2>/dev/null | grep -q 'install ok installed'; then
  echo "package-test: dalvo is installed already; it would be replaced and purged" >&2
  exit 1
fi
apt-get install -y -qq "$deb" >/dev/null
trap 'apt-get purge -y -qq dalvo >/dev/null 2>&1 || true' EXIT

# The player: nobody, whose own folders are in a fresh home.
home=$(mktemp -d)
chmod 755 "$home"
cp tests/web/save.script "$home/save.script"
printf 'idle\ndump title\n' >"$home/title.script"
chown -R 65534:65534 "$home"
as_player() {
  setpriv --reuid=65534 --regid=65534 --clear-groups \
    env -i PATH=/usr/games:/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/share" XDG_CONFIG_HOME="$home/config" \
    SDL_AUDIODRIVER=dummy "$@"
}
for play in title save; do
  as_player dalvo --headless --input "$home/$play.script" --out "$home/out"
done
grep -q '"waiting":"title"' "$home/out/title.json" || { echo "package-test: no title" >&2; exit 1; }
saves=$(find "$home/share/dalvo" -type f 2>/dev/null | wc -l)
[ "$saves" -gt 0 ] || { echo "package-test: the save is not in the player's folder" >&2; exit 1; }
# dpkg checks every installed file against the package; a file added beside them shows too.
changed=$(dpkg --verify dalvo)
[ -z "$changed" ] || { echo "package-test: the play changed installed files:" >&2; echo "$changed" >&2; exit 1; }
[ "$(find /usr/share/dalvo -type f | wc -l)" -eq "$(dpkg -L dalvo | grep -c '^/usr/share/dalvo/')" ] ||
  { echo "package-test: the play added files to /usr/share/dalvo" >&2; exit 1; }

# The desktop entry's command starts the game window.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/dalvo.desktop)
as_player xvfb-run -a -s "-screen 0 1024x768x24" sh -c \
  "$exec_line 2>/dev/null & pid=\$!; timeout 30 xdotool search --sync --limit 1 --class dalvo >/dev/null; found=\$?; kill \$pid; exit \$found" ||
  { echo "package-test: the desktop entry did not open the game window" >&2; exit 1; }

apt-get purge -y -qq dalvo >/dev/null
trap - EXIT
if [ -e /usr/games/dalvo ] || [ -e /usr/share/dalvo ]; then
  echo "package-test: the purge left files behind" >&2
  exit 1
fi
rm -rf "$home"
echo "package-test: built, linted, installed, played ($saves file(s) in the player's folder), launched and purged"
