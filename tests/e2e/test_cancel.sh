# Escape in the open dialog ends the program at once: no question, no message, no file.
source "${QUIMO_E2E_LIB:-$(dirname "$0")/lib.sh}"
e2e_init "${1:-}"

write_blocks "$E2E_DATA/QUIMO.dat" 4,4,4,4,4,4 0,0,0,0,0,0 2,2,2,2,2,2 1,1,1,1,1,1 3,3,3,3,3,3 \
    4,4,4,4,4,4 0,0,0,0,0,0 2,2,2,2,2,2 1,1,1,1,1,1
start_app
expect_window "$E2E_TITLE_OPEN" 30
log "the open dialog is up; Escape cancels it"
key Escape

# Watch the screen until the program has ended: only the dialog and the overview beneath it
# may ever have been visible.
started=$(date +%s%N)
while app_running; do
    for title in "$E2E_TITLE_QUESTION" "$E2E_TITLE_FAILURE" "$E2E_TITLE_MENU"; do
        [ -z "$(find_window "$title")" ] || fail "the window '$title' appeared after Escape"
    done
    [ $(( ($(date +%s%N) - started) / 1000000 )) -lt 5000 ] || fail "the program still runs 5 s after Escape"
    sleep 0.01
done
expect_exit 1
log "the program ended $(( ($(date +%s%N) - started) / 1000000 )) ms after Escape"
[ "$(data_files)" = "QUIMO.dat" ] || fail "files were written: $(data_files | tr '\n' ' ')"
pass
