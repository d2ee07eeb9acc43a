#!/usr/bin/env python3
"""Draws Orvando's icons and writes them to src/ui/icons/.

Every picture is described with signed distance functions in unit-square
coordinates (x to the right, y downwards, both 0..1).  Each requested size is
rendered with SS x SS samples per pixel and box-filtered down, which gives the
32-bit images soft alpha edges.  The 8- and 24-bit images use only the 1-bit
AND mask (a pixel is opaque when at least half of it is covered).

All images are stored as uncompressed DIBs, never PNG, so that the icons load
everywhere.  The output is fully deterministic.

    python3 tools/make_icons.py                 # write the .ico files
    python3 tools/make_icons.py --preview x.png # also write an enlarged preview
"""

import argparse
import math
import pathlib
import struct
import zlib

SS = 8  # samples per pixel along each axis

ICONS = {
    # file name: (scene, [(size, bits per pixel), ...] in file order)
    "window.ico": ("woman", [(48, 24), (32, 24), (48, 32), (32, 32), (16, 32)]),
    "image1.ico": ("helmet", [(48, 8), (32, 8), (48, 24), (32, 24), (16, 24),
                              (48, 32), (32, 32), (16, 32)]),
    "image2.ico": ("robot", [(48, 8), (32, 8), (16, 8), (48, 24), (32, 24), (16, 24),
                             (48, 32), (32, 32), (16, 32)]),
}


# ---------------------------------------------------------------------------
# Shapes: a distance function (negative inside) plus a bounding box.


class Shape:
    def __init__(self, dist, box):
        self.dist = dist
        self.box = box  # (x0, y0, x1, y1)

    def __or__(self, other):
        a, b = self.dist, other.dist
        box = (min(self.box[0], other.box[0]), min(self.box[1], other.box[1]),
               max(self.box[2], other.box[2]), max(self.box[3], other.box[3]))
        return Shape(lambda x, y: min(a(x, y), b(x, y)), box)

    def __and__(self, other):
        a, b = self.dist, other.dist
        box = (max(self.box[0], other.box[0]), max(self.box[1], other.box[1]),
               min(self.box[2], other.box[2]), min(self.box[3], other.box[3]))
        return Shape(lambda x, y: max(a(x, y), b(x, y)), box)

    def __sub__(self, other):
        a, b = self.dist, other.dist
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.box)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    def dist(x, y):
        px, py = x - cx, y - cy
        k0 = math.hypot(px / rx, py / ry)
        k1 = math.hypot(px / (rx * rx), py / (ry * ry))
        if k1 == 0.0:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1

    return Shape(dist, (cx - rx, cy - ry, cx + rx, cy + ry))


def rbox(cx, cy, hw, hh, r=0.0):
    """Box with centre (cx, cy), half extents hw x hh and corner radius r."""

    def dist(x, y):
        qx = abs(x - cx) - hw + r
        qy = abs(y - cy) - hh + r
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r

    return Shape(dist, (cx - hw, cy - hh, cx + hw, cy + hh))


def capsule(x0, y0, x1, y1, r):
    ex, ey = x1 - x0, y1 - y0
    ll = ex * ex + ey * ey

    def dist(x, y):
        wx, wy = x - x0, y - y0
        t = min(max((wx * ex + wy * ey) / ll, 0.0), 1.0)
        return math.hypot(wx - ex * t, wy - ey * t) - r

    return Shape(dist, (min(x0, x1) - r, min(y0, y1) - r, max(x0, x1) + r, max(y0, y1) + r))


def above(y0):
    """Half plane y <= y0."""
    return Shape(lambda x, y: y - y0, (-1.0, -1.0, 2.0, y0))


# ---------------------------------------------------------------------------
# Paints: constant colours or functions of the position.


