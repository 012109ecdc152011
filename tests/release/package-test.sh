#!/usr/bin/env bash
# Builds the Debian package of a build tree with CPack, unpacks it into a temporary root
# (dpkg-deb -x: no root rights, nothing installed on the machine) and uses the installed tree
# as a user would: the files it holds, quastor-cli's version, a project with its settings, its
# GSD file and its firmware file, the first-run files copied from the installation, and the
# user's data directory as the application directory.
#
#   package-test.sh BUILD_DIR SOURCE_DIR CPACK VERSION
set -euo pipefail
build=$1
source=$2
cpack=$3
version=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/quastor-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "package-test: $*" >&2
  exit 1
}
step() { echo "package-test: $*"; }

for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs dpkg-dev)"
done

step "building the package"
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack failed"
fi
deb=$work/package/quastor_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$work/package")"

step "control fields"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quastor ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version), not $version"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
# dpkg-shlibdeps found the libraries the executables link.
needed=(libc6 libstdc++6 libpugixml1v5)
if [ -f "$build/bin/quastor" ]; then
  needed+=(libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6)
fi
depends_names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for package in "${needed[@]}"; do
  grep -qxF "$package" <<<"$depends_names" || fail "Depends lacks $package: $depends"
done

step "the installed tree"
root=$work/root
dpkg-deb -x "$deb" "$root"
expected=(
  usr/bin/quastor-cli
  usr/share/doc/quastor/README.txt
  usr/share/doc/quastor/copyright
  usr/share/man/man1/quastor-cli.1.gz
  usr/share/quastor/MASTER/sim4410.sim
  usr/share/quastor/MASTER/sx4375.sx
  usr/share/quastor/help2.dat
)
if [ -f "$build/bin/quastor" ]; then
  expected+=(
    usr/bin/quastor
    usr/share/man/man1/quastor.1.gz
    usr/share/applications/quastor.desktop
    usr/share/icons/hicolor/scalable/apps/quastor.svg
  )
fi
listing() { (cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort); }
diff <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) <(listing) >&2 ||
  fail "the package holds other files than expected (< expected, > packaged)"
for file in MASTER/sim4410.sim MASTER/sx4375.sx help2.dat; do
  cmp -s "$source/dist/$file" "$root/usr/share/quastor/$file" || fail "$file differs from dist/$file"
done
[ -x "$root/usr/bin/quastor-cli" ] || fail "quastor-cli is not executable"
if [ -f "$root/usr/share/applications/quastor.desktop" ] && command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/quastor.desktop" || fail "desktop entry not valid"
fi
grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$root/usr/share/doc/quastor/copyright" || fail "the copyright file is not in Debian's format"

step "manual pages"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  gzip -t "$page" || fail "$page is no gzip file"
  # gzip -n: no file name and no time inside (bytes 4 to 7 hold the time).
  [ "$(od -An -tx1 -j3 -N5 "$page" | tr -d ' ')" = 0000000000 ] ||
    fail "$page keeps a name or a time (compress it with gzip -n)"
  text=$(zcat "$page" | MANWIDTH=200 man -l - 2>"$work/man.err") || fail "man cannot show $page"
  [ ! -s "$work/man.err" ] || fail "man warns about $page: $(cat "$work/man.err")"
  grep -q "quastor $version" <<<"$text" || fail "$page does not name version $version"
done
# Every command and option of quastor-cli's help has its entry in the manual page.
manual=$(zcat "$root/usr/share/man/man1/quastor-cli.1.gz" | MANWIDTH=200 man -l - 2>/dev/null)
for word in $("$root/usr/bin/quastor-cli" --help | grep -o -- '--[a-z-]*\|^  [a-z]\+\|| [a-z]\+' |
  sed 's/^[ |]*//' | sort -u); do
  grep -qF -- "$word" <<<"$manual" || fail "quastor-cli.1 lacks \"$word\" of quastor-cli --help"
done
before=$(listing)

cli=$root/usr/bin/quastor-cli
run() {
  local out
  if ! out=$("$@" 2>&1); then
    echo "$out" >&2
    fail "failed: $*"
  fi
  printf '%s' "$out"
}

step "version"
[ "$(run "$cli" --version)" = "quastor-cli $version" ] || fail "quastor-cli --version: $("$cli" --version)"
if [ -x "$root/usr/bin/quastor" ]; then
  # Answered without a display.
  got=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/quastor" --version) ||
    fail "quastor --version failed"
  [ "$got" = "quastor $version" ] || fail "quastor --version: $got"
