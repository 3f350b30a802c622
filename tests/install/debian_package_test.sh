#!/usr/bin/env bash
# Builds the .deb from the build folder into a temporary folder and checks
# its control data (name, version, dependencies found by dpkg-shlibdeps and
# those named by the project) and its file list.
set -euo pipefail
build=$1
frontend=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || {
  cat "$out/cpack.log" >&2
  fail "cpack failed"
}
deb=$(ls "$out"/korvan_*.deb)
[[ "$(dpkg-deb -f "$deb" Package)" == korvan ]] || fail "package name"
[[ "$(dpkg-deb -f "$deb" Version)" == 2021.4.3-1 ]] || fail "version $(dpkg-deb -f "$deb" Version)"
[[ "$(dpkg-deb -f "$deb" Architecture)" == "$(dpkg --print-architecture)" ]] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
expected=(libc6 libstdc++6)
if [[ "$frontend" == ON ]]; then
  expected+=(libqt6widgets6 libqt6charts6 libqt6gui6 libxlsxwriter libqt6svg6 libqt6pdfwidgets6
    libqt6pdf6 fonts-liberation2)
fi
for dep in "${expected[@]}"; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
listed=(./usr/bin/korvan ./usr/lib/korvan/korvan ./usr/lib/korvan/KORVAN2021_DLL.so
        ./usr/share/korvan/examples/driven-pile-clay-sand.kv4d)
if [[ "$frontend" == ON ]]; then
  listed+=(./usr/bin/KORVAN2021 ./usr/lib/korvan/KORVAN2021
           ./usr/share/korvan/manuals/KORVAN2021UsersManual.pdf
           ./usr/share/korvan/manuals/KORVAN2021TechnicalManual.pdf
           ./usr/lib/korvan/KORVAN2021UsersManual.pdf
           ./usr/share/applications/korvan.desktop
           ./usr/share/icons/hicolor/scalable/apps/korvan.svg
           ./usr/share/mime/packages/korvan.xml)
fi
for f in "${listed[@]}"; do
  grep -qxF "$f" <<<"$files" || fail "the package lacks $f"
done
if grep -q '^\./usr/lib/korvan/.*test' <<<"$files"; then fail "test programs in the package"; fi
echo "package $(basename "$deb"): ok"
