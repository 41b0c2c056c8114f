"""RGB pictures: screenshots and picture files read through ImageMagick, and
their comparison."""

import subprocess

from checks import check

class Picture:
    """An RGB picture, rows top-down."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    @staticmethod
    def from_ppm(data):
        # P6 header: magic, width, height, maxval, each followed by whitespace.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        pos += 1
        check(fields[0] == b"P6" and fields[3] == b"255", "not an 8-bit PPM picture")
        width, height = int(fields[1]), int(fields[2])
        return Picture(width, height, data[pos:pos + width * height * 3])

    def pixel(self, x, y):
        o = (y * self.width + x) * 3
        return self.pixels[o], self.pixels[o + 1], self.pixels[o + 2]

    def crop(self, x, y, w, h):
        rows = []
        for yy in range(y, y + h):
            o = (yy * self.width + x) * 3
            rows.append(self.pixels[o:o + w * 3])
        return Picture(w, h, b"".join(rows))

    def mean(self, x=0, y=0, w=None, h=None):
        w = self.width if w is None else w
        h = self.height if h is None else h
        sums = [0, 0, 0]
        for yy in range(y, y + h):
            o = (yy * self.width + x) * 3
            row = self.pixels[o:o + w * 3]
            sums[0] += sum(row[0::3])
            sums[1] += sum(row[1::3])
            sums[2] += sum(row[2::3])
        n = float(w * h)
        return sums[0] / n, sums[1] / n, sums[2] / n

    def blocks(self, size):
        """Means of size x size blocks, row by row, as a flat list of RGB values."""
        out = []
        for by in range(0, self.height - size + 1, size):
            for bx in range(0, self.width - size + 1, size):
                out.extend(self.mean(bx, by, size, size))
        return out

    def bright_fraction(self, threshold=0.5):
        """Share of pixels whose brightest channel is above threshold (0..1)."""
        limit = threshold * 255
        px = self.pixels
        count = sum(1 for i in range(0, len(px), 3) if max(px[i], px[i + 1], px[i + 2]) > limit)
        return count / float(self.width * self.height)


def block_difference(a, b, size=4):
    """Mean absolute difference (0..255) of two equally sized pictures after averaging size x size blocks."""
    check(a.width == b.width and a.height == b.height, "pictures of different sizes")
    da, db = a.blocks(size), b.blocks(size)
    return sum(abs(x - y) for x, y in zip(da, db)) / len(da)


def read_picture(path, width=None, height=None):
    """A picture file as RGB, optionally stretched to width x height."""
    command = ["convert", path]
    if width:
        command += ["-resize", "%dx%d!" % (width, height)]
    command += ["-depth", "8", "ppm:-"]
    return Picture.from_ppm(subprocess.run(command, check=True, stdout=subprocess.PIPE, timeout=30).stdout)
