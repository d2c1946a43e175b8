#!/usr/bin/env bash
# Makes the Debian package of a built tree (default: build) with
# `cpack -G DEB` and checks it: its name and fields, that it holds the two
# programs (stripped), the desktop files, the manual pages (gzipped) and the
# copyright and nothing else (no test or benchmark), that every file is
# root's with mode 0644 or 0755, that its desktop entry and thumbnailer
# name /usr/bin, that its sigil runs, and that lintian finds no error and no
# warning. Leaves the package in the build folder.
#
#   scripts/deb_test.sh [BUILD_DIR]
#
# With --install (as root, on Debian 12; changes the system): also installs
# the package with apt, checks that the MIME, desktop-entry and icon
# databases took it in, runs both programs as installed (sigilscope under
# Xvfb, as the user nobody and as root), removes it with --purge and checks
# that no file it brought or made is left and that the databases forgot it.
#
#   scripts/deb_test.sh --install [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
install=0
if [[ ${1:-} == --install ]]; then
  install=1
  shift
fi
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "package test: $*" >&2
  exit 1
}

rm -f "$build"/sigilscope_*.deb
(cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  fail "cpack -G DEB failed"
}
# The package's version is project()'s, which the programs say too.
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[[ -n $version && $("$build/src/cli/sigil" --version) == "sigil (Sigilscope) $version" ]] ||
  fail "package version '$version' is not that of $build/src/cli/sigil"
deb=$build/sigilscope_${version}_amd64.deb
[[ -f $deb ]] || fail "cpack made no $deb: $(ls "$build"/*.deb 2>/dev/null)"
echo "package: $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == sigilscope && $(field Version) == "$version" && $(field Architecture) == amd64 ]] ||
  fail "wrong Package, Version or Architecture"
for name in Section Priority Maintainer Description Homepage; do
  [[ -n $(field $name) ]] || fail "no $name field"
done
field Depends | grep -q 'libqt6widgets6' || fail "Depends lacks what dpkg-shlibdeps finds: $(field Depends)"

# Every file and folder root's, folders and programs 0755, other files 0644.
dpkg-deb -c "$deb" >"$work/contents"
awk '$2 != "root/root" ||
     ($1 !~ /^d/ && $1 != "-rw-r--r--" && $1 != "-rwxr-xr-x") ||
     ($1 ~ /^d/ && $1 != "drwxr-xr-x") ||
     ($1 == "-rwxr-xr-x" && $6 !~ "^./usr/bin/")' "$work/contents" >"$work/bad"
[[ ! -s $work/bad ]] || fail "wrong owner or mode: $(cat "$work/bad")"

# What the package holds: all of it, and nothing else.
awk '$1 !~ /^d/ { sub("^\\./", "", $6); print $6 }' "$work/contents" | sort >"$work/files"
{
  printf '%s\n' usr/bin/sigil usr/bin/sigilscope \
    usr/share/applications/sigilscope.desktop \
    usr/share/doc/sigilscope/changelog.gz usr/share/doc/sigilscope/copyright \
    usr/share/icons/hicolor/scalable/apps/sigilscope.svg \
    usr/share/lintian/overrides/sigilscope \
    usr/share/man/man1/sigil.1.gz usr/share/man/man1/sigilscope.1.gz \
    usr/share/metainfo/io.github.sigilscope.sigilscope.metainfo.xml \
    usr/share/mime/packages/sigilscope.xml \
    usr/share/sigilscope/Sigilscope_help.txt usr/share/sigilscope/Sigilscope_help_en.txt \
    usr/share/thumbnailers/sigilscope.thumbnailer
  for size in 16 22 24 32 48 64 128 256; do
    echo "usr/share/icons/hicolor/${size}x${size}/apps/sigilscope.png"
  done
} | sort >"$work/expected"
diff -u "$work/expected" "$work/files" >"$work/diff" || fail "package contents differ from the expected: $(cat "$work/diff")"

root=$work/root
dpkg-deb -x "$deb" "$root"
for exe in sigil sigilscope; do
  file "$root/usr/bin/$exe" | grep -q ', stripped' || fail "usr/bin/$exe is not stripped"
