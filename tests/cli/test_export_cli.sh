# The command line of quimo-export as a coach uses it: help, version, wrong usage, a group of
# files with one bad file among them.
set -u
EXPORT=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/quimo-export-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL test_export_cli: $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"

"$EXPORT" --help >"$work/help" 2>&1 || fail "--help failed"
grep -q "^Aufruf: quimo-export \[OPTIONEN\] DATEI" "$work/help" || fail "--help: $(cat "$work/help")"
grep -q -- "--csv DATEI" "$work/help" || fail "--help does not explain --csv"
[ "$("$EXPORT" --version)" = "quimo-export 1.0" ] || fail "--version"

status=0
"$EXPORT" >"$work/out" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "no file: status $status, expected 2"
grep -q "keine Antwortdatei angegeben" "$work/out" || fail "no file: $(cat "$work/out")"
status=0
"$EXPORT" --gibtsnicht x.dat >"$work/out" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "unknown option: status $status, expected 2"

# Two good files and a bad one: the bad one is named and skipped, the rest goes on.
perl -e 'binmode STDOUT; print pack("x44 l<54 x4", (4) x 54)' >"$work/anna.dat"
perl -e 'binmode STDOUT; print pack("x44 l<54 x4", (0) x 54)' >"$work/bernd.dat"
printf 'kaputt' >"$work/kaputt.dat"
status=0
"$EXPORT" --csv "$work/gruppe.csv" "$work/anna.dat" "$work/kaputt.dat" "$work/bernd.dat" \
    >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "a bad file: status $status, expected 1"
grep -q "^\[2/3\] $work/kaputt.dat" "$work/err" || fail "no progress line: $(cat "$work/err")"
grep -q "^Datei lässt sich nicht öffnen: $work/kaputt.dat$" "$work/err" || fail "bad file not named: $(cat "$work/err")"
grep -q "^\[3/3\] $work/bernd.dat … ok$" "$work/err" || fail "the rest did not go on: $(cat "$work/err")"
[ "$(grep -c ';' "$work/gruppe.csv")" -eq 3 ] || fail "the table: $(cat "$work/gruppe.csv")"
grep -q "^$work/anna.dat;100;100;100;100;100;100;100;100;100;0" "$work/gruppe.csv" || fail "anna's row"
grep -q "^$work/bernd.dat;20;20;20;20;20;20;20;20;20;0" "$work/gruppe.csv" || fail "bernd's row"
[ "$(ls "$work" | grep -c '^anna.*\.jpg$')" -eq 10 ] || fail "not ten pictures of anna"
[ "$(ls "$work" | grep -c '^kaputt.*\.jpg$')" -eq 0 ] || fail "pictures of the bad file"
echo "PASS test_export_cli"
