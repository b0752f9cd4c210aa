#!/usr/bin/python3
# Plays a game with real keys under Xvfb and reads it over the AT-SPI bus, as a screen reader does.
# Starts its own X server, session bus and accessibility bus, each in a process group of its own
# (the buses start helpers), and stops each group by its leader's pid.
#
#   atspi_play.py GAME_PROGRAM
import os
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 30.0  # seconds for any one thing to happen; the sanitizer build is slow
started = []


def fail(message):
    raise SystemExit("atspi_play: " + message)


def start(args, log, **kwargs):
    started.append(subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                    start_new_session=True, **kwargs))


def stop_all():
    for process in reversed(started):
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(process.pid, sig)
                process.wait(timeout=5)
                break
            except ProcessLookupError:
                break
            except subprocess.TimeoutExpired:
                continue


def wait_for(what, probe, pump=lambda: time.sleep(0.05)):
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        value = probe()
        if value:
            return value
        pump()
    fail("timed out waiting for " + what)


def start_services(work, log):
    # Xvfb picks a free display and writes its number, then a line break, once it listens.
    number = os.path.join(work, "display")
    with open(number, "w") as out:
        start(["Xvfb", "-displayfd", str(out.fileno()), "-screen", "0", "640x480x24",
               "-nolisten", "tcp"], log, pass_fds=(out.fileno(),))
    read = lambda: open(number).read()
    os.environ["DISPLAY"] = ":" + wait_for("Xvfb", lambda: read().endswith("\n") and read()).strip()
    wait_for("the X server", lambda: subprocess.run(
        ["xdotool", "getdisplaygeometry"], stdout=log, stderr=log, timeout=WAIT).returncode == 0)
    bus = os.path.join(work, "bus")
    start(["dbus-daemon", "--session", "--nofork", "--nosyslog", "--address=unix:path=" + bus], log)
    wait_for("the session bus", lambda: os.path.exists(bus))
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus
    start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], log)


def main():
    game = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory(prefix="kelo-atspi.") as work:
        os.mkdir(os.path.join(work, "runtime"), 0o700)
        os.environ.update(XDG_RUNTIME_DIR=os.path.join(work, "runtime"), HOME=work)
        with open(os.path.join(work, "log"), "w") as log:
            try:
                start_services(work, log)
                play(game, work, log)
            except BaseException:
                log.flush()
                sys.stderr.write(open(log.name).read()[-4000:])
                raise
            finally:
                stop_all()


def play(game, work, log):
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib

    # A three-digit game, through the settings file.
    with open(os.path.join(work, "Kelo.ini"), "wb") as ini:
        ini.write(b"1500,1200,3\r\n")
    start([game], log, cwd=work,
          env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

    Atspi.init()
    said = []  # (description, role, whether the object had the focus)

    def on_description(event):
        # Qt 6.4 sends a reference to the object with the change, not the text: the reader reads
        # the new description from the object, as here.
        source = event.source
        said.append((source.get_description(), source.get_role_name(),
                     source.get_state_set().contains(Atspi.StateType.FOCUSED)))

    listener = Atspi.EventListener.new(on_description)
    listener.register("object:property-change:accessible-description")

    def pump():
        deadline = time.monotonic() + 0.05
        while time.monotonic() < deadline:
            if not GLib.MainContext.default().iteration(False):
                time.sleep(0.01)

    def find_frame():
        desktop = Atspi.get_desktop(0)
        apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
        frames = [a.get_child_at_index(j) for a in apps if a for j in range(a.get_child_count())]
        return next((f for f in frames if f and f.get_name().strip() == "Zandor Chiffres"), None)

    frame = wait_for("the window on the accessibility bus", find_frame, pump)
    controls = {c.get_name(): c for c in map(frame.get_child_at_index,
                                              range(frame.get_child_count()))}
    text = lambda name: Atspi.Text.get_text(controls[name], 0, -1)

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
    expect_said("the first game", "Nouvelle partie à 3 chiffres", "text")

    key("1", "2", "3", "Return")
    outcome = expect_said("the guess's outcome", ("Coup 1 : 1 2 3, ", "Bien ! "), None)
    if outcome.startswith("Bien ! "):  # the code was 1 2 3: once in a thousand games
        key("Return")
        expect_said("the next game", "Nouvelle partie", "text")
        key("1", "2", "3", "Return")
        outcome = expect_said("the guess's outcome", "Coup 1 : 1 2 3, ", "text")
    row = [text(f"Chiffre {c}, ligne 1") for c in (1, 2, 3, 4)]
    bon, mal = text("Bien placés, ligne 1"), text("Mal placés, ligne 1")
    plural = lambda n, how: f"{n} {how} placé" + ("s" if int(n) > 1 else "")
    if row != ["", "1", "2", "3"] or outcome != f"Coup 1 : 1 2 3, {plural(bon, 'bien')}, " \
                                                f"{plural(mal, 'mal')}":
        fail(f"{outcome!r} does not match row 1: {row}, {bon}, {mal}")
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
