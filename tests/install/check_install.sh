#!/usr/bin/env bash
# check_install.sh WHAT BUILD_DIR APP_ID: installs the build into a temporary
# prefix (or packs it as a .deb) and checks one thing about the result.
# Exit 77 (skipped) when the checking tool is not installed.
set -euo pipefail
what=$1
build=$2
id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || { echo "SKIP: $1 is not installed (Debian package $2)"; exit 77; }; }

install_into() {
  cmake --install "$build" --prefix "$1" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "cmake --install"; }
}

# Width and height of a PNG, from its IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'; }

# What each package holds, below the prefix.
query_files=(
  bin/vormek-query share/man/man1/vormek-query.1.gz share/bash-completion/completions/vormek-query
  share/doc/vormek-query/copyright share/doc/vormek-query/changelog.Debian.gz
)
window_files=(
  bin/vormek share/man/man1/vormek.1.gz
  share/doc/vormek/copyright share/doc/vormek/changelog.Debian.gz
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
)
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do window_files+=("share/icons/hicolor/${s}x${s}/apps/$id.png"); done
expected_files=("${query_files[@]}" "${window_files[@]}")

# Packs the build's Debian packages into $work/deb.
pack() {
  (cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
  query_deb=$(ls "$work"/deb/vormek-query_*.deb)
  window_deb=$(ls "$work"/deb/vormek_*.deb)
}

# The files of a package, without the leading ./
listing() { dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./||'; }

case $what in
  files)
    p=$work/prefix
    install_into "$p"
    for f in "${expected_files[@]}"; do [ -f "$p/$f" ] || fail "not installed: $f"; done
    for f in bin/vormek bin/vormek-query; do [ -x "$p/$f" ] || fail "not executable: $f"; done
    for s in "${sizes[@]}"; do
      got=$(png_size "$p/share/icons/hicolor/${s}x${s}/apps/$id.png")
      [ "$got" = "${s}x${s}" ] || fail "icon ${s}x${s} is $got"
    done
    grep -q '<svg' "$p/share/icons/hicolor/scalable/apps/$id.svg" || fail "the SVG icon is no SVG"
    # The installed query tool runs on its embedded timetable: the header
    # line comes whatever timetable is embedded.
    "$p/bin/vormek-query" cc 1112 | head -1 | grep -q '^车次,' || fail "installed vormek-query does not answer"
    ;;
  desktop-entry)
    need desktop-file-validate desktop-file-utils
    p=$work/prefix
    install_into "$p"
    entry=$p/share/applications/$id.desktop
    desktop-file-validate "$entry" || fail "desktop-file-validate"
    for key in "Icon=$id" "StartupWMClass=vormek" "Exec=vormek" "Categories=Utility;"; do
      grep -qx "$key" "$entry" || fail "desktop entry lacks $key"
    done
    ;;
  metainfo)
    need appstreamcli appstream
    p=$work/prefix
    install_into "$p"
    appstreamcli validate --no-net --explain "$p/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
    ;;
  man-pages)
    need groff groff-base
    p=$work/prefix
    install_into "$p"
    for page in vormek vormek-query; do
      warnings=$(gzip -dc "$p/share/man/man1/$page.1.gz" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z 2>&1)
      [ -z "$warnings" ] || fail "$page.1: $warnings"
    done
    ;;
  bash-completion)
    p=$work/prefix
    # The query tool's package alone: the check needs no window.
    cmake --install "$build" --component query --prefix "$p" >"$work/install.log" 2>&1 ||
      { cat "$work/install.log" >&2; fail "cmake --install --component query"; }
    # What the installed completion offers for a line ending in the cursor
    # (the last word, empty for a blank after the line), one per line. Words
    # split at "=" as bash splits them.
    complete_line() {
      PATH=$p/bin:$PATH bash -c '
        source "$1"; shift
        COMP_WORDS=(vormek-query "$@"); COMP_CWORD=$#
        _vormek_query
        printf "%s\n" "${COMPREPLY[@]}"' complete "$p/share/bash-completion/completions/vormek-query" "$@"
    }
    offered() { complete_line "$@" | sort | paste -sd' '; }
    expect() {
      local want=$1; shift
      local got; got=$(offered "$@")
      [ "$got" = "$want" ] || fail "completing '$*': got '$got', want '$want'"
    }
    expect "zz" z
    expect "cc cz" c
    expect "--format" --fo
    expect "csv json table" --format ""
    expect "table" --format = t
    expect "sf,zd" --filter sf,z
    expect "" cc ""
    # Every option the program takes, in its own words, is offered.
    options=$(complete_line --)
    for o in --tables --no-cache --gbk --format --transfer --via --filter --sort --board --count --min-change \
             --max --help --version; do
      grep -qx -- "$o" <<<"$options" || fail "completion lacks $o"
    done
    # Stations as the program lists them for the letters or the beginning
    # typed, whatever timetable is embedded; after --via as well.
    for typed in b bjx "$("$p/bin/vormek-query" stations | head -1)"; do
      want=$("$p/bin/vormek-query" stations "$typed" | sort | paste -sd' ')
      [ -n "$want" ] || fail "vormek-query stations $typed lists nothing"
      expect "$want" zz "$typed"
      expect "$want" zz --via "$typed"
      expect "$want" plan --max = 3 "$typed"
    done
    ;;
  deb)
    need cpack cmake
    need dpkg-deb dpkg
    need dpkg-shlibdeps dpkg-dev
    pack
    [ "$(dpkg-deb -f "$query_deb" Package)" = vormek-query ] || fail "query package name"
    [ "$(dpkg-deb -f "$window_deb" Package)" = vormek ] || fail "window package name"
    for f in "${query_files[@]}"; do listing "$query_deb" | grep -qx "usr/$f" || fail "vormek-query lacks /usr/$f"; done
    for f in "${window_files[@]}"; do listing "$window_deb" | grep -qx "usr/$f" || fail "vormek lacks /usr/$f"; done
    # Each file in one package only.
    dup=$( (listing "$query_deb"; listing "$window_deb") | grep -v '/$' | sort | uniq -d)
    [ -z "$dup" ] || fail "in both packages: $dup"
    # The query tool needs neither Qt nor a font; the window needs both, and
    # the query tool of its own version.
    query_depends=$(dpkg-deb -f "$query_deb" Depends)
    ! grep -qE 'qt|font' <<<"$query_depends" || fail "vormek-query depends on Qt or a font: $query_depends"
    grep -q 'libc6' <<<"$query_depends" || fail "vormek-query's Depends lack the libraries: $query_depends"
    depends=$(dpkg-deb -f "$window_deb" Depends)
    for lib in core gui widgets network printsupport; do
      grep -q "libqt6${lib}6" <<<"$depends" || fail "Depends lacks libqt6${lib}6: $depends"
    done
    grep -q "vormek-query (= $(dpkg-deb -f "$query_deb" Version))" <<<"$depends" ||
      fail "vormek does not depend on its own vormek-query: $depends"
    grep -q 'fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei' <<<"$depends" || fail "Depends names no CJK font: $depends"
    ;;
  lintian)
    need lintian lintian
    need dpkg-shlibdeps dpkg-dev
    pack
    # Errors and warnings only; information and pedantic notes may stay.
    report=$(lintian --fail-on error,warning -E --pedantic "$query_deb" "$window_deb" 2>&1) || {
      printf '%s\n' "$report" >&2
      fail "lintian"
    }
    ! grep -E '^[EW]: ' <<<"$report" || fail "lintian reports errors or warnings"
    ;;
  *)
    fail "unknown check $what"
    ;;
esac
echo "ok: $what"
