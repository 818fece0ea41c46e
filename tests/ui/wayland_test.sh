#!/bin/sh
# Runs the given window tests on a headless Wayland compositor of their own (weston), on Qt's
# native Wayland platform, its output at a whole scale (1 unless given):
# wayland_test.sh <ui_tests> <gtest filter> [scale]. Qt gives no fallback when
# QT_QPA_PLATFORM names a platform it cannot start, so a pass means the window ran on Wayland.
# Skipped (77) with the reason where the compositor or Qt's Wayland platform is missing.
tests="$1"
filter="$2"
scale="${3:-1}"
if ! command -v weston > /dev/null; then
    echo "SKIP: weston is not installed (Debian package weston)"
    exit 77
fi
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2> /dev/null ||
    echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
if ! ls "$plugins"/platforms/libqwayland-*.so > /dev/null 2>&1; then
    echo "SKIP: Qt's Wayland platform is not installed (Debian package qt6-wayland)"
    exit 77
fi

runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=marventa-test
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --socket=$socket \
    --width=1800 --height=1400 --scale="$scale" --idle-time=0 --log="$runtime/weston.log" &
compositor=$!
trap 'kill $compositor 2> /dev/null; wait $compositor 2> /dev/null; rm -rf "$runtime"' EXIT
waited=0
while [ ! -S "$runtime/$socket" ]; do
    if ! kill -0 $compositor 2> /dev/null || [ $waited -ge 100 ]; then
        echo "SKIP: weston did not start here:"
        cat "$runtime/weston.log"
        exit 77
    fi
    sleep 0.1
    waited=$((waited + 1))
done
XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland \
    "$tests" --gtest_filter="$filter"