fi

step "a project in a home of its own (--home)"
home=$work/home
run "$cli" --home "$home" project new P >/dev/null
[ -d "$home/PROJECTS/P/bin" ] || fail "project P was not made"
run "$cli" --home "$home" settings set --profi-id 5 --profi-in 100 --profi-out 16 \
  --dnet-id 12 --dnet-baud 500K >/dev/null
shown=$(run "$cli" --home "$home" settings show)
[ "$shown" = $'PROFI_ID=5\nPROFI_BAUD=10\nPROFI_NB_IN=100\nPROFI_NB_OUT=16\nDNET_DEV_ID=12\nDNET_BAUD=2' ] ||
  fail "settings show: $shown"
run "$cli" --home "$home" gsd "$work/P.gsd" >/dev/null
[ -s "$work/P.gsd" ] || fail "no GSD file"
# 100 input bytes make two input modules (64 + 36), 16 output bytes one.
[ "$(grep -c '^Module=' "$work/P.gsd")" -ge 3 ] || fail "the GSD file lacks its modules"
grep -q "^Max_Module=3" "$work/P.gsd" || fail "the GSD file's module count is not 3"

step "first-run files from the installation"
for file in sim4410.sim sx4375.sx; do
  cmp -s "$root/usr/share/quastor/MASTER/$file" "$home/MASTER/$file" || fail "MASTER/$file not filled"
done
[ ! -e "$home/help2.dat" ] || fail "help2.dat was copied into the application directory"
echo "my own firmware" >"$home/MASTER/sx4375.sx"
run "$cli" --home "$home" project show >/dev/null
[ "$(cat "$home/MASTER/sx4375.sx")" = "my own firmware" ] || fail "the user's sx4375.sx was replaced"
rm "$home/MASTER/sx4375.sx"

step "the firmware generation on the installed firmware file"
head -c 16384 /dev/zero | tr '\0' '\021' >"$home/PROJECTS/P/bin/bank1.bin"
head -c 16384 /dev/zero | tr '\0' '\042' >"$home/PROJECTS/P/bin/bank2.bin"
run "$cli" --home "$home" firmware --no-flash >/dev/null
grep -q "^S2243880001111" "$home/PROJECTS/P/New_sx4375.sx" || fail "bank 1 is not in New_sx4375.sx"
grep -q "^S2243980002222" "$home/PROJECTS/P/New_sx4375.sx" || fail "bank 2 is not in New_sx4375.sx"

step "the user's data directory without --home"
user=$work/user
mkdir -p "$user"
env -u QUASTOR_HOME -u XDG_DATA_HOME HOME="$user" "$cli" project new Q >/dev/null ||
  fail "project new Q in the user's data directory failed"
data=$user/.local/share/quastor
[ -d "$data/PROJECTS/Q/bin" ] || fail "project Q is not in $data"
[ -f "$data/Quastor_DNET2PROFI.ini" ] || fail "the settings file is not in $data"
[ -f "$data/MASTER/sx4375.sx" ] || fail "MASTER is not filled in $data"
env -u QUASTOR_HOME XDG_DATA_HOME="$work/xdg" HOME="$user" "$cli" project new R >/dev/null ||
  fail "project new R under XDG_DATA_HOME failed"
[ -d "$work/xdg/quastor/PROJECTS/R" ] || fail "XDG_DATA_HOME was not followed"

step "no data directory of the user's: refused, nothing written"
nohome=$work/nohome
mkdir -p "$nohome"
if out=$(cd "$nohome" && env -u QUASTOR_HOME -u XDG_DATA_HOME -u HOME "$cli" project new T 2>&1); then
  fail "project new without HOME did not fail: $out"
fi
grep -q "^No application directory: HOME is not set" <<<"$out" || fail "without HOME: $out"
[ -z "$(ls -A "$nohome")" ] || fail "without HOME something was written: $(ls -A "$nohome")"

step "QUASTOR_HOME overrides the user's data directory"
QUASTOR_HOME=$work/override HOME="$user" "$cli" project new S >/dev/null ||
  fail "project new S under QUASTOR_HOME failed"
[ -d "$work/override/PROJECTS/S" ] || fail "QUASTOR_HOME was not followed"

[ "$(listing)" = "$before" ] || fail "running the program wrote into the installed tree"
step "passed: $(basename "$deb"), $(du -k "$deb" | cut -f1) KB"
