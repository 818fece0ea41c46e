#!/bin/sh
# Orca, Debian's screen reader, follows a keyboard walk through the window and says what a blind
# user needs to hear: orca_walk.sh <program> <work folder>
# Starts its own X server (Xvfb), session bus, accessibility bus, a silent speech-dispatcher and
# Orca, drives the window with xdotool and reads what Orca spoke from its debug log (the "SPEECH
# OUTPUT" lines). The transcript is left in <work folder>/speech.txt. Exits 77 (skipped) when a
# tool is missing.
set -u
program="$1"
work="$2"

if [ "${3:-}" != "--session" ]; then
    for tool in orca Xvfb xdotool dbus-run-session speech-dispatcher script \
        /usr/libexec/at-spi-bus-launcher; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "skipped: $tool is missing (Debian packages orca speech-dispatcher at-spi2-core dbus-daemon xvfb xdotool)"
            exit 77
        fi
    done
    rm -rf "$work"
    mkdir -p "$work/run" "$work/home"
    chmod 700 "$work/run"
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.out" 2>&1 &
    xvfb=$!
    exec 3>&-
    display=""
    for _ in $(seq 100); do
        display=$(head -n 1 "$work/display")
        [ -n "$display" ] && break
        sleep 0.1
    done
    if [ -z "$display" ]; then
        echo "Xvfb did not start:"
        cat "$work/xvfb.out"
        kill "$xvfb" 2>/dev/null
        exit 1
    fi
    DISPLAY=":$display" dbus-run-session -- sh "$0" "$program" "$work" --session \
        2>"$work/session.err"
    status=$?
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    exit $status
fi

# Inside the session: everything below talks to this session's buses and X server only.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache"
export SPEECHD_ADDRESS="unix_socket:$work/run/speechd.sock"
unset AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY
log="$work/orca.log"
speech="$work/speech.txt"
failed=0
pids=""

finish() {
    for pid in $pids; do
        kill "$pid" 2>/dev/null
    done
    sleep 1
    for pid in $pids; do
        kill -KILL "$pid" 2>/dev/null
    done
}
trap finish EXIT

# speech-dispatcher with its dummy module, sounding through libao's null driver.
mkdir -p "$work/speechd"
echo 'default_driver=null' >"$HOME/.libao"
cat >"$work/speechd/speechd.conf" <<EOF
LogLevel 2
LogDir "$work"
AudioOutputMethod "libao"
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
EOF
speech-dispatcher -s -t 0 -C "$work/speechd" -S "$work/run/speechd.sock" >"$work/speechd.out" 2>&1 &
pids="$pids $!"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.out" 2>&1 &
pids="$pids $!"
sleep 0.5
# Orca writes its log through a full buffer to a file, but line by line to a terminal: `script`
# gives it one and copies each line to the log as it comes (-f).
script -q -f -c "orca --replace --debug-file=/dev/stdout" "$log" >/dev/null 2>&1 &
pids="$pids $!"

# What Orca has said, one utterance a line.
spoken() {
    tr -d '\r' <"$log" 2>/dev/null | sed -n "s/^.* - SPEECH OUTPUT: '//p" |
        sed "s/' *{.*}\$//; s/'\$//"
}

mark=0
patience=100  # tenths of a second to wait for each utterance
# Waits until each pattern (an extended regular expression for a whole utterance) has been
# spoken since the last step, and records the step and what was said in the transcript; the walk
# stops at the first pattern not spoken.
expect() {
    step="$1"
    shift
    for pattern in "$@"; do
        found=""
        for _ in $(seq "$patience"); do
            if spoken | tail -n +$((mark + 1)) | grep -Eq "^($pattern)\$"; then
                found=yes
                break
            fi
            sleep 0.1
        done
        if [ -z "$found" ] && [ -n "$redo" ]; then
            # A click that landed while the window was still busy: once more.
            $redo
            redo=""
            for _ in $(seq "$patience"); do
                if spoken | tail -n +$((mark + 1)) | grep -Eq "^($pattern)\$"; then
                    found=yes
                    break
                fi
                sleep 0.1
            done
        fi
        if [ -z "$found" ]; then
            cat "$speech"
            echo "FAIL: $step: Orca did not say /$pattern/; it said:"
            spoken | tail -n +$((mark + 1)) | sed 's/^/    /'
            echo "Orca's full log: $log"
            exit 1
        fi
    done
    redo=""
    sleep 0.3  # the rest of the utterance
    {
        echo "$step"
        spoken | tail -n +$((mark + 1)) | sed 's/^/    /'
    } >>"$speech"
    mark=$(spoken | wc -l)
}

