#!/usr/bin/env bash
# Measures what the test suite catches: plants small, realistic faults in src/
# one at a time, rebuilds the test programs, runs them and records which tests
# fail. A fault that no test notices marks a gap in the suite.
#
#   scripts/fault_check.sh [--build DIR] [--only 1,4,7] [--out FILE] [--list]
#
# Run it from a checkout whose build folder is configured and built.
set -u

usage() {
    cat <<'EOF'
usage: scripts/fault_check.sh [options]

Plants each fault of its list (see --list) in src/ in turn, one exact-text
replacement in one file, rebuilds vantrel_core_tests and vantrel_gl_tests
incrementally (-j2), runs their tests through CTest (one process each; the GL
ones on one private Xvfb with Mesa's software rasteriser) and records the
failing tests. Tests that take over ten seconds each (named in the script)
are left out, except the test that the fault names: each fault names the test
that must catch it, and counts as caught only when that test fails. The
source is put back after every fault, and also when the script is
interrupted (Ctrl-C) or fails; the rows done so far stay in the output file.
A clean run without any fault comes first (the fast tests and every named
one); if any test fails there, or a named test does not exist, the script
stops.

Options:
  --build DIR, -b DIR  the configured build folder (default: build)
  --only LIST          only these faults, e.g. --only 1,4,7 (or FAULTS="1 4 7")
  --out FILE           the table also goes to FILE (default: DIR/fault_check.txt)
  --list               prints the faults and exits
  --help, -h           this text

Environment:
  FAULTS="1 4 7"       the same as --only
  JOBS=2               parallel build jobs and tests

A test counts as failed once it runs past the build's limit for one test
(cmake -DVANTREL_TEST_TIMEOUT=120 on the build folder for a shorter one than
the ten minutes of the default).

Output: a table (fault, subsystem, description, whether its named test
caught it, number of failing tests, the failing tests) on stdout and in the
output file; the named tests follow it. A fault whose text is not found in
its file is reported as "not applied", one that does not compile as "build
failed"; neither counts as caught.

Exit status: 0 when the named test caught every fault run, 1 when one was not
caught (or could not be applied or built), 2 on a usage error or a failing
clean run.
EOF
}

root=$(cd "$(dirname "$0")/.." && pwd)
args=("$@")
build="build"
only="${FAULTS:-}"
out=""
list_only=0
jobs="${JOBS:-2}"

while [ $# -gt 0 ]; do
    case "$1" in
    --build | -b)
        [ $# -ge 2 ] || { echo "$0: $1 needs a folder" >&2; exit 2; }
        build="$2"
        shift 2
        ;;
    --build=*) build="${1#--build=}"; shift ;;
    --only)
        [ $# -ge 2 ] || { echo "$0: --only needs a list" >&2; exit 2; }
        only="$2"
        shift 2
        ;;
    --only=*) only="${1#--only=}"; shift ;;
    --out)
        [ $# -ge 2 ] || { echo "$0: --out needs a file" >&2; exit 2; }
        out="$2"
        shift 2
        ;;
    --out=*) out="${1#--out=}"; shift ;;
    --list) list_only=1; shift ;;
    --help | -h) usage; exit 0 ;;
    *) echo "$0: unknown argument '$1' (see --help)" >&2; exit 2 ;;
    esac
done

# Tests left out of a round unless its fault names them: each takes about ten
# seconds or more. Times from CTest's own record (Testing/Temporary/
# CTestCostData.txt) of a full run on a busy two-core machine, Mesa llvmpipe;
# every other test takes under eight seconds.
slow_tests=(
    'ProgramTest.TheWholeShowRunsToQuitAndEverySceneShows' # 117 s
    'ProgramTest.ToolMode.*'                               # 18 s; they run one at a time
    'SolarFlareScrubRenderTest.SolarFlareShowsFlaresAndGasesBeyondTheSunsDisc' # 10 s
)
# A CTest pattern of whole names (a '.' matches any character, which does no
# harm here); the format check is no test of behaviour.
exclude="^(clang_format"
for t in "${slow_tests[@]}"; do exclude+="|$t"; done
exclude+=")\$"

