"""The real programs of one "printer computer" in a scratch tree: thermal-sim
over loopback TCP and varden watching the job directory, running kvitra."""
import os
import signal
import subprocess
import time

RECEIPT = ("XX0 paragon/A Apteka pod Łabędziem\r\n12.12.2026\r\n12345/2026\r\nA07\r\n2\r\n"
           "01\r\nOpłata skarbowa\r\n1.00\r\n"
           "12\r\nBadanie okresowe z dwoma kopiami sprawozdania\r\n98.00\r\n"
           "25\r\nŻółta teczka\r\n4.50\r\n"
           "103.50\r\n19.16\r\n").encode("cp1250")
POSITION_NAMES = ["skarbowa", "Badanie okresowe", "ta teczka"]  # as the paper shows them


class Tree:
    def __init__(self, root):
        self.root = root
        for name in ("home", "config", "zembrano", "jobs", "runtime"):
            path = os.path.join(root, name)
            os.makedirs(path, mode=0o700, exist_ok=True)
            setattr(self, name, path)

    def environment(self):
        env = dict(os.environ)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_DOCUMENTS_DIR", "KVITRA_START_MINIMISED",
                     "KVITRA_PROGRAM", "VARDEN_NO_CHANGE_NOTIFICATIONS"):
            env.pop(name, None)
        env.update(HOME=self.home, XDG_CONFIG_HOME=self.config, XDG_RUNTIME_DIR=self.runtime, ZEMBRANO_DIR=self.zembrano,
                   QT_QPA_PLATFORM="offscreen", KVITRA_HEADLESS="1")
        return env

    def job_file(self):
        with open(os.path.join(self.jobs, "FAK_DANE.DAT"), "rb") as f:
            return f.read()


def wait_until(condition, limit, step=0.02):
    deadline = time.monotonic() + limit
    while True:
        if condition():
            return True
        if time.monotonic() >= deadline:
            return False
        time.sleep(step)


def read_text(path):
    try:
        with open(path, "rb") as f:
            return f.read().decode("utf-8", "replace")
    except FileNotFoundError:
        return ""


def end(proc):
    if proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Simulator:
    def __init__(self, program, tree, extra=()):
        self.log = os.path.join(tree.root, "sim.log")
        self.receipts = os.path.join(tree.root, "receipts.txt")
        self.proc = subprocess.Popen([program, "--log", self.log, "--receipts", self.receipts,
                                      "--tcp", "127.0.0.1:0", *extra],
                                     stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        first = self.proc.stdout.readline().decode()
        if not first.startswith("listening"):
            end(self.proc)
            raise RuntimeError("thermal-sim did not start: %r" % first)
        self.address = first.split()[2]

    def printed(self):
        return read_text(self.receipts)

    def frames(self):
        return read_text(self.log).count(" FRAME ")

    def stop(self):
        end(self.proc)
        self.proc.stdout.close()


def write_port_config(jobs, address):
    with open(os.path.join(jobs, "PORT.CFG"), "wb") as f:
        f.write(address.encode() + b"\r\n01;3000;300;6000\r\n200;200;500;200;100\r\n0000\r\n\r\n\r\n")


class Varden:
    def __init__(self, program, kvitra, tree, extra_env=None):
        self.stderr_path = os.path.join(tree.root, "varden.err")
        self.stderr_file = open(self.stderr_path, "wb")
        env = tree.environment()
        env["KVITRA_PROGRAM"] = kvitra
        env.update(extra_env or {})
        self.proc = subprocess.Popen([program, tree.jobs + "/"], cwd=tree.root, env=env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=self.stderr_file)

    def stderr(self):
        return read_text(self.stderr_path)

    def jobs_done(self):
        return self.stderr().count(", done")

    def jobs_started(self):
        return self.stderr().count("job ")

    def stop(self):
        end(self.proc)
        self.stderr_file.close()
