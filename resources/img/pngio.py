"""Reads and writes 8-bit RGB/RGBA PNG files with the standard library only."""

import struct
import zlib


class Image:
    """RGBA pixels, rows top to bottom, each pixel a 4-tuple of 0..255."""

    def __init__(self, width, height, pixels=None):
        self.width, self.height = width, height
        self.pixels = pixels or [[(0, 0, 0, 0)] * width for _ in range(height)]

    def crop(self, x0, y0, w, h):
        return Image(w, h, [row[x0:x0 + w] for row in self.pixels[y0:y0 + h]])

    def paste_over(self, other, x0, y0):
        """Blends other onto this image at (x0, y0) by other's alpha."""
        for y, src in enumerate(other.pixels):
            if not 0 <= y0 + y < self.height:
                continue
            dst = self.pixels[y0 + y]
            for x, (r, g, b, a) in enumerate(src):
                if a == 0 or not 0 <= x0 + x < self.width:
                    continue
                dr, dg, db, da = dst[x0 + x]
                dst[x0 + x] = (
                    (r * a + dr * (255 - a) + 127) // 255,
                    (g * a + dg * (255 - a) + 127) // 255,
                    (b * a + db * (255 - a) + 127) // 255,
                    max(a, da))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError(f"{path}: only 8-bit RGB/RGBA without interlace")
        elif kind == b"IDAT":
            idat += body
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    prev = bytearray(stride)
    rows, at = [], 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = prev[i]
            corner = prev[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                line[i] = (line[i] + _paeth(left, up, corner)) & 255
        prev = line
        if channels == 4:
            rows.append([tuple(line[i:i + 4]) for i in range(0, stride, 4)])
        else:
            rows.append([tuple(line[i:i + 3]) + (255,) for i in range(0, stride, 3)])
    return Image(width, height, rows)


def write(path, image):
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in image.pixels)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", image.width, image.height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))
