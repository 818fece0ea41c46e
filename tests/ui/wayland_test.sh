#!/bin/sh
# Runs window tests on Qt's native Wayland platform, on a headless weston of their own whose
# output has the given whole scale: wayland_test.sh <ui_tests> <gtest filter> <scale>.
# Skipped (77) where the compositor cannot run. Qt's Wayland platform missing is a failure:
# `make run` installs it, and without it a Wayland session with no X server opens no window.
set -e
tests="$1"
filter="$2"
scale="$3"
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2> /dev/null ||
    echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
if ! ls "$plugins"/platforms/libqwayland-*.so > /dev/null 2>&1; then
    echo "Qt's Wayland platform is not installed (Debian package qt6-wayland)"
    exit 1
fi
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
"$(dirname "$0")/../../scripts/with-weston" "$runtime" "$scale" "$tests" --gtest_filter="$filter"
