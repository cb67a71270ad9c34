#!/usr/bin/env python3
"""The main window as a screen reader meets it, through AT-SPI.

Starts the real program with two clips on its command line, finds it on the
accessibility bus and walks its tree: every button, field and check box that
shows has a name, the named controls are there, the clip list has one item per
clip row and audio row named by what the row shows, and pressing a row through
the tree selects it.

Run inside a private session bus and an X display:
    dbus-run-session -- xvfb-run -a python3 accessibility_tree_test.py PROGRAM_DIR
Exit status 77 (a skipped test) when AT-SPI cannot be reached.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77

try:
    import pyatspi
except ImportError:
    print("SKIPPED: python3-pyatspi is not installed (scripts/install-deps installs it)")
    sys.exit(SKIPPED)

# The roles a user operates; each must say what it is.
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_LIST,
    pyatspi.ROLE_LIST_ITEM,
}

# The output settings of the target the window opens with, and the trim fields.
FIELDS = [
    "Output Image Setting", "Video Width", "Video Height", "Video Frame Rate", "Video Quality, Kbps",
    "Video Codec", "Output Format", "Output Folder", "Audio Format", "Audio Quality, Kbps",
    "Audio Sample Rate", "Audio Channels", "Volume", "CPU Core Use", "Start Time", "End Time",
]
FIELD_ROLES = {pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_SPIN_BUTTON,
               pyatspi.ROLE_SLIDER}

BUTTONS = [
    "Add Files", "Add URL", "Remove", "Clear", "Start", "Options", "Check for a new version",
    "About", "Contact", "Help", "Minimize", "Close", "Browse output folder", "Crop",
]

WAIT_SECONDS = 90


def wait_for(what, find):
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the bus or the program still starting
            found = None
        if found:
            return found
        time.sleep(0.5)
    raise SystemExit(f"FAILED: {what} did not appear within {WAIT_SECONDS} s")


def make_clip(path, size, audio_codec):
    subprocess.run(
        ["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", f"testsrc2=size={size}:rate=25",
         "-f", "lavfi", "-i", "sine=frequency=440", "-t", "2", "-c:v", "libx264", "-preset",
         "ultrafast", "-c:a", audio_codec, "-shortest", path],
        check=True)


def walk(node, found):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        found.append(child)
        if child.getRole() != pyatspi.ROLE_LIST:
            walk(child, found)
        else:
            found.extend(c for c in (child.getChildAtIndex(i) for i in range(child.childCount)) if c)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def spoken_name(node):
    """A list box says its value as its name; its label comes by the labelled-by relation."""
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY and relation.getNTargets():
                return relation.getTarget(0).name
        return ""
    return node.name


def named(nodes, role, name):
    return [n for n in nodes if n.getRole() == role and n.name == name]


def main():
    program_dir = sys.argv[1]
    work = tempfile.mkdtemp(prefix="quilo-a11y-")
    failures = []
    process = None
    try:
        first = os.path.join(work, "first clip.mp4")
        second = os.path.join(work, "second.mkv")
        make_clip(first, "160x120", "aac")
        make_clip(second, "320x240", "libmp3lame")

        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": os.environ["DISPLAY"],
            "XAUTHORITY": os.environ.get("XAUTHORITY", ""),
            "DBUS_SESSION_BUS_ADDRESS": os.environ["DBUS_SESSION_BUS_ADDRESS"],
            "HOME": work,
            "XDG_RUNTIME_DIR": runtime,
            "XDG_DATA_HOME": os.path.join(work, "data"),
            "XDG_CONFIG_HOME": os.path.join(work, "config"),
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        }
        process = subprocess.Popen([os.path.join(program_dir, "quilo-converter"), first, second], env=env)

        def application():
            desktop = pyatspi.Registry.getDesktop(0)
            for index in range(desktop.childCount):
                app = desktop.getChildAtIndex(index)
                if app is not None and app.get_process_id() == process.pid:
                    return app
            if process.poll() is not None:
                raise SystemExit(f"FAILED: the program ended with status {process.returncode}")
            return None

        app = wait_for("the program on the accessibility bus", application)

        def clip_list():
            nodes = []
            walk(app, nodes)
            lists = named(nodes, pyatspi.ROLE_LIST, "Clip list")
            # Two clips, each with its one audio row.
            return lists[0] if lists and lists[0].childCount == 4 else None

        rows_list = wait_for("the clip list with both clips", clip_list)
        nodes = []
        walk(app, nodes)

        for node in nodes:
            if node.getRole() in CONTROL_ROLES and showing(node) and not spoken_name(node).strip():
                failures.append(f"a {node.getRoleName()} without a name, under '{node.parent.name}'")

        for name in BUTTONS:
            if not [n for n in named(nodes, pyatspi.ROLE_PUSH_BUTTON, name) if showing(n)]:
                failures.append(f"no button named '{name}'")
        fields = {spoken_name(n) for n in nodes if n.getRole() in FIELD_ROLES and showing(n)}
        print("fields:", ", ".join(sorted(fields)))
        for name in FIELDS:
            if name not in fields:
                failures.append(f"no field named '{name}'")

        rows = [rows_list.getChildAtIndex(i) for i in range(rows_list.childCount)]
        row_names = [row.name for row in rows]
        print("rows:", row_names)
        for row in rows:
            if row.getRole() != pyatspi.ROLE_LIST_ITEM:
                failures.append(f"row '{row.name}' is a {row.getRoleName()}")
        if not row_names[0].startswith("first clip.mp4") or "160x120" not in row_names[0]:
            failures.append(f"the first clip row reads '{row_names[0]}'")
        if not row_names[2].startswith("second.mkv") or "320x240" not in row_names[2]:
            failures.append(f"the second clip row reads '{row_names[2]}'")
        for audio in (row_names[1], row_names[3]):
            if "Codec:" not in audio:
                failures.append(f"an audio row reads '{audio}'")
        if "AAC" not in row_names[1].upper() or "MPEG" not in row_names[3].upper():
            failures.append(f"the audio rows do not name their codecs: {row_names[1]!r}, {row_names[3]!r}")

        # A press through the tree does what a click does: the second clip's rows are selected.
        second_row = rows[2]
        actions = second_row.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        press = [i for i, name in enumerate(names) if name.lower() == "press"]
        if not press:
            failures.append(f"a clip row offers no press action, only {names}")
        else:
            actions.doAction(press[0])
            wait_for("the pressed row's selection",
                     lambda: second_row.getState().contains(pyatspi.STATE_SELECTED))
            if rows[0].getState().contains(pyatspi.STATE_SELECTED):
                failures.append("the first clip stays selected after the second was pressed")
        if not rows[1].getState().contains(pyatspi.STATE_CHECKED):
            failures.append("the first clip's audio row is not read as checked")
    finally:
        if process is not None and process.poll() is None:
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(work, ignore_errors=True)

    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
