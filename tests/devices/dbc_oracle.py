#!/usr/bin/python3
"""quastor-cli dbc against canmatrix (Debian's python3-canmatrix) on generated DBC files.

scripts/make-dbc-files.py writes the files; canmatrix and quastor-cli each read every one, and
every message must agree: identifier, extended or standard, name, length, sender (canmatrix adds those of BO_TX_BU_
after it), the J1939
fields of an extended identifier (priority, data pages, PGN, source address, destination of
PDU1) and the signal list in file order (name, start bit, length, byte order, sign,
multiplexing, factor, offset). Any difference is printed and fails the run.

canmatrix keeps a big-endian signal's start bit as the least significant bit; DBC files, and
quastor-cli, give the most significant one. get_startbit(bit_numbering=1) converts canmatrix's
back into the file's numbering.

    dbc_oracle.py QUASTOR_CLI GENERATOR [COUNT]
"""

import logging
import os
import re
import subprocess
import sys
import tempfile

logging.disable(logging.CRITICAL)  # canmatrix reports the formats it cannot load
try:
    import canmatrix.formats
except ImportError:
    sys.exit("dbc_oracle: canmatrix is missing: apt-get install python3-canmatrix")

MESSAGE = re.compile(r"^0x([0-9A-F]+) (extended|standard) (\d+) (\S+) sender=(\S+)(.*)$")
SIGNAL = re.compile(r"^  (\S+) start=(\d+) length=(\d+) order=(little|big) (signed|unsigned) "
                    r"factor=(\S+) offset=(\S+) min=(\S+) max=(\S+) unit=\"((?:[^\"]|\"\")*)\""
                    r"(?: mux=(\S+))? receivers=(\S*)$")


def ours(cli, home, path):
    run = subprocess.run([cli, "--home", home, "dbc", path], capture_output=True, text=True)
    if run.returncode != 0:
        raise RuntimeError(f"quastor-cli failed on {path}: {run.stderr}")
    messages = []
    for line in run.stdout.splitlines():
        m = MESSAGE.match(line)
        if m:
            fields = dict(f.split("=") for f in m.group(6).split())
            j1939 = None
            if m.group(2) == "extended":
                j1939 = (int(fields["priority"]), int(fields["edp"]), int(fields["dp"]),
                         int(fields["pgn"], 16), int(fields["sa"], 16),
                         int(fields["da"], 16) if "da" in fields else None)
            messages.append({"id": int(m.group(1), 16), "extended": m.group(2) == "extended",
                             "name": m.group(4), "length": int(m.group(3)),
                             "sender": m.group(5), "j1939": j1939, "signals": []})
            continue
        s = SIGNAL.match(line)
        if not s or not messages:
            raise RuntimeError(f"quastor-cli printed a line of no known form: {line!r}")
        mux = s.group(11)
        messages[-1]["signals"].append(
            (s.group(1), int(s.group(2)), int(s.group(3)), s.group(4) == "little",
             s.group(5) == "signed", "M" if mux == "M" else (int(mux[1:]) if mux else None),
             float(s.group(6)), float(s.group(7))))
    return messages


def theirs(path):
    db = canmatrix.formats.loadp_flat(path)
    messages = []
    for frame in db.frames:
        a = frame.arbitration_id
        j1939 = None
        if a.extended:
            j1939 = (a.j1939_priority, a.j1939_edp, a.j1939_dp, a.pgn, a.j1939_source,
                     a.j1939_destination)
        signals = []
        for s in frame.signals:
            start = s.start_bit if s.is_little_endian else s.get_startbit(bit_numbering=1)
            mux = "M" if s.is_multiplexer else s.multiplex
            signals.append((s.name, start, s.size, s.is_little_endian, s.is_signed, mux,
                            float(s.factor), float(s.offset)))
        messages.append({"id": a.id, "extended": a.extended, "name": frame.name,
                         "length": frame.size, "sender": frame.transmitters[0],
                         "j1939": j1939, "signals": signals})
    return messages


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    cli, generator = sys.argv[1], sys.argv[2]
    count = sys.argv[3] if len(sys.argv) > 3 else "8"
    faults = 0
    compared = signals = 0
    with tempfile.TemporaryDirectory() as work:
        subprocess.run([sys.executable, generator, os.path.join(work, "dbc"), count], check=True)
        home = os.path.join(work, "home")
        os.makedirs(home)
        for name in sorted(os.listdir(os.path.join(work, "dbc"))):
            path = os.path.join(work, "dbc", name)
            a, b = ours(cli, home, path), theirs(path)
            if len(a) != len(b):
                print(f"{name}: quastor-cli finds {len(a)} messages, canmatrix {len(b)}")
                faults += 1
            for x, y in zip(a, b):
                if x != y:
                    print(f"{name}: message {y['name']} differs\n  quastor-cli: {x}\n"
                          f"  canmatrix:   {y}")
                    faults += 1
                compared += 1
                signals += len(x["signals"])
    print(f"dbc_oracle: {compared} messages with {signals} signals compared, {faults} differ")
    if compared == 0 or signals == 0:
        print("dbc_oracle: nothing was compared")
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
