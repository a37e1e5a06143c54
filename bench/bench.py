#!/usr/bin/env python3
"""Timing and memory benchmark of kvitra and varden against thermal-sim.

Every figure is the median of repeated runs with its minimum and maximum,
printed beside the floor measured or computed in the same run:

* TCP jobs: the floor is a minimal client that replays the frames kvitra sent
  (taken from the simulator's log) with only the waits the protocol prescribes.
* Pseudo-terminal jobs: the floor is the prescribed waits plus every byte on
  the line at the configured rate (10 bits a byte).
* Start: exec to the first byte at a listener of our own; floor: exec to exit
  of /bin/true.
* Varden: job file renamed into place to the printer program's first
  instruction (a shell script writing one byte to a FIFO); the same with
  varden's change notifications turned off (the 100 ms tick alone); and
  through a private smbd sharing the job directory on loopback, timed from
  the return of the SMB client's close (libsmbclient, python3-smbc: one open,
  one write, one close in this process, so no prompt or pipe of another
  program adds to the time; needs root and Debian's samba).
* Idle CPU from the scheduler's run time of every thread (/proc/PID/task/*/
  schedstat), beside a Qt program with a window and an empty 100 ms timer.
* Peak memory: VmHWM of varden; for kvitra, GNU time's maximum resident size
  (a child of this Python process would report Python's own size as its
  peak, since the high-water mark survives fork and exec).
"""
import argparse
import os
import re
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "samba"))
import private_smbd  # noqa: E402

ESC, ENQ = b"\x1b", b"\x05"
SERIAL_FIRST_COMMAND_PAUSE = 0.200
CASH_INFO_PAUSE = 0.500
REPLY_START_PAUSE = 0.100
TICK = 0.100
BAUD = 9600


def now():
    return time.monotonic()


def stats(values):
    values = sorted(values)
    return statistics.median(values), values[0], values[-1]


def p95(values):
    values = sorted(values)
    return values[min(len(values) - 1, int(round(0.95 * (len(values) - 1))))]


def fmt_ms(seconds):
    return "%.1f" % (seconds * 1000)


def scrub_env(tree):
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DOCUMENTS_DIR",
                 "KVITRA_START_MINIMISED", "KVITRA_PROGRAM"):
        env.pop(name, None)
    env["HOME"] = tree["home"]
    env["XDG_CONFIG_HOME"] = tree["config"]
    env["ZEMBRANO_DIR"] = tree["zembrano"]
    return env


def make_tree(root, name):
    tree = {k: os.path.join(root, name, k) for k in ("home", "config", "zembrano", "jobs")}
    for path in tree.values():
        os.makedirs(path, exist_ok=True)
    tree["root"] = os.path.join(root, name)
    return tree


def receipt_job(positions, header="XX0 paragon/A Apteka"):
    lines = [header, "12.12.2026", "12345/2026", "A07", str(positions - 1)]
    for k in range(positions):
        lines += ["%d" % (10 + k % 80), "Badanie okresowe %d" % k, "1.00"]
    lines += ["%d.00" % positions, "%.2f" % (positions * 0.19)]
    return ("\r\n".join(lines) + "\r\n").encode("cp1250")


JOBS = [("receipt, 1 position", receipt_job(1)),
        ("receipt, 10 positions", receipt_job(10)),
        ("receipt, 100 positions", receipt_job(100)),
        ("cash state", b"XX3\r\n")]


def write_port_cfg(jobs, port_line):
    with open(os.path.join(jobs, "PORT.CFG"), "wb") as f:
        f.write(port_line.encode() + b"\r\n01;3000;300;6000\r\n200;200;500;200;100\r\n0000\r\n\r\n\r\n")


