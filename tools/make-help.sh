#!/bin/sh
# Build Zentaro's help file from the HTML sources in assets/help/.
#
# Usage: tools/make-help.sh [--html] OUTPUT-FOLDER
#
# Writes OUTPUT-FOLDER/"Zentaro Help.html", the page as one self-contained
# file (the pictures embedded), which the program opens; and, unless --html
# is given, OUTPUT-FOLDER/"Zentaro Help.chm" compiled with chmcmd (Debian
# package fp-utils) where that is installed and succeeds.
# The environment variable CHMCMD names another compiler binary.
# Prints the path of every file it wrote.

set -eu

force_html=no
if [ "${1-}" = "--html" ]; then
    force_html=yes
    shift
fi
if [ $# -ne 1 ]; then
    echo "usage: $0 [--html] OUTPUT-FOLDER" >&2
    exit 2
fi

here=$(cd "$(dirname "$0")" && pwd)
src="$here/../assets/help"
out=$1
mkdir -p "$out"
out=$(cd "$out" && pwd)

chm_name="Zentaro Help.chm"
html_name="Zentaro Help.html"
chmcmd=${CHMCMD:-chmcmd}

work=$(mktemp -d "${TMPDIR:-/tmp}/zentaro-help.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

make_html() {
    # One self-contained page: every img/NAME.png becomes a data: URI.
    cp "$src/index.html" "$work/page.html"
    for png in "$src"/img/*.png; do
        name=$(basename "$png")
        data=$(base64 "$png" | tr -d '\n')
        sed "s|src=\"img/$name\"|src=\"data:image/png;base64,$data\"|g" \
            "$work/page.html" > "$work/page.tmp"
        mv "$work/page.tmp" "$work/page.html"
    done
    cp "$work/page.html" "$out/$html_name"
    echo "$out/$html_name"
}

make_html
if [ "$force_html" = yes ]; then
    exit 0
fi
if ! command -v "$chmcmd" >/dev/null 2>&1; then
    echo "make-help: $chmcmd not found, no compiled help" >&2
    exit 0
fi

cp -R "$src/." "$work/"
if (cd "$work" && "$chmcmd" --verbosity 0 zentaro-help.hhp) > "$work/chmcmd.log" 2>&1 &&
   [ -s "$work/$chm_name" ] &&
   [ "$(head -c 4 "$work/$chm_name")" = "ITSF" ]; then
    cp "$work/$chm_name" "$out/$chm_name"
    echo "$out/$chm_name"
else
    echo "make-help: $chmcmd failed, no compiled help:" >&2
    cat "$work/chmcmd.log" >&2 || true
fi
