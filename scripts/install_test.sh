#!/usr/bin/env bash
# Installs a built tree (default: build) into a temporary prefix and checks
# what a desktop needs of it: both executables, the help text, the desktop
# entry, the MIME package, the metainfo, the theme icons, the manual pages
# and the thumbnailer on real files; then uninstalls and checks that
# nothing installed is left.
#
#   scripts/install_test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT

fail() {
  echo "install test: $*" >&2
  exit 1
}

# The width and height stored in a PNG file's header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
  cat "$work/install.log"
  fail "cmake --install failed"
}
share=$prefix/share

for exe in sigilscope sigil; do
  [[ -x $prefix/bin/$exe ]] || fail "bin/$exe missing"
  [[ -s $share/man/man1/$exe.1 ]] || fail "manual page of $exe missing"
  LC_ALL=C man -l "$share/man/man1/$exe.1" 2>&1 >/dev/null | grep . && fail "manual page of $exe has errors"
done
[[ -s $share/sigilscope/Sigilscope_help.txt ]] || fail "help text missing"
[[ -s $share/sigilscope/Sigilscope_help_en.txt ]] || fail "English help text missing"
"$prefix/bin/sigil" --help | grep -q 'sigil thumbnail' || fail "sigil --help"
"$prefix/bin/sigil" --version | grep -q '^sigil (Sigilscope) [0-9]' || fail "sigil --version"

desktop=$share/applications/sigilscope.desktop
desktop-file-validate "$desktop"
grep -qx "Exec=$prefix/bin/sigilscope %F" "$desktop" || fail "desktop entry does not start the installed program"

appstreamcli validate --no-net --strict "$share"/metainfo/*.metainfo.xml

# The MIME package: well formed, and the database built from it maps the
# program's own extensions (the install brought the database up to date).
xmllint --noout "$share/mime/packages/sigilscope.xml"
[[ -s $share/mime/globs2 ]] || update-mime-database "$share/mime"
for pair in '*.icl:application/x-ms-icon-library' '*.ani:application/x-navi-animation' \
  '*.dll:application/x-msdownload'; do
  cut -d: -f2- "$share/mime/globs2" | grep -qxF "${pair#*:}:${pair%%:*}" || fail "MIME database lacks $pair"
done

for size in 16 22 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/sigilscope.png
  [[ $(png_size "$icon") == "${size}x${size}" ]] || fail "$icon is not ${size}x${size}"
done
[[ -s $share/icons/hicolor/scalable/apps/sigilscope.svg ]] || fail "scalable icon missing"

# The thumbnailer as a file manager runs it: the command of its entry.
entry=$share/thumbnailers/sigilscope.thumbnailer
grep -q '^MimeType=.*application/x-ms-icon-library;' "$entry" || fail "thumbnailer does not name .icl files"
command=$(sed -n 's/^Exec=//p' "$entry")
for input in samples/sigilscope.icl samples/sigil.ico; do
  for size in 128 256; do
    out=$work/$(basename "$input").$size.png
    run=${command//%i/$input}
    run=${run//%o/$out}
    run=${run//%s/$size}
    $run || fail "thumbnailer failed on $input"
    [[ $(png_size "$out") == "${size}x${size}" ]] || fail "thumbnail of $input is $(png_size "$out"), not ${size}x${size}"
  done
done

cmake --build "$build" --target uninstall >"$work/uninstall.log" 2>&1 || {
  cat "$work/uninstall.log"
  fail "uninstall failed"
}
left=$(find "$prefix" -type f ! -path "$share/mime/*" | head)
[[ -z $left ]] || fail "left after uninstall: $left"
echo "install test: passed"
