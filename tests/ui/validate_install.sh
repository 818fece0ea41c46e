#!/bin/sh
# Installs the build into an empty prefix and validates the desktop files found there.
set -e
build="$1"
id="$2"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
test -x "$prefix/bin/marventa"
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
grep -q "^Icon=$id\$" "$prefix/share/applications/$id.desktop"
icons=$(find "$prefix/share/icons/hicolor" -name "$id.png" | wc -l)
echo "icons installed: $icons"
if [ -d "$(dirname "$0")/../../ui/icons" ]; then
    test "$icons" -gt 0
fi
