#!/usr/bin/python3
# Plays a game with real keys under Xvfb while the Orca screen reader listens, and checks what Orca
# sends to speech, from its own debug output. Starts its own X server and window manager, session
# and accessibility buses, speech server and Orca, each in a process group of its own (they start
# helpers), and stops each group by its leader's pid.
#
#   orca_play.py GAME_PROGRAM
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 90.0  # seconds for any one thing to happen; Orca takes seconds per event on a busy machine
DEADLINE = time.monotonic() + 200  # for the whole test, below CTest's limit
started = []
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\S+)? ?\{")
heard = {"read": 0, "said": [], "ready": False}  # Orca's log as read so far


def fail(message):
    raise SystemExit("orca_play: " + message)


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


def wait_for(what, probe, pump=lambda: time.sleep(0.1)):
    deadline = min(time.monotonic() + WAIT, DEADLINE)
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
    start(["openbox", "--sm-disable"], log)  # gives the window the focus
    bus = os.path.join(work, "bus")
    start(["dbus-daemon", "--session", "--nofork", "--nosyslog", "--address=unix:path=" + bus], log)
    wait_for("the session bus", lambda: os.path.exists(bus))
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + bus
    start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], log)
    # Without a sound device the speech server quits unless it writes to ALSA's null device.
    # The game must not play there: that device takes sound as fast as it comes, so SDL's audio
    # thread would spin, take a core from the game and from Orca, and on a busy machine Orca's
    # queries would wait past the 800 ms after which its AT-SPI library takes the game for hung
    # and drops its events. This test hears speech, not sound: the game's sounds are off.
    os.environ["SDL_AUDIODRIVER"] = "dummy"
    with open(os.path.join(work, ".asoundrc"), "w") as out:
        out.write("pcm.!default {type null}\n")
    config = os.path.join(work, "speechd")
    os.makedirs(os.path.join(config, "modules"))
    with open(os.path.join(config, "speechd.conf"), "w") as out:
        out.write('AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                  'DefaultModule espeak-ng\nAudioOutputMethod "alsa"\n')
    start(["speech-dispatcher", "--run-single", "--timeout", "0", "--log-level", "1",
           "--config-dir", config], log)
    socket = os.path.join(work, "runtime", "speech-dispatcher", "speechd.sock")
    wait_for("the speech server", lambda: os.path.exists(socket))
    # Orca's debug file is not flushed; a terminal is, and `script` copies one to a file.
    os.environ["GSETTINGS_BACKEND"] = "memory"
    # Orca will not start while it sees another Orca of the same user, the user's screen reader or
    # another run of this test: in a process namespace of its own it sees none.
    start(["unshare", "--user", "--map-current-user", "--pid", "--fork", "--mount-proc",
           "--kill-child", "script", "-qfec", f"orca -u {work}/orca --debug-file /dev/tty",
           ORCA_LOG], log)


def orca_log():
    if os.path.exists(ORCA_LOG):
        with open(ORCA_LOG, "rb") as log:
            log.seek(heard["read"])
            lines = log.read()
        lines = lines[:lines.rfind(b"\n") + 1]  # whole lines only
        heard["read"] += len(lines)
        return lines.decode(errors="replace")
    return ""


def spoken():
    lines = orca_log()
    heard["ready"] = heard["ready"] or "ORCA: Startup complete" in lines
    heard["said"] += SPOKEN.findall(lines)
    return list(heard["said"])


def main():
    global ORCA_LOG
    game = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory(prefix="kelo-orca.") as work:
        os.mkdir(os.path.join(work, "runtime"), 0o700)
        os.environ.update(XDG_RUNTIME_DIR=os.path.join(work, "runtime"), HOME=work)
        ORCA_LOG = os.path.join(work, "orca.log")
        with open(os.path.join(work, "log"), "w") as log:
            try:
                start_services(work, log)
                play(game, work, log)
            except BaseException:
                log.flush()
                sys.stderr.write(open(log.name).read()[-3000:])
                sys.stderr.write("\nOrca spoke:\n" + "\n".join(spoken()[-40:]) + "\n")
                raise
            finally:
                stop_all()


def play(game, work, log):
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi

    wait_for("Orca", lambda: spoken() is not None and heard["ready"])
    # A three-digit game, through the settings file.
    with open(os.path.join(work, "Kelo.ini"), "wb") as ini:
        ini.write(b"1500,1200,3\r\n")
    before_start = len(spoken())  # the first game may be spoken before the window is found
    start([game], log, cwd=work,
          env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

    def find_frame():
        desktop = Atspi.get_desktop(0)
        apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
        frames = [a.get_child_at_index(j) for a in apps if a for j in range(a.get_child_count())]
        return next((f for f in frames if f and f.get_name().strip() == "Zandor Chiffres"), None)

    frame = wait_for("the window on the accessibility bus", find_frame)

    def names():  # the controls by name; the board's names follow what it shows
        return {c.get_name(): c for c in map(frame.get_child_at_index,
                                             range(frame.get_child_count()))}

    text = lambda name: Atspi.Text.get_text(names()[name], 0, -1)  # what it shows now

    steps = []  # (first utterance of the step, the outcomes of which it must speak one once)
    tells = lambda s, says: s.startswith("notification ") and any(n in s for n in says)

    def step(keys, *says, since=None, first=False):  # first: before all else but the keys' echo
        steps.append((len(spoken()) if since is None else since, says))
        if keys:
            key(*keys)
        new = lambda: spoken()[steps[-1][0]:]
        said = wait_for(repr(says), lambda: next((s for s in new() if tells(s, says)), None))
        echo = lambda s: s.endswith(" ") or s in keys  # Orca's echo of a key, of a typed digit
        if first and [s for s in new() if not echo(s)][0] != said:
            fail(f"{says!r} not spoken first: {new()}")
        return said

    def key(*keys):
        subprocess.run(["xdotool", "key", "--delay", "100", *keys], check=True, timeout=WAIT)

    def hear(keys, *parts):  # the keys, then Orca reading what gets the focus, or an answer
        first = len(spoken())
        key(*keys)
        wait_for(repr(parts), lambda: any(p in s for s in spoken()[first:] for p in parts))

    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                             "Zandor Chiffres"], capture_output=True, text=True, check=True,
                            timeout=WAIT).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=WAIT)
    step([], "Nouvelle partie à 3 chiffres", since=before_start)

    outcome = step(["1", "2", "3", "Return"], " : 1 2 3, coup 1.", "Bien ! ")
    if "Bien ! " in outcome:  # the code was 1 2 3: once in a thousand games
        step(["Return"], "Nouvelle partie à 3 chiffres")
        outcome = step(["1", "2", "3", "Return"], " : 1 2 3, coup 1.")
    row = [text(f"Coup 1, chiffre {k}") for k in (1, 2, 3)]
    bon, mal = text("Coup 1, bien placés"), text("Coup 1, mal placés")
    plural = lambda n, how: f"{n} {how} placé" + ("s" if int(n) > 1 else "")
    counts = f"{plural(bon, 'bien')}, {plural(mal, 'mal')}"
    if row != ["1", "2", "3"] or f"{counts} : 1 2 3, coup 1." not in outcome:
        fail(f"{outcome!r} does not match row 1: {row}, {bon}, {mal}")
    if text("Nombre de coups") != "1" or text("Proposition") != "":
        fail(f"counter {text('Nombre de coups')!r}, entry box {text('Proposition')!r}")
    # Away from the entry box and back: the box is read, and no earlier outcome with it.
    back = len(spoken())
    hear(["Tab"], "Nouvelle partie à 3 chiffres push button")
    hear(["shift+Tab"], "Proposition")
    step(["1", "2", "3", "4", "Return"], "4 caractères : le code a 3 chiffres")
    step(["Return"], "Refusé : une proposition a de 3 à 5 caractères")

    step(["1", "2", "3", "Return"], " : 1 2 3, coup 2.")  # 1 2 3 again: it cannot win
    board = step(["alt+l"], "Coup 1 : 1 2 3, ")
    if f"Coup 1 : 1 2 3, {counts}. Coup 2 : 1 2 3, {counts}." not in board:
        fail(f"the board reread as {board!r}")
    # Keypad 9 and 3 with NumLock off are Orca's review keys, not the game's Page Up and Down.
    step(["KP_Prior", "KP_Next", "Prior"], "Rien à faire défiler : coups 1 à 2")

    outcome = step(["alt+v"], "Code : ", first=True)
    code = [text(f"Code, chiffre {k}") for k in (1, 2, 3)]
    if "Code : " + " ".join(code) not in outcome or text("Code, bien placés") != "o":
        fail(f"{outcome!r}, last row {code}")
    # The scores of row 1, worked out here from the code the board shows.
    well = sum(g == c for g, c in zip("123", code))
    common = sum(min("123".count(d), code.count(d)) for d in set(code))
    if (bon, mal) != (str(well), str(common - well)):
        fail(f"123 against {code} scored {bon} and {mal}")
    # Back in the box, which shows "Code!" selected: Orca reads the box, or at times only that.
    hear(["shift+Tab"], "Proposition", "Code!")
    step([*code, "Return"], "Bien ! Code trouvé : " + " ".join(code))
    if text("Proposition") != "Bien!" or text("Code, chiffre 2") != code[1]:
        fail(f"after the win: entry box {text('Proposition')!r}")
    step(["Return"], "Nouvelle partie à 3 chiffres")  # on the button that has the focus
    if text("Nombre de coups") != "0" or text("vide") != "":
        fail("Enter on the focused button did not start a new game")
    step(["Prior"], "Rien à faire défiler : aucun coup")
    step(["alt+4"], "Nouvelle partie à 4 chiffres")
    # Last: on a busy machine Qt may stop waiting for Orca and pass the key on as Enter too.
    hear(["Insert+KP_Enter"], "Zandor Chiffres")  # Orca's command that reads the title

    said = spoken()
    ends = [first for first, _ in steps[1:]] + [len(said)]
    for (first, says), last in zip(steps, ends):
        if sum(tells(s, says) for s in said[first:last]) != 1:
            fail(f"{says!r} not spoken once: {said[first:last]}")
    if any(s.endswith(", coup 1.") for s in said[back:]):
        fail(f"an old outcome was read again: {said[back:]}")


if __name__ == "__main__":
    main()
