#!/bin/sh
# Orca, Debian's screen reader, follows a keyboard walk through the window and says what a blind
# user needs to hear: orca_walk.sh <program> <work folder>
# Starts its own X server (Xvfb), session bus, accessibility bus, a silent speech-dispatcher and
# Orca, drives the window with xdotool and reads what Orca spoke from its debug log (the "SPEECH
# OUTPUT" lines). The transcript is left in <work folder>/speech.txt. Exits 77 (skipped) when a
# tool is missing or Orca cannot start.
set -u
program="$1"
work="$2"

if [ "${3:-}" != "--session" ]; then
    for tool in orca Xvfb xdotool dbus-run-session speech-dispatcher \
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
# Orca, started through its Python modules rather than /usr/bin/orca: that launcher refuses to
# run beside another Orca of the same user anywhere on the machine, and with --replace kills it
# (the user's own screen reader, or a walk in another build folder). It runs on the interpreter
# the launcher names on its first line, and writes its log line by line. Its settings manager is
# settings_manager.getManager() with getPrefsDir() in Orca 43, get_manager() with get_prefs_dir()
# in Orca 48.
python=$(sed -n '1s/^#! *//p' "$(command -v orca)")
$python -c '
import sys
from orca import debug
debug.debugLevel = debug.LEVEL_ALL
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = open(sys.argv[1], "w", buffering=1)
from orca import orca, settings_manager
manager = getattr(settings_manager, "get_manager", None) or settings_manager.getManager
manager = manager()
manager.activate()
prefs_dir = getattr(manager, "get_prefs_dir", None) or manager.getPrefsDir
sys.path.insert(0, prefs_dir())
sys.exit(orca.main())
' "$log" >"$work/orca.out" 2>&1 &
orca=$!
pids="$pids $orca"

# What Orca has said, one utterance a line.
spoken() {
    sed -n "s/^.* - SPEECH OUTPUT: '//p" "$log" 2>/dev/null |
        sed "s/' *{.*}\$//; s/'\$//"
}

# The same, without the full stop that ends an utterance: Orca 43 says "Map of Marventa frame.",
# Orca 48 "Map of Marventa frame". The patterns below are matched against what is heard.
heard() {
    spoken | sed 's/\.$//'
}

mark=0
patience=100  # tenths of a second to wait for each utterance

# Stops the walk: why, what Orca said since the last step, and Orca's own output if it stopped.
# Before the program starts nothing of ours runs, so a failure there means Orca cannot run here.
give_up() {
    cat "$speech"
    why="$2"
    if ! kill -0 "$orca" 2>/dev/null; then
        wait "$orca"
        why="Orca stopped (exit status $?)"
    fi
    if [ -z "$started" ]; then
        echo "skipped: Orca cannot run here: $why; its output:"
        tail -n 20 "$work/orca.out"
        exit 77
    fi
    echo "FAIL: $1: $why; it said:"
    spoken | tail -n +$((mark + 1)) | sed 's/^/    /'
    kill -0 "$orca" 2>/dev/null || tail -n 20 "$work/orca.out"
    echo "Orca's full log: $log"
    exit 1
}

# Records the step and what was said since the last one in the transcript.
record() {
    sleep 0.3  # the rest of the utterance
    {
        echo "$1"
        spoken | tail -n +$((mark + 1)) | sed 's/^/    /'
    } >>"$speech"
    mark=$(spoken | wc -l)
}

