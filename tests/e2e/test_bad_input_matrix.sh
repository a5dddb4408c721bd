# Every file a user can pick in the open dialog is untrusted. One row per kind of file: the file
# is typed into the dialog, and the program either shows the right bars, or says "Datei lässt
# sich nicht öffnen" and ends cleanly, or the dialog itself refuses the name. Never a crash, a
# hang (each row has a time limit) or a sanitizer report (a report ends the process non-zero).
source "${QUIMO_E2E_LIB:-$(dirname "$0")/lib.sh}"
e2e_init "${1:-}"
e2e_need setxkbmap
# A German keyboard, as the program's users have it: umlauts in typed names are real keys, not
# letters that xdotool must map onto a spare key first (which may drop the first one).
setxkbmap -layout de || fail "no German keyboard layout"

INT_MIN=-2147483648
INT_MAX=2147483647
# Block 9 always holds six answers of 4, so the tallest bar is the 100 % reference.
FULL=4,4,4,4,4,4
GOOD_BLOCKS=(4,4,4,4,4,4 0,0,0,0,0,0 2,2,2,2,2,2 -1,-1,-1,-1,-1,-1 4,4,4,4,4,-1
    1,1,1,1,1,1 0,0,0,-1,-1,-1 4,4,4,3,2,-1 "$FULL")
GOOD_SCORES="100 20 60 0 83 40 10 73 100"

# name | how the file is made | outcome: bars SCORES, unreadable, or refused | time limit (s)
ROWS=(
    "fehlt.dat|missing|refused|20"
    "leer.dat|empty|unreadable|20"
    "kurz.dat|263 bytes|unreadable|20"
    "genau.dat|one record|bars $GOOD_SCORES|20"
    "zwei.dat|two records|bars $GOOD_SCORES|20"
    "riesig.dat|1 GiB sparse|bars $GOOD_SCORES|20"
    "ordner.dat|directory|refused|20"
    "fifo.dat|fifo|unreadable|20"
    "null.dat|symlink to /dev/zero|unreadable|20"
    "verwaist.dat|dangling symlink|refused|20"
    "schreibgeschuetzt.dat|read-only|bars $GOOD_SCORES|20"
    "Prüfung März 2026.dat|one record|bars $GOOD_SCORES|20"
    ".versteckt.dat|one record|bars $GOOD_SCORES|20"
    "werte.dat|values -1 9 INT_MIN INT_MAX|bars 0 100 0 100 16 100 0 50 100|20"
)

make_file()
{
    local path=$1 kind=$2
    case $kind in
    missing) ;;
    empty) : >"$path" ;;
    "263 bytes")
        write_blocks "$path" "${GOOD_BLOCKS[@]}"
        truncate -s 263 "$path"
        ;;
    "one record" | read-only)
        write_blocks "$path" "${GOOD_BLOCKS[@]}"
        [ "$kind" = read-only ] && chmod 0444 "$path"
        ;;
    "two records")
        write_blocks "$path" "${GOOD_BLOCKS[@]}"
        write_blocks "$E2E_WORK/second" 4,4,4,4,4,4 4,4,4,4,4,4 4,4,4,4,4,4 4,4,4,4,4,4 \
            4,4,4,4,4,4 4,4,4,4,4,4 4,4,4,4,4,4 4,4,4,4,4,4 4,4,4,4,4,4
        cat "$E2E_WORK/second" >>"$path"
        ;;
    "1 GiB sparse")
        write_blocks "$path" "${GOOD_BLOCKS[@]}"
        truncate -s 1G "$path"
        ;;
    directory) mkdir "$path" ;;
    fifo) mkfifo "$path" ;;
    "symlink to /dev/zero") ln -s /dev/zero "$path" ;;
    "dangling symlink") ln -s "$E2E_WORK/nirgends" "$path" ;;
    "values -1 9 INT_MIN INT_MAX")
        # 9s score 200 and INT_MAX far more: both bars are cut off at the top of the plot.
        write_blocks "$path" -1,-1,-1,-1,-1,-1 9,9,9,9,9,9 $INT_MIN,$INT_MIN,$INT_MIN,$INT_MIN,$INT_MIN,$INT_MIN \
            $INT_MAX,$INT_MAX,$INT_MAX,$INT_MAX,$INT_MAX,$INT_MAX 4,$INT_MIN,-1,-1,-1,-1 \
            "$FULL" $INT_MIN,-1,-1,-1,-1,-1 9,0,0,0,0,0 "$FULL"
        ;;
    *) fail "unknown kind of file: $kind" ;;
    esac
}

run_row()
{
    local name=$1 kind=$2 outcome=$3 limit=$4
    log "---- $name ($kind): expecting $outcome"
    rm -rf "${E2E_DATA:?}"/* "$E2E_DATA"/.[!.]* 2>/dev/null
    chmod -R u+w "$E2E_DATA" 2>/dev/null
    make_file "$E2E_DATA/$name" "$kind"

    start_app
    expect_window "$E2E_TITLE_OPEN" 30
    # The preselected "QUIMO.dat" is replaced by the typed name, as a user would do it.
    key ctrl+a
    xdotool type --delay 5 -- "$name"
    key Return

    case $outcome in
    refused)
        # The dialog takes only existing files: it warns (a second window of its title) or,
        # for a folder, opens it; the program reads nothing and asks nothing.
        sleep 1
        [ -z "$(find_window "$E2E_TITLE_QUESTION")" ] || fail "$name: the dialog let the name through"
        app_running || fail "$name: the program ended"
        local windows
        windows=$(find_window "$E2E_TITLE_OPEN" | wc -l)
        if [ "$windows" -gt 1 ]; then
            key Return # the dialog's own warning
            sleep 0.3
        fi
        # The first Escape may only close the name box's completion list.
        key Escape
        sleep 0.5
        app_running && key Escape
        wait_exit "$E2E_APP_PID" "$limit"
        local status=$?
        [ "$status" -eq 0 ] || fail "$name: the program ended with status $status $(error_box_note)"
        ;;
    unreadable)
        expect_window "$E2E_TITLE_QUESTION" "$limit"
        key Escape
        expect_window "$E2E_TITLE_FAILURE" "$limit"
        key Return
        expect_exit "$limit"
        ;;
    bars\ *)
        expect_window "$E2E_TITLE_QUESTION" "$limit"
        key Escape
        expect_window "$E2E_TITLE_OVERVIEW" "$limit"
        sleep 0.3 # the chart's last repaint
        local overview
        overview=$(find_window "$E2E_TITLE_OVERVIEW")
        screenshot "$overview" "$E2E_WORK/overview.png"
        # shellcheck disable=SC2086
        check_bars "$E2E_WORK/overview.png" 8 ${outcome#bars }
        key alt+c
        expect_exit "$limit"
        ;;
    esac
    E2E_APP_PID=""
    # Nothing may be written beside the data file: the question was answered "Nein".
    local written
    written=$(cd "$E2E_DATA" && find . -mindepth 1 -maxdepth 1 ! -name "$name" | wc -l)
    [ "$written" -eq 0 ] || fail "$name: files were written: $(data_files | tr '\n' ' ')"
    log "$name: as expected"
}

for row in "${ROWS[@]}"; do
    IFS='|' read -r name kind outcome limit <<<"$row"
    run_row "$name" "$kind" "$outcome" "$limit"
done
pass