key() {
    xdotool key --delay 60 "$@"
}

click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
}

: >"$speech"
redo=""
patience=300  # Orca and the window start slowly on a busy machine
expect "Orca starts" "Screen reader on\\."
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program" >"$work/program.out" 2>&1 &
pids="$pids $!"
window=$(timeout 60 xdotool search --sync --name '^Map of Marventa$' | head -n 1)
if [ -z "$window" ]; then
    echo "FAIL: the window did not open"
    cat "$work/program.out"
    exit 1
fi
xdotool windowfocus --sync "$window"
expect "the window opens" "Map of Marventa frame\\." "Map\\."
patience=250  # Orca answers slowly on a busy machine
click 300 300

# The side panel, by keyboard where it can be; a button of a group with none checked is no tab
# stop, so it is clicked.
key Tab
expect "Tab: the tab strip" "Standard page tab list\\."
click 665 280
redo="click 665 280"
expect "click: the category Cities" "Cities\\." "selected radio button"
key Tab
expect "Tab: the list" "Places\\." "List with 33 items\\." "Cities\\."
key c
expect "type c" "C[^.]*\\."
key Down
expect "Down" "[A-Z][^.]*\\."
key KP_Enter
expect "KP_Enter: where am I" "list item\\." "[A-Z][^.]*\\." "[0-9]+ of 33\\."
key shift+Tab shift+Tab Right
expect "Shift+Tab, Shift+Tab, Right: the Cities tab" "Cities page tab\\."
click 665 216
expect "click: a city" "Tolvane\\." "selected radio button"
key Tab Down
expect "Tab, Down: the city's list" "Places\\." "List with [0-9]+ items\\." "[A-Z][^.]*\\."
key shift+Tab shift+Tab Right
expect "Shift+Tab, Shift+Tab, Right: the Extras tab" "Extras page tab\\."
click 665 216
expect "click: a kind of stone" "Heavenly Lorestones\\." "selected radio button"
key Tab Down
expect "Tab, Down: a stone, and its effects" "Places\\." "List with 7 items\\." "[A-Z][^.]*\\." \
    "Difference between, Fame and Infame at least [0-9]+, .*"
stone=$(spoken | grep -E '^[A-Z][^.]*\.$' | tail -n 1)

# Orca's "read status bar": Insert (the Orca key) with KP_Enter pressed twice. A double press
# that Orca takes for two single ones reads the title instead; it is tried again.
for _ in 1 2 3; do
    xdotool keydown Insert key --delay 60 KP_Enter KP_Enter keyup Insert
    sleep 1
    if spoken | tail -n +$((mark + 1)) | grep -q '^statusbar\.$'; then
        break
    fi
done
expect "Insert+KP_Enter twice: read status bar" "statusbar\\." "$stone" "Map of Marventa\\." \
    "contact: .*"

if spoken | grep -Eq '^(Label1|Effects)\.?$'; then
    echo "FAIL: Orca read a hidden or empty label:"
    spoken | grep -E '^(Label1|Effects)\.?$'
    failed=1
fi
if grep -q '\[frame | \] lacks state active' "$log"; then
    echo "FAIL: Orca took a part of the window for an inactive window:"
    grep '\[frame | \] lacks state active' "$log" | head -n 5
    failed=1
fi

cat "$speech"
if [ "$failed" -ne 0 ]; then
    echo "Orca's full log: $log"
    exit 1
fi
echo "Orca followed the walk"
