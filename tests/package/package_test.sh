#!/usr/bin/env bash
# Builds the Debian package from a finished build folder, unpacks it into a
# scratch root and checks that the installed programs, the desktop entry and
# the icon are there and that the command line runs from that root.
#
#   package_test.sh CPACK BUILD_DIR VERSION
set -euo pipefail

cpack=$1
build_dir=$2
version=$3

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for tool in dpkg-deb dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarvik1-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The package goes to the scratch folder; the build folder is only read.
(cd "$build_dir" && "$cpack" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB failed"; }

shopt -s nullglob
debs=("$scratch"/out/tarvik1_*.deb)
((${#debs[@]} == 1)) || fail "expected one tarvik1_*.deb, found: ${debs[*]:-none}"
deb=${debs[0]}

# Control fields: the name and version, and dependencies computed from the
# libraries the programs link (a package without them would install on a
# machine where the programs cannot start).
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tarvik1 ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', the project's is $version"
[[ $(field Section) == utils ]] || fail "Section is '$(field Section)'"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] ||
        fail "Depends lacks $lib: $depends"
done
[[ $(field Recommends) == *qt6-translations-l10n* ]] || fail "Recommends is '$(field Recommends)'"

# Everything goes under /usr, nothing into /usr/local or the build folder.
stray=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -E '^\./(usr(/.*)?)?$' || true)
[[ -z $stray ]] || fail "files outside /usr: $stray"

root=$scratch/root
dpkg-deb -x "$deb" "$root"

for program in tarvik1 tarvik1-cli panel-emulator; do
    exe=$root/usr/bin/$program
    [[ -x $exe ]] || fail "usr/bin/$program missing or not executable"
    # The installed programs must not look for libraries in the build folder.
    if readelf -d "$exe" | grep -E 'RPATH|RUNPATH' | grep -q -F "$build_dir"; then
        fail "$program keeps a run path into the build folder"
    fi
    missing=$(ldd "$exe" | grep 'not found' || true)
    [[ -z $missing ]] || fail "$program: libraries not found: $missing"
done

desktop=$root/usr/share/applications/tarvik1.desktop
[[ -f $desktop ]] || fail "usr/share/applications/tarvik1.desktop missing"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
fi
for line in 'Exec=tarvik1' 'Icon=tarvik1' 'Terminal=false' 'Type=Application'; do
    grep -q -x -F "$line" "$desktop" || fail "the desktop entry lacks '$line'"
done
grep -q -E '^Categories=(.*;)?Utility;' "$desktop" || fail "the desktop entry is not in Utility"
grep -q -E '^Name\[ru\]=.+' "$desktop" || fail "the desktop entry has no Russian name"

icons=$root/usr/share/icons/hicolor
svg=$icons/scalable/apps/tarvik1.svg
png=$icons/48x48/apps/tarvik1.png
[[ -f $svg ]] || fail "the scalable icon is missing"
file -b "$svg" | grep -q -i svg || fail "the scalable icon is not SVG: $(file -b "$svg")"
[[ -f $png ]] || fail "the 48x48 icon is missing"
file -b "$png" | grep -q 'PNG image data, 48 x 48' || fail "the 48x48 icon is $(file -b "$png")"

# The command line from the unpacked root, in a bare environment.
run_bare() {
    env -i PATH=/usr/bin:/bin HOME="$scratch/home" LANG=C.UTF-8 "$@"
}
mkdir -p "$scratch/home"
status=0
run_bare "$root/usr/bin/tarvik1-cli" --help >"$scratch/help.out" 2>"$scratch/help.err" || status=$?
((status == 0)) || { cat "$scratch/help.err" >&2; fail "tarvik1-cli --help exited with $status"; }
grep -q -F -- '--port' "$scratch/help.out" || fail "tarvik1-cli --help printed no help: $(cat "$scratch/help.out")"

# read, write and diff start the widgets on the offscreen platform: that
# must work from the package with no display (here it stops at the missing
# port, after the application is up, with nothing from Qt in between).
status=0
run_bare "$root/usr/bin/tarvik1-cli" read --out "$scratch/x.ini" >"$scratch/read.out" 2>"$scratch/read.err" || status=$?
((status == 2)) || { cat "$scratch/read.err" >&2; fail "tarvik1-cli read without a port exited with $status, not 2"; }
[[ $(head -n 1 "$scratch/read.err") == *--port* ]] ||
    fail "tarvik1-cli read without a display: $(cat "$scratch/read.err")"

status=0
run_bare "$root/usr/bin/panel-emulator" --help >"$scratch/emu.out" 2>&1 || status=$?
((status == 0)) || { cat "$scratch/emu.out" >&2; fail "panel-emulator --help exited with $status"; }

echo "ok: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB), Depends: $depends"
