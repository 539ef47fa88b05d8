#!/usr/bin/env bash
# Builds the Debian package, holds it to lintian (any error or warning fails), checks what it
# holds, then installs it on this machine, plays a short game from the installed program and
# removes it again.
#   package_test.sh BUILD_DIR
# Installing needs root; as another user the package is only unpacked and checked there (exit 77,
# skipped). A zorvex package installed by someone else is left alone (exit 77).
set -euo pipefail
build="$(cd "$1" && pwd)"
sizes=(16 24 32 48 64 128 256)
work="$(mktemp -d)"
installed=0

fail() { echo "package: $*" >&2; exit 1; }
remove_package() {
  apt-get remove --purge -y -q -o DPkg::Lock::Timeout=900 zorvex >"$work/remove.log" 2>&1 ||
    { cat "$work/remove.log" >&2; return 1; }
  installed=0
}
cleanup() {
  local status=$?
  if [ "$installed" = 1 ]; then remove_package || status=1; fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

# One run of this test at a time on a machine: two would install the same package.
# Opened for reading, so that any user can take the lock whoever made the file. The file stays
# (removing it would let a waiting run and a new one both in), so it lives with the system's
# locks rather than in the temporary folder.
lock_dir=/run/lock
[ -d "$lock_dir" ] && [ -w "$lock_dir" ] || lock_dir="${TMPDIR:-/tmp}"
lock="$lock_dir/zorvex-package-test.lock"
[ -e "$lock" ] || : >"$lock"
exec 9<"$lock"
flock 9

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/out/zorvex_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no zorvex_*.deb"
deb="${debs[0]}"
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "the package does not depend on SDL2"

# Debian's own checks. Informational tags are shown but pass; packaging/lintian-overrides says
# why any of them stays.
command -v lintian >/dev/null || fail "lintian is not installed (scripts/test installs it)"
# Lintian leaves a cache file (mldbm-elf-*) in the temporary folder: this run's goes with $work.
mkdir "$work/tmp"
TMPDIR="$work/tmp" lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" \
  >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log" >&2; fail "lintian found errors or warnings"; }
cat "$work/lintian.log"

# What a player's machine gets, unpacked where it harms nothing.
root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/games/zorvex usr/games/zorvex-wavinfo usr/share/zorvex/gfx.bmp \
  usr/share/zorvex/ui.bmp usr/share/zorvex/music00.wav usr/share/applications/zorvex.desktop \
  usr/share/man/man6/zorvex.6.gz usr/share/man/man6/zorvex-wavinfo.6.gz \
  usr/share/doc/zorvex/copyright usr/share/doc/zorvex/changelog.gz \
  usr/share/metainfo/org.zorvex.zorvex.metainfo.xml; do
  [ -s "$root/$f" ] || fail "the package lacks $f"
done
for page in zorvex zorvex-wavinfo; do
  [ -z "$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man6/$page.6.gz" 2>&1 >/dev/null)" ] ||
    fail "the manual page $page(6) has errors"
done
for s in "${sizes[@]}"; do
  icon="$root/usr/share/icons/hicolor/${s}x${s}/apps/zorvex.png"
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${s}x${s}" ] ||
    fail "icon ${s}x${s} missing or not a ${s}x${s} PNG"
done
desktop-file-validate "$root/usr/share/applications/zorvex.desktop" ||
  fail "desktop entry not valid"

# The release notes name the version the programs print.
version="$("$build/zorvex" --version | sed -n 's/^zorvex //p')"
zcat "$root/usr/share/doc/zorvex/changelog.gz" | sed -n 1p | grep -qF "zorvex ($version)" ||
  fail "the changelog's latest entry is not $version"
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/org.zorvex.zorvex.metainfo.xml" ||
  fail "the metainfo names no release $version"

# The program must find its data from where it is installed, from any working directory, and
# play exactly as the build's own program does.
mkdir -p "$work/cwd"
"$build/zorvex" --headless --autoplay --frames 300 --trace "$work/expected.jsonl"
play_from() {
  local program="$1" name="$2"
  [ "$(cd "$work/cwd" && "$program" --version)" = "$("$build/zorvex" --version)" ] ||
    fail "$name: --version"
  (cd "$work/cwd" && "$program" --headless --autoplay --frames 300 --trace "$work/$name.jsonl") ||
    fail "$name: the autoplay game failed"
  cmp -s "$work/expected.jsonl" "$work/$name.jsonl" || fail "$name: the game played differently"
}
play_from "$root/usr/games/zorvex" unpacked

if [ "$(id -u)" -ne 0 ]; then
  echo "package: not root, so the package was checked unpacked but not installed" >&2
  exit 77
fi
if dpkg-query -W -f='${Status}' zorvex 2>/dev/null | grep -q 'install ok installed'; then
  echo "package: a zorvex package is already installed here; leaving it alone" >&2
  exit 77
fi

installed=1
apt-get install -y -q -o DPkg::Lock::Timeout=900 "$deb" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "apt-get install failed"; }
desktop-file-validate /usr/share/applications/zorvex.desktop || fail "installed desktop entry"
play_from /usr/games/zorvex installed
dpkg -L zorvex >"$work/files"
remove_package || fail "removing the package failed"
if dpkg-query -W -f='${Status}' zorvex 2>/dev/null | grep -q 'installed'; then
  fail "the package is still installed after removal"
fi
while read -r f; do
  if [ -f "$f" ] || [ -L "$f" ]; then fail "$f is left behind after removal"; fi
done <"$work/files"
[ ! -e /usr/share/zorvex ] || fail "/usr/share/zorvex is left behind"
echo "package: built, installed, played and removed $(basename "$deb")"