class Simulator:
    def __init__(self, sim, root, name, pty=None):
        self.log = os.path.join(root, name + ".log")
        args = [sim, "--log", self.log, "--receipts", os.path.join(root, name + ".paper")]
        args += ["--pty", pty] if pty else ["--tcp", "127.0.0.1:0"]
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE)
        first = self.proc.stdout.readline().decode()
        if not first.startswith("listening"):
            raise RuntimeError("thermal-sim did not start: " + first)
        self.address = first.split()[2]

    def log_size(self):
        return os.path.getsize(self.log) if os.path.exists(self.log) else 0

    def frames_since(self, offset):
        with open(self.log, "rb") as f:
            f.seek(offset)
            text = f.read().decode("latin-1")
        frames = []
        for m in re.finditer(r' FRAME n=\d+ conn=\d+ cmd="((?:[^"\\]|\\x[0-9A-F]{2})*)" checksum=ok enq=(yes|no) answer=(\S+)', text):
            cmd = re.sub(r"\\x([0-9A-F]{2})", lambda h: chr(int(h.group(1), 16)), m.group(1)).encode("latin-1")
            frames.append((cmd, m.group(2) == "yes", m.group(3)))
        for m in re.finditer(r' ENQ conn=\d+ answer=status', text):
            frames.append((None, True, "status"))
        return frames

    def stop(self):
        self.proc.send_signal(signal.SIGTERM)
        self.proc.wait(10)


def frame_bytes(cmd, enq):
    checksum = 0xFF
    for b in cmd:
        checksum ^= b
    return ESC + b"P" + cmd + b"%02X" % checksum + ESC + b"\\" + (ENQ if enq else b"")


def put_job(tree, job):
    with open(os.path.join(tree["jobs"], "FAK_DANE.DAT"), "wb") as f:
        f.write(job)


