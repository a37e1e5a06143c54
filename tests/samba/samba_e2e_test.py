#!/usr/bin/env python3
"""The real varden watching a job directory that a private smbd shares on
loopback; kvitra and thermal-sim behind it. A host stand-in writes jobs and
takes the lock through SMB: smbclient on a pseudo-terminal, and libsmbclient
(python3-smbc) for a job written in pieces through one open.

The programs come from KVITRA_BIN, VARDEN_BIN and THERMAL_SIM_BIN.
Usage: samba_e2e_test.py [unittest options]. Exit code 77 (skipped) when
smbd cannot run here (not root, no samba) or smbclient is missing."""
import os
import shutil
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import private_smbd  # noqa: E402
import screen  # noqa: E402
from lock_table import children_named, holders  # noqa: E402
from programs import POSITION_NAMES, RECEIPT, Simulator, Tree, Varden, wait_until, write_port_config  # noqa: E402
from smb_session import SMBCLIENT, SmbSession  # noqa: E402

SKIP = 77


def program(variable):
    return os.environ[variable]


def result_line(data):
    return data.startswith(b"##")


class ThroughSamba(unittest.TestCase):
    simulator_faults = ()

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="kvitra-samba.")
        self.tree = Tree(self.scratch)
        self.sessions = []
        self.smbd = self.sim = self.varden = None
        self.addCleanup(self.cleanup)
        self.sim = Simulator(program("THERMAL_SIM_BIN"), self.tree,
                             ["--first-receipt", "417", *self.simulator_faults])
        write_port_config(self.tree.jobs, self.sim.address)
        with open(os.path.join(self.tree.jobs, "looku.dat"), "wb"):
            pass
        self.smbd = private_smbd.PrivateSmbd(self.scratch, self.tree.jobs)
        self.varden = Varden(program("VARDEN_BIN"), program("KVITRA_BIN"), self.tree, self.varden_environment())
        time.sleep(0.5)  # varden's start-up

    def varden_environment(self):
        return {}

    def cleanup(self):
        for session in self.sessions:
            session.close()
        for part in (self.varden, self.smbd, self.sim):
            if part:
                part.stop()
        shutil.rmtree(self.scratch, ignore_errors=True)

    def session(self, nt1=False):
        session = SmbSession(self.smbd.port, nt1=nt1, cwd=self.scratch)
        self.sessions.append(session)
        return session

    def put(self, name, data, session=None):
        """Writes a file into the share with smbclient's put."""
        local = os.path.join(self.scratch, "outgoing-" + name)
        with open(local, "wb") as f:
            f.write(data)
        out = (session or self.session()).run("put %s %s" % (local, name))
        self.assertIn("putting file", out)

    def get_through_share(self, session, name="FAK_DANE.DAT"):
        local = os.path.join(self.scratch, "incoming-" + name)
        session.run("get %s %s" % (name, local))
        with open(local, "rb") as f:
            return f.read()

    def wait_for_result_line(self, limit=30):
        self.assertTrue(wait_until(lambda: result_line(self.tree.job_file()), limit), self.varden.stderr())

    def assert_printed_once(self):
        time.sleep(1.0)  # a second run would start by now
        self.assertEqual(self.varden.jobs_done(), 1, self.varden.stderr())
        printed = self.sim.printed()
        for name in POSITION_NAMES:
            self.assertEqual(printed.count(name), 1, printed)

    def client_lock(self):
        """An NT1 session with POSIX extensions holding looku.dat open: (session, fnum)."""
        session = self.session(nt1=True)
        self.assertIn("CIFS extensions", session.run("posix"))
        return session, session.open_fnum("looku.dat")


