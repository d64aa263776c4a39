#!/usr/bin/env bash
# Installs the build tree into a scratch DESTDIR and checks the result the way the desktop,
# the icon theme, man and the help command will read it.
#   check_install.sh SOURCE_DIR BUILD_DIR SCRATCH_DIR INSTALL_PREFIX
set -uo pipefail
source=$1 build=$2 scratch=$3 prefix=$4
app=org.zav7305.Zav7305
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$scratch"
if ! DESTDIR="$scratch" "${CMAKE_COMMAND:-cmake}" --install "$build" >"$scratch.log" 2>&1; then
    cat "$scratch.log"
    echo "FAIL: cmake --install"
    exit 1
fi
root=$scratch$prefix

expected=(
    share/applications/$app.desktop
    share/metainfo/$app.metainfo.xml
    share/man/man1/Zav7305.1
    share/man/man1/zav7305-sim.1
    share/man/man1/zav7305-cli.1
    share/doc/zav7305/copyright
    share/zav7305/help/Zav7305.html
)
for size in 16 32 48 64 128 256; do
    expected+=(share/icons/hicolor/${size}x${size}/apps/$app.png)
done
for file in "${expected[@]}"; do
    [[ -s "$root/$file" ]] || fail "missing $prefix/$file"
done
for program in Zav7305 zav7305-sim zav7305-cli; do
    [[ -x "$root/bin/$program" ]] || fail "missing program $prefix/bin/$program"
done

# bin/ holds programs only: no help, icon or data file beside them.
while IFS= read -r -d '' file; do
    [[ -x "$file" && $(od -An -tx1 -N4 "$file") == " 7f 45 4c 46" ]] ||
        fail "not a program in bin/: $file"
done < <(find "$root/bin" -type f -print0)

entry=$root/share/applications/$app.desktop
exec_line=$(sed -n 's/^Exec=//p' "$entry")
program=${exec_line%% *}
[[ -n "$program" && "$program" != */* && -x "$root/bin/$program" ]] ||
    fail "Exec=$exec_line names no installed program"
grep -qx "StartupWMClass=Zav7305" "$entry" || fail "no StartupWMClass=Zav7305"
grep -qx "Icon=$app" "$entry" || fail "Icon is not $app"

# Every page a dialog's help opens, and every page and picture the guide links to.
for topic in $(grep -ho '"help":"[^"]*"' "$source"/res/templates/*.json |
                   cut -d'"' -f4); do
    [[ -s "$root/share/zav7305/help/$topic.html" ]] || fail "no help page for topic $topic"
done
for page in "$root"/share/zav7305/help/*.html; do
    for target in $(grep -o '\(href\|src\)="[^"#:]*' "$page" | cut -d'"' -f2); do
        [[ -e "$(dirname "$page")/$target" ]] || fail "$(basename "$page") links to missing $target"
    done
done

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate"
else
    echo "desktop-file-validate not installed: skipped"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --pedantic --no-net "$root/share/metainfo/$app.metainfo.xml" ||
        fail "appstreamcli validate --pedantic"
else
    echo "appstreamcli not installed: skipped"
fi

[[ $failures -eq 0 ]] && echo "installed layout under $root is complete"
exit $((failures > 0))
