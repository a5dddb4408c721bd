# Start-up as a user sees it: the open dialog takes the preselected QUIMO.dat, "Nein" to the
# question, and the overview shows one navy bar per block at the height of its score.
source "${QUIMO_E2E_LIB:-$(dirname "$0")/lib.sh}"
e2e_init "${1:-}"

# Scores 100, 20, 60, 0, 83, 40, 10, 73, 50 (a block's score is its points * 100 / 30,
# truncated; an answer a >= 0 gives a + 1 points, a negative one nothing).
scores=(100 20 60 0 83 40 10 73 50)
write_blocks "$E2E_DATA/QUIMO.dat" \
    4,4,4,4,4,4 0,0,0,0,0,0 2,2,2,2,2,2 -1,-1,-1,-1,-1,-1 4,4,4,4,4,-1 \
    1,1,1,1,1,1 0,0,0,-1,-1,-1 4,4,4,3,2,-1 2,2,2,2,2,-1
log "answer file with block scores ${scores[*]}"

start_app
open_with Escape
overview=$(find_window "$E2E_TITLE_OVERVIEW")
log "the overview window $overview is up and has the keyboard"
sleep 0.3 # the chart's last repaint
screenshot "$overview" "$E2E_WORK/overview.png"
cp "$E2E_WORK/overview.png" /tmp/e2e-overview.png
log "screenshot saved as /tmp/e2e-overview.png"

read -r width height < <(probe size "$E2E_WORK/overview.png")
[ "$width $height" = "808 609" ] || fail "the overview window is ${width}x${height}, not 808x609"

check_bars "$E2E_WORK/overview.png" 8 "${scores[@]}"
log "all eight visible bars stand where their scores put them; block 4 (score 0) has none"

read -r r g b < <(probe pixel "$E2E_WORK/overview.png" 20 30)
near "$r" "$g" "$b" 255 251 240 0 || fail "the chart background at 20,30 is $r,$g,$b, not cream"

key alt+c
expect_exit 10
[ "$(data_files)" = "QUIMO.dat" ] || fail "files were written after 'Nein': $(data_files | tr '\n' ' ')"
log "Alt+C ended the program and no picture was written"
pass
