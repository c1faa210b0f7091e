#!/usr/bin/env bash
# The installed tree and the Debian package, checked as a user and a packager would:
#   install_checks.sh CHECK BUILD_DIR WORK_DIR VERSION SOURCE_DIR
# "install" installs the build into WORK_DIR/root under the prefix /opt/ravlen (a DESTDIR
# install, as a packager makes one); the other checks read that tree, except "package".
set -euo pipefail

check=$1 build=$2 work=$3 version=$4 source=$5
here=$(cd "$(dirname "$0")" && pwd)
prefix=/opt/ravlen
root=$work/root
tree=$root$prefix
app_id=org.tamarek.Ravlen

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The option names a program's --help lists, one a line.
help_options() { "$tree/bin/$1" --help | grep -oE -- '--[a-z][a-z-]*' | LC_ALL=C sort -u; }

case $check in
install)
  rm -rf "$work"
  mkdir -p "$work"
  DESTDIR=$root cmake --install "$build" --prefix "$prefix" >"$work/install.log"
  ;;

tree)
  # Every file of the list and nothing else: no build artefact, no stray copy.
  (cd "$tree" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$work/files.txt"
  diff -u "$here/installed_files.txt" "$work/files.txt" || fail "the installed files differ from installed_files.txt"
  for size in 16 32 48 64 128 256; do
    file "$tree/share/icons/hicolor/${size}x$size/apps/$app_id.png" | grep -q "PNG image data, $size x $size," ||
      fail "the $size pixel icon is not a $size by $size PNG"
  done
  ;;

desktop)
  entry=$tree/share/applications/$app_id.desktop
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
  grep -qx "Categories=.*Science;.*" "$entry" && grep -qx "Categories=.*Engineering;.*" "$entry" ||
    fail "the desktop entry is not in Science and Engineering"
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$tree/bin/$exec_name" ] || fail "the desktop entry starts '$exec_name', which is not installed in bin"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "$tree/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the desktop entry's icon '$icon' is not installed"
  ;;

metainfo)
  metainfo=$tree/share/metainfo/$app_id.metainfo.xml
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch the installed desktop entry"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
  ;;

manual)
  for program in ravlen ravlen-balance ravlen-link; do
    page=$tree/share/man/man1/$program.1.gz
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$work/$program.txt" 2>"$work/$program.warnings" ||
      fail "man cannot render $page"
    [ ! -s "$work/$program.warnings" ] || fail "$page renders with warnings: $(cat "$work/$program.warnings")"
    # The page tells at least what --help tells: every option has an entry of its own, a
    # line ".B --option" or ".BI --option value" in troff's spelling, \-\-option.
    zcat "$page" >"$work/$program.1"
    for option in $(help_options "$program"); do
      grep -qE "^\.BI? ${option//-/\\\\-}( |\$)" "$work/$program.1" || fail "$program(1) has no entry for $option"
    done
  done
  ;;

programs)
  for program in ravlen ravlen-balance ravlen-link; do
    [ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tree/bin/$program" --version)" = "$program $version" ] ||
      fail "$program --version does not print '$program $version' without a display"
  done
  table=$("$tree/bin/ravlen-balance") || fail "the installed ravlen-balance fails"
  grep -q "converged after" <<<"$table" || fail "the installed ravlen-balance does not balance"
  ;;

help)
  found=$("$tree/bin/ravlen" --help-path) || fail "the installed ravlen finds no help file"
  [ "$(realpath "$found")" = "$(realpath "$tree/share/ravlen/rvn.hlp")" ] ||
    fail "the installed ravlen shows $found instead of the installed help file"
  cmp -s "$found" "$source/assets/rvn.hlp" || fail "the installed help file is not the program's help text"
  ;;

files)
  # Two runs of the installed window, the second with settings to read back: what the user
  # keeps lands in the working folder and the settings store, never in the installed tree.
  home=$work/home
  mkdir -p "$home/work" "$home/config" "$home/run"
  chmod 700 "$home/run"
  for run in first second; do
    (cd "$home/work" && exec env QT_QPA_PLATFORM=offscreen HOME="$home" XDG_CONFIG_HOME="$home/config" \
      XDG_RUNTIME_DIR="$home/run" RAVLEN_LINK_BLOCK="/ravlen-install-check-$$" RAVLEN_MESSAGE_LOG="$home/messages" \
      RAVLEN_STATE_LOG="$home/state" "$tree/bin/ravlen") &
    pid=$!
    for _ in $(seq 300); do
      grep -q "^ready" "$home/state" 2>/dev/null && break
      sleep 0.1
    done
    kill -TERM "$pid"
    wait "$pid" || fail "the $run run of the installed ravlen did not close cleanly"
    grep -q "^ready" "$home/state" || fail "the $run run of the installed ravlen never became ready"
    rm -f "$home/state"
  done
  [ -f "$home/work/RavlenB.Ini" ] || fail "the installed ravlen keeps no bar layout in its working folder"
  stray=$(ls "$tree/bin" | grep -vxE "ravlen|ravlen-balance|ravlen-link" || true)
  [ -z "$stray" ] || fail "the installed ravlen wrote into its bin folder: $stray"
  ;;

header)
  export PKG_CONFIG_PATH=$tree/share/pkgconfig PKG_CONFIG_SYSROOT_DIR=$root
  cflags=$(pkg-config --cflags ravlen-link) || fail "pkg-config does not know ravlen-link"
  [ "$(pkg-config --modversion ravlen-link)" = "$version" ] || fail "ravlen-link.pc is not version $version"
  # shellcheck disable=SC2086  # the flags are words
  cc -std=c99 -Wall -Wextra -Wpedantic -Werror $cflags -o "$work/link_header_client" "$here/link_header_client.c" \
    $(pkg-config --libs ravlen-link) || fail "a C client does not build from the installed header"
  "$work/link_header_client" >/dev/null || fail "the C client of the installed header failed"
  ;;

package)
  rm -rf "$work"
  mkdir -p "$work"
  (cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack failed"; }
  deb=$work/ravlen_${version}_$(dpkg --print-architecture).deb
  [ -f "$deb" ] || fail "cpack made no $(basename "$deb")"
  dpkg-deb -f "$deb" Depends >"$work/depends.txt"
  grep -q "libqt6widgets6" "$work/depends.txt" || fail "the package's dependencies were not worked out"
  dpkg-deb -c "$deb" >"$work/contents.txt"
  grep -q " \./usr/bin/ravlen$" "$work/contents.txt" || fail "the package does not install /usr/bin/ravlen"
  ! grep -q "/usr/local" "$work/contents.txt" || fail "the package installs into /usr/local"
  lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || true
  cat "$work/lintian.txt"
  ! grep -q "^E:" "$work/lintian.txt" || fail "lintian finds errors in the package"
  ;;

*)
  fail "unknown check '$check'"
  ;;
esac
