#!/usr/bin/env python3
"""Writes the small seed corpus of the fuzz targets into corpus/<target>/. Run again after
changing it; the seeds are checked in so a run needs nothing else."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def crc16(data):
    crc = 0xFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return bytes([crc & 0xFF, crc >> 8])


def frame(body):
    return body + crc16(body)


def bmp(width, height, bits, compression=0, pixels=None, colours=None, core=False):
    table = b""
    if bits <= 8:
        count = colours if colours is not None else 1 << bits
        table = b"".join(bytes([i * 37 % 256, i * 91 % 256, i * 13 % 256] + ([] if core else [0]))
                         for i in range(count))
    stride = (width * bits + 31) // 32 * 4
    if pixels is None:
        pixels = bytes((i * 7) % 256 for i in range(stride * abs(height)))
    if core:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                           2835, 2835, colours or 0, 0)
    offset = 14 + len(info) + len(table)
    head = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return head + info + table + pixels


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


null = frame(bytes([7, 0, 0, 0, 0]))
reset = frame(bytes([6, 0]))
command = frame(bytes([13, 2, 0, 59, 2, 0x90, 0x01, 1, 10, 1, 0x80]))
write("sim_frame_parser", "null_reset_command", null + reset + command)
write("sim_frame_parser", "noise_between", b"\x00\xff" + command + b"\x07\x00" + null)

status = bytes((i * 13) % 256 for i in range(300))
write("link_line", "status_frames", b"\x01" + status + b"\x01" + status[::-1] + b"\x00\x03")
write("link_line", "changes_and_noise", bytes(range(64)) + null + command)

write("help_files", "text_crlf_tabs",
      b"BURNER #1 GRAIN OVERHEAT\r\n\tCheck the plenum sensor.\r\n\tReset the limit.\r\nlast")
write("help_files", "bmp_24", bmp(5, 3, 24))
write("help_files", "bmp_8_top_down", bmp(4, -2, 8, colours=4))
write("help_files", "bmp_rle8", bmp(4, 2, 8, 1, pixels=bytes([4, 1, 0, 0, 4, 2, 0, 1]), colours=3))
write("help_files", "bmp_core_1", bmp(9, 2, 1, core=True))
