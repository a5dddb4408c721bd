#!/bin/bash
# bench/run.sh BUILD_DIR: the program's benchmark. Reports figures and ratios, asserts nothing.
#
# Everything runs on one private Xvfb display (1280x1024x24, -noreset) that this script starts
# and stops. Each timing is the median of at least 11 runs, shown with its minimum and maximum.
# Run counts can be raised (never below 11) with BENCH_RUNS, BENCH_FLOW_RUNS,
# BENCH_EXPORT_RUNS and BENCH_SNAPSHOT_ITERATIONS.

set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build-bench}" && pwd)
APP=$BUILD/src/quimo-auswertung
EXPORT=$BUILD/src/quimo-export
MINIMAL=$BUILD/bench/bench_minimal_qt
XPROBE=$BUILD/bench/bench_xprobe
SNAPSHOT=$BUILD/bench/bench_snapshot
CORE=$BUILD/bench/bench_core

at_least_11() { local n=${1:-11}; [ "$n" -ge 11 ] 2>/dev/null && echo "$n" || echo 11; }
RUNS=$(at_least_11 "${BENCH_RUNS:-15}")
FLOW_RUNS=$(at_least_11 "${BENCH_FLOW_RUNS:-11}")
EXPORT_RUNS=$(at_least_11 "${BENCH_EXPORT_RUNS:-11}")
SNAPSHOT_ITERATIONS=$(at_least_11 "${BENCH_SNAPSHOT_ITERATIONS:-41}")
RSS_RUNS=${BENCH_RSS_RUNS:-5}
EXPORT_FILES=200

TITLE_OPEN="Öffnen"
TITLE_QUESTION="Bestätigung"
TITLE_OVERVIEW="QUIMO Trivelkanz: Auswertung Harnik QDX"
TITLE_MENU="QUIMO Einzelauswertung Harnik QDX"

for tool in Xvfb xdotool valgrind perl /usr/bin/time; do
    command -v "$tool" >/dev/null 2>&1 || { echo "bench: '$tool' is not installed" >&2; exit 1; }
done
for program in "$APP" "$EXPORT" "$MINIMAL" "$XPROBE" "$SNAPSHOT" "$CORE"; do
    [ -x "$program" ] || { echo "bench: $program is not built (make bench builds it)" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quimo-bench.XXXXXX")
XVFB_PID=""
cleanup()
{
    local status=$?
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    if [ "$status" -eq 0 ]; then
        rm -rf -- "$WORK"
    else
        echo "bench: failed; the work folder is kept: $WORK" >&2
    fi
}
trap cleanup EXIT

log() { printf 'bench: %s\n' "$*" >&2; }

# The private display; -displayfd lets the server pick a free number.
Xvfb -displayfd 9 -screen 0 1280x1024x24 -noreset -nolisten tcp 9>"$WORK/display" \
    >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 500); do
    grep -q '^[0-9][0-9]*$' "$WORK/display" 2>/dev/null && break
    sleep 0.02
done
grep -q '^[0-9][0-9]*$' "$WORK/display" || { echo "bench: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$WORK/display")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
mkdir -p "$WORK/home/.config" "$WORK/runtime" "$WORK/data"
chmod 700 "$WORK/runtime"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_RUNTIME_DIR="$WORK/runtime"
export LC_ALL=C.UTF-8
cp "$ROOT/examples/QUIMO.dat" "$WORK/data/QUIMO.dat"
log "Xvfb on $DISPLAY, work folder $WORK"

# stats: numbers on stdin -> "median min max"
stats() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print "nan nan nan"; exit }
    printf "%.6g %.6g %.6g\n", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[1], v[NR] }'; }