class JobsThroughTheShare(ThroughSamba):
    def test_job_and_side_file_are_printed_once_and_the_result_line_reads_back(self):
        self.put("PARAGNIP.DAT", b"527-100-20-30\r\n")
        self.put("FAK_DANE.DAT", RECEIPT)
        reader = self.session()
        self.assertTrue(wait_until(lambda: result_line(self.get_through_share(reader)), 30, step=0.2),
                        self.varden.stderr())
        self.assertEqual(self.get_through_share(reader), b"##417")
        self.assert_printed_once()
        self.assertIn("527-100-20-30", self.sim.printed())

    def test_job_written_in_pieces_through_one_open_runs_once_whole(self):
        try:
            import smbc
        except ImportError:
            self.skipTest("no python3-smbc")
        context = smbc.Context(auth_fn=lambda server, share, workgroup, user, password: ("", "", ""))
        url = "smb://127.0.0.1:%d/jobs/FAK_DANE.DAT" % self.smbd.port
        job = context.open(url, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        pieces = [RECEIPT[at:at + 40] for at in range(0, len(RECEIPT), 40)]
        for piece in pieces:
            job.write(piece)
            time.sleep(0.35)  # longer than two ticks of the watcher
        self.assertEqual(self.varden.jobs_started(), 0, self.varden.stderr())
        job.close()
        self.wait_for_result_line()
        self.assert_printed_once()
        self.assertIn("103.50", self.sim.printed())


class TheLockThroughTheShare(ThroughSamba):
    def test_no_job_runs_while_a_client_holds_the_lock_and_it_runs_once_after(self):
        holder, fnum = self.client_lock()
        self.assertEqual(holder.run("lock %d w 0 4" % fnum), "")
        self.put("FAK_DANE.DAT", RECEIPT)
        # Well inside varden's second of attempts, after which it asks the operator.
        time.sleep(0.4)
        self.assertEqual(self.tree.job_file(), RECEIPT)
        holder.run("unlock %d 0 4" % fnum)
        self.wait_for_result_line()
        self.assert_printed_once()
        self.assertNotIn("(102)", self.varden.stderr())

    def test_a_lock_held_longer_than_varden_tries_is_reported_and_the_job_kept(self):
        holder, fnum = self.client_lock()
        holder.run("lock %d w 0 4" % fnum)
        self.put("FAK_DANE.DAT", RECEIPT)
        self.assertTrue(wait_until(lambda: "(102)" in self.varden.stderr(), 5), self.varden.stderr())
        time.sleep(1.0)
        self.assertEqual(self.tree.job_file(), RECEIPT)
        self.assertEqual(self.sim.frames(), 0)


class ClientHoldsTheLockWhileTheBoxesAreAnsweredAtOnce(ThroughSamba):
    """Varden on a real screen, its lock boxes answered the moment they appear,
    the lock held by an SMB client for seconds, cycle after cycle: while the
    client holds it nothing runs and the lock table shows the client's lock
    alone; while kvitra runs, the lock table shows varden's lock alone."""
    simulator_faults = ("--delay", "40")  # kvitra runs long enough to be seen
    CYCLES = int(os.environ.get("KVITRA_LOCK_CYCLES", "20"))
    HOLD_SECONDS = 3.0  # two lock boxes and more

    def setUp(self):
        reason = screen.missing()
        if reason:
            self.skipTest(reason)
        self.screen = screen.Screen()
        self.addCleanup(self.screen.stop)  # after varden has ended
        super().setUp()
        self.operator = screen.Operator(self.screen, "BLOKOWANIE")
        self.addCleanup(self.operator.stop)

    def varden_environment(self):
        return {"QT_QPA_PLATFORM": "xcb", "DISPLAY": self.screen.display}

    def assert_nothing_runs_while_the_client_holds(self, lock_file):
        deadline = time.monotonic() + self.HOLD_SECONDS
        while time.monotonic() < deadline:
            self.assertEqual(children_named(self.varden.proc.pid, "kvitra"), [], self.varden.stderr())
            lockers = holders(lock_file)
            self.assertEqual(len(lockers), 1, "lock table: %r" % lockers)
            self.assertNotIn(self.varden.proc.pid, lockers)
            time.sleep(0.01)

    def assert_kvitra_runs_under_vardens_lock(self, lock_file):
        seen_running = False
        deadline = time.monotonic() + 30
        while not result_line(self.tree.job_file()) and time.monotonic() < deadline:
            if children_named(self.varden.proc.pid, "kvitra"):
                lockers = holders(lock_file)
                if children_named(self.varden.proc.pid, "kvitra"):  # still running when the table was read
                    seen_running = True
                    self.assertEqual(lockers, {self.varden.proc.pid}, self.varden.stderr())
            time.sleep(0.005)
        self.assertTrue(result_line(self.tree.job_file()), self.varden.stderr())
        self.assertTrue(seen_running, "kvitra was never seen running")

    def test_no_job_runs_while_the_client_holds_the_lock_cycle_after_cycle(self):
        holder, fnum = self.client_lock()
        putter = self.session()
        lock_file = os.path.join(self.tree.jobs, "looku.dat")
        for cycle in range(self.CYCLES):
            with self.subTest(cycle=cycle):
                self.assertEqual(holder.run("lock %d w 0 4" % fnum), "")
                frames, boxes = self.sim.frames(), self.operator.answered
                self.put("FAK_DANE.DAT", RECEIPT.replace(b"12345/2026", b"%05d/2026" % cycle), putter)
                self.assert_nothing_runs_while_the_client_holds(lock_file)
                self.assertEqual(self.sim.frames(), frames)
                self.assertGreaterEqual(self.operator.answered - boxes, 2, self.varden.stderr())
                holder.run("unlock %d 0 4" % fnum)
                self.assert_kvitra_runs_under_vardens_lock(lock_file)
                self.assertTrue(wait_until(lambda: self.varden.jobs_done() == cycle + 1, 10), self.varden.stderr())
        self.assertEqual(self.sim.printed().count(POSITION_NAMES[-1]), self.CYCLES)


class ClientLockWhileVardenRuns(ThroughSamba):
    simulator_faults = ("--delay", "150")  # a run of a second and more

    def test_the_clients_blocking_lock_is_granted_only_after_the_result_line(self):
        waiter, fnum = self.client_lock()
        self.put("FAK_DANE.DAT", RECEIPT)
        self.assertTrue(wait_until(lambda: self.sim.frames() > 0, 20), self.varden.stderr())
        asked = time.monotonic()
        waiter.send("lock %d w 0 4" % fnum)
        waiter.read_prompt(60)
        granted = time.monotonic()
        job_when_granted = self.tree.job_file()
        self.assertEqual(job_when_granted, b"##417", self.varden.stderr())
        self.assertGreater(granted - asked, 0.3)
        waiter.run("unlock %d 0 4" % fnum)
        self.assert_printed_once()


def main():
    reason = private_smbd.can_run()
    if not reason and not os.access(SMBCLIENT, os.X_OK):
        reason = "no %s (Debian package smbclient)" % SMBCLIENT
    if reason:
        print("SKIP: " + reason)
        return SKIP
    before = private_smbd.system_state()
    result = unittest.main(exit=False, verbosity=2).result
    touched = sorted(set(private_smbd.system_state()) ^ set(before))
    if touched:
        print("FAIL: the system's Samba directories changed: %r" % touched[:10])
    return 0 if result.wasSuccessful() and not touched else 1


if __name__ == "__main__":
    sys.exit(main())
