#!/usr/bin/env bash
# Installs the build into a temporary root (DESTDIR, prefix /usr) and runs
# the installed runner, through its link in bin/, on an installed example:
# the runner must find the engine beside its real path.
set -euo pipefail
build=$1
frontend=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/dest/usr"

for f in lib/korvan/korvan lib/korvan/KORVAN2021_DLL.so share/korvan/examples/driven-pile-clay-sand.kv4d; do
  [[ -f "$usr/$f" ]] || fail "$f is not installed"
done
[[ -L "$usr/bin/korvan" ]] || fail "bin/korvan is not a link"
if [[ "$frontend" == ON ]]; then
  for f in lib/korvan/KORVAN2021 lib/korvan/KORVAN2021UsersManual.pdf \
           lib/korvan/KORVAN2021TechnicalManual.pdf share/applications/korvan.desktop \
           share/icons/hicolor/scalable/apps/korvan.svg share/mime/packages/korvan.xml; do
    [[ -f "$usr/$f" ]] || fail "$f is not installed (or a link to nothing)"
  done
  [[ -L "$usr/bin/KORVAN2021" ]] || fail "bin/KORVAN2021 is not a link"
  desktop-file-validate "$usr/share/applications/korvan.desktop" || fail "desktop entry"
  # The file types as the desktop's database sees them.
  mime="$root/mime"
  mkdir -p "$mime/packages"
  cp "$usr/share/mime/packages/korvan.xml" "$mime/packages/"
  update-mime-database "$mime" >/dev/null 2>&1 || fail "the file types do not load"
  for pattern in '\*\.kv4d' '\*\.kv3d' '\*\.kvd'; do
    grep -q "application/x-korvan.*:$pattern\$" "$mime/globs2" || fail "no file type for $pattern"
  done
fi

# The installed runner on a copy of an installed example, from another folder.
work="$root/work"
mkdir -p "$work"
cp "$usr/share/korvan/examples/driven-pile-clay-sand.kv4d" "$work/pile.kv4d"
(cd / && "$usr/bin/korvan" run "$work/pile.kv4d") >"$root/out.txt" 2>&1 || {
  cat "$root/out.txt" >&2
  fail "the installed korvan run failed"
}
grep -q "Results due to tip movements" "$root/out.txt" || fail "no results printed"
for ext in kv4o kv4p kv4r; do
  [[ -f "$work/pile.$ext" ]] || fail "pile.$ext was not written"
done
# The same numbers as the runner of the build gives.
cp "$work/pile.kv4d" "$work/again.kv4d"
"$build/bin/korvan" run "$work/again.kv4d" >/dev/null
cmp -s "$work/pile.kv4p" "$work/again.kv4p" || fail "installed and built engines differ"
echo "installed tree: ok"
