#!/usr/bin/python3
# Plays a game with real keys under Xvfb and reads it over the AT-SPI bus, as a screen reader does.
# Starts its own X server, session bus and accessibility bus, and stops each by its pid.
#
#   atspi_play.py GAME_PROGRAM
import os
import select
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 30.0  # seconds for any one thing to happen; the sanitizer build is slow
started = []  # (process, whole group) in start order


def fail(message):
    raise SystemExit("atspi_play: " + message)


def start(args, log, group=False, **kwargs):
    process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                               start_new_session=group, **kwargs)
    started.append((process, group))
    return process


def stop_all():
    # The bus launcher and the session bus start helpers of their own (the accessibility bus, the
    # registry): each was started in a session of its own, whose group goes with it.
    for process, group in reversed(started):
        if process.poll() is not None:
            continue
        try:
            if group:
                os.killpg(process.pid, signal.SIGTERM)
            else:
                process.terminate()
            process.wait(timeout=5)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            if group:
                os.killpg(process.pid, signal.SIGKILL)
            else:
                process.kill()
            process.wait()


def wait_for(what, probe, pump=None):
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        value = probe()
        if value:
            return value
        if pump:
            pump()
        else:
            time.sleep(0.05)
    fail("timed out waiting for " + what)


def start_services(work, log):
    read_end, write_end = os.pipe()
    xvfb = start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "640x480x24",
                  "-nolisten", "tcp"], log, pass_fds=(write_end,))
    os.close(write_end)
    # Xvfb writes the number, then the line break: closing before the break would end it.
    display = b""
    while not display.endswith(b"\n") and select.select([read_end], [], [], WAIT)[0]:
        chunk = os.read(read_end, 64)
        if not chunk:
            break
        display += chunk
    display = display.decode().strip()
    os.close(read_end)
    if not display or xvfb.poll() is not None:
        fail("Xvfb did not start")
    os.environ["DISPLAY"] = ":" + display
    wait_for("the X server", lambda: subprocess.run(
        ["xdotool", "getdisplaygeometry"], stdout=log, stderr=log, timeout=WAIT).returncode == 0)

    bus_path = os.path.join(work, "bus")
    start(["dbus-daemon", "--session", "--nofork", "--nosyslog",
           "--address=unix:path=" + bus_path], log, group=True)
    wait_for("the session bus", lambda: os.path.exists(bus_path))
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus_path
    launcher = "/usr/libexec/at-spi-bus-launcher"
    if not os.access(launcher, os.X_OK):
        fail(launcher + " is missing (Debian package at-spi2-core)")
    start([launcher, "--launch-immediately"], log, group=True)


def main():
    game = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory(prefix="kelo-atspi.") as work:
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        os.environ.update(XDG_RUNTIME_DIR=runtime, HOME=work, NO_AT_BRIDGE="0")
        log = open(os.path.join(work, "log"), "w")
        try:
            start_services(work, log)
            play(game, work, log)
        except BaseException:
            log.flush()
            with open(os.path.join(work, "log")) as text:
                sys.stderr.write(text.read()[-4000:])
            raise
        finally:
            stop_all()
            log.close()