# ---- the faults -------------------------------------------------------------
# fault ID SUBSYSTEM FILE TEST DESCRIPTION ORIGINAL REPLACEMENT
# ORIGINAL must occur exactly once in FILE (relative to the checkout); TEST
# is the whole name of the test that must fail with the fault in place.
ids=() subsystems=() files=() tests=() descriptions=() originals=() replacements=()
fault() {
    ids+=("$1") subsystems+=("$2") files+=("$3") tests+=("$4") descriptions+=("$5")
    originals+=("$6") replacements+=("$7")
}

fault 1 "event queue" src/event_queue.cpp \
    EventQueueTest.FindNextLooksAheadFromTheCursorWithoutMovingIt \
    "find_next looks from one past the cursor" \
    'for (std::size_t i = m_cursor; i < m_events.size(); ++i)' \
    'for (std::size_t i = m_cursor + 1; i < m_events.size(); ++i)'
fault 2 "MIDI" src/midi_file.cpp \
    MidiEvents.OnlyChannelOneNotesAndControllersAreQueuedWithRunningStatus \
    "running status is forgotten after each channel message" \
    $'            append_record(track.m_events, record);\n' \
    $'            append_record(track.m_events, record);\n            running_status = 0;\n'
fault 3 "post effects" src/post_glow.cpp \
    PostPassTest.BlurPassSpreadsBothWaysInPlaceAndKeepsTheLight \
    "the blur's first pass samples across instead of down" \
    'float vertical[2] = {0.0f, 1.0f};' \
    'float vertical[2] = {1.0f, 0.0f};'
fault 4 "post effects" src/post_glow.cpp \
    PostPassTest.GlowGrowsAHaloAroundBrightLightAndTheGainLiftsTheScreensOnly \
    "the glow ignores its gain" \
    'gain.in_white = settings.gain;' \
    'gain.in_white = 255.0f;'
fault 5 "bzobj" src/mesh_files/bzobj_parser.cpp \
    BzObjParse.DamagedInputIsRejectedWithItsReason \
    "a vertex index equal to the vertex count passes" \
    'if (index < 0 || index >= no_verts)' \
    'if (index < 0 || index > no_verts)'
fault 6 "scrub" src/effects/scrub.cpp \
    ScrubTest.GrownStructureKeepsItsInvariants \
    "a new link is stored at one end only" \
    $'            node->nbors.push_back(other);\n            other->nbors.push_back(node);\n' \
    $'            node->nbors.push_back(other);\n'
fault 7 "camera path" src/mesh_files/camera_path.cpp \
    CameraPath.ParameterIsClamped \
    "the path spreads N keys over N-1 steps" \
    'const float u = float(n) * t;' \
    'const float u = float(n - 1) * t;'
fault 8 "gui" src/gui/gui_var_list.cpp \
    TweakVarList.WriteBackAndSyncMoveValuesBetweenFieldsAndWidgets \
    "an int slider rounds down instead of truncating" \
    'const double v = std::trunc(double(value));' \
    'const double v = std::floor(double(value));'
fault 9 "textures" src/texture_manager.cpp \
    TextureManagerTest.TargetAndFiltersFollowTheImageSize \
    "one power-of-two side is enough for a 2D texture" \
    'if (is_power_of_two(width) && is_power_of_two(height))' \
    'if (is_power_of_two(width) || is_power_of_two(height))'
fault 10 "scenes" src/scenes/scene_sprutte.cpp \
    SprutteCreditsSceneTest.SprutteDrumNotesSwitchPathsFromNote38On \
    "sprutte counts notes of every track" \
    $'if (!note || note->m_track != 1)\n        return;\n\n    const int n = ++s_note_count;' \
    $'if (!note)\n        return;\n\n    const int n = ++s_note_count;'
fault 11 "capture" src/capture.h \
    WindowTest.CaptureFrameTimesAreRoundedDown \
    "a frame's time is rounded instead of truncated" \
    '{ return frame * 1000 / fps; }' \
    '{ return (frame * 1000 + fps / 2) / fps; }'
fault 12 "markers" src/event_queue_factory.cpp \
    MarkerScriptTest.LinesGiveTypeAndTimeWithColonOrCommaInAnyMix \
    "a marker's minutes field counts 6 s" \
    'std::uint32_t total = fields[0] * 3600000u + fields[1] * 60000u' \
    'std::uint32_t total = fields[0] * 3600000u + fields[1] * 6000u'

