# The block menu walked with the Enter key alone: E opens it, 19 Enters open and close blocks
# 1 to 9 in order and then close the menu, and the overview takes the keyboard again.
source "${QUIMO_E2E_LIB:-$(dirname "$0")/lib.sh}"
e2e_init "${1:-}"

write_blocks "$E2E_DATA/QUIMO.dat" 4,3,2,1,0,-1 0,1,2,3,4,4 2,2,2,2,2,2 1,1,1,1,1,1 \
    3,3,3,3,3,3 4,4,4,4,4,4 0,0,0,0,0,0 2,3,2,3,2,3 1,4,1,4,1,4
start_app
open_with Escape

log "E opens the block menu"
key e
expect_window "$E2E_TITLE_MENU" 10
menu=$(find_window "$E2E_TITLE_MENU")
sleep 0.2 # the logo's first paint
screenshot "$menu" "$E2E_WORK/menu.png"
cp "$E2E_WORK/menu.png" /tmp/e2e-menu.png
read -r width height < <(probe size "$E2E_WORK/menu.png")
log "menu screenshot (${width}x${height}) saved as /tmp/e2e-menu.png"

# The buttons' hint promises that viewed blocks carry a check mark: the white margin left of
# the nine block buttons is empty in a fresh menu, and after the walk each block has its mark.
margin_marks()
{
    probe differs "$1" 255 255 255 0 0 "$2" 24 "$3"
}
before=$(margin_marks "$E2E_WORK/menu.png" 16 417)
[ "$before" -eq 0 ] || fail "the margin left of the block buttons is not white in a fresh menu"
after_walk()
{
    screenshot "$(find_window "$E2E_TITLE_MENU")" "$E2E_WORK/menu-after.png"
    cp "$E2E_WORK/menu-after.png" /tmp/e2e-menu-after.png
    local block marks
    for block in 1 2 3 4 5 6 7 8 9; do
        marks=$(margin_marks "$E2E_WORK/menu-after.png" $((16 + 48 * (block - 1))) 33)
        [ "$marks" -ge 20 ] || fail "block $block carries no check mark after it was viewed, see /tmp/e2e-menu-after.png"
    done
    log "every viewed block carries its check mark"
}
E2E_BEFORE_CLOSE_MENU=after_walk
walk_menu

log "Alt+C on the overview ends the program"
key alt+c
expect_exit 10
[ "$(data_files)" = "QUIMO.dat" ] || fail "files were written: $(data_files | tr '\n' ' ')"
pass
