"""Who holds a byte-range lock on a file, read from the system's lock table:
/proc/<pid>/fdinfo lists the locks that each open file holds."""
import os


def holders(path, start=0, end=3):
    """The process ids that hold a write lock overlapping bytes start..end of `path`."""
    target = os.stat(path)
    found = set()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        fd_dir = "/proc/%s/fd" % entry
        try:
            fds = os.listdir(fd_dir)
        except OSError:
            continue
        for fd in fds:
            try:
                info = os.stat(os.path.join(fd_dir, fd))
                if (info.st_dev, info.st_ino) != (target.st_dev, target.st_ino):
                    continue
                with open("/proc/%s/fdinfo/%s" % (entry, fd)) as f:
                    lines = f.read().splitlines()
            except OSError:
                continue
            for line in lines:
                if _is_overlapping_write_lock(line, start, end):
                    found.add(int(entry))
    return found


def _is_overlapping_write_lock(line, start, end):
    # "lock:\t1: OFDLCK ADVISORY  WRITE -1 fe:00:10952849 0 3"
    fields = line.split()
    if not fields or fields[0] != "lock:" or "WRITE" not in fields:
        return False
    first, last = fields[-2], fields[-1]
    last = float("inf") if last == "EOF" else int(last)
    return int(first) <= end and last >= start


def program_of(pid):
    try:
        return os.path.basename(os.readlink("/proc/%d/exe" % pid))
    except OSError:
        return ""


def children_named(parent, name):
    """The running children of `parent` whose program is `name`."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == parent and fields[0] != "Z" and program_of(int(entry)) == name:
            found.append(int(entry))
    return found