# What a user of a capture or of the makers' mode meets.
range_test=ProgramTest.ACaptureRangeStartsItsSoundAtFromAndEndsWithTheFrameAtTo
tool_test=ProgramTest.ToolModeReloadsProgramsAndMarkersAndItsStillsLeaveOutTheTextLine
fault 13 "capture" src/capture/capture.cpp "$range_test" \
    "a video's sound starts at 0 instead of --from" \
    'music_path, options.has_from ? options.from_ms : 0));' \
    'music_path, 0));'
fault 14 "capture" src/capture/capture.cpp "$range_test" \
    "the frame at exactly --to is left out" \
    'if (m_options.has_to && ms > m_options.to_ms)' \
    'if (m_options.has_to && ms >= m_options.to_ms)'
fault 15 "capture" src/capture/frame_sink_ffmpeg.cpp "$range_test" \
    "a video is upside down" \
    'command += " -vf vflip -c:v libx264' \
    'command += " -c:v libx264'
fault 16 "capture" src/capture/capture.cpp "$range_test" \
    "the progress rewrites a line in a log, not on a terminal" \
    'platform::stderr_is_terminal()));' \
    '!platform::stderr_is_terminal()));'
fault 17 "unattended" src/platform/message_box.cpp \
    ProgramTest.AnUnattendedCaptureAnswersTheQuestionWithLetterboxOnTheErrorStream \
    "an unanswered question is taken as yes (widescreen)" \
    'return buttons == MESSAGE_OK;' \
    'return buttons != MESSAGE_OK;'
fault 18 "makers" src/tool/tool_mode.cpp "$tool_test" \
    "R reloads the marker script only when it did not change" \
    'if (text != m_marker_text) {' \
    'if (text == m_marker_text) {'
fault 19 "makers" src/shader_glsl.cpp "$tool_test" \
    "R reloads no program made from files" \
    $'if (m_vertex_file.empty())\n        return true; // not made from files' \
    $'if (!m_vertex_file.empty())\n        return true; // not made from files'
fault 20 "makers" src/tool/tool_mode.cpp "$tool_test" \
    "an F12 still has the text line in it" \
    $'    if (m_pending_still) {\n        m_pending_still = false;\n        write_still();\n    }\n    draw_text_line(status_text());\n' \
    $'    draw_text_line(status_text());\n    if (m_pending_still) {\n        m_pending_still = false;\n        write_still();\n    }\n'
fault 21 "makers" src/tool/tool_mode.cpp ProgramTest.ToolModeKeysPauseSeekPageLoopAndGoHome \
    "Shift swaps the 1 s and 5 s seek steps" \
    'const int step = shift_held() ? 1000 : 5000;' \
    'const int step = shift_held() ? 5000 : 1000;'

# A capture that fails or is interrupted, and damaged input files.
failures=CaptureFailures.AFrameOrVideoThatCannotBeWrittenEndsTheCaptureWithItsReason
fault 22 "capture" src/capture/frame_sink_ffmpeg.cpp "$failures" \
    "ffmpeg's failure to write the file's ending passes as success" \
    'command += "-xerror ";' \
    'command += "";'
fault 23 "capture" src/platform/process.cpp \
    CaptureFailures.AnInterruptFromTheTerminalKeepsAPlayableVideo \
    "the encoder shares the program's process group" \
    'posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);' \
    'posix_spawnattr_setflags(&attributes, 0);'
fault 24 "capture" src/capture/frame_sink_png.cpp \
    CaptureFailures.ACaptureIntoAFolderReplacesItWholeAndNeverAUsersFiles \
    "an earlier capture's frames stay in the folder" \
    $'            if (is_frame_name(name))\n                platform::remove_file' \
    $'            if (!is_frame_name(name))\n                platform::remove_file'
fault 25 "input" src/image_header.cpp ImageHeader.SizesAreReadAndCheckedAgainstLimitsAndTheFileSize \
    "a PNG chunk may run past the end of the file" \
    'if (length > 0x7FFFFFFFu || length > size - pos - 12)' \
    'if (length > 0x7FFFFFFFu)'
fault 26 "input" src/midi_file.cpp MidiErrors.FatalConditionsComeBackToTheCaller \
    "a time signature longer than 4 bytes is read as one" \
    'if (len != 4)' \
    'if (len < 4)'

if [ "$list_only" = 1 ]; then
    for k in "${!ids[@]}"; do
        printf '%3s  %-14s %-36s %s\n     caught by %s\n' "${ids[$k]}" "${subsystems[$k]}" \
            "${files[$k]}" "${descriptions[$k]}" "${tests[$k]}"
    done
    exit 0