def play(game, work, log):
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib

    # A three-digit game at 100,80, through the settings file.
    with open(os.path.join(work, "Kelo.ini"), "wb") as ini:
        ini.write(b"1500,1200,3\r\n")
    start([game], log, cwd=work,
          env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

    Atspi.init()
    said = []  # (description, role of the object, whether it had the focus)

    def on_description(event):
        source = event.source
        focused = source.get_state_set().contains(Atspi.StateType.FOCUSED)
        # Qt sends the object along with the change, not the text: a screen reader reads the new
        # description from the object, as here.
        said.append((source.get_description(), source.get_role_name(), focused))

    listener = Atspi.EventListener.new(on_description)
    listener.register("object:property-change:accessible-description")
    context = GLib.MainContext.default()

    def pump():
        deadline = time.monotonic() + 0.05
        while time.monotonic() < deadline:
            if not context.iteration(False):
                time.sleep(0.01)

    def find_frame():
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            for j in range(app.get_child_count() if app else 0):
                frame = app.get_child_at_index(j)
                if frame and frame.get_name().strip() == "Zandor Chiffres":
                    return frame
        return None

    frame = wait_for("the window on the accessibility bus", find_frame, pump)
    controls = {}
    for i in range(frame.get_child_count()):
        child = frame.get_child_at_index(i)
        if child.get_name():
            controls[child.get_name()] = child

    def text(name):
        return Atspi.Text.get_text(controls[name], 0, -1)

    def key(*keys):
        subprocess.run(["xdotool", "key", "--delay", "30", *keys], check=True, timeout=WAIT)

    def expect_said(what, starts_with, role):
        # Read out without a move: a change of the description of the object that has the focus.
        found = wait_for(what, lambda: [s for s in said if s[0].startswith(starts_with)], pump)
        description, said_role, focused = found[-1]
        if (role and said_role != role) or not focused:
            fail(f"{description!r} came from a {said_role}, focused: {focused}")
        said.clear()
        return description

    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                             "Zandor Chiffres"], capture_output=True, text=True, check=True,
                            timeout=WAIT).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=WAIT)
    box = controls["Proposition"]
    wait_for("the focus in the entry box",
             lambda: box.get_state_set().contains(Atspi.StateType.FOCUSED), pump)
    expect_said("the first game", "Nouvelle partie à 3 chiffres", "text")

    key("1", "2", "3", "Return")
    outcome = expect_said("the guess's outcome", ("Coup 1 : 1 2 3, ", "Bien ! "), None)
    if outcome.startswith("Bien ! "):  # the code was 1 2 3: once in a thousand games
        key("Return")
        expect_said("the next game", "Nouvelle partie", "text")
        key("1", "2", "3", "Return")
        outcome = expect_said("the guess's outcome", "Coup 1 : 1 2 3, ", "text")
    row = [text(f"Chiffre {c}, ligne 1") for c in (2, 3, 4)]
    bon, mal = text("Bien placés, ligne 1"), text("Mal placés, ligne 1")
    if row != ["1", "2", "3"] or text("Chiffre 1, ligne 1") != "":
        fail(f"row 1 reads {row}")
    plural = lambda n, how: f"{n} {how} placé" + ("s" if int(n) > 1 else "")
    if outcome != f"Coup 1 : 1 2 3, {plural(bon, 'bien')}, {plural(mal, 'mal')}":
        fail(f"{outcome!r} does not match the row's scores {bon} and {mal}")
    if text("Nombre de coups") != "1" or text("Proposition") != "":
        fail(f"counter {text('Nombre de coups')!r}, entry box {text('Proposition')!r}")

    key("alt+v")
    outcome = expect_said("the revealed code", "Code : ", "push button")
    code = [text(f"Chiffre {c}, ligne 8") for c in (2, 3, 4)]
    if outcome != "Code : " + " ".join(code) or text("Bien placés, ligne 8") != "o":
        fail(f"{outcome!r}, last row {code}")
    # The scores of row 1, worked out here from the code the board shows.
    well = sum(g == c for g, c in zip("123", code))
    common = sum(min("123".count(d), code.count(d)) for d in set(code))
    if (bon, mal) != (str(well), str(common - well)):
        fail(f"123 against {code} scored {bon} and {mal}")

    key("shift+Tab", *code, "Return")
    outcome = expect_said("the win", "Bien ! Code trouvé", "push button")
    if text("Proposition") != "Bien!" or text("Chiffre 3, ligne 5") != code[1]:
        fail(f"after the win {outcome!r}: entry box {text('Proposition')!r}")

    key("Return")
    expect_said("the new game", "Nouvelle partie à 3 chiffres", "text")
    if text("Nombre de coups") != "0" or text("Chiffre 2, ligne 1") != "":
        fail("Enter on the focused button did not start a new game")


if __name__ == "__main__":
    main()