# field NAME FILE: the value of "NAME value" lines, one a line
field() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }
median() { stats | awk '{ print $1 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

ROWS=()
# pad TEXT: TEXT filled up to 58 characters (printf would count the bytes of "Ö" and "ä")
pad() { local text=$1; while [ "${#text}" -lt 58 ]; do text+=" "; done; printf '%s' "$text"; }
# row LABEL MEDIAN MIN MAX UNIT
row() { ROWS+=("$(pad "$1") $(printf '%10s %10s %10s  %s' "$2" "$3" "$4" "$5")"); }
# row_stats LABEL UNIT < numbers
row_stats() { local label=$1 unit=$2 m lo hi; read -r m lo hi < <(stats); row "$label" "$m" "$lo" "$hi" "$unit"; }
# note TEXT: a line of the table without figures
note() { ROWS+=("$1"); }
# goal LABEL VALUE OP GOAL
goal()
{
    local verdict
    verdict=$(awk -v v="$2" -v g="$4" -v op="$3" 'BEGIN { ok = (op == "<=") ? v <= g : v >= g; print ok ? "met" : "NOT met" }')
    ROWS+=("$(pad "$1") $(printf '%10s   goal %s %s: %s' "$2" "$3" "$4" "$verdict")")
}

# ---------------------------------------------------------------------------------------------
# 1. Start-up: start to the open dialog's map, against a minimal Qt Widgets program.
log "1/6 start-up to the first window ($RUNS runs each, interleaved)"
"$XPROBE" --title bench-minimal-qt -- "$MINIMAL" >/dev/null # warm-up: caches, page cache
"$XPROBE" --title "$TITLE_OPEN" --cwd "$WORK/data" -- "$APP" >/dev/null
: >"$WORK/start_minimal" >"$WORK/start_app" >"$WORK/start_dialog"
for _ in $(seq "$RUNS"); do
    "$XPROBE" --title bench-minimal-qt --cwd "$WORK/data" --log "$WORK/minimal.log" -- \
        "$MINIMAL" --file-dialog | awk '$1 == "mapped" { print $2 }' >>"$WORK/start_dialog"
    "$XPROBE" --title bench-minimal-qt --log "$WORK/minimal.log" -- "$MINIMAL" |
        awk '$1 == "mapped" { print $2 }' >>"$WORK/start_minimal"
    "$XPROBE" --title "$TITLE_OPEN" --cwd "$WORK/data" --log "$WORK/app.log" -- "$APP" |
        awk '$1 == "mapped" { print $2 }' >>"$WORK/start_app"
done
note "1. Start-up, from fork() to the X server's MapNotify (SubstructureNotify on the root)"
row_stats "   minimal Qt Widgets program: first window mapped" ms <"$WORK/start_minimal"
row_stats "   quimo-auswertung: open dialog \"$TITLE_OPEN\" mapped" ms <"$WORK/start_app"
START_RATIO=$(ratio "$(median <"$WORK/start_app")" "$(median <"$WORK/start_minimal")")
goal "   ratio quimo / minimal (medians)" "$START_RATIO" "<=" 1.15
row_stats "   yardstick 2: minimal program showing a bare QFileDialog" ms <"$WORK/start_dialog"

# The same start-up split into its steps, timed from inside (bench_startup_phases runs the
# steps of main() and Application in their order; its clock starts at the probe's fork()).
: >"$WORK/phases"
for k in $(seq "$RUNS"); do
    "$XPROBE" --title "$TITLE_OPEN" --cwd "$WORK/data" --log "$WORK/phases.$k" -- \
        "$BUILD/bench/bench_startup_phases" >/dev/null
    awk '$1 == "phase" { d = $3 - last; last = $3; print $2, d }' "$WORK/phases.$k" >>"$WORK/phases"
done
note "   the same start-up step by step (bench_startup_phases, $RUNS runs; each step's own time):"
for phase in main_entered qapplication_constructed style_set fonts_set_up translations_installed \
    overview_constructed overview_shown open_dialog_constructed; do
    case $phase in
    main_entered) label="fork -> main() (exec, dynamic linking)" ;;
    qapplication_constructed) label="QApplication constructor (xcb, plugins)" ;;
    style_set) label="setStyle(QProxyStyle)" ;;
    fonts_set_up) label="setUpFonts" ;;
    translations_installed) label="installGermanTranslations" ;;
    overview_constructed) label="OverviewWindow constructor (first fonts, icons)" ;;
    overview_shown) label="OverviewWindow::show" ;;
    open_dialog_constructed) label="-> QFileDialog built (event loop, dialog ctor)" ;;
    esac
    row_stats "     $label" ms < <(awk -v p="$phase" '$1 == p { print $2 }' "$WORK/phases")
