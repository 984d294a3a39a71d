#!/usr/bin/python3
"""Installs a world image for the map and globe views.

usage: make_map_images.py SOURCE.jpg OUTPUT.jpg

The views read any JPEG in the program's map folder as an equirectangular
picture of the whole Earth (longitude -180 at the left edge, latitude +90 at
the top), so only such a picture is accepted: a baseline or progressive JPEG
twice as wide as it is high. The bytes are copied unchanged; a second
compression would only lose detail.
"""
import struct
import sys

from data_output import fail, write_atomically

# Start-of-frame markers that carry the picture size (all but DHT, JPG, DAC).
FRAME_MARKERS = {0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}


def jpeg_size(data):
    """(width, height) from the first frame header, or None."""
    if data[:2] != b"\xff\xd8":
        return None
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            return None
        marker = data[pos + 1]
        if marker == 0xFF:  # fill byte before a marker
            pos += 1
            continue
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if marker in FRAME_MARKERS and pos + 9 <= len(data):
            height, width = struct.unpack(">HH", data[pos + 5:pos + 9])
            return width, height
        pos += 2 + length
    return None


def main():
    if len(sys.argv) != 3:
        fail("usage: make_map_images.py SOURCE.jpg OUTPUT.jpg")
    source, output = sys.argv[1], sys.argv[2]
    with open(source, "rb") as f:
        data = f.read()
    size = jpeg_size(data)
    if size is None:
        fail("%s is not a JPEG image" % source)
    width, height = size
    if width != 2 * height:
        fail("%s is %dx%d, not an equirectangular world image" % (source, width, height))
    write_atomically(output, data)


if __name__ == "__main__":
    main()
