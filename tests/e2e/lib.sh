# Shared helpers of the end-to-end scripts: a private X server, the program under test, and
# the small steps a person takes (wait for a window, press a key, look at a picture).
#
# A script does:   source "$QUIMO_E2E_LIB"; e2e_init "$1" [--wm]
# and then drives the program with start_app, wait_window, key, wait_exit, ...
# Everything started here is stopped by the EXIT trap, whatever way the script ends.

set -u

E2E_NAME=$(basename "${0%.sh}")
E2E_APP=""
E2E_WORK=""
E2E_DATA=""         # the folder the program starts in; its open dialog looks here
E2E_XVFB_PID=""
E2E_WM_PID=""
E2E_APP_PID=""
E2E_PROBE=${QUIMO_IMAGE_PROBE:-}
E2E_TITLE_OVERVIEW="QUIMO Trivelkanz: Auswertung Harnik QDX"
E2E_TITLE_OPEN="Öffnen"
E2E_TITLE_QUESTION="Bestätigung"
E2E_TITLE_FAILURE="QUIMO Auswertung Harnik-QDX"
E2E_TITLE_MENU="QUIMO Einzelauswertung Harnik QDX"
E2E_BLOCK_TITLES=(
    ""
    "QUIMO: Pendrovik: Ziele und Visionen kreieren"
    "QUIMO: Pendrovik: Ergebnisse und Erwartungen strukturieren"
    "QUIMO: Pendrovik: Idden und Informationen sammeln"
    "QUIMO: Pendrovik: Teilen und gewinnen"
    "QUIMO: Pendrovik: Prioritäten setzen"
    "QUIMO: Pendrovik: Routineaufgaben einbauen"
    "QUIMO: Pendrovik: Ordnung schaffen"
    "QUIMO: Pendrovik: Freude und Freunde gewinnen"
    "QUIMO: Pendrovik: Initiative ergreifen"
)

log() { printf 'e2e %s: %s\n' "$E2E_NAME" "$*"; }

fail()
{
    printf 'FAIL %s: %s\n' "$E2E_NAME" "$*" >&2
    # The screen at the moment of failure is the quickest way to see what went wrong.
    if [ -n "${DISPLAY:-}" ] && [ -n "$E2E_XVFB_PID" ]; then
        import -window root "/tmp/e2e-failure-$E2E_NAME.png" 2>/dev/null &&
            printf 'FAIL %s: screen saved as /tmp/e2e-failure-%s.png\n' "$E2E_NAME" "$E2E_NAME" >&2
    fi
    exit 1
}

pass() { printf 'PASS %s\n' "$E2E_NAME"; exit 0; }

e2e_stop_pid()
{
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    kill -TERM "$pid" 2>/dev/null
    local i
    for i in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}

e2e_cleanup()
{
    local status=$?
    trap - EXIT INT TERM
    e2e_stop_pid "$E2E_APP_PID"
    e2e_stop_pid "$E2E_WM_PID"
    e2e_stop_pid "$E2E_XVFB_PID"
    # Anything else this shell still has running in the background (a stray import, say).
    local pid
    for pid in $(jobs -p); do
        e2e_stop_pid "$pid"
    done
    if [ -n "$E2E_WORK" ] && [ -d "$E2E_WORK" ]; then
        if [ "$status" -ne 0 ]; then
            printf 'e2e %s: the work folder is kept: %s\n' "$E2E_NAME" "$E2E_WORK" >&2
        else
            rm -rf -- "$E2E_WORK"
        fi
    fi
    exit "$status"
}

e2e_need()
{
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || fail "the tool '$tool' is not installed"
    done
}

# e2e_init APP [--wm]: checks the tools, makes the work folder and starts the X server (and
# the window manager with --wm).
e2e_init()
{
    E2E_APP=${1:-}
    [ -n "$E2E_APP" ] && [ -x "$E2E_APP" ] || fail "no program to test: '${E2E_APP}'"
    e2e_need Xvfb xdotool xwininfo xprop import identify
    if ! command -v perl >/dev/null 2>&1 && ! command -v python3 >/dev/null 2>&1; then
        fail "neither perl nor python3 is installed"
    fi
    trap e2e_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/quimo-e2e-$E2E_NAME.XXXXXX") || fail "no temp folder"
    E2E_DATA="$E2E_WORK/daten"
    mkdir -p "$E2E_DATA" "$E2E_WORK/home/.config" "$E2E_WORK/runtime"
    chmod 700 "$E2E_WORK/runtime"

    start_xvfb
    if [ "${2:-}" = "--wm" ]; then
        start_wm
    fi
}