# Runs the check (a command and its arguments) every tenth of a second until it holds, for at
# most $patience tenths and while Orca runs.
poll() {
    for _ in $(seq "$patience"); do
        "$@" && return 0
        kill -0 "$orca" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Whether Orca has said, since the last step, words matching the pattern (its final full stop, if
# any, left out): Orca 43 says "Fort Ruins." and "selected radio button." where Orca 48 says "Fort
# Ruins selected radio button.", so the pattern may match within an utterance or across two, but
# only whole words.
said() {
    whole=${1%.}
    heard | tail -n +$((mark + 1)) | tr '\n' ' ' | grep -Eq "(^| )(${whole%\\})( |\$)"
}

# Waits until each pattern (an extended regular expression for whole words) has been spoken
# since the last step; the walk stops at the first pattern not spoken.
expect() {
    step="$1"
    shift
    for pattern in "$@"; do
        poll said "$pattern" || give_up "$step" "Orca did not say /$pattern/"
    done
    record "$step"
}

key() {
    xdotool key --delay 60 "$@"
}

click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
}

# Clicks the radio button <name> at <x> <y> and waits until Orca follows the focus to it. What
# Orca says is not checked here: when the registry's report of the press reaches Orca before the
# program's focus event, Orca 43 finds the button focused already, follows it silently and takes
# the focus event for old news; which comes first is down to timing. The steps after it check
# the button's speech by keyboard.
choose() {
    from=$(wc -l <"$log")
    click "$3" "$4"
    poll followed "$from" "$2" || give_up "$1" "Orca did not follow the focus to $2"
    record "$1"
}

# Whether Orca's focus, after line <from> of its log, is on the radio button <name> (as Orca 43
# and as Orca 48 log it).
followed() {
    tail -n +$(($1 + 1)) "$log" | grep -Fq -e "EVENT MANAGER: locusOfFocus: [radio button | $2] " \
        -e "to [radio button: '$2']. Notify:"
}

# What Orca 48 says differently, beyond punctuation: it counts only the list's rows on screen
# (however many the window's height shows), not all 33 cities.
cities=33
if [ "$(orca --version 2>/dev/null | grep -Eo '[0-9]+' | head -n 1)" -ge 48 ]; then
    cities="[0-9]+"
fi

: >"$speech"
patience=300  # Orca and the window start slowly on a busy machine
started=""
expect "Orca starts" "Screen reader on\\."
started=yes
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

# The side panel, by keyboard where it can be. While no button of a group is checked, its first
# button is the group's Tab stop; Space checks it. Then a click on another, and the arrow keys.
key Tab
expect "Tab: the tab strip" "Standard page tab( list)?\\."
key Tab
expect "Tab: the first category, not checked" "Choose Type panel\\." "Elven Ruins\\." \
    "not selected radio button"
key space
expect "Space: it is checked" "selected"
choose "click: the category Cities" "Cities" 665 280
key Up
expect "Up: the category above" "Fort Ruins\\." "selected radio button"
key Down
expect "Down: Cities again" "Cities\\." "selected radio button"
key Tab
expect "Tab: the list" "Places\\." "List with $cities items\\." "Cities\\."
key c
expect "type c" "C[^.]*\\."
key Down
expect "Down" "[A-Z][^.]*\\."
key KP_Enter
expect "KP_Enter: where am I" "list item\\." "[A-Z][^.]*\\." "[0-9]+ of $cities\\."
key shift+Tab
expect "Shift+Tab: the checked category" "Cities\\." "selected radio button"
key shift+Tab Right
expect "Shift+Tab, Right: the Cities tab" "Cities page tab\\."
choose "click: a city" "Tolvane" 665 216
key Tab
expect "Tab: the city's list" "Places\\." "List with [0-9]+ items\\." "Tolvane\\."
key Down
expect "Down: a place in the city" "[A-Z][^.]*\\."
key shift+Tab
expect "Shift+Tab: the checked city" "Tolvane\\." "selected radio button"
key shift+Tab Right
expect "Shift+Tab, Right: the Extras tab" "Extras page tab\\."
choose "click: a kind of stone" "Heavenly Lorestones" 665 216
key Tab
expect "Tab: the stones' list" "Places\\." "List with 7 items\\." "Heavenly Lorestones\\."
key Down
expect "Down: a stone, and its effects" "[A-Z][^.]*\\." \
    "Difference between, Fame and Infame at least [0-9]+, .*"
stone=$(spoken | grep -E '^[A-Z][^.]*\.$' | tail -n 1)

# Orca's "read status bar": Insert (the Orca key) with KP_Enter pressed twice. A double press
# that Orca takes for two single ones reads the title instead; it is tried again.
for _ in 1 2 3; do
    xdotool keydown Insert key --delay 60 KP_Enter KP_Enter keyup Insert
    sleep 1
    if said "status ?bar"; then
        break
    fi
done
expect "Insert+KP_Enter twice: read status bar" "status ?bar\\." "$stone" "Map of Marventa\\." \
    "contact: .*"

# A page change unchecks the button the page gives the focus back to: the arrow from it checks
# the next one, and Tab and Shift+Tab reach only the checked button.
click 718 176  # the "Cities" tab
choose "click: Cities tab, Merrowick" "Merrowick" 665 232
click 673 176  # the "Standard" tab
choose "click: Standard tab, Caves" "Caves" 761 264
from=$(wc -l <"$log")
click 718 176
poll followed "$from" "Merrowick" || give_up "click: the Cities tab" "the focus is not on Merrowick"
record "click: the Cities tab gives Merrowick, unchecked, the focus back"
heard_from=$(spoken | wc -l)
key Down
expect "Down: Hathmoor, checked" "Hathmoor\\." "selected radio button"
key Tab
expect "Tab: its list" "Places\\." "List with [0-9]+ items\\." "Hathmoor\\."
key shift+Tab
expect "Shift+Tab: the checked city" "Hathmoor\\." "selected radio button"
key shift+Tab
# Orca 43 names the strip ("page tab list"), Orca 48 the tab alone.
expect "Shift+Tab: the tab strip" "Cities page tab( list)?\\."
key Tab
expect "Tab: the checked city" "Hathmoor\\." "selected radio button"
if spoken | tail -n +$((heard_from + 1)) | grep -q 'not selected radio button'; then
    echo "FAIL: a key reached an unchecked radio button"
    failed=1
fi

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
