"""An smbclient session on a pseudo-terminal (smbclient buffers its output
into a pipe, so a pipe would not show its prompt until it ends)."""
import os
import pty
import re
import select
import signal
import subprocess
import time

SMBCLIENT = "/usr/bin/smbclient"
PROMPT = re.compile(rb"smb: [^\r\n]*> $")


class SmbSession:
    def __init__(self, port, share="jobs", nt1=False, cwd=None):
        args = [SMBCLIENT, "-N", "-p", str(port), "//127.0.0.1/" + share]
        if nt1:
            args += ["-m", "NT1", "--option=client min protocol=NT1"]
        master, slave = pty.openpty()
        self.proc = subprocess.Popen(args, stdin=slave, stdout=slave, stderr=slave, cwd=cwd,
                                     start_new_session=True, env=dict(os.environ, TERM="dumb"))
        os.close(slave)
        self.master = master
        self.pending = b""
        self.read_prompt(20.0)

    def read_prompt(self, limit):
        """Reads until the prompt comes back; what came before it."""
        deadline = time.monotonic() + limit
        while not PROMPT.search(self.pending):
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("no smbclient prompt; got %r" % self.pending[-500:])
            ready, _, _ = select.select([self.master], [], [], left)
            if ready:
                try:
                    chunk = os.read(self.master, 4096)
                except OSError:
                    chunk = b""
                if not chunk:
                    raise RuntimeError("smbclient ended: %r" % self.pending[-500:])
                self.pending += chunk
        text, self.pending = self.pending[:PROMPT.search(self.pending).start()], b""
        return text.decode("utf-8", "replace")

    def send(self, command):
        os.write(self.master, command.encode() + b"\r")

    def run(self, command, limit=20.0):
        """Sends a command and returns its output (without the echoed command)."""
        self.send(command)
        out = self.read_prompt(limit)
        return out.split("\n", 1)[1] if "\n" in out else ""

    def open_fnum(self, name):
        out = self.run("open " + name)
        m = re.search(r"fnum (\d+)", out)
        if not m:
            raise RuntimeError("open %s: %r" % (name, out))
        return int(m.group(1))

    def close(self):
        if self.proc.poll() is None:
            try:
                self.send("quit")
                self.proc.wait(5)
            except (OSError, subprocess.TimeoutExpired):
                self.proc.send_signal(signal.SIGKILL)
                self.proc.wait()
        os.close(self.master)
