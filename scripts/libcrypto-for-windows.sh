#!/usr/bin/env bash
# Makes OpenSSL's libcrypto for the Windows build (mingw-w64, x86_64) from
# Debian's openssl source package, and prints the folder that holds it on
# standard output (messages go to standard error):
#
#   cmake ... -DQUIREN_LIBCRYPTO_ROOT="$(scripts/libcrypto-for-windows.sh)"
#
# The folder holds include/openssl/*.h, lib/libcrypto.a, LICENSE.txt (the
# tarball's licence, which the zip carries) and source.txt (where it came
# from and how it was configured).
#
# Never a downloaded binary: apt fetches the upstream tarball of the source
# package through a private configuration (its own sources list for this
# machine's Debian release, its own state, lists and cache, Debian's archive
# keyring) and checks it against Debian's signed index. The machine's own apt
# configuration is neither read nor changed, and no root rights are needed.
#
# The result is cached outside the checkout, in
# ${XDG_CACHE_HOME:-$HOME/.cache}/mu-quiren/libcrypto-mingw64/, keyed by the
# tarball's SHA-256 and this recipe: the first run on a machine builds it
# (about 2 minutes of processor time: 1 to 2 minutes on two idle cores, up
# to 7 when they are busy), later runs only ask the mirror whether Debian has
# a newer tarball (a few seconds). Without the network a build made before
# is used. Two runs at once take turns on a lock.
#
# Other mirrors: QUIREN_DEBIAN_MIRROR (default http://deb.debian.org/debian)
# and QUIREN_DEBIAN_SECURITY_MIRROR (http://deb.debian.org/debian-security).
set -euo pipefail
exec </dev/null

say() { printf 'libcrypto: %s\n' "$*" >&2; }
fail() { say "$*"; exit 1; }

triplet=x86_64-w64-mingw32
for tool in apt-get flock perl make tar sha256sum "$triplet-gcc" "$triplet-ar"; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup-debian.sh installs what the build needs)"
done
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
[ -r "$keyring" ] || fail "Debian's archive keyring $keyring is missing (package debian-archive-keyring)"
# shellcheck source=/dev/null
codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || fail "no VERSION_CODENAME in /etc/os-release: which Debian release is this?"

# What is built, and how. The recipe's fingerprint is part of the cache key,
# so a change here builds again rather than reusing an older result; a
# change to the build steps below must change the recipe text too.
#
# Configure on a Linux host takes only Unix-style absolute paths, and such a
# path ("/usr/local/ssl") means the current drive's root on Windows, where
# ordinary users may create folders; libcrypto looks there for openssl.cnf.
# So the Windows paths are given to make instead: a folder under Program
# Files, which only administrators may create. The program never loads a
# configuration anyway (no-autoload-config here, OPENSSL_INIT_NO_LOAD_CONFIG
# in block/strong/libcrypto_start.cpp), and loads no modules or engines.
install_top="C:/Program Files/mu-quiren/OpenSSL"
openssl_dir="$install_top/ssl"
# Only what the program calls: no shared library, tests, loadable modules,
# legacy algorithms, engines, deprecated interfaces, DSO loading or
# compression, and the TLS and PKI parts it never uses turned off.
options=(no-shared no-tests no-module no-legacy no-engine no-deprecated no-dso no-comp
  no-autoload-config no-ssl3 no-dtls no-srp no-ocsp no-cms no-ts no-ct)
compiler_version=$("$triplet-gcc" -dumpfullversion 2>/dev/null || "$triplet-gcc" -dumpversion)
recipe="mingw64 ${options[*]} INSTALLTOP=$install_top OPENSSLDIR=$openssl_dir gcc=$compiler_version"
recipe_id=$(printf '%s' "$recipe" | sha256sum | cut -c1-12)

cache=${XDG_CACHE_HOME:-$HOME/.cache}/mu-quiren/libcrypto-mingw64
mkdir -p "$cache"
exec 9>"$cache/lock"
if ! flock -n 9; then
  say "another run is building or checking libcrypto; waiting for it"
  flock 9
fi
# Left by a run that was killed: nobody else builds while we hold the lock.
rm -rf "$cache"/build.*

# ---- the private apt configuration --------------------------------------
apt_dir=$cache/apt
mkdir -p "$apt_dir/apt.conf.d" "$apt_dir/sources.list.d" "$apt_dir/preferences.d" \
  "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