def mix(c0, c1, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def linear(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    return lambda x, y: mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / ll)


def radial(cx, cy, r, c0, c1):
    return lambda x, y: mix(c0, c1, math.hypot(x - cx, y - cy) / r)


def glow(cx, cy, r, colour, strength):
    """Soft halo: colour with alpha fading out towards radius r."""

    def paint(x, y):
        t = 1.0 - math.hypot(x - cx, y - cy) / r
        return colour + (strength * max(t, 0.0) ** 2,)

    return paint


class Canvas:
    def __init__(self, size):
        self.size = size
        self.n = size * SS
        self.rgba = [(0.0, 0.0, 0.0, 0.0)] * (self.n * self.n)
        self.zoom, self.cx, self.cy = 1.0, 0.5, 0.5
        self.px = 1.0 / size  # one output pixel in scene units

    def view(self, zoom, cx, cy):
        """Magnifies the scene around (cx, cy); used to give the smallest sizes more pixels."""
        self.zoom, self.cx, self.cy = zoom, cx, cy
        self.px = 1.0 / (self.size * zoom)

    def pixel_centre(self, i, j):
        """Scene coordinates of the centre of output pixel (i, j)."""
        return (self.cx + ((i + 0.5) / self.size - 0.5) / self.zoom,
                self.cy + ((j + 0.5) / self.size - 0.5) / self.zoom)

    def draw(self, shape, fill, outline=None, width=0.0):
        """Paints shape with fill, and a band of the given width around it with outline."""
        n, zoom, cx, cy = self.n, self.zoom, self.cx, self.cy
        grow = width if outline else 0.0
        x0, y0, x1, y1 = shape.box
        i0 = min(max(int((0.5 + (x0 - grow - cx) * zoom) * n) - 1, 0), n)
        i1 = min(max(int((0.5 + (x1 + grow - cx) * zoom) * n) + 2, 0), n)
        j0 = min(max(int((0.5 + (y0 - grow - cy) * zoom) * n) - 1, 0), n)
        j1 = min(max(int((0.5 + (y1 + grow - cy) * zoom) * n) + 2, 0), n)
        dist = shape.dist
        const = fill if not callable(fill) else None
        rgba = self.rgba
        for j in range(j0, j1):
            y = cy + ((j + 0.5) / n - 0.5) / zoom
            row = j * n
            for i in range(i0, i1):
                x = cx + ((i + 0.5) / n - 0.5) / zoom
                d = dist(x, y)
                if d <= 0.0:
                    col = const if const is not None else fill(x, y)
                elif d <= grow:
                    col = outline
                else:
                    continue
                a = col[3] if len(col) > 3 else 1.0
                if a >= 1.0:
                    rgba[row + i] = (col[0], col[1], col[2], 1.0)
                elif a > 0.0:
                    r, g, b, da = rgba[row + i]
                    oa = a + da * (1.0 - a)
                    k = da * (1.0 - a)
                    rgba[row + i] = ((col[0] * a + r * k) / oa, (col[1] * a + g * k) / oa,
                                     (col[2] * a + b * k) / oa, oa)

    def downscale(self):
        """Box-filters the samples to size x size straight-alpha (r, g, b, a) bytes, top row first."""
        n, size = self.n, self.size
        out = []
        area = SS * SS
        for py in range(size):
            for px in range(size):
                sr = sg = sb = sa = 0.0
                for j in range(py * SS, py * SS + SS):
                    row = j * n
                    for r, g, b, a in self.rgba[row + px * SS: row + px * SS + SS]:
                        sr += r * a
                        sg += g * a
                        sb += b * a
                        sa += a
                alpha = round(255.0 * sa / area)
                if alpha == 0:
                    out.append((0, 0, 0, 0))
                else:
                    out.append((round(sr / sa), round(sg / sa), round(sb / sa), alpha))
        return out


# ---------------------------------------------------------------------------
# The pictures.  cv.px is the width of one output pixel in scene units, so
# lines and small features can be kept visible at 16 x 16.


def line_width(cv):
    return {16: 0.9, 32: 1.1, 48: 1.4}[cv.size] * cv.px


def draw_woman(cv):
    size = cv.size
    if size < 32:
        cv.view(1.25, 0.5, 0.53)  # close-up, so the face is more than a few pixels wide
    px = cv.px
    w = line_width(cv)
    ink = (44, 28, 24)
    hair_light, hair_dark = (88, 58, 44), (30, 19, 15)
    skin_light, skin_dark = (250, 214, 184), (214, 156, 120)

    # Ponytail hanging behind the right shoulder, gathered by a red tie.
    tail = (capsule(0.70, 0.30, 0.77, 0.62, 0.065) | circle(0.70, 0.27, 0.085))
    cv.draw(tail, linear(0.6, 0.2, hair_light, 0.8, 0.7, hair_dark), ink, w)
    cv.draw(rbox(0.705, 0.345, 0.055, 0.022, 0.02), (204, 36, 44), ink, w * 0.8)

    # Neck, then the garment with a scoop neckline over it.
    neck = rbox(0.5, 0.68, 0.075, 0.16, 0.03)
    neck_skin = linear(0, 0.58, (196, 138, 104), 0, 0.8, skin_dark)
    cv.draw(neck, neck_skin, ink if size >= 32 else None, w)
    garment = (ellipse(0.5, 1.06, 0.45, 0.31) & above(1.2)) - ellipse(0.5, 0.76, 0.10, 0.075)
    cv.draw(garment, linear(0.2, 0.76, (226, 56, 60), 0.6, 1.0, (150, 20, 30)), ink, w)
    if size >= 32:  # a fold on each shoulder
        for sx in (0.27, 0.73):
            fold = capsule(sx, 0.88, sx + (0.02 if sx < 0.5 else -0.02), 1.0, 0.008)
            cv.draw(fold, (130, 16, 26))

    # Ears, head.
    if size >= 32:
        for ex in (0.315, 0.685):
            cv.draw(ellipse(ex, 0.45, 0.032, 0.05), skin_dark, ink, w)
    cv.draw(ellipse(0.5, 0.41, 0.185, 0.235), radial(0.44, 0.36, 0.26, skin_light, skin_dark), ink, w)

    # Hair pulled back tightly from the hairline; only the cap of the head is covered.
    cap = (ellipse(0.5, 0.385, 0.205, 0.25) - ellipse(0.5, 0.50, 0.175, 0.215)) & above(0.46)
    cv.draw(cap, linear(0.4, 0.15, hair_light, 0.6, 0.45, hair_dark), ink, w)
    if size >= 32:  # sheen on the hair
        sheen = ellipse(0.43, 0.225, 0.07, 0.024) & (ellipse(0.5, 0.385, 0.205, 0.25))
        cv.draw(sheen, (118, 84, 64, 0.8))

    if size < 32:
        # Too small for shading: whole-pixel eyes and mouth stay crisp.
        for i in (6, 9):
            cv.draw(rbox(*cv.pixel_centre(i, 6), 0.5 * px, 0.5 * px), (48, 30, 26))
        cv.draw(rbox(*cv.pixel_centre(7.5, 9), px, 0.5 * px), (200, 92, 96))
        return

    # Face.
    eye_r = max(0.022, 0.45 * px)
    for sx in (-1, 1):
        ex = 0.5 + sx * 0.072
        cv.draw(capsule(ex - 0.032 * sx, 0.395, ex + 0.034 * sx, 0.388, 0.3 * px), hair_dark)
        cv.draw(ellipse(ex, 0.448, eye_r, eye_r * 1.2), (40, 28, 26))
        cv.draw(circle(ex + 0.008, 0.440, 0.35 * px), (255, 255, 255))  # catchlight
        if size >= 48:  # blush
            bx = ex + sx * 0.025
            cv.draw(circle(bx, 0.52, 0.05), glow(bx, 0.52, 0.05, (230, 110, 110), 0.45))
    cv.draw(capsule(0.5, 0.47, 0.49, 0.515, 0.35 * px), (196, 130, 100))  # nose
    cv.draw(ellipse(0.5, 0.565, 0.045, max(0.016, 0.4 * px)), (196, 62, 74))


def draw_helmet(cv):
    size = cv.size
    px = cv.px
    w = line_width(cv)
    ink = (34, 38, 46)
    white, shade = (252, 252, 252), (188, 194, 204)
    grey_light, grey_dark = (174, 180, 188), (110, 116, 126)

    # Shoulders and neck of the suit.
    suit = ellipse(0.5, 1.1, 0.46, 0.25) & above(1.2)
    cv.draw(suit, linear(0, 0.86, (128, 134, 144), 0, 1.0, (84, 90, 100)), ink, w)
    cv.draw(rbox(0.5, 0.84, 0.13, 0.07, 0.02), (78, 84, 94), ink, w)

    # Shell: a dome that narrows into the chin guard.
    shell = ellipse(0.5, 0.41, 0.33, 0.34) | ellipse(0.5, 0.56, 0.27, 0.25)
    cv.draw(shell, radial(0.40, 0.24, 0.6, white, shade), ink, w)

    # The visor band follows the curve of the shell; the chin guard below it is grey.
    upper = ellipse(0.5, 0.12, 0.56, 0.27)
    lower = ellipse(0.5, 0.20, 0.56, 0.36)
    chin = shell - ellipse(0.5, 0.20, 0.56, 0.36 + max(0.025, 0.8 * px))
    cv.draw(chin, linear(0, 0.6, grey_light, 0, 0.82, grey_dark), ink, w * 0.7)
    cv.draw(shell & rbox(0.5, 0.2, 0.05, 0.2), linear(0, 0.07, grey_light, 0, 0.4, grey_dark))

    visor = (shell & lower) - upper
    cv.draw(visor, linear(0, 0.38, (20, 26, 38), 0, 0.56, (64, 88, 118)), ink, w)
    cv.draw(visor & ellipse(0.35, 0.42, 0.11, max(0.03, 0.7 * px)), (220, 234, 248, 0.55))

    if size >= 32:  # vents on the chin guard
        for vx in (0.44, 0.5, 0.56):
            cv.draw(rbox(vx, 0.70, 0.014, 0.03, 0.012), (56, 60, 70))


def draw_robot(cv):
    size = cv.size
    px = cv.px
    w = line_width(cv)
    ink = (70, 34, 14)
    copper_light, copper, copper_dark = (240, 170, 108), (190, 112, 58), (124, 66, 30)
    cyan, core = (70, 220, 255), (236, 255, 255)

    # Antenna and ear bolts sit behind the head.
    cv.draw(capsule(0.5, 0.2, 0.5, 0.09, max(0.018, 0.5 * px)), copper_dark, ink, w)
    cv.draw(circle(0.5, 0.075, 0.05), radial(0.485, 0.06, 0.06, copper_light, copper), ink, w)
    for sx in (0.145, 0.855):
        cv.draw(rbox(sx, 0.5, 0.05, 0.1, 0.02), linear(0, 0.4, copper, 0, 0.6, copper_dark), ink, w)

    head = rbox(0.5, 0.52, 0.33, 0.33, 0.1)
    cv.draw(head, linear(0.2, 0.2, copper_light, 0.8, 0.85, copper_dark), ink, w)
    if size >= 32:  # rivets
        for rx, ry in ((0.25, 0.28), (0.75, 0.28), (0.25, 0.76), (0.75, 0.76)):
            cv.draw(circle(rx, ry, 0.022), radial(rx - 0.008, ry - 0.008, 0.03, copper_light, copper_dark),
                    ink, w * 0.6)

    # Narrow face plate down the middle: the single eye on top, slots below.
    plate = rbox(0.5, 0.55, 0.125, 0.255, 0.05)
    cv.draw(plate, linear(0, 0.3, (92, 62, 46), 0, 0.8, (54, 34, 24)), ink, w)
    slots = 3 if size >= 32 else 2
    slot_h = max(0.012, 0.5 * px)
    top, bottom = 0.585, 0.76
    for k in range(slots):
        sy = top + (bottom - top) * (k + 0.5) / slots
        cv.draw(rbox(0.5, sy, 0.085, slot_h, slot_h), (18, 10, 6))

    cv.draw(circle(0.5, 0.42, 0.095), (22, 14, 10))
    cv.draw(circle(0.5, 0.42, 0.07), radial(0.49, 0.41, 0.075, core, cyan))
    cv.draw(circle(0.5, 0.42, 0.2), glow(0.5, 0.42, 0.2, (130, 235, 255), 0.5))
    cv.draw(circle(0.5, 0.42, max(0.025, 0.6 * px)), (255, 255, 255))


SCENES = {"woman": draw_woman, "helmet": draw_helmet, "robot": draw_robot}


# ---------------------------------------------------------------------------
# Palette reduction for the 8-bit images (median cut, then nearest colour).


def median_cut(colours, count):
    boxes = [colours]
    while len(boxes) < count:
        best, best_range, best_axis = None, 0, 0
        for idx, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for axis in range(3):
                lo = min(c[axis] for c in box)
                hi = max(c[axis] for c in box)
                if hi - lo > best_range:
                    best, best_range, best_axis = idx, hi - lo, axis
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda c: c[best_axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(round(sum(c[i] for c in box) / len(box)) for i in range(3)) for box in boxes]


def quantise(pixels, opaque):
    """Returns (palette of 256 colours, index per pixel).  Index 0 is black and
    is used for the transparent pixels."""
    used = [p[:3] for p, keep in zip(pixels, opaque) if keep]
    distinct = sorted(set(used))
    colours = distinct if len(distinct) <= 255 else median_cut(used, 255)
    palette = [(0, 0, 0)] + sorted(set(colours))
    lookup = {}
    indices = []
    for p, keep in zip(pixels, opaque):
        if not keep:
            indices.append(0)
            continue
        c = p[:3]
        if c not in lookup:
            lookup[c] = min(range(1, len(palette)),
                            key=lambda i: sum((a - b) ** 2 for a, b in zip(c, palette[i])))
        indices.append(lookup[c])
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette, indices


# ---------------------------------------------------------------------------
# .ico writing.


def row_bytes(width, bpp):
    return (width * bpp + 31) // 32 * 4


def encode_dib(size, bpp, pixels):
    """Encodes size x size straight-alpha pixels (top row first) as a DIB with an AND mask."""
    if bpp == 32:
        opaque = [p[3] > 0 for p in pixels]
    else:
        opaque = [p[3] >= 128 for p in pixels]

    palette_bytes = b""
    if bpp == 8:
        palette, indices = quantise(pixels, opaque)
        palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)

    xor = bytearray()
    mask = bytearray()
    xor_pad = row_bytes(size, bpp) - size * bpp // 8
    mask_len = row_bytes(size, 1)
    for y in reversed(range(size)):  # bottom-up
        mask_row = bytearray(mask_len)
        for x in range(size):
            i = y * size + x
            r, g, b, a = pixels[i]
            if not opaque[i]:
                r = g = b = a = 0
                mask_row[x // 8] |= 0x80 >> (x % 8)
            if bpp == 32:
                xor += bytes((b, g, r, a))
            elif bpp == 24:
                xor += bytes((b, g, r))
            else:
                xor.append(indices[i])
        xor += bytes(xor_pad)
        mask += mask_row

    image = bytes(xor) + bytes(mask)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, len(image), 0, 0, 0, 0)
    return header + palette_bytes + image


