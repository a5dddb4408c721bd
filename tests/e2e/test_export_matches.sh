# quimo-export renders the same ten pictures as the interactive program writes on the screen
# without a window manager: same names, same sizes, the same pixels within JPEG noise.
source "${QUIMO_E2E_LIB:-$(dirname "$0")/lib.sh}"
e2e_init "${1:-}"
EXPORT=${QUIMO_EXPORT:-}
[ -x "$EXPORT" ] || fail "no quimo-export to test: '$EXPORT'"

write_blocks "$E2E_DATA/QUIMO.dat" \
    4,4,4,4,4,4 0,0,0,0,0,0 2,2,2,2,2,2 -1,-1,-1,-1,-1,-1 4,4,4,4,4,-1 \
    1,1,1,1,1,1 0,0,0,-1,-1,-1 4,4,4,3,2,-1 2,2,2,2,2,-1

log "the interactive program writes its pictures ('j' answers Ja)"
full_walk j
check_pictures

log "quimo-export renders them into another folder, without a display"
mkdir "$E2E_WORK/export"
(unset DISPLAY; "$EXPORT" --out "$E2E_WORK/export" "$E2E_DATA/QUIMO.dat") \
    >"$E2E_WORK/export.log" 2>&1 || fail "quimo-export failed: $(cat "$E2E_WORK/export.log")"

for entry in "${E2E_PICTURES[@]}"; do
    name=${entry%%|*}
    [ -f "$E2E_WORK/export/$name" ] || fail "quimo-export wrote no '$name'"
    [ "$(jpeg_size "$E2E_WORK/export/$name")" = "${entry#*|}" ] ||
        fail "'$name' from quimo-export is $(jpeg_size "$E2E_WORK/export/$name")"
    read -r mean far < <(probe compare "$E2E_DATA/$name" "$E2E_WORK/export/$name")
    # JPEG noise and the focus frame of the focused button stay far below these bounds; a
    # shifted or missing part of the window does not.
    awk -v m="$mean" -v f="$far" 'BEGIN { exit !(m <= 1.0 && f <= 5.0) }' ||
        fail "'$name' differs: mean difference $mean, $far per mille of the pixels far apart"
    log "'$name': mean difference $mean, $far per mille far apart"
done
pass
