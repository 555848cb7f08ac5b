#include "platform/default_editor.h"

namespace tamvel {

std::string_view DefaultEditorScript() {
    return R"script(#!/bin/sh
# Tamvel's stand-in for Notepad.
#   notepad.exe FILE      opens FILE in $VISUAL, else with the desktop's opener (xdg-open)
#   notepad.exe /p FILE   prints FILE with lp
# Replace this file, or point the editor setting elsewhere, to use another editor.

# Says what went wrong on standard error and, when a desktop is there, in a dialog; then ends.
complain() {
    echo "notepad.exe: $1" >&2
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        if has zenity; then
            zenity --error --title=Tamvel --text="$1" >/dev/null 2>&1
        elif has xmessage; then
            xmessage -center "Tamvel: $1" >/dev/null 2>&1
        elif has notify-send; then
            notify-send Tamvel "$1" >/dev/null 2>&1
        fi
    fi
    exit 1
}

has() { command -v "$1" >/dev/null 2>&1; }

if [ "${1:-}" = "/p" ] || [ "${1:-}" = "/P" ]; then
    shift
    [ $# -gt 0 ] || complain "no file to print was given."
    has lp || complain "cannot print $1: the print command lp is not installed."
    exec lp "$1"
fi

[ $# -gt 0 ] || complain "no file to open was given."
# $VISUAL may carry options ("gedit -s"), so it is split into words, without globbing.
set -f
if [ -n "${VISUAL:-}" ] && has "${VISUAL%% *}"; then
    exec $VISUAL "$1"
fi
has xdg-open || complain "cannot open $1: set VISUAL to an editor, or install xdg-open (xdg-utils)."
exec xdg-open "$1"
)script";
}

}  // namespace tamvel
