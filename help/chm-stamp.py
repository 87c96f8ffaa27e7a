#!/usr/bin/env python3
# Sets the two time stamps that chmcmd writes into a compiled help file from SOURCE_DATE_EPOCH.
# chmcmd ignores that variable and stores the milliseconds since midnight of the moment it runs, in
# the ITSF header (big-endian) and in record 10 of the #SYSTEM file (little-endian); nothing else
# in its output depends on the time. Usage: chm-stamp.py FILE.chm EPOCH
import struct
import sys


def read_encint(data, at):
    """A CHM directory's variable-length integer: 7 bits a byte, high bit set on all but the last."""
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def section0_file(data, wanted):
    """Where an uncompressed file of the archive lies, start and end, from the PMGL directory chunks."""
    directory, content = struct.unpack_from("<Q", data, 0x48)[0], struct.unpack_from("<Q", data, 0x58)[0]
    if data[:4] != b"ITSF" or data[directory:directory + 4] != b"ITSP":
        sys.exit("not a compiled help file")
    header_length, chunk_size = struct.unpack_from("<II", data, directory + 8)[0], struct.unpack_from("<I", data, directory + 16)[0]
    chunk_count = struct.unpack_from("<I", data, directory + 44)[0]
    for index in range(chunk_count):
        chunk = directory + header_length + index * chunk_size
        if data[chunk:chunk + 4] != b"PMGL":
            continue
        at, end = chunk + 20, chunk + chunk_size - struct.unpack_from("<I", data, chunk + 4)[0]
        while at < end:
            length, at = read_encint(data, at)
            name, at = data[at:at + length], at + length
            section, at = read_encint(data, at)
            offset, at = read_encint(data, at)
            size, at = read_encint(data, at)
            if name == wanted and section == 0:
                return content + offset, content + offset + size
    sys.exit("no %s in the help file" % wanted.decode())


def main():
    path, epoch = sys.argv[1], int(sys.argv[2])
    stamp = epoch % 86400 * 1000
    data = bytearray(open(path, "rb").read())
    struct.pack_into(">I", data, 0x10, stamp)
    at, end = section0_file(data, b"/#SYSTEM")
    at += 4  # past the version
    while at + 4 <= end:
        code, length = struct.unpack_from("<HH", data, at)
        if code == 10 and length == 4:
            struct.pack_into("<I", data, at + 4, stamp)
            open(path, "wb").write(data)
            return
        at += 4 + length
    sys.exit("no time stamp record in #SYSTEM")


main()
