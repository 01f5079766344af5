#!/usr/bin/env python3
"""Generate Zentaro's artwork: the window background, the decorative picture,
the picture-button icons (the data buttons, history, swap, help and exit), the calculator glyph and the application icon.

Only the Python 3 standard library is used.  Every picture is drawn from
geometric shapes described by signed distance functions, which gives smooth
(anti-aliased) edges without supersampling.

Transparency: every picture except the calculator glyph is drawn by the
program with its bottom-left pixel colour (pure white) as the see-through
colour; the glyph uses its top-left pixel (also white).  So:
  * outside the drawn shape every pixel is exactly (255, 255, 255);
  * inside the shape no pixel is pure white (it is nudged to an off-white);
  * the outer edge of a shape is never blended with white.  The background's
    outline is hard-edged; the smaller pictures blend their outer edge with
    the colour of the background area they are shown on (their "matte"), so
    they sit smoothly on the window without a light halo.
  * the window's colour key (R,G,B) = (150, 217, 250) never occurs.

Usage:  python3 tools/make-artwork.py [--png PREVIEW-FOLDER] [OUTPUT-FOLDER]
Writes the 24-bit BMP files into OUTPUT-FOLDER (default: assets/ beside
tools/), PNG copies of the button pictures (white made transparent) for the
help document into OUTPUT-FOLDER/help/img/, the application icon (SVG and
PNGs of every size a desktop asks for) into OUTPUT-FOLDER/icons/, and, with --png, PNG copies of
all pictures into PREVIEW-FOLDER.
"""

import math
import os
import struct
import sys
import zlib

WHITE = (255, 255, 255)
OFF_WHITE = (252, 252, 250)
COLOUR_KEY = (150, 217, 250)


# --------------------------------------------------------------------------
# File writers
# --------------------------------------------------------------------------

def write_bmp(path, width, height, pixels):
    """pixels: list of rows (top row first) of (r, g, b) tuples."""
    row_size = (width * 3 + 3) & ~3
    pad = b"\0" * (row_size - width * 3)
    data = bytearray()
    for row in reversed(pixels):          # BMP rows are stored bottom-up
        for r, g, b in row:
            data += bytes((b, g, r))
        data += pad
    header_size = 14 + 40
    with open(path, "wb") as f:
        f.write(b"BM")
        f.write(struct.pack("<IHHI", header_size + len(data), 0, 0, header_size))
        f.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                            len(data), 2835, 2835, 0, 0))
        f.write(data)


def write_png(path, width, height, pixels, transparent=None):
    """PNG of rows of pixels: (r, g, b) rows give an RGB PNG, or with
    transparent=(r, g, b) an RGBA PNG where that colour is fully transparent;
    (r, g, b, a) rows give an RGBA PNG as they are."""
    rgba = transparent is not None or len(pixels[0][0]) == 4
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for px in row:
            raw += bytes(px)
            if transparent is not None:
                raw.append(0 if px == transparent else 255)

    def chunk(kind, body):
        c = struct.pack(">I", len(body)) + kind + body
        return c + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        colour_type = 6 if rgba else 2
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def shared_sizes():
    """The sizes in tools/sizes.env that the scripts and the build share."""
    sizes = {}
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "sizes.env")) as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#") and "=" in line:
                key, value = line.split("=", 1)
                sizes[key] = value.strip('"')
    return sizes


# --------------------------------------------------------------------------
# Colour helpers
# --------------------------------------------------------------------------

def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def vgrad(c0, c1, y0, y1):
    """Vertical gradient from c0 at y0 to c1 at y1."""
    def f(x, y):
        t = min(1.0, max(0.0, (y - y0) / float(y1 - y0)))
        return mix(c0, c1, t)
    return f


def hgrad(c0, c1, x0, x1):
    def f(x, y):
        t = min(1.0, max(0.0, (x - x0) / float(x1 - x0)))
        return mix(c0, c1, t)
    return f


def radial(c0, c1, cx, cy, r):
    def f(x, y):
        t = min(1.0, math.hypot(x - cx, y - cy) / r)
        return mix(c0, c1, t)
    return f