def run_kvitra(kvitra, tree, job):
    put_job(tree, job)
    start = now()
    proc = subprocess.Popen([kvitra], cwd=tree["jobs"], env=scrub_env(tree),
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    err = proc.stderr.read()
    proc.wait()
    elapsed = now() - start
    with open(os.path.join(tree["jobs"], "FAK_DANE.DAT"), "rb") as f:
        result = f.read()
    if proc.returncode != 0 or (job != b"XX3\r\n" and not result.startswith(b"##")):
        raise RuntimeError("kvitra failed (%d): %r %r" % (proc.returncode, err, result[:40]))
    return elapsed


GNU_TIME = "/usr/bin/time"


def kvitra_peak_kib(kvitra, tree, job):
    """kvitra's maximum resident size, run from GNU time (0 without it)."""
    if not os.access(GNU_TIME, os.X_OK):
        return 0
    put_job(tree, job)
    out = os.path.join(tree["root"], "maxrss")
    subprocess.run([GNU_TIME, "-f", "%M", "-o", out, kvitra], cwd=tree["jobs"], env=scrub_env(tree),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    with open(out) as f:
        return int(f.read().split()[-1])


def read_exact(sock, n):
    data = b""
    while len(data) < n:
        chunk = sock.recv(n - len(data))
        if not chunk:
            raise RuntimeError("simulator closed the connection")
        data += chunk
    return data


def read_reply(sock):
    data = b""
    while not data.endswith(ESC + b"\\"):
        data += read_exact(sock, 1)
    return data


def replay_tcp(address, frames):
    """The same frames with only the prescribed 100 ms before a reply is read."""
    host, port = address.rsplit(":", 1)
    start = now()
    sock = socket.create_connection((host, int(port)))
    sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    for cmd, enq, answer in frames:
        if cmd is None:
            continue
        sock.sendall(frame_bytes(cmd, enq))
        if answer.startswith("reply"):
            time.sleep(REPLY_START_PAUSE)
            read_reply(sock)
        if enq:
            read_exact(sock, 1)
    sock.close()
    return now() - start


def serial_floor(frames):
    """Prescribed waits of the serial path plus the bytes at the line rate."""
    wire = 0
    waits = SERIAL_FIRST_COMMAND_PAUSE
    for cmd, enq, answer in frames:
        if cmd is None:
            wire += 2  # ENQ out, status in
            continue
        wire += len(frame_bytes(cmd, enq)) + (1 if enq else 0)
        if answer.startswith("reply"):
            waits += 2 * CASH_INFO_PAUSE + REPLY_START_PAUSE
            wire += 40  # reply frame of about this length
    return waits, wire * 10.0 / BAUD


def bench_kvitra(args, root, results, notes):
    tcp_tree = make_tree(root, "tcp")
    sim = Simulator(args.sim, root, "sim-tcp")
    write_port_cfg(tcp_tree["jobs"], sim.address)
    pty_tree = make_tree(root, "pty")
    link = os.path.join(root, "printer-tty")
    ptysim = Simulator(args.sim, root, "sim-pty", pty=link)
    write_port_cfg(pty_tree["jobs"], link)
    peak = 0
    try:
        for name, job in JOBS:
            times, floors = [], []
            for _ in range(args.runs):
                offset = sim.log_size()
                t = run_kvitra(args.kvitra, tcp_tree, job)
                time.sleep(0.05)  # let the simulator finish its log lines
                frames = sim.frames_since(offset)
                times.append(t)
                floors.append(replay_tcp(sim.address, frames))
            results.append(("Kvitra TCP, " + name, times, floors))
            peak = max(peak, kvitra_peak_kib(args.kvitra, tcp_tree, job))
        for name, job in JOBS:
            times, floors, line_time = [], [], 0
            for _ in range(args.pty_runs):
                offset = ptysim.log_size()
                t = run_kvitra(args.kvitra, pty_tree, job)
                time.sleep(0.1)
                times.append(t)
                waits, line_time = serial_floor(ptysim.frames_since(offset))
                floors.append(waits)
            # A pseudo-terminal moves bytes at memory speed whatever rate is set,
            # so the bytes at the configured rate are shown apart from the floor.
            results.append(("Kvitra pty, " + name, times, floors))
            peak = max(peak, kvitra_peak_kib(args.kvitra, pty_tree, job))
            notes.append("pty, %s: the bytes at %d baud would add %s ms on a real line" % (
                name, BAUD, fmt_ms(line_time)))
    finally:
        sim.stop()
        ptysim.stop()
    return peak


def bench_start(args, root, results):
    tree = make_tree(root, "start")
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    write_port_cfg(tree["jobs"], "127.0.0.1:%d" % listener.getsockname()[1])
    times, floors = [], []
    for _ in range(args.runs):
        with open(os.path.join(tree["jobs"], "FAK_DANE.DAT"), "wb") as f:
            f.write(JOBS[0][1])
        start = now()
        proc = subprocess.Popen([args.kvitra], cwd=tree["jobs"], env=scrub_env(tree),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        conn, _ = listener.accept()
        conn.recv(1)
        times.append(now() - start)
        conn.close()
        proc.wait(30)
        start = now()
        subprocess.run(["/bin/true"])
        floors.append(now() - start)
    listener.close()
    results.append(("Kvitra start, exec to first byte", times, floors))


STARTER = """#!/bin/sh
printf x > '%s'
%s
"""


def start_varden(args, tree, script_body, extra_env=None):
    fifo = os.path.join(tree["root"], "started")
    if not os.path.exists(fifo):
        os.mkfifo(fifo)
    script = os.path.join(tree["root"], "printer.sh")
    with open(script, "w") as f:
        f.write(STARTER % (fifo, script_body))
    os.chmod(script, 0o755)
    env = scrub_env(tree)
    env["QT_QPA_PLATFORM"] = "offscreen"
    env["KVITRA_PROGRAM"] = script
    env.update(extra_env or {})
    proc = subprocess.Popen([args.varden, tree["jobs"]], cwd=tree["jobs"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Opened read-write so that the open does not block and the FIFO never sees EOF.
    fd = os.open(fifo, os.O_RDWR)
    return proc, fd


def place_job(jobs, data):
    temp = os.path.join(jobs, "FAK_DANE.tmp")
    with open(temp, "wb") as f:
        f.write(data)
    # Timed before the rename: a bench preempted right after it would
    # otherwise see a program that started "at once".
    placed = now()
    os.rename(temp, os.path.join(jobs, "FAK_DANE.DAT"))
    return placed


def vm_hwm_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                total += int(f.read().split()[0])
        except FileNotFoundError:
            pass  # the thread ended meanwhile
    return total / 1e9


def stop_varden(proc, fd):
    hwm = vm_hwm_kib(proc.pid)
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    os.close(fd)
    return hwm


def smb_placer(port):
    """Writes the job through the share; the time when the client's close returned."""
    import smbc
    context = smbc.Context(auth_fn=lambda server, share, workgroup, user, password: ("", "", ""))
    url = "smb://127.0.0.1:%d/jobs/FAK_DANE.DAT" % port

    def place(jobs, data):
        job = context.open(url, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        job.write(data)
        job.close()
        return now()
    return place


def samba_unavailable():
    reason = private_smbd.can_run()
    if reason:
        return reason
    try:
        import smbc  # noqa: F401
    except ImportError:
        return "no python3-smbc for this interpreter"
    return ""


def bench_varden_latency(args, root, name="varden", extra_env=None, through_samba=False):
    tree = make_tree(root, name)
    smbd = private_smbd.PrivateSmbd(tree["root"], tree["jobs"]) if through_samba else None
    place = smb_placer(smbd.port) if smbd else place_job
    proc, fd = start_varden(args, tree, "printf '##1' > FAK_DANE.DAT", extra_env)
    time.sleep(1.0)
    latencies = []
    try:
        for i in range(args.varden_jobs):
            placed = place(tree["jobs"], receipt_job(2, "XX0 paragon/A Apteka " + "x" * (i + 1)))
            os.read(fd, 1)
            latencies.append(now() - placed)
            time.sleep(0.05)  # the program ends; varden waits for it
    finally:
        hwm = stop_varden(proc, fd)
        if smbd:
            smbd.stop()
    return latencies, hwm


def bench_varden_latencies(args, root, notes):
    """(label, latencies) of each way a job arrives; varden's peak memory."""
    rows = []
    latencies, peak = bench_varden_latency(args, root)
    rows.append(("local directory, change notifications", latencies))
    latencies, _ = bench_varden_latency(args, root, "varden-tick", {"VARDEN_NO_CHANGE_NOTIFICATIONS": "1"})
    rows.append(("local directory, tick alone", latencies))
    reason = samba_unavailable()
    if reason:
        notes.append("Samba share not measured: " + reason)
    else:
        latencies, _ = bench_varden_latency(args, root, "varden-samba", through_samba=True)
        rows.append(("Samba share on loopback, from the client's close", latencies))
    return rows, peak


def print_varden_rows(rows):
    for label, latencies in rows:
        print("| Varden, job in place to program started, %s (%d jobs) | median %s, p95 %s, max %s (min %s) | "
              "tick %s | | p95/tick %.2f |" % (label, len(latencies), fmt_ms(statistics.median(latencies)),
                                              fmt_ms(p95(latencies)), fmt_ms(max(latencies)),
                                              fmt_ms(min(latencies)), fmt_ms(TICK), p95(latencies) / TICK))


def bench_varden_idle(args, root, name, with_failed_job):
    tree = make_tree(root, name)
    proc, fd = start_varden(args, tree, "exit 0")  # leaves the job file as it was
    try:
        if with_failed_job:
            place_job(tree["jobs"], receipt_job(2))
            os.read(fd, 1)
        time.sleep(1.0)
        cpu0, t0 = cpu_seconds(proc.pid), now()
        time.sleep(args.idle)
        cpu = (cpu_seconds(proc.pid) - cpu0) / (now() - t0)
    finally:
        hwm = stop_varden(proc, fd)
    return cpu, hwm


def bench_qt_floor_idle(args, root):
    tree = make_tree(root, "qt-floor")
    env = scrub_env(tree)
    env["QT_QPA_PLATFORM"] = "offscreen"
    proc = subprocess.Popen([args.qt_floor], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1.0)
        cpu0, t0 = cpu_seconds(proc.pid), now()
        time.sleep(args.idle)
        return (cpu_seconds(proc.pid) - cpu0) / (now() - t0)
    finally:
        proc.terminate()
        proc.wait(10)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="build directory holding the programs")
    parser.add_argument("--runs", type=int, default=7, help="runs of each TCP job and of the start")
    parser.add_argument("--pty-runs", type=int, default=3, help="runs of each pseudo-terminal job")
    parser.add_argument("--varden-jobs", type=int, default=50)
    parser.add_argument("--idle", type=float, default=60.0, help="seconds of each idle measurement")
    parser.add_argument("--only", choices=("all", "varden"), default="all",
                        help="varden: only Varden's latencies (local, tick alone, through Samba)")
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    args.kvitra = os.path.join(args.build, "shells", "kvitra", "kvitra")
    args.varden = os.path.join(args.build, "shells", "varden", "varden")
    args.sim = os.path.join(args.build, "tools", "thermal-sim", "thermal-sim")
    args.qt_floor = os.path.join(args.build, "bench", "qt_timer_floor")

    root = tempfile.mkdtemp(prefix="kvitra-bench.")
    results, notes = [], []
    try:
        if args.only == "varden":
            rows, _ = bench_varden_latencies(args, root, notes)
            print("| Figure | figures ms | floor ms | | ratio |")
            print("|---|---|---|---|---|")
            print_varden_rows(rows)
            for note in notes:
                print("* " + note)
            return 0
        kvitra_peak = bench_kvitra(args, root, results, notes)
        bench_start(args, root, results)
        rows, varden_peak = bench_varden_latencies(args, root, notes)
        idle_empty, hwm1 = bench_varden_idle(args, root, "idle-empty", False)
        idle_failed, hwm2 = bench_varden_idle(args, root, "idle-failed", True)
        idle_floor = bench_qt_floor_idle(args, root)
        varden_peak = max(varden_peak, hwm1, hwm2)
    finally:
        shutil.rmtree(root, ignore_errors=True)

    print("| Figure | median ms (min–max) | floor ms median (min–max) | above floor ms | ratio |")
    print("|---|---|---|---|---|")
    above = {}
    for name, times, floors in results:
        t, f = stats(times), stats(floors)
        above[name] = t[0] - f[0]
        print("| %s | %s (%s–%s) | %s (%s–%s) | %s | %.2f |" % (
            name, fmt_ms(t[0]), fmt_ms(t[1]), fmt_ms(t[2]), fmt_ms(f[0]), fmt_ms(f[1]), fmt_ms(f[2]),
            fmt_ms(t[0] - f[0]), t[0] / f[0]))
    per = (above["Kvitra TCP, receipt, 100 positions"] - above["Kvitra TCP, receipt, 1 position"]) / 99
    print("| Kvitra TCP, each further position above the floor | %s ms | | | |" % ("%.3f" % (per * 1000)))
    print_varden_rows(rows)
    print("| Varden idle CPU, empty directory (%.0f s) | %.3f %% of one core | Qt window + 100 ms timer %.3f %% | %.3f %% | %.2f |" % (
        args.idle, idle_empty * 100, idle_floor * 100, (idle_empty - idle_floor) * 100, idle_empty / idle_floor))
    print("| Varden idle CPU, failed job left in place (%.0f s) | %.3f %% of one core | Qt window + 100 ms timer %.3f %% | %.3f %% | %.2f |" % (
        args.idle, idle_failed * 100, idle_floor * 100, (idle_failed - idle_floor) * 100, idle_failed / idle_floor))
    kvitra_rss = "%.1f MiB" % (kvitra_peak / 1024) if kvitra_peak else "n/a (needs GNU time)"
    print("| Peak RSS kvitra / varden | %s / %.1f MiB | | | |" % (kvitra_rss, varden_peak / 1024))
    for note in notes:
        print("* " + note)
    return 0


if __name__ == "__main__":
    sys.exit(main())