done
gzip -t "$root"/usr/share/man/man1/*.gz "$root/usr/share/doc/sigilscope/changelog.gz"
grep -qx 'Exec=/usr/bin/sigilscope %F' "$root/usr/share/applications/sigilscope.desktop" ||
  fail "the desktop entry does not start /usr/bin/sigilscope"
grep -qx 'Exec=/usr/bin/sigil thumbnail %i %o %s' "$root/usr/share/thumbnailers/sigilscope.thumbnailer" ||
  fail "the thumbnailer does not run /usr/bin/sigil"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$root/usr/share/doc/sigilscope/copyright" || fail "copyright is not in the machine-readable format"
[[ $("$root/usr/bin/sigil" --version) == "sigil (Sigilscope) $version" ]] || fail "sigil --version of the package"

# Every tag shown, down to the pedantic ones; errors and warnings fail. (Its
# notice that it runs as root is no finding.)
status=0
lintian --fail-on error,warning --display-info --pedantic --show-overrides "$deb" >"$work/lintian" 2>&1 || status=$?
grep -v '^running with root privileges is not recommended!$' "$work/lintian" || true
((status == 0)) || fail "lintian found errors or warnings (exit status $status)"
echo "package test: passed"

((install)) || exit 0

[[ $(id -u) -eq 0 ]] || fail "--install needs root"
export DEBIAN_FRONTEND=noninteractive
# Files of the system, without those apt, dpkg and the logs change anyway.
snapshot() {
  find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp -o -path /var/tmp \
    -o -path /work -o -path /root -o -path /home -o -path /var/log -o -path /var/cache \
    -o -path /var/lib/apt -o -path /var/backups \) -prune -o -print | sort
}
! grep -q 'x-ms-icon-library' /usr/share/mime/globs2 || fail "the MIME database has the types before install"
snapshot >"$work/before"
dpkg-query -W -f='${Package}\n' | sort >"$work/packages.before"
apt-get install -y -q "$(realpath "$deb")" >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  fail "apt-get install failed"
}
dpkg -L sigilscope | tee "$work/listed" | sed 's/^/  /'
[[ $(command -v sigil) == /usr/bin/sigil ]] || fail "sigil is not on the PATH"
sigil --version
sigil thumbnail samples/sigilscope.icl "$work/thumb.png" 128
cut -d: -f2- /usr/share/mime/globs2 | grep -qx 'application/x-ms-icon-library:\*\.icl' ||
  fail "the MIME database was not updated on install"
grep -q sigilscope.desktop /usr/share/applications/mimeinfo.cache || fail "the desktop database was not updated"
icons=/usr/share/icons/hicolor/icon-theme.cache
[[ ! -e $icons ]] || grep -q sigilscope "$icons" || fail "the icon cache was not updated"
chmod 0755 "$work"
mkdir -m 0777 "$work/home"
cp samples/sigilscope.icl "$work/home/"
runuser -u nobody -- env HOME="$work/home" SIGILSCOPE_GRAB="$work/home/grab.png" \
  xvfb-run -a -s "-screen 0 1280x800x24" sigilscope "$work/home/sigilscope.icl"
[[ -s $work/home/grab.png ]] || fail "sigilscope saved no picture of its window"
cp "$work/home/grab.png" "$build/installed-sigilscope.png"
# Run by root, who could write anywhere: its settings still go to its home
# (the snapshots below would show a file put among the system's).
mkdir "$work/roothome"
HOME="$work/roothome" SIGILSCOPE_GRAB="$work/roothome/grab.png" \
  xvfb-run -a -s "-screen 0 1280x800x24" sigilscope "$work/home/sigilscope.icl"
[[ -s $work/roothome/grab.png && -s $work/roothome/.config/sigilscope/Tamberly.ini ]] ||
  fail "sigilscope run by root saved no picture, or its settings elsewhere than in its home"
echo "installed sigilscope ran, as nobody and as root; its window: $build/installed-sigilscope.png"

apt-get remove --purge -y -q sigilscope >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  fail "apt-get remove --purge failed"
}
dpkg-query -W -f='${Package}\n' | sort >"$work/packages.after"
while read -r path; do
  [[ -d $path ]] && continue # folders shared with other packages stay
  [[ ! -e $path ]] || fail "left after purge: $path"
done <"$work/listed"
snapshot >"$work/after"
# Packages apt brought for it stay until autoremove: their files are theirs.
comm -13 "$work/packages.before" "$work/packages.after" >"$work/new-packages"
if [[ -s $work/new-packages ]]; then
  echo "brought by apt and kept: $(tr '\n' ' ' <"$work/new-packages")"
  xargs dpkg -L <"$work/new-packages" | sort -u >"$work/theirs"
  comm -23 <(comm -13 "$work/before" "$work/after") "$work/theirs" >"$work/left"
else
  comm -13 "$work/before" "$work/after" >"$work/left"
fi
[[ ! -s $work/left ]] || fail "new files after purge: $(cat "$work/left")"
comm -23 "$work/before" "$work/after" >"$work/gone"
[[ ! -s $work/gone ]] || fail "files gone after purge that were there before: $(cat "$work/gone")"
! grep -q 'x-ms-icon-library' /usr/share/mime/globs2 || fail "the MIME database still has the types after purge"
! grep -q sigilscope.desktop /usr/share/applications/mimeinfo.cache || fail "the desktop database still names it"
[[ ! -e $icons ]] || ! grep -q sigilscope "$icons" || fail "the icon cache still names it"
echo "package install test: passed"
