# A data file too short for one answer record: the question still comes first, then the box
# "Datei lässt sich nicht öffnen", and the program ends after OK without writing anything.
source "${QUIMO_E2E_LIB:-$(dirname "$0")/lib.sh}"
e2e_init "${1:-}"

write_bytes "$E2E_DATA/QUIMO.dat" 10
log "QUIMO.dat holds 10 bytes"
start_app
# "Ja": even with pictures asked for, a failed read writes nothing.
open_failure()
{
    expect_window "$E2E_TITLE_OPEN" 30
    log "the open dialog is up; Enter takes QUIMO.dat"
    key Return
    expect_window "$E2E_TITLE_QUESTION" 10
    log "the question comes before the file is read; answering 'j' (Ja)"
    key j
    wait_gone "$E2E_TITLE_QUESTION" 10 || fail "'j' did not answer the question"
    expect_window "$E2E_TITLE_FAILURE" 10
}
open_failure
box=$(find_window "$E2E_TITLE_FAILURE")
screenshot "$box" "$E2E_WORK/failure.png"
read -r width height < <(probe size "$E2E_WORK/failure.png")
log "the box '$E2E_TITLE_FAILURE' (${width}x${height}) is up; Enter answers OK"
key Return
expect_exit 10
[ "$(data_files)" = "QUIMO.dat" ] || fail "files were written: $(data_files | tr '\n' ' ')"
pass
