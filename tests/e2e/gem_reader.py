"""Reading the board off the screen: gem kinds told apart by their colour and
shape on a screenshot."""

import colorsys
import math

from checks import check
from geometry import cell_centre

def cell_colour(picture, column, row, half=20):
    """What tells gem kinds apart on screen: the hue of the gem's lit pixels, as a point on the colour
    wheel weighted by saturation, and how much of the cell the gem covers (its shape)."""
    x, y = cell_centre(column, row)
    patch = picture.crop(x - half, y - half, 2 * half + 1, 2 * half + 1)
    px = patch.pixels
    hx = hy = 0.0
    lit = 0
    for i in range(0, len(px), 3):
        h, s, v = colorsys.rgb_to_hsv(px[i] / 255.0, px[i + 1] / 255.0, px[i + 2] / 255.0)
        if v > 0.35:
            lit += 1
            hx += s * math.cos(2 * math.pi * h)
            hy += s * math.sin(2 * math.pi * h)
    if not lit:
        return (0.0, 0.0, 0.0)
    return (hx / lit, hy / lit, lit / float(patch.width * patch.height))


def distance(p, q):
    return sum((a - b) ** 2 for a, b in zip(p, q)) ** 0.5


class GemReader:
    """Tells the gem kinds apart on screenshots, taught with a screenshot of a known board."""

    def __init__(self, picture, field):
        groups = {}
        for r in range(8):
            for c in range(8):
                groups.setdefault(field[r][c], []).append(cell_colour(picture, c, r + 1))
        self.centres = {k: tuple(sum(p[i] for p in ps) / len(ps) for i in range(3)) for k, ps in groups.items()}
        read = self.read(picture)
        wrong = [(r + 1, c) for r in range(8) for c in range(8) if read[r][c] != field[r][c]]
        check(not wrong, "the screen does not show the saved board at (row, column) %s" % wrong)
        kinds = sorted(self.centres)
        gaps = [distance(self.centres[a], self.centres[b]) for a in kinds for b in kinds if a < b]
        check(not gaps or min(gaps) > 0.15, "two gem kinds look alike on screen")

    def read(self, picture):
        out = []
        for r in range(8):
            row = []
            for c in range(8):
                colour = cell_colour(picture, c, r + 1)
                ranked = sorted(self.centres, key=lambda k: distance(colour, self.centres[k]))
                best = distance(colour, self.centres[ranked[0]])
                runner_up = distance(colour, self.centres[ranked[1]]) if len(ranked) > 1 else 1.0
                # Nearest kind, when it is near and clearly nearer than any other.
                row.append(ranked[0] if best < 0.3 and best < 0.7 * runner_up else None)
            out.append(row)
        return out

