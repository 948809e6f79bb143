#!/usr/bin/env bash
# The installer under Wine, as a user meets it: installed without questions into Program Files with a
# Start menu entry and an entry among the installed programs; a higher version upgrades it in place, a
# lower one is refused; removed, it leaves nothing behind.
# Usage: installer_under_wine.sh WINDOWS_BUILD VERSION MAKE_MSI_SCRIPT
set -uo pipefail
windows_build=$1
version=$2
make_msi=$3
source "$(dirname "${BASH_SOURCE[0]}")/../support/wine.sh"

msi=$windows_build/tarifmaster-$version-x64.msi
staged=$windows_build/dist/windows/stage/tarifmaster-$version-windows-x64
wine_needs "$msi" "$staged"
wine_start
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

folder="$WINEPREFIX/drive_c/Program Files/ТарифМастер"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Windows Installer puts an all-users Start menu entry where ProgramMenuFolder points; Wine may take the
# user's menu for it.
menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
    "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")

product_code() {
    msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'
}

# The installed programs' key of a product, as text ("" when it is not there).
installed_entry() {
    rm -f "$WORK/entry.reg"
    wine reg export "$uninstall\\$1" "$WORK/entry.reg" /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$WORK/entry.reg" | tr -d '\r'
}

# The context verb of a kind of list, as the registry holds it ("" when it is not there).
fleet_verb() {
    rm -f "$WORK/verb.reg"
    wine reg export "HKLM\\Software\\Classes\\SystemFileAssociations\\$1\\shell\\TarifMaster.Fleet" "$WORK/verb.reg" /y \
        >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$WORK/verb.reg" | tr -d '\r' | sed 's/\\\\/\\/g'
}

msiexec() {
    wine msiexec "$@" >"$WORK/msiexec.out" 2>&1
    local status=$?
    wine_settle
    return $status
}

# The version, the files, the Start menu entry, the installed programs' entry with its icon, and a
# program that runs from Program Files.
check_installed() {
    local code=$1 expected=$2 entry menu
    diff -r "$staged" "$folder" >/dev/null || fail "$expected: Program Files differs from the package: $(diff -rq "$staged" "$folder" 2>&1)"
    menu=""
    for candidate in "${menus[@]}"; do
        [ -e "$candidate/ТарифМастер/ТарифМастер.lnk" ] && menu=$candidate
    done
    [ -n "$menu" ] || fail "$expected: no Start menu entry"
    # The entry starts the window: the link holds its target's path.
    grep -aq 'Program Files\\.*\\tarifmaster\.exe' "$menu/ТарифМастер/ТарифМастер.lnk" \
        || fail "$expected: the Start menu entry does not start tarifmaster.exe"
    # The second entry opens the fleet window: the same program with --fleet (UTF-16 in the link).
    fleet_link="$menu/ТарифМастер/ТарифМастер — расчет парка ТС.lnk"
    [ -e "$fleet_link" ] || fail "$expected: no Start menu entry for the fleet window"
    strings -el "$fleet_link" | grep -qx -- '--fleet' || fail "$expected: the fleet entry does not pass --fleet"
    for extension in .csv .xlsx .ods; do
        verb=$(fleet_verb "$extension")
        grep -q 'Рассчитать премии в ТарифМастере' <<<"$verb" || fail "$expected: no context verb on $extension: $verb"
        grep -qF '@="\"C:\Program Files\ТарифМастер\tarifmaster.exe\" --fleet \"%1\""' <<<"$verb" \
            || fail "$expected: the $extension verb does not start the fleet window: $verb"
    done
    entry=$(installed_entry "$code")
    grep -qx '"DisplayName"="ТарифМастер"' <<<"$entry" || fail "$expected: the installed programs' entry is not named ТарифМастер: $entry"
    grep -qx "\"DisplayVersion\"=\"$expected\"" <<<"$entry" || fail "$expected: the installed programs' entry has another version"
    icon=$(wine reg query "HKLM\\Software\\Classes\\Installer\\Products" /s 2>/dev/null | tr -d '\r' \
        | sed -n 's/^ *ProductIcon *REG_SZ *\(.*\)$/\1/p' | grep -c "$code\\\\tarifmaster.ico")
    [ "$icon" = 1 ] || fail "$expected: the installed programs' entry has no icon of its own"
    [ "$(wine "C:\\Program Files\\ТарифМастер\\tarifmaster-batch.exe" --version 2>&1)" = "ТарифМастер $version" ] \
        || fail "$expected: the installed batch program does not answer --version"
}

first=$(product_code "$msi")
msiexec /i "$msi" /qn || fail "installing $version: status $?"
check_installed "$first" "$version"

# The same installer at a higher version, made as the build makes it.
newer_version=$version.1
newer=$WORK/tarifmaster-$newer_version-x64.msi
cmake -DWIXL="$(command -v wixl)" -DMSIBUILD="$(command -v msibuild)" -DWXS="$windows_build/dist/windows/tarifmaster.wxs" \
    -DVERSION="$newer_version" -DOUTPUT="$newer" -P "$make_msi" >/dev/null || fail "making $newer_version"
second=$(product_code "$newer")
msiexec /i "$newer" /qn || fail "upgrading to $newer_version: status $?"
[ -z "$(installed_entry "$first")" ] || fail "$version is still among the installed programs beside $newer_version"
check_installed "$second" "$newer_version"

msiexec /i "$msi" /qn && fail "$version installed over $newer_version"
check_installed "$second" "$newer_version"

msiexec /x "$newer" /qn || fail "removing: status $?"
[ -e "$folder" ] && fail "removed, but Program Files still has: $(find "$folder")"
for menu in "${menus[@]}"; do
    [ -e "$menu/ТарифМастер" ] && fail "removed, but the Start menu still has $menu/ТарифМастер"
done
[ -z "$(installed_entry "$second")" ] || fail "removed, but still among the installed programs"
wine reg query 'HKCU\Software\ТарифМастер' >/dev/null 2>&1 && fail "removed, but HKCU\\Software\\ТарифМастер is left"
for extension in .csv .xlsx .ods; do
    [ -z "$(fleet_verb "$extension")" ] || fail "removed, but the context verb on $extension is left"
done
# The installer's own tables: both entries and the three verbs, per machine.
msiinfo export "$msi" Shortcut | grep -q $'^Fleet\tStartMenuDir\tТарифМастер — расчет парка ТС\t.*\t--fleet\t' \
    || fail "the Shortcut table has no fleet entry"
[ "$(msiinfo export "$msi" Registry | grep -c $'\t2\tSoftware\\\\Classes\\\\SystemFileAssociations\\\\.*\\\\shell\\\\TarifMaster.Fleet\\\\command\t')" = 3 ] \
    || fail "the Registry table has not the three verbs' commands under HKLM"

if [ $failures -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "the installer under Wine: all cases passed"