def encode_ico(images):
    """images: list of (size, bpp, dib bytes)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, dib in images:
        dim = size if size < 256 else 0
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, bpp, len(dib), offset)
        offset += len(dib)
    return out + b"".join(dib for _, _, dib in images)


# ---------------------------------------------------------------------------
# Preview: every image as Windows would show it, enlarged, on a checkerboard.


def write_png(path, width, height, rgb_rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + bytes(row) for row in rgb_rows)
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    pathlib.Path(path).write_bytes(png)


def decode_dib(dib):
    """Back to top-down straight-alpha pixels, so the preview shows what was written."""
    _, width, _, _, bpp = struct.unpack_from("<IiiHH", dib)
    size = width
    pos = 40
    palette = []
    if bpp == 8:
        palette = [dib[pos + 4 * i: pos + 4 * i + 3] for i in range(256)]
        pos += 1024
    xor_len = row_bytes(size, bpp)
    mask_pos = pos + xor_len * size
    mask_len = row_bytes(size, 1)
    out = []
    for y in range(size):
        row = size - 1 - y
        for x in range(size):
            p = pos + row * xor_len
            transparent = dib[mask_pos + row * mask_len + x // 8] & (0x80 >> (x % 8))
            if bpp == 32:
                b, g, r, a = dib[p + 4 * x: p + 4 * x + 4]
            elif bpp == 24:
                b, g, r = dib[p + 3 * x: p + 3 * x + 3]
                a = 0 if transparent else 255
            else:
                b, g, r = palette[dib[p + x]]
                a = 0 if transparent else 255
            out.append((r, g, b, a))
    return out


def write_preview(path, files, scale=6, gap=12):
    rows = []
    for images in files:
        rows.append([(size, decode_dib(dib)) for size, _, dib in images])
    width = max(sum(s * scale + gap for s, _ in row) for row in rows) + gap
    height = sum(max(s for s, _ in row) * scale + gap for row in rows) + gap
    canvas = [[(200, 200, 200) if ((x // 8 + y // 8) % 2) else (240, 240, 240) for x in range(width)]
              for y in range(height)]
    top = gap
    for row in rows:
        left = gap
        for size, pixels in row:
            for y in range(size * scale):
                for x in range(size * scale):
                    r, g, b, a = pixels[(y // scale) * size + x // scale]
                    bg = canvas[top + y][left + x]
                    canvas[top + y][left + x] = tuple(
                        round((c * a + k * (255 - a)) / 255) for c, k in zip((r, g, b), bg))
            left += size * scale + gap
        top += max(s for s, _ in row) * scale + gap
    write_png(path, width, height, [[c for px in line for c in px] for line in canvas])


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=str(root / "src" / "ui" / "icons"), help="output directory")
    parser.add_argument("--preview", help="also write an enlarged PNG preview here")
    args = parser.parse_args()

    out_dir = pathlib.Path(args.out)
    out_dir.mkdir(parents=True, exist_ok=True)
    previews = []
    for name, (scene, layout) in ICONS.items():
        rendered = {}
        for size in sorted({s for s, _ in layout}):
            cv = Canvas(size)
            SCENES[scene](cv)
            rendered[size] = cv.downscale()
        images = [(size, bpp, encode_dib(size, bpp, rendered[size])) for size, bpp in layout]
        data = encode_ico(images)
        (out_dir / name).write_bytes(data)
        previews.append(images)
        print(f"{out_dir / name}: {len(images)} images, {len(data)} bytes")
    if args.preview:
        write_preview(args.preview, previews)


if __name__ == "__main__":
    main()
