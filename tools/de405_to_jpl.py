#!/usr/bin/python3
"""Writes the default planetary ephemeris: Debian's DE405 casacore table turned
into a JPL DE binary file (little-endian).

usage: de405_to_jpl.py [TABLE_DIR] OUTPUT

The table (package casacore-data-jpl-de405) holds one row per 32-day record:
the record's start as a modified Julian date and its 1016 coefficients, padded
to 1018 doubles. The JPL file holds two header records, then data records of
start and end Julian dates followed by the coefficients, every record 1018
doubles long. Run it with Debian's /usr/bin/python3, which sees python3-casacore.
"""
import datetime
import struct
import sys

import numpy as np
from casacore.tables import table

from data_output import write_atomically

DEFAULT_TABLE = "/usr/share/casacore/data/ephemerides/DE405"
MJD_TO_JD = 2400000.5
TITLE_CHARS = 84
NAME_CHARS = 6
NAME_SLOTS = 400
# The table keywords before DENUM describe the table, not the ephemeris.
FIRST_CONSTANT = "DENUM"


def calendar_text(jd):
    day = datetime.datetime(2000, 1, 1, 12) + datetime.timedelta(days=jd - 2451545.0)
    return day.strftime("%Y %b %d %H:%M:%S").upper()


def fixed(text, width):
    data = text.encode("ascii")
    if len(data) > width:
        raise ValueError(f"{text!r} is longer than {width} characters")
    return data.ljust(width, b" ")


def read_table(path):
    tab = table(path, ack=False)
    try:
        keywords = tab.getkeywords()
        span = float(keywords["dMJD"])
        layout = np.asarray(tab.getcolkeywords("x")["Description"], dtype=np.int64).reshape(3, 13)
        starts = np.asarray(tab.getcol("MJD"), dtype=np.float64) + MJD_TO_JD
        coefficients = np.asarray(tab.getcol("x"), dtype=np.float64)
    finally:
        tab.close()
    names = list(keywords)
    names = names[names.index(FIRST_CONSTANT):]
    constants = [(name, float(keywords[name])) for name in names]
    return constants, layout, span, starts, coefficients


def check(constants, layout, starts, coefficients, span):
    first, count, split = layout
    components = np.full(13, 3)
    components[11] = 2  # nutations: longitude and obliquity
    used = int((count * split * components).sum())
    ncoeff = used + 2
    # Each series must follow the previous one, starting after the two dates.
    ends = first - 1 + count * split * components
    if first[0] != 3 or any(first[1:] != ends[:-1] + 1) or ends[-1] != ncoeff:
        raise ValueError("unexpected coefficient layout")
    if coefficients.shape[1] < used or np.any(coefficients[:, used:] != 0.0):
        raise ValueError("unexpected coefficient count")
    if not np.all(np.diff(starts) == span):
        raise ValueError("records are not one span apart")
    if len(constants) > NAME_SLOTS:
        raise ValueError("too many constants")
    return ncoeff, used


def header_records(constants, layout, start, end, span, ncoeff):
    values = dict(constants)
    denum = int(values["DENUM"])
    titles = [f"JPL Planetary Ephemeris DE{denum}/LE{int(values['LENUM'])}",
              f"Start Epoch: JED= {start:10.1f} {calendar_text(start)}",
              f"Final Epoch: JED= {end:10.1f} {calendar_text(end)}"]
    first = b"".join(fixed(t, TITLE_CHARS) for t in titles)
    first += b"".join(fixed(name, NAME_CHARS) for name, _ in constants)
    first += b" " * (NAME_CHARS * (NAME_SLOTS - len(constants)))
    first += struct.pack("<3di2d", start, end, span, len(constants), values["AU"], values["EMRAT"])
    pointers = layout.T  # rows of (first, count, sub-intervals)
    first += struct.pack("<36i", *(int(v) for v in pointers[:12].ravel()))
    first += struct.pack("<i", denum)
    first += struct.pack("<3i", *(int(v) for v in pointers[12]))
    second = struct.pack(f"<{len(constants)}d", *(value for _, value in constants))
    size = 8 * ncoeff
    return first.ljust(size, b"\0"), second.ljust(size, b"\0")


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    source = argv[1] if len(argv) == 3 else DEFAULT_TABLE
    output = argv[-1]
    constants, layout, span, starts, coefficients = read_table(source)
    ncoeff, used = check(constants, layout, starts, coefficients, span)

    records = np.zeros((len(starts), ncoeff), dtype="<f8")
    records[:, 0] = starts
    records[:, 1] = starts + span
    records[:, 2:] = coefficients[:, :used]
    start, end = float(starts[0]), float(starts[-1] + span)

    first, second = header_records(constants, layout, start, end, span, ncoeff)
    write_atomically(output, first + second + records.tobytes())
    print(f"{output}: DE{int(dict(constants)['DENUM'])}, JD {start} to {end}, {len(starts)} records")


if __name__ == "__main__":
    main(sys.argv)
