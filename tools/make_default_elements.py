#!/usr/bin/python3
"""Writes the default element file and names file from the element sets that
Debian's gpredict package ships (GPL-2+; epoch early 2018, so the sets are
starting points to be replaced by a download, not current elements).

usage: make_default_elements.py KIND SATELLITES.dat OUTPUT
  KIND  elements  a three-line element text file (name line, line 1, line 2)
        names     "qvnames.dat": the update link line, then one 48-column
                  entry per satellite, ascending by catalogue number

gpredict's satellites.dat holds one section per satellite ("[number]",
then KEY=value lines with NAME, TLE1 and TLE2). A set whose lines do not
carry the section's catalogue number, or fail their checksum, is left out.
No free source of standard magnitudes, sizes or radar cross-sections was
found, so those fields stay blank: the program reads a blank magnitude as
unknown (8.0).
"""
import sys

from data_output import fail, fixed, write_atomically

# The names file's first line is its update link. No archive of this file is
# published, so the link names a host that never resolves (the reserved
# ".invalid" domain): an update then fails cleanly and leaves the names as
# they are, where a foreign archive could replace them wholesale.
UPDATE_LINK = "http://names.invalid/qvnamesupdate.zip"
NAME_WIDTH = 15


def checksum_ok(line):
    total = sum(int(c) if c.isdigit() else 1 if c == "-" else 0 for c in line[:68])
    return line[68].isdigit() and total % 10 == int(line[68])


def element_line_ok(line, which, number):
    return (len(line) == 69 and line.startswith("%d " % which) and line[2:7].strip().isdigit()
            and int(line[2:7]) == number and checksum_ok(line))


def read_satellites(path):
    """(number, name, line1, line2) of every well-formed section, ascending."""
    sections, current = [], None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\r\n")
            if line.startswith("[") and line.endswith("]"):
                current = {"number": line[1:-1].strip()}
                sections.append(current)
            elif current is not None and "=" in line:
                key, value = line.split("=", 1)
                current[key.strip()] = value
    satellites = {}
    for section in sections:
        if not section["number"].isdigit():
            continue
        number = int(section["number"])
        line1, line2 = section.get("TLE1", "").strip(), section.get("TLE2", "").strip()
        name = section.get("NAME", "").strip().encode("ascii", "replace").decode()
        if element_line_ok(line1, 1, number) and element_line_ok(line2, 2, number) and name:
            satellites[number] = (number, name, line1, line2)
    return [satellites[number] for number in sorted(satellites)]


def make_elements(satellites):
    return "".join("%s\r\n%s\r\n%s\r\n" % (name, line1, line2) for _, name, line1, line2 in satellites)


def make_names(satellites):
    # The number is written as the element lines write it (zero-filled), so a
    # lookup with a satellite's number text finds its line.
    lines = [UPDATE_LINK]
    for number, name, _, _ in satellites:
        # number, name, width, length, depth, magnitude, two unused, RCS
        lines.append("%05d %s%5s%5s%5s%5s  %5s" % (number, fixed(name, NAME_WIDTH), "", "", "", "", ""))
    return "".join(line + "\r\n" for line in lines)


KINDS = {"elements": make_elements, "names": make_names}


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in KINDS:
        fail("usage: make_default_elements.py elements|names SATELLITES.dat OUTPUT")
    satellites = read_satellites(sys.argv[2])
    if not satellites:
        fail("no element sets in %s" % sys.argv[2])
    write_atomically(sys.argv[3], KINDS[sys.argv[1]](satellites).encode("ascii"))


if __name__ == "__main__":
    main()
