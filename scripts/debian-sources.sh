# Debian's source packages for the dependency builds, sourced by them:
#   debian_sources CACHE_ROOT WHO PACKAGE...
# reads the sources through a private sources list and state folder under
# CACHE_ROOT/apt, so that the machine's own apt configuration is left as it is, and
# sets APT (the apt-get command that uses them) and versions ("package=version ...",
# the versions the list offers, for the cache's key).
debian_sources() {
  local cache=$1 who=$2
  shift 2
  mkdir -p "$cache/apt/lists/partial" "$cache/apt/archives/partial"
  local list="$cache/apt/sources.list"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" > "$list"
  APT=(apt-get -q -o Dir::Etc::SourceList="$list" -o Dir::Etc::SourceParts=/dev/null
       -o Dir::State::Lists="$cache/apt/lists" -o Dir::Cache::Archives="$cache/apt/archives"
       -o APT::Sandbox::User=root)
  if ! ls "$cache"/apt/lists/*Sources* >/dev/null 2>&1; then
    "${APT[@]}" update >&2
  fi
  versions=""
  local s v
  for s in "$@"; do
    v=$(apt-cache "${APT[@]:1}" showsrc "$s" 2>/dev/null | awk '/^Version:/ && !v {v=$2} END {print v}')
    [ -n "$v" ] || { echo "$who: no source version for $s" >&2; exit 1; }
    versions+="$s=$v "
  done
}