start_xvfb()
{
    # -displayfd: the server picks a free display number itself and writes it to fd 9.
    local numberfile="$E2E_WORK/display"
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -noreset -nolisten tcp \
        9>"$numberfile" >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local i
    for i in $(seq 500); do
        if [ -s "$numberfile" ] && grep -q '^[0-9][0-9]*$' "$numberfile"; then
            break
        fi
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || fail "Xvfb ended at once: $(cat "$E2E_WORK/xvfb.log")"
        sleep 0.02
    done
    [ -s "$numberfile" ] || fail "Xvfb reported no display within 10 s"
    export DISPLAY=":$(head -n 1 "$numberfile")"
    for i in $(seq 250); do
        xwininfo -root >/dev/null 2>&1 && break
        sleep 0.02
    done
    xwininfo -root >/dev/null 2>&1 || fail "the X server on $DISPLAY does not answer"
    log "Xvfb runs on display $DISPLAY (1280x1024x24)"
}

start_wm()
{
    e2e_need openbox
    # HOME points into the work folder, so openbox runs with its default configuration.
    HOME="$E2E_WORK/home" XDG_CONFIG_HOME="$E2E_WORK/home/.config" \
        openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    local i
    for i in $(seq 500); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            log "openbox runs"
            return 0
        fi
        kill -0 "$E2E_WM_PID" 2>/dev/null || fail "openbox ended at once: $(cat "$E2E_WORK/openbox.log")"
        sleep 0.02
    done
    fail "openbox did not start within 10 s"
}

# start_app: starts the program in the data folder, as a user would from a file manager.
start_app()
{
    log "starting $(basename "$E2E_APP") in $E2E_DATA"
    (
        cd "$E2E_DATA" || exit 99
        unset QT_QPA_PLATFORM WAYLAND_DISPLAY
        export HOME="$E2E_WORK/home" XDG_CONFIG_HOME="$E2E_WORK/home/.config"
        export XDG_RUNTIME_DIR="$E2E_WORK/runtime" LC_ALL=C.UTF-8
        exec "$E2E_APP" </dev/null
    ) >"$E2E_WORK/app.log" 2>&1 &
    E2E_APP_PID=$!
}

e2e_regex()
{
    # xdotool matches titles as extended regular expressions: quote every special character.
    printf '^%s$' "$(printf '%s' "$1" | sed 's/[][\.*^$+?(){}|\/]/\\&/g')"
}

# find_window TITLE: the ids of the visible windows with exactly this title.
find_window() { xdotool search --onlyvisible --name "$(e2e_regex "$1")" 2>/dev/null; }

# wait_window TITLE [timeout s]: prints the window's id once it is visible.
wait_window()
{
    local title=$1 steps=$(( ${2:-20} * 50 )) ids i
    for i in $(seq "$steps"); do
        ids=$(find_window "$title")
        if [ -n "$ids" ]; then
            printf '%s\n' "$ids" | head -n 1
            return 0
        fi
        sleep 0.02
    done
    return 1
}

# wait_gone TITLE [timeout s]
wait_gone()
{
    local title=$1 steps=$(( ${2:-20} * 50 )) i
    for i in $(seq "$steps"); do
        [ -z "$(find_window "$title")" ] && return 0
        sleep 0.02
    done
    return 1
}

# focused_title: the title of the window that has the keyboard focus.
focused_title()
{
    local id
    id=$(xdotool getwindowfocus 2>/dev/null) || return 1
    xdotool getwindowname "$id" 2>/dev/null
}

# wait_focus TITLE [timeout s]: waits until the window with this title has the keyboard focus,
# so that the next key press reaches it.
wait_focus()
{
    local title=$1 steps=$(( ${2:-20} * 50 )) i
    for i in $(seq "$steps"); do
        [ "$(focused_title)" = "$title" ] && return 0
        sleep 0.02
    done
    return 1
}

# expect_window TITLE [timeout s]: the window appears and takes the keyboard; fails otherwise.
expect_window()
{
    wait_window "$1" "${2:-20}" >/dev/null || fail "the window '$1' did not appear"
    wait_focus "$1" "${2:-20}" || fail "the window '$1' did not get the keyboard focus (focus: '$(focused_title)')"
    # A person looks at a new window before pressing the next key; without a pause the key
    # would land while a window manager is still framing the window.
    sleep "${E2E_THINK_TIME:-0.1}"
}

key() { xdotool key --clearmodifiers "$@"; }

