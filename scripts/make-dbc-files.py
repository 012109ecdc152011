#!/usr/bin/python3
"""Writes DBC files for checking the DBC reader against another one.

Each file holds the usual head (VERSION, NS_ with its list, BS_, BU_), then messages with
extended (J1939: PDU1 and PDU2, both data pages) and standard identifiers, lengths from 0 to 8
and a CAN FD one of 64, signals of both byte orders and both signs placed inside their message,
multiplexed groups (a multiplexer "M" and signals "m<n>"), and between the messages comments
that run over several lines and hold ";", attribute definitions and values, value tables and
value descriptions. The same seed writes the same files.

    scripts/make-dbc-files.py DIR [COUNT] [SEED]
"""

import os
import random
import sys

NODES = ["Engine", "Gauge", "Brake", "Body_Ctrl"]


def place_little(rng, size_bytes):
    """A start bit and a length that fit an Intel signal into the message."""
    bits = size_bytes * 8
    length = rng.randint(1, min(32, bits))
    start = rng.randint(0, bits - length)
    return start, length


def place_big(rng, size_bytes):
    """The most significant bit (as DBC files number it) and a length of a Motorola signal."""
    byte = rng.randint(0, size_bytes - 1)
    bit = rng.randint(0, 7)
    room = bit + 1 + 8 * (size_bytes - 1 - byte)
    length = rng.randint(1, min(32, room))
    return byte * 8 + bit, length


def number(rng, choices):
    return rng.choice(choices)


def signal_line(rng, name, mux, size_bytes):
    if rng.random() < 0.5:
        start, length = place_little(rng, size_bytes)
        order = 1
    else:
        start, length = place_big(rng, size_bytes)
        order = 0
    sign = rng.choice("+-")
    factor = number(rng, ["1", "0.5", "0.125", "2", "1E-3", "0.03125"])
    offset = number(rng, ["0", "-40", "-125", "1.5", "100"])
    unit = number(rng, ["", "rpm", "km/h", "%", "deg C", "bar"])
    receivers = ",".join(rng.sample(NODES, rng.randint(1, 2)))
    mux_part = f" {mux}" if mux else ""
    return (f" SG_ {name}{mux_part} : {start}|{length}@{order}{sign} ({factor},{offset}) "
            f"[0|{rng.randint(1, 5000)}] \"{unit}\" {receivers}")


def extended_id(rng, pdu1):
    priority = rng.randint(0, 7)
    edp = 1 if rng.random() < 0.1 else 0
    dp = rng.randint(0, 1)
    pf = rng.randint(0, 239) if pdu1 else rng.randint(240, 255)
    ps = rng.randint(0, 255)
    sa = rng.randint(0, 255)
    return (priority << 26) | (edp << 25) | (dp << 24) | (pf << 16) | (ps << 8) | sa


def between(rng, raw_id, name):
    """A comment, an attribute or a value description to put between two messages."""
    kind = rng.randint(0, 3)
    if kind == 0:
        return (f"CM_ BO_ {raw_id} \"{name}: first line; still the comment\n"
                f"second line \\\" of it; BO_ 1 X: 8 Y\";")
    if kind == 1:
        return f"BA_ \"GenMsgCycleTime\" BO_ {raw_id} {rng.choice([10, 100, 1000])};"
    if kind == 2:
        return f"VAL_TABLE_ Switch_{name} 1 \"On; really\" 0 \"Off\" ;"
    return f"BO_TX_BU_ {raw_id} : {rng.choice(NODES)},{rng.choice(NODES)};"


def write_file(path, rng, messages):
    out = ["VERSION \"generated\"", "", "", "NS_ :", "\tNS_DESC_", "\tCM_", "\tBA_DEF_", "\tBA_",
           "\tVAL_", "\tBA_DEF_DEF_", "\tVAL_TABLE_", "\tBO_TX_BU_", "", "BS_:", "",
           "BU_: " + " ".join(NODES), "", "BA_DEF_ BO_  \"GenMsgCycleTime\" INT 0 65535;",
           "BA_DEF_DEF_  \"GenMsgCycleTime\" 100;", "", "CM_ \"A network for the tests;",
           "written by make-dbc-files.py\";", ""]
    used = set()
    for m in range(messages):
        kind = rng.randint(0, 2)
        if kind == 2:
            ident = rng.randint(0, 0x7FF)
            raw = ident
        else:
            ident = extended_id(rng, pdu1=(kind == 0))
            raw = ident | 0x80000000
        if raw in used:
            continue
        used.add(raw)
        size = 64 if rng.random() < 0.05 else rng.randint(0, 8)
        name = f"Msg_{m}"
        out.append(f"BO_ {raw} {name}: {size} {rng.choice(NODES)}")
        if size > 0:
            if rng.random() < 0.3:
                out.append(signal_line(rng, f"{name}_Mux", "M", size))
                for group in range(rng.randint(1, 3)):
                    out.append(signal_line(rng, f"{name}_G{group}", f"m{group}", size))
            for s in range(rng.randint(0, 4)):
                out.append(signal_line(rng, f"{name}_S{s}", "", size))
        out.append("")
        if rng.random() < 0.6:
            out.append(between(rng, raw, name))
            out.append("")
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(out) + "\n")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 8
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 4410
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(seed)
    for n in range(count):
        write_file(os.path.join(folder, f"network{n}.dbc"), rng, rng.randint(5, 40))


if __name__ == "__main__":
    main()
