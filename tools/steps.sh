# shellcheck shell=sh
# The progress lines of tools/setup, tools/test and tools/demo, sourced by
# them (plain sh, for tools/setup). A step runs a command with its output in
# a log under build/logs/; it prints a line when it starts and one with its
# time when it ends, and while it runs a line every 15 seconds with the last
# progress its log shows, so that no step is silent for long. A failing step
# prints the end of its log. The times count from the start of the outermost
# script, which hands its start on to the scripts it calls.

: "${STEPS_EPOCH:=$(date +%s)}"
export STEPS_EPOCH
: "${STEP_LOGS:=$(cd "$(dirname "$0")/.." && pwd)/build/logs}"
: "${STEP_TAIL:=40}"  # lines of a failed step's log to show; 0 for none

# A line with the time since the start, as m:ss.
step_say() {
    _s=$(($(date +%s) - STEPS_EPOCH))
    printf '[%d:%02d] %s\n' $((_s / 60)) $((_s % 60)) "$*"
}

# The last progress the log shows: a build's percentage, a test's number, a
# package being unpacked or set up, a package list being fetched.
step_progress() {
    tail -n 200 "$1" 2>/dev/null | tr -d '\r' |
        grep -E '^\[ *[0-9]+%\]|^ *[0-9]+/[0-9]+ Test +#|^(Unpacking|Setting up|Get:[0-9]+) ' |
        tail -n 1 | cut -c 1-90 || true
}

# step NAME LOG COMMAND...: runs COMMAND (a program or a shell function) with
# its output in build/logs/LOG; its exit code is the step's.
step() {
    _name=$1 _log=$STEP_LOGS/$2
    shift 2
    mkdir -p "$STEP_LOGS"
    rm -f "$_log.rc"
    _start=$(date +%s)
    step_say "$_name ..."
    # The exit code goes to a file: waiting on the process directly would
    # block the periodic lines.
    (
        set +e
        "$@" >"$_log" 2>&1 </dev/null
        echo $? >"$_log.rc"
    ) &
    _next=$((_start + 15))
    while [ ! -s "$_log.rc" ]; do
        sleep 0.3
        _now=$(date +%s)
        if [ "$_now" -ge "$_next" ]; then
            _progress=$(step_progress "$_log")
            step_say "    $_name: $((_now - _start)) s${_progress:+; $_progress}"
            _next=$((_now + 15))
        fi
    done
    wait $! 2>/dev/null || true
    _rc=$(cat "$_log.rc")
    rm -f "$_log.rc"
    if [ "$_rc" -eq 0 ]; then
        step_say "$_name: done in $(($(date +%s) - _start)) s"
        return 0
    fi
    step_say "$_name: FAILED after $(($(date +%s) - _start)) s (exit code $_rc); log: $_log"
    if [ "$STEP_TAIL" -gt 0 ]; then
        echo "---- the end of $_log:"
        tail -n "$STEP_TAIL" "$_log"
        echo "----"
    fi
    return "$_rc"
}