done

# ---------------------------------------------------------------------------------------------
# 2. Start to the painted chart, the harness answering the dialog (Return) and the question
#    (Escape = Nein) as soon as each has the keyboard.
log "2/6 start to the painted chart ($FLOW_RUNS runs)"
"$XPROBE" --title "$TITLE_OPEN" --flow "$TITLE_OVERVIEW" --calibrate --cwd "$WORK/data" \
    --log "$WORK/app.log" -- "$APP" >"$WORK/calibration"
CAL_ROW=$(field calib_row "$WORK/calibration")
CAL_COUNT=$(field calib_count "$WORK/calibration")
[ "${CAL_ROW:--1}" -ge 0 ] && [ "${CAL_COUNT:-0}" -gt 0 ] ||
    { echo "bench: no navy bars found on the overview: $(cat "$WORK/calibration")" >&2; exit 1; }
for k in $(seq "$FLOW_RUNS"); do
    "$XPROBE" --title "$TITLE_OPEN" --flow "$TITLE_OVERVIEW" --row "$CAL_ROW" \
        --count $((CAL_COUNT / 2)) --cwd "$WORK/data" --log "$WORK/app.log" -- "$APP" \
        >"$WORK/flow.$k"
done
flow_values()
{
    local k
    for k in $(seq "$FLOW_RUNS"); do
        awk "{ t[\$1] = \$2 } END { print $1 }" "$WORK/flow.$k"
    done
}
note ""
note "2. Start to the overview's chart on the screen (Return in \"$TITLE_OPEN\", Escape in \"$TITLE_QUESTION\")"
note "   painted = row $CAL_ROW of the overview window (read back with XGetImage every ms) holds"
note "   >= $((CAL_COUNT / 2)) of its $CAL_COUNT navy bar pixels; keys go in through XTEST from the probe"
note "   itself as soon as the window has the X input focus, timed when the server has taken them"
row_stats "   start -> open dialog mapped" ms < <(flow_values 't["mapped"]')
row_stats "   Return -> question mapped" ms < <(flow_values 't["question_mapped"] - t["enter_sent"]')
row_stats "   answer (Escape) -> chart painted" ms < <(flow_values 't["painted"] - t["escape_sent"]')
row_stats "   start -> chart painted (harness reaction included)" ms < <(flow_values 't["painted"]')
row_stats "   start -> chart painted, the program's own share" ms < <(flow_values 't["painted"] - (t["enter_sent"] - t["mapped"]) - (t["escape_sent"] - t["question_mapped"])')
row_stats "   harness: map -> key focus -> key, both dialogs" ms < <(flow_values '(t["enter_sent"] - t["mapped"]) + (t["escape_sent"] - t["question_mapped"])')