# --------------------------------------------------------------------------
# Signed distance functions (negative inside, in pixels)
# --------------------------------------------------------------------------

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_rrect(x0, y0, x1, y1, r):
    """Rounded rectangle covering [x0, x1] x [y0, y1] with corner radius r."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return f


def sd_ellipse(cx, cy, rx, ry):
    # Approximate distance, good enough for anti-aliasing.
    def f(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        k = math.hypot(dx, dy)
        if k == 0:
            return -min(rx, ry)
        g = math.hypot(dx / rx, dy / ry)
        return k * (k - 1.0) / g
    return f


def _seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    l2 = dx * dx + dy * dy
    t = 0.0 if l2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / l2))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def sd_stroke(points, width, closed=False):
    """A polyline with round caps and joins."""
    segs = list(zip(points, points[1:]))
    if closed:
        segs.append((points[-1], points[0]))
    half = width / 2.0

    def f(x, y):
        d = min(_seg_dist(x, y, a[0], a[1], b[0], b[1]) for a, b in segs)
        return d - half
    return f


def sd_strokes(polylines, width):
    fs = [sd_stroke(p, width) for p in polylines]
    return lambda x, y: min(g(x, y) for g in fs)


def sd_polygon(points):
    n = len(points)

    def f(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            d = min(d, _seg_dist(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y):
                xi = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < xi:
                    inside = not inside
        return -d if inside else d
    return f


def sd_union(*fs):
    return lambda x, y: min(g(x, y) for g in fs)


def sd_intersect(*fs):
    return lambda x, y: max(g(x, y) for g in fs)


def sd_subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def sd_ring(f, width):
    """A band of the given width centred on the outline of shape f."""
    return lambda x, y: abs(f(x, y)) - width / 2.0


def sd_inset(f, amount):
    return lambda x, y: f(x, y) + amount


def sd_rotate(f, cx, cy, degrees):
    """The shape f rotated by degrees (clockwise on screen) about (cx, cy)."""
    a = math.radians(degrees)
    ca, sa = math.cos(a), math.sin(a)

    def g(x, y):
        dx, dy = x - cx, y - cy
        return f(cx + dx * ca + dy * sa, cy - dx * sa + dy * ca)
    return g


def arc(cx, cy, r, a0, a1, steps=None, ry=None):
    """Points along an arc; angles in degrees, screen coordinates (y down)."""
    ry = r if ry is None else ry
    if steps is None:
        steps = max(6, int(abs(a1 - a0) / 6))
    pts = []
    for i in range(steps + 1):
        t = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((cx + r * math.cos(t), cy + ry * math.sin(t)))
    return pts


# --------------------------------------------------------------------------
# Canvas
# --------------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, matte):
        self.w, self.h = width, height
        self.px = [[tuple(float(c) for c in matte) for _ in range(width)]
                   for _ in range(height)]
        self.cover = [[0.0] * width for _ in range(height)]

    def _box(self, bbox):
        if bbox is None:
            return 0, 0, self.w, self.h
        x0, y0, x1, y1 = bbox
        return (max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1),
                min(self.w, int(math.ceil(x1)) + 2), min(self.h, int(math.ceil(y1)) + 2))

    def fill(self, sdf, colour, bbox=None, opacity=1.0, shape=True, soft=0.0):
        """Blend colour (a tuple or a function of x, y) where sdf < 0.

        shape: the area belongs to the picture's silhouette.
        soft:  width of a soft falloff outside the edge (for glows/shadows).
        """
        x0, y0, x1, y1 = self._box(bbox)
        func = colour if callable(colour) else None
        for y in range(y0, y1):
            row, cov = self.px[y], self.cover[y]
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                d = sdf(cx, cy)
                if soft > 0:
                    a = max(0.0, min(1.0, 1.0 - d / soft)) if d > 0 else 1.0
                else:
                    a = 0.5 - d
                    if a <= 0.0:
                        continue
                    if a > 1.0:
                        a = 1.0
                if a <= 0.0:
                    continue
                if shape and a > cov[x]:
                    cov[x] = a
                a *= opacity
                c = func(cx, cy) if func else colour
                p = row[x]
                row[x] = (p[0] + (c[0] - p[0]) * a,
                          p[1] + (c[1] - p[1]) * a,
                          p[2] + (c[2] - p[2]) * a)

    def finish(self, threshold=0.5, hard_sdf=None):
        """Return rows of integer pixels: white outside the silhouette."""
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                if hard_sdf is not None:
                    inside = hard_sdf(x + 0.5, y + 0.5) < 0
                else:
                    inside = self.cover[y][x] >= threshold
                if not inside:
                    row.append(WHITE)
                    continue
                p = tuple(int(round(max(0.0, min(255.0, c)))) for c in self.px[y][x])
                if p == WHITE:
                    p = OFF_WHITE
                if p == COLOUR_KEY:
                    p = (COLOUR_KEY[0] + 1, COLOUR_KEY[1], COLOUR_KEY[2])
                row.append(p)
            out.append(row)
        return out


# --------------------------------------------------------------------------
# Palette
# --------------------------------------------------------------------------

OUTLINE = (16, 48, 70)
PANEL_TOP = (26, 84, 124)
PANEL_BOTTOM = (18, 118, 134)
BAND_LEFT = (30, 92, 138)
BAND_RIGHT = (22, 126, 146)
PILL = (18, 64, 96)
GOLD = (226, 176, 62)
CONTENT_TOP = (234, 243, 248)
CONTENT_BOTTOM = (214, 230, 240)
CARD = (247, 250, 252)
CARD_BORDER = (172, 198, 216)
STRIP = (200, 221, 234)
STRIP_BORDER = (150, 182, 204)
WELL = (236, 244, 249)
WELL_BORDER = (170, 198, 216)
DECOR_FRAME = (228, 240, 246)
DECOR_BORDER = (120, 170, 196)
TEXT_LIGHT = (246, 248, 244)

# Positions of the controls placed on the background (client pixels).
HELP_BOX = (547, 25, 27, 29)
EXIT_BOX = (576, 25, 27, 29)
DATA_BOXES = [(386, 222, 51, 54), (440, 222, 51, 54),
              (496, 222, 51, 54), (553, 222, 51, 54)]
# The history button opens the strip on its left.
HISTORY_BOX = (330, 222, 51, 54)
# The swap button stands where the title band shows the exchange motif.
SWAP_BOX = (217, 24, 41, 31)
DECOR_BOX = (24, 64, 161, 193)


# --------------------------------------------------------------------------
# Stroke lettering (for the wordmark)
# --------------------------------------------------------------------------

LETTERS = {
    "Z": [[(0, 0), (0.62, 0), (0, 1), (0.62, 1)]],
    "E": [[(0.58, 0), (0, 0), (0, 1), (0.58, 1)], [(0, 0.5), (0.46, 0.5)]],
    "N": [[(0, 1), (0, 0), (0.62, 1), (0.62, 0)]],
    "T": [[(0, 0), (0.66, 0)], [(0.33, 0), (0.33, 1)]],
    "A": [[(0, 1), (0.33, 0), (0.66, 1)], [(0.13, 0.62), (0.53, 0.62)]],
    "R": [[(0, 1), (0, 0), (0.34, 0)] + arc(0.34, 0.26, 0.26, -90, 90)[1:] + [(0, 0.52)],
          [(0.3, 0.52), (0.62, 1)]],
    "O": [arc(0.33, 0.5, 0.33, 0, 360, steps=40, ry=0.5)],
}
LETTER_WIDTH = {"Z": 0.62, "E": 0.58, "N": 0.62, "T": 0.66, "A": 0.66, "R": 0.62, "O": 0.66}


def word_strokes(word, x, y, height, gap):
    lines = []
    for ch in word:
        for poly in LETTERS[ch]:
            lines.append([(x + px * height, y + py * height) for px, py in poly])
        x += LETTER_WIDTH[ch] * height + gap
    return lines


def word_width(word, height, gap):
    return sum(LETTER_WIDTH[c] * height for c in word) + gap * (len(word) - 1)


# --------------------------------------------------------------------------
# Symbols drawn with strokes, in a unit box centred on (0, 0), size ~1.2
# --------------------------------------------------------------------------

def symbol_dollar():
    s = arc(0, -0.22, 0.23, -25, -270) + arc(0, 0.23, 0.23, -90, 155)[1:]
    return [s, [(0, -0.62), (0, 0.62)]]


def symbol_euro():
    return [arc(0.1, 0, 0.46, -48, -312),
            [(-0.5, -0.11), (0.16, -0.11)], [(-0.5, 0.13), (0.1, 0.13)]]


def symbol_yen():
    return [[(-0.38, -0.55), (0, 0.0), (0.38, -0.55)], [(0, 0.0), (0, 0.6)],
            [(-0.3, 0.12), (0.3, 0.12)], [(-0.3, 0.34), (0.3, 0.34)]]


def symbol_pound():
    s = arc(0.05, -0.25, 0.28, -10, -180) + [(-0.23, 0.1), (-0.3, 0.5), (0.35, 0.5)]
    return [s, [(-0.45, 0.02), (0.12, 0.02)]]


def place(polylines, cx, cy, scale):
    return [[(cx + x * scale, cy + y * scale) for x, y in p] for p in polylines]


# --------------------------------------------------------------------------
# Background 618 x 290
# --------------------------------------------------------------------------

def make_background():
    W, H = 618, 290
    cv = Canvas(W, H, OUTLINE)

    left = sd_rrect(3, 3, 208, 287, 30)
    body = sd_rrect(190, 14, 615, 284, 24)
    silhouette = sd_union(left, body)
    cv.fill(silhouette, OUTLINE)

    # Inner fills, inset from the outline.
    body_in = sd_inset(body, 2.5)
    left_in = sd_inset(left, 2.5)

    # Content area of the body (light), then the title band over its top.
    cv.fill(body_in, vgrad(CONTENT_TOP, CONTENT_BOTTOM, 60, 284), (190, 14, 615, 284))
    band = sd_intersect(body_in, lambda x, y: y - 64.0)
    cv.fill(band, hgrad(BAND_LEFT, BAND_RIGHT, 200, 615), (190, 14, 615, 66))
    # Soft shading under the band and a thin gold rule.
    cv.fill(sd_intersect(body_in, lambda x, y: 64.0 - y), (120, 150, 170), (190, 62, 615, 76),
            opacity=0.18, shape=False, soft=0.0 + 0)
    cv.fill(sd_intersect(body_in, lambda x, y: abs(y - 65.0) - 1.0), GOLD, (190, 62, 615, 68))
    # Subtle highlight along the top of the band.
    cv.fill(sd_intersect(body_in, lambda x, y: abs(y - 19.0) - 0.6), (90, 150, 186),
            (190, 16, 615, 22), opacity=0.6)

    # Exchange motif at the left of the title band: its two opposed arrows
    # are the swap button's picture, the dots trail away from them.
    motif = (120, 178, 206)
    for i in range(14):
        x = 268 + i * 18
        cv.fill(sd_circle(x, 39.5, 1.3), motif, (x - 3, 36, x + 3, 43), opacity=0.5 - i * 0.033)

    # Pill behind the help and exit buttons.
    pill = sd_rrect(541, 21, 608, 58, 14)
    cv.fill(pill, PILL, (541, 21, 608, 58))
    cv.fill(sd_ring(pill, 1.2), (70, 130, 170), (541, 21, 608, 58), opacity=0.8)

    # Left panel (decor side): dark gradient, over the body's left edge.
    cv.fill(left_in, vgrad(PANEL_TOP, PANEL_BOTTOM, 3, 287), (3, 3, 208, 287))

    # Wordmark at the top of the left panel.
    height, gap = 17.0, 6.5
    ww = word_width("ZENTARO", height, gap)
    strokes = word_strokes("ZENTARO", 105.5 - ww / 2.0, 26.0, height, gap)
    cv.fill(sd_strokes([[(x + 1, y + 1.2) for x, y in p] for p in strokes], 3.0),
            (10, 40, 60), (10, 20, 200, 50), opacity=0.45)
    cv.fill(sd_strokes(strokes, 3.0), TEXT_LIGHT, (10, 20, 200, 50))
    # Gold underline of the wordmark.
    cv.fill(sd_stroke([(105.5 - ww / 2.0, 52.0), (105.5 + ww / 2.0, 52.0)], 1.6),
            GOLD, (10, 48, 200, 56))

    # Frame for the decorative picture.
    dx, dy, dw, dh = DECOR_BOX
    frame = sd_rrect(dx - 7, dy - 7, dx + dw + 7, dy + dh + 7, 16)
    cv.fill(sd_inset(frame, -2), (8, 40, 58), (dx - 12, dy - 12, dx + dw + 12, dy + dh + 12),
            opacity=0.35, shape=False, soft=4.0)
    cv.fill(frame, DECOR_BORDER, (dx - 8, dy - 8, dx + dw + 8, dy + dh + 8))
    cv.fill(sd_inset(frame, 1.5), DECOR_FRAME, (dx - 8, dy - 8, dx + dw + 8, dy + dh + 8))

    # Three small dots under the frame.
    for i in range(3):
        cv.fill(sd_circle(93.5 + i * 12, 274.5, 2.3), GOLD if i == 1 else (110, 170, 190),
                (85, 268, 125, 280))

    # Card holding the conversion controls.
    card = sd_rrect(212, 74, 603, 190, 12)
    cv.fill(sd_inset(card, -1), (60, 100, 130), (205, 70, 610, 198), opacity=0.18,
            shape=False, soft=5.0)
    cv.fill(card, CARD_BORDER, (210, 72, 605, 192))
    cv.fill(sd_inset(card, 1.2), vgrad(CARD, (240, 246, 250), 74, 190), (210, 72, 605, 192))
    # Thin separators between the three rows.
    for yy in (114.5, 149.5):
        cv.fill(sd_stroke([(222, yy), (593, yy)], 1.0), (218, 230, 238), (220, yy - 2, 596, yy + 2))

    # Strip of the history button and the four data buttons.
    strip = sd_rrect(323, 214, 611, 280, 15)
    cv.fill(sd_inset(strip, -1), (60, 100, 130), (316, 208, 616, 286), opacity=0.18,
            shape=False, soft=4.0)
    cv.fill(strip, STRIP_BORDER, (321, 212, 613, 282))
    cv.fill(sd_inset(strip, 1.2), vgrad((212, 230, 241), STRIP, 214, 280), (321, 212, 613, 282))
    for (bx, by, bw, bh) in [HISTORY_BOX] + DATA_BOXES:
        well = sd_rrect(bx, by, bx + bw, by + bh, 9)
        cv.fill(well, WELL_BORDER, (bx - 1, by - 1, bx + bw + 1, by + bh + 1))
        cv.fill(sd_inset(well, 1.0), WELL, (bx - 1, by - 1, bx + bw + 1, by + bh + 1))

    # Decorative wave lines left of the strip.
    for i, col in enumerate(((176, 204, 222), (196, 218, 232))):
        pts = [(x, 247 + i * 9 + 5 * math.sin((x - 210) / 24.0 + i)) for x in range(214, 316, 3)]
        cv.fill(sd_stroke(pts, 1.6), col, (212, 232, 318, 272))
    # Small currency symbols along the waves.
    for j, sym in enumerate((symbol_dollar(), symbol_euro(), symbol_yen())):
        cx = 236 + j * 34
        cv.fill(sd_circle(cx, 222, 11), (205, 224, 236), (cx - 13, 209, cx + 13, 235))
        cv.fill(sd_strokes(place(sym, cx, 222, 11), 1.8), (112, 150, 176), (cx - 13, 209, cx + 13, 235))

    return cv.finish(hard_sdf=silhouette)


# --------------------------------------------------------------------------
# Decorative picture 229 x 273
# --------------------------------------------------------------------------

def coin(cv, cx, cy, r, symbol, bbox_pad=3):
    bb = (cx - r - bbox_pad, cy - r - bbox_pad, cx + r + bbox_pad, cy + r + bbox_pad + 4)
    # Edge (thickness) of the coin, then face, rim and symbol.
    cv.fill(sd_circle(cx, cy + 3.5, r), (168, 118, 26), bb)
    cv.fill(sd_circle(cx, cy, r), radial((252, 214, 110), (214, 158, 40), cx - r * 0.35, cy - r * 0.4, r * 1.6), bb)
    cv.fill(sd_ring(sd_circle(cx, cy, r * 0.8), 1.6), (186, 132, 30), bb)
    cv.fill(sd_strokes(place(symbol, cx + 0.8, cy + 1.0, r * 0.62), r * 0.15), (240, 200, 100), bb)
    cv.fill(sd_strokes(place(symbol, cx, cy, r * 0.62), r * 0.15), (140, 92, 14), bb)


def banknote(cv, cx, cy, w, h, angle, base, dark):
    rect = sd_rotate(sd_rrect(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2, 5), cx, cy, angle)
    r = math.hypot(w, h) / 2 + 3
    bb = (cx - r, cy - r, cx + r, cy + r)
    cv.fill(sd_inset(rect, -1), (40, 80, 70), bb, opacity=0.25, shape=False, soft=3)
    cv.fill(rect, dark, bb)
    cv.fill(sd_inset(rect, 1.5), base, bb)
    inner = sd_rotate(sd_rrect(cx - w / 2 + 7, cy - h / 2 + 7, cx + w / 2 - 7, cy + h / 2 - 7, 3), cx, cy, angle)
    cv.fill(sd_ring(inner, 1.4), dark, bb)
    # Portrait oval and corner dots.
    cv.fill(sd_rotate(sd_ellipse(cx, cy, h * 0.27, h * 0.3), cx, cy, angle), mix(base, (255, 255, 255), 0.35), bb)
    cv.fill(sd_rotate(sd_ring(sd_ellipse(cx, cy, h * 0.27, h * 0.3), 1.4), cx, cy, angle), dark, bb)
    for sx in (-1, 1):
        for sy in (-1, 1):
            cv.fill(sd_rotate(sd_circle(cx + sx * (w / 2 - 15), cy + sy * (h / 2 - 14), 4.2), cx, cy, angle), dark, bb)


def globe(cv, cx, cy, r):
    bb = (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2)
    ball = sd_circle(cx, cy, r)
    cv.fill(sd_circle(cx + 2, cy + 4, r), (30, 60, 90), (cx - r, cy - r, cx + r + 6, cy + r + 8),
            opacity=0.25, soft=4, shape=False)
    cv.fill(ball, (22, 74, 124), bb)
    cv.fill(sd_inset(ball, 2), radial((110, 190, 236), (34, 110, 178), cx - r * 0.35, cy - r * 0.4, r * 1.5), bb)
    inside = sd_inset(ball, 2)
    # Land masses: blobby unions of ellipses, clipped to the ball.
    land = sd_union(
        sd_ellipse(cx - r * 0.35, cy - r * 0.35, r * 0.32, r * 0.22),
        sd_ellipse(cx - r * 0.15, cy - r * 0.1, r * 0.16, r * 0.28),
        sd_ellipse(cx - r * 0.05, cy + r * 0.38, r * 0.14, r * 0.3),
        sd_ellipse(cx + r * 0.42, cy - r * 0.3, r * 0.36, r * 0.2),
        sd_ellipse(cx + r * 0.5, cy + r * 0.12, r * 0.18, r * 0.26),
        sd_ellipse(cx + r * 0.62, cy + r * 0.55, r * 0.16, r * 0.1),
    )
    cv.fill(sd_intersect(land, inside), radial((138, 206, 122), (64, 150, 92), cx - r * 0.3, cy - r * 0.4, r * 1.6), bb)
    # Grid: meridians and parallels.
    grid = (200, 232, 246)
    for k in (0.35, 0.72):
        cv.fill(sd_intersect(sd_ring(sd_ellipse(cx, cy, r * k, r - 2), 1.2), inside), grid, bb, opacity=0.55)
    cv.fill(sd_intersect(sd_stroke([(cx, cy - r), (cx, cy + r)], 1.2), inside), grid, bb, opacity=0.55)
    for t in (-0.55, 0.0, 0.55):
        yy = cy + t * r
        cv.fill(sd_intersect(sd_stroke([(cx - r, yy), (cx + r, yy)], 1.2), inside), grid, bb, opacity=0.55)
    # Highlight.
    cv.fill(sd_intersect(sd_ellipse(cx - r * 0.38, cy - r * 0.48, r * 0.34, r * 0.2), inside),
            (255, 255, 255), bb, opacity=0.28)


def exchange_arrows(cv, cx, cy, r, width, colours):
    for i, (a0, a1) in enumerate(((200, 320), (20, 140))):
        col = colours[i]
        pts = arc(cx, cy, r, a0, a1)
        bb = (cx - r - 14, cy - r - 14, cx + r + 14, cy + r + 14)
        cv.fill(sd_stroke(pts, width), col, bb)
        # Arrow head at the end, pointing along the arc.
        t = math.radians(a1)
        ex, ey = cx + r * math.cos(t), cy + r * math.sin(t)
        tx, ty = -math.sin(t), math.cos(t)      # tangent, direction of travel
        nx, ny = math.cos(t), math.sin(t)
        L, Wd = 13.0, 9.0
        head = [(ex + tx * L, ey + ty * L), (ex + nx * Wd, ey + ny * Wd), (ex - nx * Wd, ey - ny * Wd)]
        cv.fill(sd_polygon(head), col, bb)


def make_decor():
    W, H = 229, 273
    cv = Canvas(W, H, DECOR_FRAME)
    banknote(cv, 94, 56, 132, 66, -14, (128, 196, 150), (48, 118, 82))
    banknote(cv, 134, 50, 132, 66, 9, (150, 208, 168), (52, 124, 88))
    gx, gy, gr = 114, 140, 56
    exchange_arrows(cv, gx, gy, gr + 15, 7.0, ((232, 130, 44), (30, 150, 140)))
    globe(cv, gx, gy, gr)
    coin(cv, 50, 232, 28, symbol_dollar())
    coin(cv, 178, 232, 28, symbol_yen())
    coin(cv, 114, 240, 28, symbol_euro())
    return cv.finish(threshold=0.35)


# --------------------------------------------------------------------------
# Icons 45 x 45 (data buttons), exit 26 x 26, help 25 x 26
# --------------------------------------------------------------------------

def badge(cv, cx, cy, r, colour, dark, mark):
    bb = (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2)
    cv.fill(sd_circle(cx, cy, r + 1.2), (250, 250, 248), bb)
    cv.fill(sd_circle(cx, cy, r), dark, bb)
    cv.fill(sd_circle(cx, cy, r - 1.0), radial(mix(colour, (255, 255, 255), 0.3), colour, cx - r * 0.3, cy - r * 0.4, r * 1.4), bb)
    if mark == "x":
        k = r * 0.42
        cv.fill(sd_strokes([[(cx - k, cy - k), (cx + k, cy + k)], [(cx - k, cy + k), (cx + k, cy - k)]], 2.4),
                (250, 250, 246), bb)
    elif mark == "minus":
        k = r * 0.5
        cv.fill(sd_stroke([(cx - k, cy), (cx + k, cy)], 2.8), (250, 250, 246), bb)
    elif mark == "down":
        k = r * 0.5
        cv.fill(sd_stroke([(cx, cy - k), (cx, cy + k * 0.4)], 2.4), (250, 250, 246), bb)
        cv.fill(sd_polygon([(cx - k * 0.85, cy + k * 0.05), (cx + k * 0.85, cy + k * 0.05), (cx, cy + k * 0.95)]),
                (250, 250, 246), bb)


RED = (216, 58, 52)
RED_DARK = (150, 30, 30)
GREEN = (52, 160, 84)
GREEN_DARK = (26, 104, 52)


def outlined(cv, sdf, outline, colour, width=1.2):
    """Fill sdf with colour inside an outline of the given width."""
    cv.fill(sd_inset(sdf, -width), outline)
    cv.fill(sdf, colour)


def icon_clear(matte):
    cv = Canvas(45, 45, matte)
    cx, top, rx, ry = 20.0, 9.0, 14.0, 5.0
    body_c = hgrad((70, 130, 190), (40, 92, 150), cx - rx, cx + rx)
    outline = (24, 60, 100)
    # Three stacked discs of a database cylinder, bottom to top.
    for i in (2, 1, 0):
        y = top + i * 9.5
        slab = sd_union(sd_rrect(cx - rx, y, cx + rx, y + 9.5, 0.01), sd_ellipse(cx, y + 9.5, rx, ry))
        outlined(cv, slab, outline, body_c)
        cv.fill(sd_intersect(sd_ring(sd_ellipse(cx, y + 9.5, rx, ry), 1.2), lambda x, yy, y=y: y + 9.5 - yy),
                (140, 190, 230))
    outlined(cv, sd_ellipse(cx, top, rx, ry), outline,
             radial((170, 214, 244), (96, 160, 214), cx - 4, top - 2, rx * 1.2))
    badge(cv, 33, 33, 9.2, RED, RED_DARK, "x")
    return cv.finish(threshold=0.3)


def icon_remove(matte):
    cv = Canvas(45, 45, matte)
    # Calendar page.
    page = sd_rrect(5, 7, 35, 37, 4)
    outlined(cv, page, (60, 80, 100), (246, 246, 242))
    cv.fill(sd_intersect(page, lambda x, y: y - 15.0), vgrad((226, 86, 70), (196, 56, 46), 7, 15))
    for rx in (12, 28):
        cv.fill(sd_stroke([(rx, 4.5), (rx, 10)], 2.6), (70, 80, 96))
    # Grid of days.
    for row in range(3):
        for col in range(4):
            x, y = 9.5 + col * 6.4, 19.5 + row * 5.6
            cv.fill(sd_rrect(x, y, x + 4, y + 3.4, 0.8), (170, 186, 200))
    # Clock over the lower-right corner of the page.
    cx, cy, r = 32.0, 31.0, 10.0
    cv.fill(sd_circle(cx, cy, r + 1.3), (44, 70, 96))
    cv.fill(sd_circle(cx, cy, r), radial((250, 250, 246), (214, 228, 238), cx - 3, cy - 3, r * 1.3))
    for k in range(12):
        t = math.radians(k * 30)
        cv.fill(sd_circle(cx + math.cos(t) * (r - 2.3), cy + math.sin(t) * (r - 2.3), 0.7 if k % 3 else 1.0),
                (80, 96, 112))
    cv.fill(sd_strokes([[(cx, cy - 6.2), (cx, cy), (cx + 4.5, cy + 2.2)]], 1.7), (30, 50, 70))
    badge(cv, 12.5, 34.5, 7.6, RED, RED_DARK, "minus")
    return cv.finish(threshold=0.3)


def icon_updatefile(matte):
    cv = Canvas(45, 45, matte)
    outline = (150, 100, 20)
    back = sd_union(sd_rrect(4, 10, 40, 38, 3), sd_rrect(4, 7, 19, 14, 2.5))
    outlined(cv, back, outline, vgrad((236, 178, 58), (214, 148, 36), 7, 38))
    # A sheet of paper sticking out of the folder.
    sheet = sd_rrect(9, 12, 35, 30, 1.5)
    outlined(cv, sheet, (170, 160, 140), (248, 248, 244), width=1)
    for yy in (16, 20):
        cv.fill(sd_stroke([(13, yy), (31, yy)], 1.2), (176, 190, 204))
    # Front flap, slanted.
    front = sd_polygon([(4, 20.5), (41, 20.5), (39, 38), (4, 38)])
    front = sd_intersect(front, sd_rrect(2, 18, 42, 38, 3))
    outlined(cv, front, outline, vgrad((252, 210, 96), (236, 170, 48), 20, 38))
    cv.fill(sd_stroke([(6.5, 23), (38, 23)], 1.0), (255, 232, 160))
    badge(cv, 33, 33, 9.2, GREEN, GREEN_DARK, "down")
    return cv.finish(threshold=0.3)


def icon_updateurl(matte):
    cv = Canvas(45, 45, matte)
    cx, cy, r = 20.0, 20.0, 16.0
    cv.fill(sd_circle(cx, cy, r + 1.2), (22, 70, 120))
    cv.fill(sd_circle(cx, cy, r), radial((120, 196, 240), (36, 112, 180), cx - 6, cy - 7, r * 1.5))
    inside = sd_circle(cx, cy, r - 0.5)
    land = sd_union(sd_rotate(sd_ellipse(cx - 6, cy - 6, 6.0, 3.6), cx - 6, cy - 6, 20),
                    sd_rotate(sd_ellipse(cx - 4, cy + 5, 3.0, 6.0), cx - 4, cy + 5, -15),
                    sd_rotate(sd_ellipse(cx + 7, cy - 5, 5.0, 3.0), cx + 7, cy - 5, -25),
                    sd_rotate(sd_ellipse(cx + 8, cy + 3, 2.8, 4.6), cx + 8, cy + 3, 20))
    cv.fill(sd_intersect(land, inside), (86, 172, 100))
    grid = (214, 236, 248)
    cv.fill(sd_intersect(sd_ring(sd_ellipse(cx, cy, r * 0.45, r - 0.5), 1.0), inside), grid, opacity=0.7)
    cv.fill(sd_intersect(sd_stroke([(cx, cy - r), (cx, cy + r)], 1.0), inside), grid, opacity=0.7)
    for t in (-0.5, 0.0, 0.5):
        cv.fill(sd_intersect(sd_stroke([(cx - r, cy + t * r), (cx + r, cy + t * r)], 1.0), inside), grid, opacity=0.7)
    badge(cv, 33, 33, 9.2, GREEN, GREEN_DARK, "down")
    return cv.finish(threshold=0.3)


def icon_history(matte):
    cv = Canvas(45, 45, matte)
    # A chart card: axes, a grid and a rising, falling line of rates.
    card = sd_rrect(4, 6, 40, 38, 4)
    outlined(cv, card, (44, 70, 96), vgrad((250, 250, 246), (222, 234, 242), 6, 38))
    for yy in (14, 21, 28):
        cv.fill(sd_stroke([(10, yy), (36, yy)], 0.9), (188, 204, 218))
    cv.fill(sd_strokes([[(9.5, 10), (9.5, 33.5), (37, 33.5)]], 1.6), (70, 86, 104))
    line = [(11, 29), (16, 24), (20, 26.5), (25, 17), (29, 20), (35, 11)]
    cv.fill(sd_stroke([(x, y + 1.0) for x, y in line], 2.6), (150, 170, 190), opacity=0.5)
    cv.fill(sd_stroke(line, 2.4), (36, 112, 180))
    cv.fill(sd_circle(35, 11, 2.2), GOLD)
    return cv.finish(threshold=0.3)


def icon_swap(matte):
    # The title band's two opposed arrows, light and gold.
    cv = Canvas(36, 27, matte)
    light = (170, 214, 236)
    cv.fill(sd_stroke([(4, 8), (25, 8)], 3.2), light)
    cv.fill(sd_polygon([(23, 2), (33, 8), (23, 14)]), light)
    cv.fill(sd_stroke([(11, 19), (32, 19)], 3.2), GOLD)
    cv.fill(sd_polygon([(13, 13), (3, 19), (13, 25)]), GOLD)
    return cv.finish(threshold=0.3)


def round_face(cv, cx, cy, r, edge, light, dark):
    """A round button face lit from the upper left, in a light rim."""
    cv.fill(sd_circle(cx, cy, r + 1.0), (236, 236, 232))
    cv.fill(sd_circle(cx, cy, r), edge)
    cv.fill(sd_circle(cx, cy, r - 1.0), radial(light, dark, cx - 3, cy - 4, r * 1.5))


def icon_exit(matte):
    cv = Canvas(26, 26, matte)
    cx, cy, r = 13.0, 13.0, 11.4
    round_face(cv, cx, cy, r, (130, 24, 24), (244, 104, 92), (196, 40, 36))
    k = 4.4
    cv.fill(sd_strokes([[(cx - k, cy - k), (cx + k, cy + k)], [(cx - k, cy + k), (cx + k, cy - k)]], 2.6),
            (250, 250, 246))
    return cv.finish(threshold=0.3)


def icon_help(matte):
    cv = Canvas(25, 26, matte)
    cx, cy, r = 12.5, 13.0, 11.0
    round_face(cv, cx, cy, r, (18, 60, 130), (110, 170, 240), (36, 96, 196))
    q = arc(cx, cy - 3.4, 3.6, -170, 40) + [(cx, cy + 1.6), (cx, cy + 2.8)]
    cv.fill(sd_stroke(q, 2.4), (250, 250, 246))
    cv.fill(sd_circle(cx, cy + 6.6, 1.5), (250, 250, 246))
    return cv.finish(threshold=0.3)


# --------------------------------------------------------------------------
# Calculator glyph 13 x 18 (pixel art; top-left pixel is the see-through colour)
# --------------------------------------------------------------------------

CALC_ART = [
    ".............",
    ".kkkkkkkkkkk.",
    "kbbbbbbbbbbbk",
    "kbdddddddddbk",
    "kbdgggggggdbk",
    "kbdggggghgdbk",
    "kbdddddddddbk",
    "kbbbbbbbbbbbk",
    "kbwwbwwbwwbok",
    "kbwwbwwbwwbok",
    "kbbbbbbbbbbbk",
    "kbwwbwwbwwbok",
    "kbwwbwwbwwbok",
    "kbbbbbbbbbbbk",
    "kbwwbwwbwwbrk",
    "kbwwbwwbwwbrk",
    "kbbbbbbbbbbbk",
    ".kkkkkkkkkkk.",
]
CALC_COLOURS = {
    ".": WHITE,
    "k": (36, 44, 58),       # outline
    "b": (86, 104, 128),     # body
    "d": (40, 56, 48),       # display frame
    "g": (170, 214, 150),    # display
    "h": (60, 100, 56),      # digit on the display
    "w": (236, 238, 240),    # keys
    "o": (246, 160, 60),     # operator keys
    "r": (226, 74, 60),      # equals key
}


def make_calc_glyph():
    return [[CALC_COLOURS[c] for c in row] for row in CALC_ART]


# --------------------------------------------------------------------------

def mean_colour(pixels, box):
    x, y, w, h = box
    acc = [0, 0, 0]
    n = 0
    for yy in range(y + 2, y + h - 2):
        for xx in range(x + 2, x + w - 2):
            p = pixels[yy][xx]
            if p == WHITE:
                continue
            for i in range(3):
                acc[i] += p[i]
            n += 1
    return tuple(a / float(n) for a in acc)


# --------------------------------------------------------------------------
# Application icon: the exchange motif of the background's title band (two
# opposed arrows, light and gold) on a tile in the band's colours. One
# geometry in a 256-unit box gives both the SVG and the PNGs.
# --------------------------------------------------------------------------

ICON_SIZES = tuple(int(n) for n in shared_sizes()["ICON_SIZES"].split())
ICON_TILE = (16, 16, 240, 240, 48)           # x0, y0, x1, y1, corner radius
ICON_BORDER = 8
ICON_LIGHT_ARROW = (170, 214, 236)
ICON_ARROW_WIDTH = 22
# Each arrow: shaft from, shaft to, head polygon, colour.
ICON_ARROWS = (
    ((62, 98), (166, 98), ((158, 62), (206, 98), (158, 134)), ICON_LIGHT_ARROW),
    ((194, 158), (90, 158), ((98, 122), (50, 158), (98, 194)), GOLD),
)


def make_icon(size):
    """RGBA rows of the icon at size x size pixels."""
    k = size / 256.0
    x0, y0, x1, y1, r = (v * k for v in ICON_TILE)
    cv = Canvas(size, size, OUTLINE)
    tile = sd_rrect(x0, y0, x1, y1, r)
    cv.fill(tile, OUTLINE)
    inner = sd_inset(tile, ICON_BORDER * k)
    cv.fill(inner, vgrad(PANEL_TOP, PANEL_BOTTOM, y0, y1), shape=False)
    for start, end, head, colour in ICON_ARROWS:
        shaft = sd_stroke([(start[0] * k, start[1] * k), (end[0] * k, end[1] * k)], ICON_ARROW_WIDTH * k)
        cv.fill(shaft, colour, shape=False)
        cv.fill(sd_polygon([(x * k, y * k) for x, y in head]), colour, shape=False)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            p = tuple(int(round(max(0.0, min(255.0, c)))) for c in cv.px[y][x])
            row.append(p + (int(round(255 * min(1.0, cv.cover[y][x]))),))
        rows.append(row)
    return rows


def icon_svg():
    def hexc(c):
        return "#%02x%02x%02x" % tuple(int(v) for v in c)
    x0, y0, x1, y1, r = ICON_TILE
    b = ICON_BORDER
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        '  <defs><linearGradient id="panel" x1="0" y1="%d" x2="0" y2="%d" gradientUnits="userSpaceOnUse">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient></defs>'
        % (y0, y1, hexc(PANEL_TOP), hexc(PANEL_BOTTOM)),
        '  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="%s"/>'
        % (x0, y0, x1 - x0, y1 - y0, r, hexc(OUTLINE)),
        '  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="url(#panel)"/>'
        % (x0 + b, y0 + b, x1 - x0 - 2 * b, y1 - y0 - 2 * b, r - b),
    ]
    for start, end, head, colour in ICON_ARROWS:
        parts.append('  <line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="%d" '
                     'stroke-linecap="round"/>' % (start + end + (hexc(colour), ICON_ARROW_WIDTH)))
        parts.append('  <polygon points="%s" fill="%s"/>'
                     % (" ".join("%d,%d" % p for p in head), hexc(colour)))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def check(name, pixels, key_corner):
    h, w = len(pixels), len(pixels[0])
    corner = pixels[h - 1][0] if key_corner == "bottom-left" else pixels[0][0]
    assert corner == WHITE, (name, corner)
    for row in pixels:
        assert COLOUR_KEY not in row, name


def main():
    args = sys.argv[1:]
    png_dir = None
    if len(args) >= 2 and args[0] == "--png":
        png_dir = args[1]
        args = args[2:]
        os.makedirs(png_dir, exist_ok=True)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.normpath(os.path.join(here, "..", "assets"))
    os.makedirs(out, exist_ok=True)

    images = {}
    bg = make_background()
    images["background"] = bg
    images["decor"] = make_decor()
    # Each button blends its edge with the background colour under it.
    wells = [mean_colour(bg, b) for b in DATA_BOXES]
    images["clear"] = icon_clear(wells[0])
    images["remove"] = icon_remove(wells[1])
    images["updatefile"] = icon_updatefile(wells[2])
    images["updateurl"] = icon_updateurl(wells[3])
    images["history"] = icon_history(mean_colour(bg, HISTORY_BOX))
    images["swap"] = icon_swap(mean_colour(bg, SWAP_BOX))
    images["help"] = icon_help(mean_colour(bg, HELP_BOX))
    images["exit"] = icon_exit(mean_colour(bg, EXIT_BOX))
    images["calc-glyph"] = make_calc_glyph()

    for name, pixels in images.items():
        check(name, pixels, "top-left" if name == "calc-glyph" else "bottom-left")
        h, w = len(pixels), len(pixels[0])
        write_bmp(os.path.join(out, name + ".bmp"), w, h, pixels)
        if png_dir:
            write_png(os.path.join(png_dir, name + ".png"), w, h, pixels)
        print("%-12s %3d x %3d" % (name, w, h))

    # Button pictures for the help document, white made transparent.
    help_img = os.path.join(out, "help", "img")
    os.makedirs(help_img, exist_ok=True)
    for name in ("clear", "remove", "updatefile", "updateurl", "history", "swap", "help", "exit", "calc-glyph"):
        pixels = images[name]
        write_png(os.path.join(help_img, name + ".png"), len(pixels[0]), len(pixels), pixels,
                  transparent=WHITE)

    # The application icon for the desktop and the window.
    icons = os.path.join(out, "icons")
    os.makedirs(icons, exist_ok=True)
    with open(os.path.join(icons, "zentaro.svg"), "w") as f:
        f.write(icon_svg())
    for size in ICON_SIZES:
        write_png(os.path.join(icons, "zentaro-%d.png" % size), size, size, make_icon(size))
    print("icon         %s and SVG" % ", ".join(str(n) for n in ICON_SIZES))


if __name__ == "__main__":
    main()
