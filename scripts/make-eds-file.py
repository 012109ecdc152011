#!/usr/bin/python3
"""Writes an EDS file of COUNT objects (2000 unless given) for the EDS reading benchmark:
variables of every basic type, records with four sub-objects and compact arrays, in equal
shares, under the mandatory and manufacturer lists.

    scripts/make-eds-file.py FILE [COUNT]
"""

import sys

TYPES = ["0x0001", "0x0002", "0x0003", "0x0004", "0x0005", "0x0006", "0x0007", "0x0008",
         "0x0009", "0x0010", "0x0011", "0x0015", "0x001B"]
ACCESS = ["ro", "wo", "rw", "rwr", "rww", "const"]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    out = ["[FileInfo]", "FileName=bench.eds", "EDSVersion=4.0", "", "[DeviceInfo]",
           "VendorName=Bench", "ProductName=Many objects", "", "[Comments]", "Lines=1",
           "Line1=Written by make-eds-file.py", ""]
    indexes = [0x1000] + [0x2000 + n for n in range(count - 1)]
    out += ["[MandatoryObjects]", "SupportedObjects=1", "1=0x1000", "",
            "[ManufacturerObjects]", f"SupportedObjects={count - 1}"]
    out += [f"{n}=0x{index:04X}" for n, index in enumerate(indexes[1:], 1)] + [""]
    for n, index in enumerate(indexes):
        kind = n % 3
        name = f"Object {n}"
        if kind == 0:
            out += [f"[{index:04X}]", f"ParameterName={name}", "ObjectType=0x7",
                    f"DataType={TYPES[n % len(TYPES)]}", f"AccessType={ACCESS[n % len(ACCESS)]}",
                    f"DefaultValue=$NODEID+0x{n:X}", "PDOMapping=0", ""]
        elif kind == 1:
            out += [f"[{index:04X}]", f"ParameterName={name}", "ObjectType=0x9", "SubNumber=5", ""]
            out += [f"[{index:04X}sub0]", "ParameterName=Highest sub-index supported",
                    "ObjectType=0x7", "DataType=0x0005", "AccessType=ro", "DefaultValue=4", ""]
            for sub in range(1, 5):
                out += [f"[{index:04x}sub{sub}]", f"ParameterName={name} part {sub}",
                        "ObjectType=0x7", f"DataType={TYPES[(n + sub) % len(TYPES)]}",
                        "AccessType=rw", f"DefaultValue={sub}", ""]
        else:
            out += [f"[{index:04X}]", f"ParameterName={name}", "ObjectType=0x8",
                    "DataType=0x0007", "AccessType=rw", "CompactSubObj=8", "DefaultValue=0", ""]
    with open(sys.argv[1], "w", newline="\r\n") as f:
        f.write("\n".join(out))


if __name__ == "__main__":
    main()