# ---------------------------------------------------------------------------------------------
# 3. Peak memory of a full interactive run against the minimal program's.
log "3/6 peak memory ($RSS_RUNS full runs each)"
focused_title()
{
    local id
    id=$(xdotool getwindowfocus 2>/dev/null) || return 0
    xdotool getwindowname "$id" 2>/dev/null || true
}
# await_focus PATTERN: waits (10 s at most) until the focused window's title matches.
await_focus()
{
    local i
    for i in $(seq 1000); do
        [[ "$(focused_title)" =~ $1 ]] && { sleep 0.05; return 0; }
        sleep 0.01
    done
    echo "bench: no window '$1' took the keyboard (focus: '$(focused_title)')" >&2
    return 1
}
full_run()
{
    local out=$1 pid block
    (cd "$WORK/data" && exec /usr/bin/time -f %M -o "$out" "$APP" </dev/null >/dev/null 2>&1) &
    pid=$!
    await_focus "^$TITLE_OPEN\$"
    xdotool key Return
    await_focus "^$TITLE_QUESTION\$"
    xdotool key Escape
    await_focus "^$TITLE_OVERVIEW\$"
    xdotool key e
    await_focus "^$TITLE_MENU\$"
    for block in 1 2 3 4 5 6 7 8 9; do
        xdotool key Return
        await_focus '^QUIMO: Pendrovik: '
        xdotool key Return
        await_focus "^$TITLE_MENU\$"
    done
    xdotool key Return
    await_focus "^$TITLE_OVERVIEW\$"
    xdotool key c
    wait "$pid"
}
: >"$WORK/rss_app" >"$WORK/rss_minimal"
for k in $(seq "$RSS_RUNS"); do
    full_run "$WORK/rss.$k"
    tail -n 1 "$WORK/rss.$k" >>"$WORK/rss_app"
    /usr/bin/time -f %M -o "$WORK/rssmin.$k" "$MINIMAL" --quit-after-ms 1000 >/dev/null 2>&1
    tail -n 1 "$WORK/rssmin.$k" >>"$WORK/rss_minimal"
done
note ""
note "3. Peak RSS (GNU time %M), $RSS_RUNS runs each"
row_stats "   minimal program, shown for 1 s" KiB <"$WORK/rss_minimal"
row_stats "   quimo-auswertung: open, evaluate, e, 19 x Return, c" KiB <"$WORK/rss_app"
RSS_RATIO=$(ratio "$(median <"$WORK/rss_app")" "$(median <"$WORK/rss_minimal")")
goal "   ratio quimo / minimal (medians)" "$RSS_RATIO" "<=" 1.2

# ---------------------------------------------------------------------------------------------
# 4. The overview's snapshot on the real screen against QImageWriter.
log "4/6 snapshot ($SNAPSHOT_ITERATIONS iterations)"
mkdir -p "$WORK/snapshot"
"$SNAPSHOT" "$WORK/data/QUIMO.dat" "$WORK/snapshot" "$SNAPSHOT_ITERATIONS" >"$WORK/snapshot.txt" \
    2>"$WORK/snapshot.log"
snap() { awk -v k="$1" '$1 == k { print $2, $3, $4 }' "$WORK/snapshot.txt"; }
snap_row() { local m lo hi; read -r m lo hi < <(snap "$2"); row "$1" "$m" "$lo" "$hi" ms; }
note ""
note "4. Overview snapshot, $(field picture "$WORK/snapshot.txt") px, $SNAPSHOT_ITERATIONS iterations, written into one folder"
snap_row "   saveSnapshot: capture + scratch + encode + safe write" snapshot_full
snap_row "   captureForegroundWindow alone" capture
snap_row "   writePicture alone (convert + encode + safe write)" write_picture
snap_row "   QImageWriter, JPEG quality 90, same captured QImage" qimagewriter
snap_row "   convert to 24-bit RGB" rgb_convert
snap_row "   quimo::encodeJpeg alone" encode
snap_row "   writeFileReplacing alone (temp file, fsync, rename)" safe_write
snap_row "   plain write of the same bytes, no fsync" plain_write
note "   file sizes: ours $(field size_ours "$WORK/snapshot.txt") B, QImageWriter $(field size_qt "$WORK/snapshot.txt") B"
read -r SNAP_FULL _ < <(snap snapshot_full)
read -r SNAP_WRITE _ < <(snap write_picture)
read -r SNAP_QT _ < <(snap qimagewriter)
goal "   ratio saveSnapshot / QImageWriter" "$(ratio "$SNAP_FULL" "$SNAP_QT")" "<=" 1.0
goal "   ratio writePicture / QImageWriter (no capture)" "$(ratio "$SNAP_WRITE" "$SNAP_QT")" "<=" 1.0