# outer_size ID: "W H" of the window with the frame that a window manager puts around it.
outer_size()
{
    local width height extents left=0 right=0 top=0 bottom=0
    width=$(xwininfo -id "$1" 2>/dev/null | awk '/^  Width:/ {print $2}')
    height=$(xwininfo -id "$1" 2>/dev/null | awk '/^  Height:/ {print $2}')
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p')
    if [ -n "$extents" ]; then
        IFS=', ' read -r left right top bottom <<<"$extents"
    fi
    printf '%s %s\n' $(( width + left + right )) $(( height + top + bottom ))
}

# log_outer_size TITLE: under the window manager, writes the window's outer size to the log.
log_outer_size()
{
    [ -n "$E2E_WM_PID" ] || return 0
    local id size
    id=$(find_window "$1" | head -n 1)
    [ -n "$id" ] || return 0
    size=$(outer_size "$id")
    log "outer size of '$1': ${size/ /x} (frame extents: $(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p'))"
}

# wait_exit PID [timeout s]: returns the process's exit status; 124 when it still runs.
wait_exit()
{
    local pid=$1 steps=$(( ${2:-20} * 50 )) i state
    for i in $(seq "$steps"); do
        state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)
        if [ -z "$state" ] || [ "$state" = Z ]; then
            wait "$pid"
            return $?
        fi
        sleep 0.02
    done
    return 124
}