fi

# The faults to run, in list order.
selected=()
if [ -n "$only" ]; then
    for want in ${only//,/ }; do
        found=0
        for k in "${!ids[@]}"; do
            [ "${ids[$k]}" = "$want" ] && { selected+=("$k"); found=1; }
        done
        [ "$found" = 1 ] || { echo "$0: no fault $want (see --list)" >&2; exit 2; }
    done
else
    selected=("${!ids[@]}")
fi

case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "$0: $build is no configured build folder (see scripts/build.sh)" >&2
    exit 2
fi
[ -n "$out" ] || out="$build/fault_check.txt"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
command -v python3 >/dev/null || { echo "$0: python3 is needed" >&2; exit 2; }

# The GL tests share one display for the whole run: a private Xvfb unless one
# answers already. Mesa's software rasteriser, no sound device.
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
if ! { [ -n "${DISPLAY:-}" ] && timeout 20 xdpyinfo >/dev/null 2>&1; } && [ -z "${FAULT_CHECK_XVFB:-}" ]; then
    FAULT_CHECK_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "${args[@]}"
fi

# ---- keeping the tree whole -------------------------------------------------
work=$(mktemp -d)
: >"$work/details"
planted="" # the file that holds a fault right now
restore() {
    if [ -n "$planted" ]; then
        # A plain copy: the new modification time makes the next build
        # recompile the file instead of keeping the faulty object.
        cp "$work/original" "$root/$planted"
        planted=""
    fi
}
cleanup() {
    restore
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "$0: interrupted; the source is restored" >&2; exit 130' INT TERM HUP

# Replaces the one occurrence of $FAULT_OLD by $FAULT_NEW in $1. Exit status 3
# when the text does not occur exactly once.
replace_once() {
    python3 - "$1" <<'EOF'
import os, sys
path = sys.argv[1]
old, new = os.environ["FAULT_OLD"], os.environ["FAULT_NEW"]
with open(path, encoding="utf-8", newline="") as f:
    text = f.read()
n = text.count(old)
if n != 1:
    print(n)
    sys.exit(3)
with open(path, "w", encoding="utf-8", newline="") as f:
    f.write(text.replace(old, new, 1))
EOF
}

build_tests() { # extra targets...
    cmake --build "$build" -j"$jobs" --target vantrel_core_tests vantrel_gl_tests "$@" \
        >"$work/build.log" 2>&1
}

# The tests run through CTest, as the suite does: each test in a process of
# its own (several tests leave state behind that a later one in the same
# process would trip over), the GL ones on the display opened above. The fast
# set first, then those of the named tests (whole names) that it leaves out,
# one at a time.
run_tests() { # named tests...
    : >"$work/failed"
    ctest_round "$work/ctest.log" -j"$jobs" -L 'core|gl' -E "$exclude"
    local slow=() name
    for name in "$@"; do
        [[ "$name" =~ $exclude ]] && slow+=("$name")
    done
    if [ ${#slow[@]} -gt 0 ]; then
        ctest_round "$work/ctest_named.log" -R "^($(IFS='|'; echo "${slow[*]}"))\$"
    fi
    sort -u -o "$work/failed" "$work/failed"
}
ctest_round() { # log, ctest arguments...
    local log="$1"
    shift
    (cd "$build" && ctest "$@" --no-tests=error >"$log" 2>&1)
    local rc=$?
    # "  12 - Suite.Name (Failed)", "(SEGFAULT)", "(Timeout)" ...
    local failed
    failed=$(sed -n '/tests FAILED:$/,$ s/^[[:space:]]*[0-9][0-9]* - \([^ ]*\) (.*$/\1/p' "$log")
    [ -n "$failed" ] && echo "$failed" >>"$work/failed"
    if [ $rc -ne 0 ] && [ -z "$failed" ]; then
        echo "ctest(failed without a test list)" >>"$work/failed"
    fi
}

# Shortens Suite.Name lists for the table: a name is cut at 40 characters,
# the suite is written once for a run of its tests ("Scrub.A,B"), and the
# cell is cut at 160 characters. The full names follow the table.
shorten() {
    awk -F. '
        { s = $1; n = substr($0, length(s) + 2)
          if (length(n) > 40) n = substr(n, 1, 38) ".."
          if (s == last) cell = cell "," n; else cell = cell (cell == "" ? "" : " ") s "." n
          last = s }
        END { if (length(cell) > 160) cell = substr(cell, 1, 157) "..."; print cell }'
}

# ---- the clean run ----------------------------------------------------------
started=$(date +%s)
# Tests run the programs beside them: those that the test programs do not
# depend on are built here once (faults in src/ do not change what they write).
extra=()
for target in vantrel-compose; do
    cmake --build "$build" --target help 2>/dev/null | grep -qw -- "$target" && extra+=("$target")
done
echo "clean run: building ..." >&2
if ! build_tests "${extra[@]}"; then
    echo "$0: the clean build fails:" >&2
    tail -n 30 "$work/build.log" >&2
    exit 2
fi
# Every named test exists, and the clean run runs them all.
named=()
for k in "${selected[@]}"; do
    if ! (cd "$build" && ctest -N -R "^${tests[$k]}\$" | grep -q '^Total Tests: 1$'); then
        echo "$0: fault ${ids[$k]} names the test ${tests[$k]}, which CTest does not know" >&2
        exit 2
    fi
    named+=("${tests[$k]}")
done
echo "clean run: testing ..." >&2
run_tests "${named[@]}"
if [ -s "$work/failed" ]; then
    echo "$0: the clean run already fails these tests; fix them first:" >&2
    sed 's/^/  /' "$work/failed" >&2
    exit 2
fi

# ---- one fault at a time ----------------------------------------------------
# The table grows in the output file as the faults are done, so that an
# interrupted run keeps what it found.
printf '%-3s  %-12s  %-56s  %-6s  %6s  %s\n' "id" "subsystem" "fault" "caught" "failed" \
    "failing tests" |
    tee "$out" >"$work/table"
missed=0
for k in "${selected[@]}"; do
    id="${ids[$k]}" file="${files[$k]}"
    echo "fault $id: ${descriptions[$k]} ($file) ..." >&2
    cp "$root/$file" "$work/original"
    planted="$file"
    count=$(FAULT_OLD="${originals[$k]}" FAULT_NEW="${replacements[$k]}" replace_once "$root/$file")
    rc=$?
    result="" names="-"
    if [ $rc -ne 0 ]; then
        planted=""
        if [ "$count" = 0 ] || [ -z "$count" ]; then
            echo "fault $id: could not be applied (text not found)" >&2
            result="not applied"
        else
            echo "fault $id: could not be applied (text found $count times)" >&2
            result="not applied"
        fi
    elif ! build_tests; then
        echo "fault $id: build failed:" >&2
        grep -m 5 -i 'error' "$work/build.log" >&2
        result="build failed"
    else
        run_tests "${tests[$k]}"
        n=$(wc -l <"$work/failed")
        result="$n"
        names=$(sort -u "$work/failed" | shorten)
        sort -u "$work/failed" | sed "s/^/fault $id: /" >>"$work/details"
    fi
    restore
    caught=no
    case "$result" in
    "not applied" | "build failed") ;;
    *) grep -qxF -- "${tests[$k]}" "$work/failed" && caught=yes ;;
    esac
    [ "$caught" = yes ] || missed=$((missed + 1))
    printf '%-3s  %-12s  %-56s  %-6s  %6s  %s\n' "$id" "${subsystems[$k]}" "${descriptions[$k]}" \
        "$caught" "$result" "${names:-NOT CAUGHT}" | tee -a "$out" >>"$work/table"
    [ "$caught" = yes ] || echo "fault $id: NOT CAUGHT by ${tests[$k]}" >&2
done

# The tree is whole again; bring the build back to it.
echo "rebuilding the unchanged source ..." >&2
build_tests "${extra[@]}" || echo "$0: the final rebuild failed, see $build" >&2

elapsed=$(($(date +%s) - started))
{
    cat "$work/table"
    echo
    echo "named tests:"
    for k in "${selected[@]}"; do echo "fault ${ids[$k]}: ${tests[$k]}"; done
    if [ -s "$work/details" ]; then
        echo
        echo "failing tests in full:"
        cat "$work/details"
    fi
    echo
    echo "${#selected[@]} faults, $((${#selected[@]} - missed)) caught by their named test," \
        "$missed not caught or not run; $((elapsed / 60)) min $((elapsed % 60)) s"
    echo "not run unless named (slow): ${slow_tests[*]}"
} | tee "$out"
[ "$missed" -eq 0 ]
