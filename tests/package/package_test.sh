#!/usr/bin/env bash
# Builds the Debian package from a finished build folder, unpacks it into a
# scratch root and checks that the installed programs (hardened as Debian
# builds them), the desktop entry, the icon, the manual pages, the copyright
# file and the changelog are there, that the programs run from that root,
# and that lintian finds no error in the package and nothing that README.md
# does not explain.
#
#   package_test.sh CPACK BUILD_DIR VERSION SOURCE_DIR
set -euo pipefail

cpack=$1
build_dir=$2
version=$3
source_dir=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for tool in dpkg-deb dpkg-shlibdeps file lintian man readelf; do
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

programs=(tarvik1 tarvik1-cli tarvik1-panel-emulator)
[[ ! -e $root/usr/bin/panel-emulator ]] || fail "the emulator is installed under its build-tree name"
for program in "${programs[@]}"; do
    exe=$root/usr/bin/$program
    [[ -x $exe ]] || fail "usr/bin/$program missing or not executable"
    # Debian's hardening: a position-independent executable, its relocations
    # read-only and bound at start, the stack protector and fortified calls.
    readelf -h "$exe" | grep -q 'Type: *DYN' || fail "$program is not position-independent"
    readelf -l "$exe" | grep -q GNU_RELRO || fail "$program has no read-only relocations (relro)"
    readelf -d "$exe" | grep -q -E 'BIND_NOW|FLAGS_1.* NOW' || fail "$program is not bound at start (bindnow)"
    symbols=$(readelf --dyn-syms -W "$exe")
    grep -q __stack_chk_fail <<<"$symbols" || fail "$program is built without the stack protector"
    grep -q -E ' __[a-z0-9_]+_chk(@|$)' <<<"$symbols" || fail "$program calls no fortified function"
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
run_bare "$root/usr/bin/tarvik1-panel-emulator" --help >"$scratch/emu.out" 2>&1 || status=$?
((status == 0)) || { cat "$scratch/emu.out" >&2; fail "tarvik1-panel-emulator --help exited with $status"; }
grep -q 'tarvik1-panel-emulator' "$scratch/emu.out" || fail "the emulator's help does not name it as installed"

status=0
run_bare "$root/usr/bin/tarvik1-cli" --version >"$scratch/version.out" 2>&1 || status=$?
[[ $status == 0 && $(cat "$scratch/version.out") == "tarvik1-cli $version" ]] ||
    fail "tarvik1-cli --version: $status, $(cat "$scratch/version.out")"

# A manual page per program, compressed, that man reads without a warning
# and whose name line is the program's.
for program in "${programs[@]}"; do
    page=$root/usr/share/man/man1/$program.1.gz
    [[ -f $page ]] || fail "no manual page usr/share/man/man1/$program.1.gz"
    file -b "$page" | grep -q '^gzip compressed' || fail "$program.1.gz is not gzip: $(file -b "$page")"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >"$scratch/$program.txt") ||
        fail "man cannot format $program.1.gz"
    [[ -z $warnings ]] || fail "man warns about $program.1.gz: $warnings"
    name=$(zcat "$page" | sed -n '/^\.SH NAME/{n;p;q}')
    [[ $name == "$program \\- "* ]] || fail "the NAME line of $program.1.gz does not name $program: $name"
done
# The command line's page lists its exit codes and options as --help does.
for code in 0 1 2 3 4 5 6 7 8 9 10 11 12 13; do
    grep -q -E "^ +$code( |$)" "$scratch/tarvik1-cli.txt" || fail "tarvik1-cli(1) lacks exit code $code"
done
for option in --port --modem --timeout --log --out --last --all --yes --pages --erase-journal --quiet --version --help; do
    grep -q -F -- "$option" "$scratch/help.out" || fail "tarvik1-cli --help lacks $option"
    grep -q -F -- "$option" "$scratch/tarvik1-cli.txt" || fail "tarvik1-cli(1) lacks $option"
done

doc=$root/usr/share/doc/tarvik1
cmp -s "$doc/copyright" "$source_dir/debian/copyright" || fail "usr/share/doc/tarvik1/copyright is not debian/copyright"
[[ -f $doc/changelog.gz ]] || fail "no usr/share/doc/tarvik1/changelog.gz"
newest=$(zcat "$doc/changelog.gz" | head -n 1)
[[ $newest == "tarvik1 ($version) "* ]] || fail "the changelog's newest entry is not $version: $newest"

# lintian: no error; every other tag it shows (warnings, and the notes of
# --display-info, the hardening's among them) is explained in README.md.
status=0
lintian --display-info --tag-display-limit 0 "$deb" >"$scratch/lintian.out" 2>"$scratch/lintian.err" || status=$?
# 0: nothing at the level that fails; 1: tags at it; more: lintian itself failed.
((status <= 1)) || fail "lintian could not check the package ($status): $(cat "$scratch/lintian.err")"
errors=$(grep -E '^E: ' "$scratch/lintian.out" || true)
[[ -z $errors ]] || fail "lintian errors: $errors"
explained=$(sed -n '/^### What lintian says$/,/^##/p' "$source_dir/README.md")
while read -r severity package tag rest; do
    grep -q -F -- "\`$tag\`" <<<"$explained" || fail "lintian $severity $tag $rest: not explained in README.md"
done < <(grep -E '^[WI]: ' "$scratch/lintian.out" || true)

echo "ok: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB), Depends: $depends"
