"""A private smbd on loopback: its own configuration, directories and logs in
a scratch directory, a free port, one share, ended by its process id."""
import os
import signal
import socket
import subprocess
import time

SMBD = "/usr/sbin/smbd"

CONFIG = """[global]
  smb ports = {port}
  interfaces = lo
  bind interfaces only = yes
  server min protocol = NT1
  unix extensions = yes
  workgroup = KVITRATEST
  server role = standalone server
  map to guest = Bad User
  guest account = nobody
  private dir = {state}/private
  lock directory = {state}/lock
  state directory = {state}/state
  cache directory = {state}/cache
  pid directory = {state}/pid
  ncalrpc dir = {state}/ncalrpc
  binddns dir = {state}/binddns
  usershare path =
  log file = {state}/log.%m
  max log size = 0
  log level = 1
  disable spoolss = yes
  load printers = no
  printcap name = /dev/null
  disable netbios = yes
  passdb backend = tdbsam:{state}/private/passdb.tdb
  registry shares = no
  config backend = file
  smbd:backgroundqueue = no
  rpc_server:default = disabled
  rpc_daemon:spoolssd = disabled

[jobs]
  path = {share}
  read only = no
  guest ok = yes
  guest only = yes
  force user = root
  force group = root
  oplocks = no
  level2 oplocks = no
  kernel oplocks = no
  smb2 leases = no
  strict locking = no
  posix locking = yes
  store dos attributes = no
  map archive = no
  create mask = 0644
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def descendants(pid):
    """Every process below `pid`, found through /proc's parent links."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        children.setdefault(parent, []).append(int(entry))
    found, queue = [], [pid]
    while queue:
        for child in children.get(queue.pop(), []):
            found.append(child)
            queue.append(child)
    return found


SYSTEM_DIRECTORIES = ("/var/lib/samba", "/run/samba", "/var/cache/samba", "/var/log/samba", "/etc/samba")


def system_state():
    """Every file and directory of the system's Samba directories with its
    time and size: a private smbd must leave them as they were."""
    state = []
    for top in SYSTEM_DIRECTORIES:
        for folder, _, files in os.walk(top):
            for path in [folder] + [os.path.join(folder, name) for name in files]:
                try:
                    info = os.lstat(path)
                except OSError:
                    continue
                state.append((path, info.st_mtime_ns, info.st_size))
    return sorted(state)


def can_run():
    """Why a private smbd cannot run here, or "" when it can."""
    if os.geteuid() != 0:
        return "needs root for smbd"
    if not os.access(SMBD, os.X_OK):
        return "no %s (Debian package samba)" % SMBD
    return ""


class PrivateSmbd:
    def __init__(self, scratch, share):
        self.state = os.path.join(scratch, "smbd")
        for name in ("private", "lock", "state", "cache", "pid", "ncalrpc", "binddns"):
            os.makedirs(os.path.join(self.state, name), exist_ok=True)
        os.chmod(os.path.join(self.state, "private"), 0o700)
        self.port = free_port()
        self.conf = os.path.join(self.state, "smb.conf")
        with open(self.conf, "w") as f:
            f.write(CONFIG.format(port=self.port, state=self.state, share=share))
        self.output = open(os.path.join(self.state, "smbd.out"), "wb")
        # A group of its own: smbd signals its whole process group when it ends.
        # A session of its own: smbd signals its whole process group as it ends.
        self.proc = subprocess.Popen([SMBD, "--foreground", "--no-process-group", "--debug-stdout",
                                      "-s", self.conf], stdin=subprocess.DEVNULL, stdout=self.output,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        try:
            self._wait_for_port(20.0)
        except Exception:
            self.stop()
            raise

    def _wait_for_port(self, limit):
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError("smbd ended (%d): %s" % (self.proc.returncode, self.log_text()))
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=0.5).close()
                return
            except OSError:
                time.sleep(0.05)
        raise RuntimeError("smbd did not listen on port %d: %s" % (self.port, self.log_text()))

    def log_text(self):
        self.output.flush()
        with open(os.path.join(self.state, "smbd.out"), "rb") as f:
            return f.read().decode("utf-8", "replace")[-4000:]

    def stop(self):
        """Ends smbd and every process it started, by their ids."""
        if self.proc.poll() is None:
            below = descendants(self.proc.pid)
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
            deadline = time.monotonic() + 5
            for pid in below:
                while _alive(pid) and time.monotonic() < deadline:
                    time.sleep(0.05)
                if _alive(pid):
                    os.kill(pid, signal.SIGKILL)
        self.output.close()


def _alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False
