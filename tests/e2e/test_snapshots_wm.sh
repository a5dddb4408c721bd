# The pictures of a full walk under a window manager: with real frames and title bars every
# window's outer size stays the designed one, so the pictures keep their sizes.
E2E_WM=--wm
source "$(dirname "$0")/test_snapshots.sh"
