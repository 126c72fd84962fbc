#!/usr/bin/env python3
"""Checks that a Windows DLL carries the editor images as "PNG" resources.

Usage: png_resources.py <dll> <image folder>
Reads the DLL's resource directory (standard library only) and compares the
resources of type "PNG" with ids 101 to 108 byte for byte with back.png,
back2.png, handle.png, knob.png, smallknob.png, button.png, midilearn.png and
midiunlearn.png. Prints one line; exits 1 on any difference.
"""

import os
import struct
import sys

NAMES = ["back", "back2", "handle", "knob", "smallknob", "button", "midilearn", "midiunlearn"]


def sections(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = optional + optional_size
    out = []
    for i in range(count):
        virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<IIII", data, table + 40 * i + 8)
        out.append((rva, max(virtual_size, raw_size), raw_offset))
    return resource_rva, out


def offset_of(rva, table):
    for start, size, raw in table:
        if start <= rva < start + size:
            return raw + rva - start
    raise ValueError(f"RVA {rva:#x} outside every section")


def entries(data, base, directory):
    named, numbered = struct.unpack_from("<HH", data, directory + 12)
    for i in range(named + numbered):
        name, target = struct.unpack_from("<II", data, directory + 16 + 8 * i)
        if name & 0x80000000:
            at = base + (name & 0x7FFFFFFF)
            length = struct.unpack_from("<H", data, at)[0]
            key = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        else:
            key = name
        yield key, target


def png_resources(data):
    resource_rva, table = sections(data)
    if not resource_rva:
        return {}
    base = offset_of(resource_rva, table)
    found = {}
    for kind, kind_target in entries(data, base, base):
        if kind != "PNG" or not kind_target & 0x80000000:
            continue
        for ident, id_target in entries(data, base, base + (kind_target & 0x7FFFFFFF)):
            for _, leaf in entries(data, base, base + (id_target & 0x7FFFFFFF)):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                at = offset_of(rva, table)
                found[ident] = data[at:at + size]
    return found


def main():
    data = open(sys.argv[1], "rb").read()
    found = png_resources(data)
    problems = []
    for offset, name in enumerate(NAMES):
        expected = open(os.path.join(sys.argv[2], name + ".png"), "rb").read()
        carried = found.get(101 + offset)
        if carried is None:
            problems.append(f"{101 + offset} missing")
        elif carried != expected:
            problems.append(f"{101 + offset} differs from {name}.png")
    if problems:
        print("PNG resources: " + ", ".join(problems))
        return 1
    print(f"PNG resources 101-108 match resources/img ({sum(len(found[i]) for i in found)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