# expect_exit [timeout s]: the program ends with status 0.
expect_exit()
{
    local status
    wait_exit "$E2E_APP_PID" "${1:-20}"
    status=$?
    [ "$status" -ne 124 ] || fail "the program still runs after ${1:-20} s"
    E2E_APP_PID=""
    [ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$E2E_WORK/app.log")"
    log "the program ended with status 0"
}

# app_running: whether the program still runs.
app_running()
{
    local state
    state=$(awk '{print $3}' "/proc/$E2E_APP_PID/stat" 2>/dev/null)
    [ -n "$state" ] && [ "$state" != Z ]
}

# jpeg_size FILE: "W H" of a picture.
jpeg_size() { identify -format '%w %h' "$1" 2>/dev/null; }

# jpeg_check FILE: prints the format, e.g. "JPEG".
image_format() { identify -format '%m' "$1" 2>/dev/null; }

# screenshot WINDOW_ID FILE: the window's pixels as they are on the screen.
screenshot() { import -window "$1" "$2" 2>/dev/null || fail "no screenshot of window $1"; }

probe()
{
    [ -n "$E2E_PROBE" ] && [ -x "$E2E_PROBE" ] || fail "no pixel probe (QUIMO_IMAGE_PROBE='$E2E_PROBE')"
    QT_QPA_PLATFORM=offscreen "$E2E_PROBE" "$@" || fail "the pixel probe failed: $*"
}

# near R G B R2 G2 B2 TOL: whether two colours differ by at most TOL in every channel.
near()
{
    local i
    local -a a=("$1" "$2" "$3") b=("$4" "$5" "$6")
    for i in 0 1 2; do
        local d=$(( a[i] - b[i] ))
        [ "${d#-}" -le "$7" ] || return 1
    done
    return 0
}

# write_record FILE A1 ... A54: a 264-byte answer file, answers at offset 44 as int32 LE.
write_record()
{
    local file=$1
    shift
    [ $# -eq 54 ] || fail "write_record needs 54 answers, got $#"
    if command -v perl >/dev/null 2>&1; then
        perl -e 'binmode STDOUT; print pack("x44 l<54 x4", @ARGV)' -- "$@" >"$file"
    else
        python3 -c 'import struct,sys; sys.stdout.buffer.write(bytes(44) + struct.pack("<54i", *map(int, sys.argv[1:])) + bytes(4))' "$@" >"$file"
    fi
    [ "$(wc -c <"$file")" -eq 264 ] || fail "the answer file $file is not 264 bytes long"
}

# write_blocks FILE B1 ... B9: each Bk is the six answers of block k, comma-separated
# (statement q belongs to block (q-1) mod 9 + 1, at position (q-1) div 9 + 1).
write_blocks()
{
    local file=$1
    shift
    [ $# -eq 9 ] || fail "write_blocks needs 9 blocks"
    local -a blocks=("$@") answers=() values
    local q block position
    for q in $(seq 54); do
        block=$(( (q - 1) % 9 ))
        position=$(( (q - 1) / 9 ))
        IFS=, read -r -a values <<<"${blocks[block]}"
        [ "${#values[@]}" -eq 6 ] || fail "block $((block + 1)) needs six answers"
        answers+=("${values[position]}")
    done
    write_record "$file" "${answers[@]}"
}

# write_bytes FILE COUNT: a file of COUNT zero bytes.
write_bytes()
{
    if command -v perl >/dev/null 2>&1; then
        perl -e 'binmode STDOUT; print "\0" x $ARGV[0]' "$2" >"$1"
    else
        python3 -c 'import sys; sys.stdout.buffer.write(bytes(int(sys.argv[1])))' "$2" >"$1"
    fi
}

# data_files: the files in the data folder, one a line, sorted.
data_files() { (cd "$E2E_DATA" && LC_ALL=C ls -1A); }

# error_box_note: a hint for a failure message when the program shows its error box.
error_box_note()
{
    [ -n "$(find_window "$E2E_TITLE_FAILURE")" ] &&
        printf "; the program shows an error box '%s' (its text is on the saved screen)" "$E2E_TITLE_FAILURE"
}

# walk_menu: in the open block menu, 19 Enters open and close blocks 1 to 9 in order and then
# close the menu; after each press the expected window must be on top and take the keyboard.
walk_menu()
{
    local block
    for block in 1 2 3 4 5 6 7 8 9; do
        key Return
        expect_window "${E2E_BLOCK_TITLES[block]}" 10
        [ -n "$(find_window "$E2E_TITLE_MENU")" ] || fail "the menu closed when block $block opened"
        log "Enter opened block $block: '${E2E_BLOCK_TITLES[block]}'"
        log_outer_size "${E2E_BLOCK_TITLES[block]}"
        if [ -n "${E2E_BEFORE_CLOSE_BLOCK:-}" ]; then
            "$E2E_BEFORE_CLOSE_BLOCK" "$block"
        fi
        key Return
        wait_gone "${E2E_BLOCK_TITLES[block]}" 10 || fail "Enter did not close block $block$(error_box_note)"
        expect_window "$E2E_TITLE_MENU" 10
        [ -n "$(find_window "$E2E_TITLE_MENU")" ] || fail "the menu is gone after block $block"
        log "Enter closed block $block; the menu has the keyboard again"
    done
    if [ -n "${E2E_BEFORE_CLOSE_MENU:-}" ]; then
        "$E2E_BEFORE_CLOSE_MENU"
    fi
    key Return
    wait_gone "$E2E_TITLE_MENU" 10 || fail "the 19th Enter did not close the menu"
    log "the 19th Enter closed the menu"
    expect_window "$E2E_TITLE_OVERVIEW" 10
}

# open_with ANSWER: Enter in the open dialog takes the preselected QUIMO.dat; ANSWER (a key
# name) answers the save question; waits for the overview window to take the keyboard.
open_with()
{
    expect_window "$E2E_TITLE_OPEN" 30
    log "the open dialog '$E2E_TITLE_OPEN' is up; Enter takes QUIMO.dat"
    key Return
    expect_window "$E2E_TITLE_QUESTION" 10
    log "the question '$E2E_TITLE_QUESTION' is up; answering with '$1'"
    key "$1"
    wait_gone "$E2E_TITLE_QUESTION" 10 || fail "'$1' did not answer the question"
    expect_window "$E2E_TITLE_OVERVIEW" 10
}

# check_bars IMAGE TOLERANCE S1 ... S9: the navy bars in the picture stand in block order on
# one base line, one slot apart, each as high as its score relative to the highest visible
# bar (within 2 % of the 100 % height); a block with a score below 2 has no visible bar.
check_bars()
{
    local image=$1 tolerance=$2
    shift 2
    local -a bars
    mapfile -t bars < <(probe bars "$image" 0 0 128 "$tolerance")
    log "navy bars in $(basename "$image") (left right bottom height): ${bars[*]/%/;}"
    printf '%s\n' "${bars[@]}" | awk -v scores="$*" '
        BEGIN {
            n = split(scores, s, " ")
            for (k = 1; k <= n; ++k) if (s[k] >= 2) { visible[++count] = k; if (s[k] > top) top = s[k] }
        }
        { left[NR] = $1; bottom[NR] = $3; height[NR] = $4 }
        END {
            if (NR != count) { printf "%d bars visible, expected %d\n", NR, count; exit 1 }
            # the slot width, from the outermost visible bars
            step = (left[count] - left[1]) / (visible[count] - visible[1])
            for (i = 1; i <= count; ++i) {
                if (height[i] > tallest) { tallest = height[i]; tallestBlock = visible[i] }
            }
            full = tallest * 100 / top
            for (i = 1; i <= count; ++i) {
                k = visible[i]
                want = left[1] + (k - visible[1]) * step
                if (left[i] < want - 3 || left[i] > want + 3) {
                    printf "the bar of block %d starts at x=%d, expected about %d\n", k, left[i], want; bad = 1
                }
                if (bottom[i] < bottom[1] - 1 || bottom[i] > bottom[1] + 1) {
                    printf "the bar of block %d ends on row %d, block %d on row %d\n", k, bottom[i], visible[1], bottom[1]; bad = 1
                }
                ratio = height[i] / full
                if (ratio < s[k] / 100 - 0.02 || ratio > s[k] / 100 + 0.02) {
                    printf "the bar of block %d is %d px high, %.3f of 100 %%; its score is %d\n", k, height[i], ratio, s[k]; bad = 1
                }
            }
            exit bad
        }' >"$E2E_WORK/bars.txt" || fail "bars at wrong places in $(basename "$image"): $(cat "$E2E_WORK/bars.txt")"
}

# The pictures a full walk with "Ja" writes beside QUIMO.dat, with their sizes.
E2E_PICTURES=(
    "QUIMO.jpg|808 529"
    "QUIMO-1Ziele und Visionen kreiieren.jpg|752 281"
    "QUIMO-2Ergebnisse und Erwartungen strukturieren.jpg|752 273"
    "QUIMO-3Ideen und Informationen sammeln.jpg|752 273"
    "QUIMO-4Teilen und gewinnen.jpg|752 273"
    "QUIMO-5Prioritäten setzen.jpg|752 281"
    "QUIMO-6Routineaufgaben einbauen.jpg|752 273"
    "QUIMO-7Ordnung schaffen.jpg|752 281"
    "QUIMO-8Freude und Freunde gewinnen.jpg|752 273"
    "QUIMO-9Initiative ergreifen.jpg|752 281"
)

# full_walk ANSWER: one whole run: QUIMO.dat, ANSWER to the question, Alt+E, 19 Enters,
# Alt+C; the program must end with status 0.
full_walk()
{
    start_app
    open_with "$1"
    log_outer_size "$E2E_TITLE_OVERVIEW"
    log "Alt+E opens the block menu"
    key alt+e
    expect_window "$E2E_TITLE_MENU" 10
    log_outer_size "$E2E_TITLE_MENU"
    walk_menu
    log "Alt+C closes the overview"
    key alt+c
    expect_exit 15
}

# check_pictures: exactly the ten pictures, JPEG, each of its size; every wrong size is named.
check_pictures()
{
    local expected entry name size actual wrong=""
    expected=$( (echo QUIMO.dat; for entry in "${E2E_PICTURES[@]}"; do echo "${entry%%|*}"; done) | LC_ALL=C sort)
    actual=$(data_files)
    [ "$actual" = "$expected" ] || fail "files beside QUIMO.dat:
$actual
expected:
$expected"
    for entry in "${E2E_PICTURES[@]}"; do
        name=${entry%%|*}
        size=${entry#*|}
        [ "$(image_format "$E2E_DATA/$name")" = JPEG ] || fail "'$name' is no JPEG picture"
        actual=$(jpeg_size "$E2E_DATA/$name")
        if [ "$actual" = "$size" ]; then
            log "'$name': JPEG, ${size/ /x}"
        else
            wrong+="
  '$name' is ${actual/ /x}, expected ${size/ /x}"
        fi
    done
    [ -z "$wrong" ] || fail "pictures of the wrong size:$wrong"
}

# check_overview_picture FILE S1 ... S9: the navy bars of the scores on the cream chart.
check_overview_picture()
{
    local file=$1
    shift
    check_bars "$file" 40 "$@"
    local -a first second
    mapfile -t bars < <(probe bars "$file" 0 0 128 40)
    read -r -a first <<<"${bars[0]}"
    read -r -a second <<<"${bars[1]}"
    local x=$(( (first[1] + second[0]) / 2 )) y=$(( first[2] - 5 )) r g b
    read -r r g b < <(probe pixel "$file" "$x" "$y")
    near "$r" "$g" "$b" 255 251 240 12 || fail "between the first two bars ($x,$y) the picture is $r,$g,$b, not cream"
    x=$(( (first[0] + first[1]) / 2 ))
    y=$(( first[2] - first[3] / 2 ))
    read -r r g b < <(probe pixel "$file" "$x" "$y")
    near "$r" "$g" "$b" 0 0 128 12 || fail "inside the first bar ($x,$y) the picture is $r,$g,$b, not navy"
    log "the overview picture shows the bars in navy on the cream background"
}
