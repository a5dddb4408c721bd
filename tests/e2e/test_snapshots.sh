# "Ja" to the question: every "Schließen" of a full walk writes its window's picture beside
# the data file; with "Nein" the same walk writes nothing.
source "${QUIMO_E2E_LIB:-$(dirname "$0")/lib.sh}"
e2e_init "${1:-}" ${E2E_WM:-}

scores=(100 20 60 0 83 40 10 73 50)
write_blocks "$E2E_DATA/QUIMO.dat" \
    4,4,4,4,4,4 0,0,0,0,0,0 2,2,2,2,2,2 -1,-1,-1,-1,-1,-1 4,4,4,4,4,-1 \
    1,1,1,1,1,1 0,0,0,-1,-1,-1 4,4,4,3,2,-1 2,2,2,2,2,-1

log "run 1: 'j' answers Ja"
full_walk j
for name in QUIMO.jpg "QUIMO-7Ordnung schaffen.jpg" "QUIMO-2Ergebnisse und Erwartungen strukturieren.jpg"; do
    [ ! -f "$E2E_DATA/$name" ] || cp "$E2E_DATA/$name" "/tmp/e2e-$E2E_NAME-${name// /_}"
done
log "copies of three pictures in /tmp/e2e-$E2E_NAME-*.jpg"
check_pictures
check_overview_picture "$E2E_DATA/QUIMO.jpg" "${scores[@]}"

log "run 2: the same walk, 'n' answers Nein"
rm -f "$E2E_DATA"/*.jpg
full_walk n
[ "$(data_files)" = "QUIMO.dat" ] || fail "files were written after 'Nein': $(data_files | tr '\n' ' ')"
log "nothing was written"
pass
