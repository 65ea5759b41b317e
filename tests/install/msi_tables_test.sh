#!/usr/bin/env bash
# Checks an installer package's tables with msiinfo and its payload with
# msiextract, without installing it: per-user, the one program file, the two
# shortcuts into the install folder, the start-at-logon feature, the upgrade
# of older versions, and the architecture.
# Usage: msi_tables_test.sh PACKAGE.msi x86|x64 VERSION UPGRADE_CODE PROGRAM.exe
set -euo pipefail
msi=$1 arch=$2 version=$3 upgrade_code=$4 program=$5
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Rows of a table, without its three header lines, tab-separated, no CR.
rows() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }
expect_rows() {  # expect_rows TABLE EXPECTED: the rows, sorted, that EXPECTED lists
  local actual expected
  actual=$(rows "$1" | sort)
  expected=$(printf '%b' "$2" | sort)
  [ "$actual" = "$expected" ] || fail "$1 table:"$'\n'"$actual"$'\n'"expected:"$'\n'"$expected"
}
property() { rows Property | awk -F'\t' -v name="$1" '$1 == name { print $2 }'; }

summary=$(msiinfo suminfo "$msi")
case $arch in
  x86) template=Intel machine=4c01 component_attributes=4 ;;
  x64) template=x64 machine=6486 component_attributes=260 ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
grep -q "^Template: $template;" <<<"$summary" || fail "template is not $template: $summary"
# Word count 10: compressed (2) and no elevation needed (8).
grep -q '^Source: 10 ' <<<"$summary" || fail "word count: $(grep Source <<<"$summary")"

[ "$(property ProductName)" = Tarvelo ] || fail "ProductName $(property ProductName)"
[ "$(property ProductVersion)" = "$version" ] || fail "ProductVersion $(property ProductVersion)"
[ "$(property UpgradeCode)" = "{$upgrade_code}" ] || fail "UpgradeCode $(property UpgradeCode)"
# No ALLUSERS: the package installs for the user who runs it.
[ -z "$(property ALLUSERS)" ] || fail "ALLUSERS is set: $(property ALLUSERS)"

expect_rows Directory 'TARGETDIR\t\tSourceDir
LocalAppDataFolder\tTARGETDIR\t.
UserProgramsFolder\tLocalAppDataFolder\tPrograms
INSTALLFOLDER\tUserProgramsFolder\tTarvelo
ProgramMenuFolder\tTARGETDIR\t.
StartupFolder\tTARGETDIR\t.'
size=$(stat -c %s "$program")
expect_rows File "TarveloExe\tProgram\tTarvelo.exe\t$size\t\t\t512\t1"
shortcut_tail='\t[#TarveloExe]\t\tTarvelo\t\t\t\t\tINSTALLFOLDER\t\t\t\t'
expect_rows Shortcut "MenuShortcut\tProgramMenuFolder\tTarvelo\tMenuShortcut$shortcut_tail
StartupShortcut\tStartupFolder\tTarvelo\tStartupShortcut$shortcut_tail"
expect_rows FeatureComponents 'Main\tProgram
Main\tMenuShortcut
StartAtLogon\tStartupShortcut'
# Both features on by default (level 1); start at logon only under Main.
features=$(rows Feature | cut -f 1,2,6 | sort)
[ "$features" = $'Main\t\t1\nStartAtLogon\tMain\t1' ] || fail "Feature table: $features"
# Every component is keyed by a value under HKCU (4), and 64-bit (256) on x64.
rows Component | awk -F'\t' -v want="$component_attributes" '
  { n++; if ($4 != want) bad = bad " " $1 "=" $4 }
  END { if (n != 3 || bad != "") { print "components: " n bad; exit 1 } }' || fail "Component table"
rows Registry | awk -F'\t' '$2 != 1 || $3 != "Software\\Quenlit\\Tarvelo" { exit 1 }' || fail "Registry outside HKCU"
[ "$(rows RemoveFile | cut -f 2,4,5)" = $'Program\tINSTALLFOLDER\t2' ] || fail "RemoveFile: $(rows RemoveFile)"
# Older versions are found and removed before the files go in; newer ones block.
rows Upgrade | grep -q "^{$upgrade_code}"$'\t\t'"$version"$'\t\t1\t\tWIX_UPGRADE_DETECTED$' ||
  fail "no upgrade of older versions: $(rows Upgrade)"
rows Upgrade | grep -q "^{$upgrade_code}"$'\t'"$version"$'\t\t\t2\t\tWIX_DOWNGRADE_DETECTED$' ||
  fail "no detection of newer versions: $(rows Upgrade)"
rows InstallExecuteSequence | grep -q $'^RemoveExistingProducts\t' || fail "RemoveExistingProducts not scheduled"
rows LaunchCondition | grep -q $'^NOT WIX_DOWNGRADE_DETECTED\t' || fail "a newer version is not kept: $(rows LaunchCondition)"

# The payload is the program itself for this architecture
# (msiextract leaves out the LocalAppData part of the path).
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
msiextract -C "$out" "$msi" >/dev/null
mapfile -t files < <(cd "$out" && find . -type f | sort)
[ "${files[*]}" = "./Programs/Tarvelo/Tarvelo.exe" ] || fail "extracted: ${files[*]}"
extracted=$out/Programs/Tarvelo/Tarvelo.exe
if [ -f "$extracted" ]; then
  cmp -s "$extracted" "$program" || fail "extracted Tarvelo.exe differs from $program"
  pe=$(od -An -tu4 -j 60 -N 4 "$extracted" | tr -d ' ')
  [ "$(od -An -tx1 -j $((pe + 4)) -N 2 "$extracted" | tr -d ' ')" = "$machine" ] || fail "not an $arch program"
fi

[ "$failures" -eq 0 ] || exit 1
echo "$msi: tables and payload as expected"