: >>"$apt_dir/status"
mirror=${QUIREN_DEBIAN_MIRROR:-http://deb.debian.org/debian}
security_mirror=${QUIREN_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}
{
  echo "deb-src [signed-by=$keyring] $mirror $codename main"
  # The development suites have no updates or security suites of their own.
  if [ "$codename" != sid ]; then
    echo "deb-src [signed-by=$keyring] $mirror $codename-updates main"
    echo "deb-src [signed-by=$keyring] $security_mirror $codename-security main"
  fi
} >"$apt_dir/sources.list"
{
  # Nothing of the machine's apt configuration but its network settings
  # (proxies, retries), which CI machines may need to reach a mirror.
  apt-config dump Acquire::http Acquire::https Acquire::ftp Acquire::Retries \
    Acquire::ForceIPv4 Acquire::ForceIPv6 2>/dev/null || true
  cat <<CONF
Dir::Etc::Main "/dev/null";
Dir::Etc::Parts "$apt_dir/apt.conf.d";
Dir::Etc::SourceList "$apt_dir/sources.list";
Dir::Etc::SourceParts "$apt_dir/sources.list.d";
Dir::Etc::Preferences "/dev/null";
Dir::Etc::PreferencesParts "$apt_dir/preferences.d";
Dir::State "$apt_dir/state";
Dir::State::Status "$apt_dir/status";
Dir::Cache "$apt_dir/cache";
Acquire::Languages "none";
CONF
  # apt hands downloads to its unprivileged _apt user when run as root,
  # which cannot reach a cache in root's home; the signed index checks the
  # files either way.
  [ "$(id -u)" -ne 0 ] || echo 'APT::Sandbox::User "root";'
} >"$apt_dir/apt.conf"
export APT_CONFIG=$apt_dir/apt.conf

# apt-get update ends well even when no mirror answered: its log says so.
if ! apt-get -q -q update >"$apt_dir/update.log" 2>&1 ||
   grep -qE '^(E:|W: (Failed to fetch|Some index files failed))' "$apt_dir/update.log"; then
  if ls "$apt_dir"/state/lists/*Sources* >/dev/null 2>&1; then
    say "could not reach Debian's mirror; using the source index fetched before:"
    sed 's/^/  /' "$apt_dir/update.log" >&2
  else
    cat "$apt_dir/update.log" >&2
    fail "could not fetch Debian's source index from $mirror (network? QUIREN_DEBIAN_MIRROR?)"
  fi
fi

# The tarball Debian's signed index names for the newest openssl source.
uris=$(apt-get -q --print-uris source --tar-only openssl 2>"$apt_dir/source.log") ||
  { cat "$apt_dir/source.log" >&2; fail "apt found no openssl source package for $codename"; }
read -r uri tarball _size checksum < <(grep "^'.*\.orig\.tar\.[a-z0-9]*' " <<<"$uris" | head -n 1) ||
  fail "apt named no upstream tarball for openssl:
$uris"
uri=${uri//\'/}
case "$checksum" in
  SHA256:*) tarball_sha256=${checksum#SHA256:} ;;
  *) fail "Debian's index gives no SHA-256 for $tarball ($checksum)" ;;
esac
[[ $tarball_sha256 =~ ^[0-9a-f]{64}$ ]] || fail "not a SHA-256: $tarball_sha256"

root=$cache/$tarball_sha256-$recipe_id
if [ -f "$root/lib/libcrypto.a" ]; then
  say "using the libcrypto built before from $tarball ($root)"
  echo "$root"
  exit 0
fi

# ---- the first run for this tarball: build it -----------------------------
say "building libcrypto for the Windows build from Debian's $tarball: once per machine and"
say "openssl version: 1 to 2 minutes on two idle cores, up to 7 when they are busy; later runs reuse it"
started=$SECONDS
work=$(mktemp -d "$cache/build.XXXXXX")
trap 'rm -rf "$work"' EXIT
log=$work/build.log
build_failed() {
  cp "$log" "$cache/failed-build.log" 2>/dev/null || true
  tail -n 40 "$log" >&2 || true
  fail "$1 failed; the whole log is in $cache/failed-build.log"
}

mkdir "$work/download"
(cd "$work/download" && apt-get -q -q source --download-only --tar-only openssl) >>"$log" 2>&1 ||
  build_failed "downloading $uri"
[ -f "$work/download/$tarball" ] || build_failed "downloading $tarball"
# apt checked it against the signed index; this ties the cache key to it.
echo "$tarball_sha256  $work/download/$tarball" | sha256sum --check --quiet - >&2 ||
  fail "$tarball does not have the SHA-256 Debian's index gives"

mkdir "$work/src"
tar -xf "$work/download/$tarball" -C "$work/src" --strip-components=1
cd "$work/src"
# The build date libcrypto records is the release's, so one tarball always
# gives the same library.
SOURCE_DATE_EPOCH=$(stat -c %Y VERSION.dat)
export SOURCE_DATE_EPOCH
jobs=$(nproc 2>/dev/null || echo 2)
say "configure"
./Configure mingw64 --cross-compile-prefix="$triplet-" "${options[@]}" >>"$log" 2>&1 ||
  build_failed "Configure"
# The headers first (some are generated), then libcrypto alone: libssl and
# the command-line program are not needed.
say "make libcrypto.a (-j$jobs)"
make_paths=("INSTALLTOP=$install_top" "OPENSSLDIR=$openssl_dir")
{ make "${make_paths[@]}" build_generated && make -j"$jobs" "${make_paths[@]}" libcrypto.a; } >>"$log" 2>&1 ||
  build_failed "make"

out=$work/out
mkdir -p "$out/include/openssl" "$out/lib"
cp include/openssl/*.h "$out/include/openssl/"
cp libcrypto.a "$out/lib/"
cp LICENSE.txt "$out/"
cat >"$out/source.txt" <<INFO
Debian source package openssl ($codename): $tarball
$uri
SHA-256 $tarball_sha256 (checked by apt against Debian's signed index)
Configure mingw64 --cross-compile-prefix=$triplet- ${options[*]}
make ${make_paths[*]} libcrypto.a
Compiler: $triplet-gcc $compiler_version
INFO
cd "$cache"
mv -T "$out" "$root"
say "built in $(((SECONDS - started) / 60))m$(printf '%02d' $(((SECONDS - started) % 60)))s: $root"
echo "$root"