# ---------------------------------------------------------------------------------------------
# 5. Instruction counts, exact and repeatable on a noisy machine.
log "5/6 callgrind"
note ""
note "5. Instructions (callgrind, offscreen platform, --instr-atstart=no; only the measured part)"
for mode in read_score fill render; do
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --instr-atstart=no \
        --callgrind-out-file="$WORK/callgrind.$mode" "$CORE" "$mode" "$WORK/data/QUIMO.dat" \
        >"$WORK/callgrind.$mode.log" 2>&1
    instructions=$(awk '/^totals:/ { print $2; exit }' "$WORK/callgrind.$mode")
    case $mode in
    read_score) label="readAnswerRecord + blockTotals + 9 x blockScore" ;;
    fill) label="the same + OverviewWindow::showEvaluation (9 x addPoint)" ;;
    render) label="one paint of the filled overview (renderWindow)" ;;
    esac
    row "   $label" "$instructions" "" "" Ir
done

# ---------------------------------------------------------------------------------------------
# 6. quimo-export throughput.
log "6/6 quimo-export ($EXPORT_RUNS runs of $EXPORT_FILES files)"
mkdir -p "$WORK/export/in" "$WORK/export/out"
perl -e 'srand(2004); binmode STDOUT;
    for my $n (1 .. $ARGV[1]) {
        open(my $f, ">", sprintf("%s/G%03d.dat", $ARGV[0], $n)) or die;
        binmode $f;
        print $f pack("x44 l<54 x4", map { int(rand(6)) - 1 } 1 .. 54);
        close $f;
    }' "$WORK/export/in" "$EXPORT_FILES"
"$EXPORT" -o "$WORK/export/out" "$WORK"/export/in/*.dat 2>/dev/null # warm-up
: >"$WORK/export_rate" >"$WORK/export_cpu_rate" >"$WORK/export_cpus"
for k in $(seq "$EXPORT_RUNS"); do
    /usr/bin/time -f '%e %U %S' -o "$WORK/export_time.$k" \
        "$EXPORT" -o "$WORK/export/out" "$WORK"/export/in/*.dat 2>/dev/null
    read -r elapsed user system <"$WORK/export_time.$k"
    awk -v n="$EXPORT_FILES" -v e="$elapsed" 'BEGIN { printf "%.2f\n", n / e }' >>"$WORK/export_rate"
    awk -v n="$EXPORT_FILES" -v u="$user" -v s="$system" 'BEGIN { printf "%.2f\n", n / (u + s) }' \
        >>"$WORK/export_cpu_rate"
    awk -v e="$elapsed" -v u="$user" -v s="$system" 'BEGIN { printf "%.2f\n", (u + s) / e }' \
        >>"$WORK/export_cpus"
done
note ""
note "6. quimo-export, $EXPORT_FILES generated answer files, JPEG only (10 pictures each), -o one folder"
row_stats "   files per second (wall clock)" files/s <"$WORK/export_rate"
row_stats "   files per CPU second (user + system)" files/s/core <"$WORK/export_cpu_rate"
row_stats "   cores busy on average ((user + system) / wall)" cores <"$WORK/export_cpus"
goal "   files per second per core (median)" "$(median <"$WORK/export_cpu_rate")" ">=" 50

# ---------------------------------------------------------------------------------------------
qt_version=$("$MINIMAL" --qt-version)
jpeg_version=$(dpkg-query -W -f='${Package} ${Version}' libjpeg62-turbo 2>/dev/null || echo unknown)
cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
echo
echo "QUIMO Auswertung benchmark, $(date '+%Y-%m-%d %H:%M:%S %Z')"
echo "machine: $cpu, $(nproc) cores, $(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo); $(uname -sr)"
echo "Qt $qt_version (platform xcb on Xvfb 1280x1024x24), $jpeg_version, build: Release"
echo "medians of >= 11 runs unless said otherwise; reported only, nothing is asserted"
echo
printf '%-58s %10s %10s %10s  %s\n' "" median min max unit
printf '%s\n' "${ROWS[@]}"
