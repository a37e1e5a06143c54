"""A private X screen (Xvfb) for varden's real message boxes, and an operator
who answers every box of a given caption with Return as soon as it appears."""
import os
import shutil
import subprocess
import threading
import time

XVFB = "/usr/bin/Xvfb"
XDOTOOL = "/usr/bin/xdotool"


def missing():
    """Why no screen can be had here, or "" when it can."""
    for program, package in ((XVFB, "xvfb"), (XDOTOOL, "xdotool")):
        if not os.access(program, os.X_OK):
            return "no %s (Debian package %s)" % (program, package)
    return ""


class Screen:
    def __init__(self):
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen([XVFB, "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=(write_end,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            self.stop()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def run(self, *args):
        return subprocess.run([XDOTOOL, *args], capture_output=True, text=True,
                              env=dict(os.environ, DISPLAY=self.display)).stdout

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(10)


class Operator:
    """Presses Return on every window whose title is `caption`, the moment it
    is there; `answered` counts the boxes."""

    def __init__(self, screen, caption):
        self.screen = screen
        self.pattern = "^%s$" % caption
        self.answered = 0
        self.seen = set()
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._answer, daemon=True)
        self.thread.start()

    def _answer(self):
        while not self.stopping.is_set():
            for window in self.screen.run("search", "--name", self.pattern).split():
                if window not in self.seen:
                    self.seen.add(window)
                    self.answered += 1
                self.screen.run("windowfocus", window, "key", "Return")
            time.sleep(0.005)

    def stop(self):
        self.stopping.set()
        self.thread.join(10)
