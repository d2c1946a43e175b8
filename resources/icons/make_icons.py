#!/usr/bin/env python3
"""Writes the program's icon set as SVG files beside this script.

Every icon is drawn on a 16-unit grid (viewBox 0 0 16 16) so that it stays
crisp at 16 pixels: outlines are 1 unit wide and sit on half units, shapes
are few and bold. Icons that come in pairs (normal and hot) are drawn once
with two palettes: the normal one is calm, the hot one (shown under the
mouse) is the same drawing in full colour.

The SVG files are the sources the program compiles in; run this script
again after changing a drawing and commit its output:

    python3 resources/icons/make_icons.py
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------- palettes
# Each colour has a light tint (L) and a dark edge (D).
CALM = {
    "ink": "#3A4654", "paper": "#FFFFFF", "line": "#7D8B9A", "shade": "#E4E9EF",
    "blue": "#6A8DB5", "blueL": "#DDE6F0", "blueD": "#46688F",
    "red": "#BE6A63", "redL": "#F2DEDC", "redD": "#94463F",
    "green": "#6A9F78", "greenL": "#DDEBE0", "greenD": "#4A7857",
    "amber": "#D9BA72", "amberL": "#F3E6C4", "amberD": "#A88B45",
    "violet": "#8E80B6", "violetL": "#E5E0F0", "violetD": "#66598F",
}
VIVID = {
    "ink": "#1E2833", "paper": "#FFFFFF", "line": "#52667C", "shade": "#DCE6F2",
    "blue": "#1F7BEA", "blueL": "#CFE4FF", "blueD": "#0F57B3",
    "red": "#E6392F", "redL": "#FFD9D6", "redD": "#A81E16",
    "green": "#1CA64C", "greenL": "#C8F2D5", "greenD": "#0E7332",
    "amber": "#FFBF2E", "amberL": "#FFE8AD", "amberD": "#CC8A00",
    "violet": "#7A4DF5", "violetL": "#E3D9FF", "violetD": "#5128C2",
}


# ---------------------------------------------------------------- primitives
def attrs(fill=None, stroke=None, sw=1.0, extra=""):
    out = f' fill="{fill or "none"}"'
    if stroke:
        out += f' stroke="{stroke}" stroke-width="{sw:g}" stroke-linejoin="round" stroke-linecap="round"'
    return out + extra


def rect(x, y, w, h, fill=None, stroke=None, rx=0.0, sw=1.0, extra=""):
    r = f' rx="{rx:g}"' if rx else ""
    return f'<rect x="{x:g}" y="{y:g}" width="{w:g}" height="{h:g}"{r}{attrs(fill, stroke, sw, extra)}/>'


def path(d, fill=None, stroke=None, sw=1.0, extra=""):
    return f'<path d="{d}"{attrs(fill, stroke, sw, extra)}/>'


def circle(cx, cy, r, fill=None, stroke=None, sw=1.0):
    return f'<circle cx="{cx:g}" cy="{cy:g}" r="{r:g}"{attrs(fill, stroke, sw)}/>'


def group(transform, *parts):
    return f'<g transform="{transform}">' + "".join(parts) + "</g>"


# ---------------------------------------------------------------- shapes
def sigil(cx, cy, r, fill):
    """The program's mark: a four-pointed star."""
    k = r * 0.32
    return path(f"M{cx:g} {cy - r:g}L{cx + k:g} {cy - k:g}L{cx + r:g} {cy:g}L{cx + k:g} {cy + k:g}"
                f"L{cx:g} {cy + r:g}L{cx - k:g} {cy + k:g}L{cx - r:g} {cy:g}L{cx - k:g} {cy - k:g}Z", fill)


def diamond(cx, cy, r, fill):
    return path(f"M{cx:g} {cy - r:g}L{cx + r:g} {cy:g}L{cx:g} {cy + r:g}L{cx - r:g} {cy:g}Z", fill)


def tile(p, x, y, s, colour="blue"):
    """An icon as the program shows it: a rounded square with a gem. (The
    four-pointed mark would read as a plus sign at this size.)"""
    return (rect(x + 0.5, y + 0.5, s - 1, s - 1, p[colour], p[colour + "D"], rx=min(1.5, s / 4))
            + diamond(x + s / 2, y + s / 2, s * 0.25, p["paper"]))


def page(p, x=3, y=1, w=10, h=14, fill=None):
    """A document with a folded corner; (x, y, w, h) is its pixel box."""
    x0, y0, x1, y1 = x + 0.5, y + 0.5, x + w - 0.5, y + h - 0.5
    return (path(f"M{x0:g} {y0:g}H{x1 - 3:g}L{x1:g} {y0 + 3:g}V{y1:g}H{x0:g}Z", fill or p["paper"], p["line"])
            + path(f"M{x1 - 3:g} {y0:g}V{y0 + 3:g}H{x1:g}", p["shade"], p["line"]))


def text_lines(p, x0, x1, ys, colour="line"):
    return "".join(path(f"M{x0:g} {y:g}H{x1:g}", None, p[colour]) for y in ys)


def badge(p, colour, cx=11.5, cy=11.5, r=4.0):
    """A round badge with a white ring that parts it from what lies below."""
    return circle(cx, cy, r, p[colour], p["paper"], 1.0)


def badge_plus(p, cx=11.5, cy=11.5):
    return badge(p, "green", cx, cy) + path(f"M{cx - 2:g} {cy:g}H{cx + 2:g}M{cx:g} {cy - 2:g}V{cy + 2:g}",
                                            None, p["paper"], 1.5)


def badge_minus(p, cx=11.5, cy=11.5):
    return badge(p, "red", cx, cy) + path(f"M{cx - 2:g} {cy:g}H{cx + 2:g}", None, p["paper"], 1.5)


def badge_cross(p, cx=11.5, cy=11.5):
    return badge(p, "red", cx, cy) + path(
        f"M{cx - 1.6:g} {cy - 1.6:g}L{cx + 1.6:g} {cy + 1.6:g}M{cx + 1.6:g} {cy - 1.6:g}L{cx - 1.6:g} {cy + 1.6:g}",
        None, p["paper"], 1.4)


def badge_clock(p, cx=11.5, cy=11.5):
    return badge(p, "blue", cx, cy) + path(f"M{cx:g} {cy - 2.2:g}V{cy:g}H{cx + 1.8:g}", None, p["paper"], 1.2)


def badge_question(p, cx=11.5, cy=11.5):
    return (badge(p, "amber", cx, cy)
            + path(f"M{cx - 1.4:g} {cy - 1.3:g}C{cx - 1.4:g} {cy - 3.2:g} {cx + 1.6:g} {cy - 3.2:g} {cx + 1.6:g} "
                   f"{cy - 1.3:g}C{cx + 1.6:g} {cy - 0.2:g} {cx:g} {cy - 0.2:g} {cx:g} {cy + 0.8:g}",
                   None, p["ink"], 1.3)
            + circle(cx, cy + 2.4, 0.75, p["ink"]))


def folder(p, x=1, y=2, w=14, h=12):
    x0, y0, x1, y1 = x + 0.5, y + 0.5, x + w - 0.5, y + h - 0.5
    tab = x0 + w * 0.36
    return (path(f"M{x0:g} {y1:g}V{y0:g}H{tab:g}L{tab + 1.5:g} {y0 + 2:g}H{x1:g}V{y1:g}Z", p["amber"], p["amberD"])
            + path(f"M{x0:g} {y0 + 4:g}H{x1:g}", None, p["amberL"]))


def open_folder(p, inside=""):
    return (path("M1.5 13.5V2.5H5.5L7 4.5H12.5V7.5", p["amberD"], p["amberD"]) + inside
            + path("M1.5 13.5L3.5 7.5H15.5L13.5 13.5Z", p["amber"], p["amberD"]))


def floppy(p, x=1, y=1, s=14):
    """A diskette filling an s x s box."""
    k = s / 14
    x0, y0, x1, y1 = x + 0.5, y + 0.5, x + s - 0.5, y + s - 0.5
    return (path(f"M{x0:g} {y0:g}H{x1 - 2 * k:g}L{x1:g} {y0 + 2 * k:g}V{y1:g}H{x0:g}Z", p["blue"], p["blueD"])
            + rect(x + 3.5 * k, y + 0.5, 6 * k, 4 * k, p["paper"], p["blueD"])
            + rect(x + 7 * k, y + 1.5 * k, 1.5 * k, 2 * k, p["blueD"])
            + rect(x + 2.5 * k, y + 8 * k, 9 * k, s - 8 * k - 0.5, p["paper"], p["blueD"]))


def mini_floppy(p, x=8, y=8):
    """A small diskette badge, 8 x 8, with a white ring."""
    return (rect(x - 0.5, y - 0.5, 9, 9, p["paper"], rx=1.5)
            + path(f"M{x + 0.5:g} {y + 0.5:g}H{x + 6:g}L{x + 7.5:g} {y + 2:g}V{y + 7.5:g}H{x + 0.5:g}Z",
                   p["blue"], p["blueD"])
            + rect(x + 2, y + 0.5, 3.5, 2.5, p["paper"])
            + rect(x + 2, y + 4.5, 4, 3, p["paper"]))


def pencil(p, x0, y0, x1, y1):
    """A pencil from its tip (x0, y0) to its end (x1, y1)."""
    import math
    dx, dy = x1 - x0, y1 - y0
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n
    nx, ny = -uy * 1.6, ux * 1.6
    bx, by = x0 + ux * 3, y0 + uy * 3  # where the point meets the body
    body = (f"M{bx + nx:.2f} {by + ny:.2f}L{x1 + nx:.2f} {y1 + ny:.2f}L{x1 - nx:.2f} {y1 - ny:.2f}"
            f"L{bx - nx:.2f} {by - ny:.2f}Z")
    point = f"M{x0:g} {y0:g}L{bx + nx:.2f} {by + ny:.2f}L{bx - nx:.2f} {by - ny:.2f}Z"
    return path(body, p["amber"], p["amberD"]) + path(point, p["amberL"], p["amberD"]) + circle(x0, y0, 0.7, p["ink"])


def gear(p, cx=8, cy=8, r=7, teeth=8, fill="blue"):
    import math
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * (i - 0.5) / (teeth * 4)
        rr = r if (i % 4) in (0, 1) else r * 0.74
        pts.append(f"{cx + rr * math.cos(a):.2f} {cy + rr * math.sin(a):.2f}")
    d = "M" + "L".join(pts) + "Z"
    return path(d, p[fill], p[fill + "D"]) + circle(cx, cy, r * 0.34, p["paper"], p[fill + "D"])


def magnifier(p, cx, cy, r, inside=""):
    import math
    k = r / math.sqrt(2)
    return (circle(cx, cy, r, p["paper"]) + inside + circle(cx, cy, r, None, p["ink"], 1.5)
            + path(f"M{cx + k + 0.7:g} {cy + k + 0.7:g}L15 15", None, p["ink"], 2.4))


def camera(p, x=1, y=4, w=14, h=10):
    x0, y0, x1, y1 = x + 0.5, y + 0.5, x + w - 0.5, y + h - 0.5
    cx, cy = x + w / 2, y + h / 2 + 0.5
    return (path(f"M{cx - 3:g} {y0:g}L{cx - 2:g} {y0 - 2:g}H{cx + 2:g}L{cx + 3:g} {y0:g}Z", p["line"], p["ink"])
            + rect(x0, y0, w - 1, h - 1, p["line"], p["ink"], rx=1.5)
            + circle(cx, cy, min(w, h) * 0.3, p["blueL"], p["ink"])
            + circle(cx, cy, min(w, h) * 0.13, p["blue"])
            + rect(x1 - 2.5, y0 + 1.5, 1.5, 1, p["amber"]))


def devices(p, colour="violet"):
    """The devices of one icon: sheets of three sizes, one on another."""
    return (rect(6.5, 0.5, 7, 7, p[colour + "L"], p[colour + "D"], rx=1)
            + rect(3.5, 3.5, 8, 8, p[colour + "L"], p[colour + "D"], rx=1)
            + tile(p, 0, 6, 9, colour))


def window(p, title="blue"):
    return (rect(0.5, 1.5, 15, 13, p["paper"], p["ink"], rx=1.5)
            + path("M1 5.5V3.5A1.5 1.5 0 0 1 2.5 2H13.5A1.5 1.5 0 0 1 15 3.5V5.5Z", p[title]))


def arrow(p, d_line, d_head, colour, sw=1.5):
    return path(d_line, None, p[colour], sw) + path(d_head, None, p[colour], sw)


def checker(x, y, w, h, cell, a, b):
    out = rect(x, y, w, h, a)
    for j in range(int(h // cell)):
        for i in range(int(w // cell)):
            if (i + j) % 2:
                out += rect(x + i * cell, y + j * cell, cell, cell, b)
    return out


# Digits of a 3 x 5 pixel font, rows top to bottom.
DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "001", "001", "001"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}


def pixel_number(text, right, top, fill):
    """A number in the pixel font, right-aligned at `right`, one pixel per unit."""
    x = right - (4 * len(text) - 1)
    d = ""
    for ch in text:
        for row, bits in enumerate(DIGITS[ch]):
            col = 0
            while col < 3:
                if bits[col] == "1":
                    end = col
                    while end < 3 and bits[end] == "1":
                        end += 1
                    d += f"M{x + col} {top + row}h{end - col}v1h{col - end}Z"
                    col = end
                else:
                    col += 1
        x += 4
    return path(d, fill)


# ---------------------------------------------------------------- icons
def i_app(p):
    return (tile(p, 0, 0, 7, "blue") + tile(p, 9, 0, 7, "amber") + tile(p, 0, 9, 7, "green")
            + magnifier(p, 11, 11, 3.2, sigil(11, 11, 2.2, p["violet"])))


def i_property(p):
    return (window(p) + tile(p, 2, 7, 6, "violet")
            + text_lines(p, 9.5, 13.5, [8.5, 10.5, 12.5]))


def i_folder_chooser(p):
    return window(p, "amber") + folder(p, 3, 6, 10, 8)


def i_default_button(p):
    return rect(1.5, 1.5, 13, 13, p["shade"], p["line"], rx=2.5) + sigil(8, 8, 4.5, p["blue"])


def i_description(p):
    return (path("M2.5 2.5H13.5A1 1 0 0 1 14.5 3.5V10.5A1 1 0 0 1 13.5 11.5H7.5L4.5 14.5V11.5H2.5"
                 "A1 1 0 0 1 1.5 10.5V3.5A1 1 0 0 1 2.5 2.5Z", p["blueL"], p["blueD"])
            + text_lines(p, 4.5, 11.5, [5.5, 8.5], "blueD"))


def i_display_size(p):
    """Squares of three sizes on one corner."""
    return (rect(0.5, 0.5, 15, 15, p["blueL"], p["blue"], rx=1)
            + rect(0.5, 5.5, 10, 10, p["paper"], p["blue"], rx=1)
            + tile(p, 0, 10, 6, "blue"))


def i_exit(p):
    return (path("M9.5 5V1.5H2.5V14.5H9.5V11", p["shade"], p["ink"])
            + rect(2.5, 1.5, 7, 13, p["shade"]) + path("M9.5 5V1.5H2.5V14.5H9.5V11", None, p["ink"])
            + arrow(p, "M6 8H14.5", "M11.5 5L14.5 8L11.5 11", "red", 1.6))


def i_close_file(p):
    return page(p, 1, 1, 11, 14) + text_lines(p, 3.5, 8.5, [6.5, 8.5]) + badge_cross(p)


def i_toolbar_setup(p):
    return (rect(0.5, 1.5, 15, 6, p["shade"], p["line"], rx=1.5)
            + rect(2, 3, 3, 3, p["blue"]) + rect(6.5, 3, 3, 3, p["amber"])
            + gear(p, 11.5, 11.5, 4.2, 6, "blue"))


def i_recent(p):
    return page(p, 1, 1, 11, 14) + text_lines(p, 3.5, 8.5, [6.5, 8.5]) + badge_clock(p)


def i_missing(p):
    x0, y0, x1, y1 = 1.5, 1.5, 11.5, 14.5
    return (path(f"M{x0} {y0}H{x1 - 3}L{x1} {y0 + 3}V{y1}H{x0}Z", p["shade"], p["line"],
                 extra=' stroke-dasharray="2 1"')
            + badge_question(p))


def i_folder(p):
    return folder(p)


def i_open_file(p):
    return open_folder(p, page(p, 4, 1, 9, 10) + text_lines(p, 6, 9.5, [5.5]))


def i_open_folder(p):
    return (path("M5.5 9V1.5H8.5L9.5 2.5H14.5V9.5", p["amberL"], p["amberD"])
            + folder(p, 1, 4, 12, 11))


def i_settings(p):
    return gear(p, 8, 8, 7.2, 8, "blue")


def i_save(p):
    return floppy(p)


def i_save_as(p):
    return floppy(p, 0, 0, 12) + pencil(p, 7.5, 14.5, 15, 7)


def i_save_all_icons(p):
    return (tile(p, 0, 0, 7, "blue") + tile(p, 8, 0, 7, "amber") + tile(p, 0, 8, 7, "green")
            + mini_floppy(p, 8, 8))


def i_snap_all(p):
    return (tile(p, 0, 0, 5, "blue") + tile(p, 5.5, 0, 5, "amber") + tile(p, 11, 0, 5, "green")
            + camera(p, 1, 7, 14, 8))


def i_edit(p):
    return tile(p, 0, 4, 11, "violet") + pencil(p, 8, 9, 15, 2)


def i_copy(p):
    return (rect(1.5, 1.5, 9, 10, p["paper"], p["line"], rx=1)
            + rect(5.5, 4.5, 9, 10, p["blueL"], p["blueD"], rx=1) + diamond(10, 9.5, 2.5, p["blue"]))


def i_paste(p):
    return (rect(1.5, 2.5, 10, 12, p["amber"], p["amberD"], rx=1.5)
            + rect(4.5, 1, 4, 3, p["line"], p["ink"], rx=0.8)
            + rect(6.5, 6.5, 9, 9, p["blueL"], p["blueD"], rx=1) + diamond(11, 11, 2.5, p["blue"]))


def i_add(p):
    return tile(p, 0, 0, 11, "blue") + badge_plus(p)


def i_delete(p):
    return (path("M3.5 4.5H12.5L11.5 14.5H4.5Z", p["redL"], p["redD"])
            + path("M6.5 7V12M9.5 7V12", None, p["redD"])
            + path("M1.5 4.5H14.5", None, p["redD"], 1.5)
            + path("M6 4V2.5H10V4", None, p["redD"]))


def i_duplicate(p):
    return tile(p, 0, 0, 9, "blue") + tile(p, 4, 4, 9, "blue") + badge_plus(p, 12, 12)


def i_rename(p):
    return (rect(0.5, 3.5, 15, 9, p["paper"], p["line"], rx=1.5)
            + rect(2, 5, 7, 6, p["blue"])
            + path("M10.5 2.5H12.5M11.5 2.5V13.5M10.5 13.5H12.5", None, p["ink"]))


def i_snap(p):
    return camera(p, 1, 3, 14, 11)


def i_save_icon(p):
    return tile(p, 0, 0, 11, "blue") + mini_floppy(p, 8, 8)


def i_bulk_delete(p):
    return devices(p) + badge_cross(p, 12, 12)


def i_delete_same(p):
    return tile(p, 0, 0, 9, "green") + tile(p, 4, 4, 9, "green") + badge_cross(p, 12, 12)


def i_shortcuts(p):
    keys = "".join(rect(2 + 3 * i, 5, 2, 2, p["blue"]) for i in range(4))
    keys += "".join(rect(3.5 + 3 * i, 8, 2, 2, p["blue"]) for i in range(3))
    return rect(0.5, 2.5, 15, 11, p["shade"], p["ink"], rx=1.5) + keys + rect(4, 11, 8, 1, p["ink"])


def i_size(n, s):
    def draw(p):
        return (rect(1.5, 15.5 - s, s - 1, s - 1, p["blueL"], p["blue"], rx=0.5)
                + pixel_number(str(n), 15, 1, p["ink"]))
    return draw


def i_other_size(p):
    return (rect(1.5, 1.5, 13, 13, p["blueL"], p["blue"], rx=0.5, extra=' stroke-dasharray="2 1"')
            + arrow(p, "M4.5 11.5L11.5 4.5", "M4.5 8V11.5H8M8 4.5H11.5V8", "ink", 1.3))


def i_help(p):
    return (circle(8, 8, 7, p["blue"], p["blueD"])
            + path("M5.6 6.2C5.6 3.4 10.4 3.4 10.4 6.2C10.4 8 8 8 8 10", None, p["paper"], 1.8)
            + circle(8, 12.4, 1.1, p["paper"]))


def i_about(p):
    return (circle(8, 8, 7, p["violet"], p["violetD"]) + circle(8, 4.6, 1.2, p["paper"])
            + path("M8 7.2V12", None, p["paper"], 2.2))


def i_add_device(p):
    return devices(p) + badge_plus(p, 12, 12)


def i_delete_device(p):
    return devices(p) + badge_minus(p, 12, 12)


def i_open_bitmap(p):
    return (rect(4.5, 0.5, 11, 9, p["blueL"], p["blueD"], rx=1)
            + path("M5 9L8.5 4.5L11 7L12.5 5.5L15 8.5V9Z", p["green"])
            + circle(12.5, 3, 1.2, p["amber"])
            + path("M0.5 15.5V7.5H3L4 8.5H8.5V10.5", p["amberD"], p["amberD"])
            + path("M0.5 15.5L2 10.5H10.5L9 15.5Z", p["amber"], p["amberD"]))


def i_zoom(p):
    return magnifier(p, 6.5, 6.5, 5, path("M4 6.5H9M6.5 4V9", None, p["blue"], 1.6))


def i_mode_normal(p):
    return (checker(1, 1, 14, 14, 3.5, p["paper"], p["shade"]) + sigil(8, 8, 6, p["blue"])
            + rect(0.5, 0.5, 15, 15, None, p["line"], rx=1))


def i_mode_mask(p):
    return (rect(1, 1, 14, 14, p["paper"]) + sigil(8, 8, 6, p["ink"])
            + rect(0.5, 0.5, 15, 15, None, p["line"], rx=1))


def i_mode_image(p):
    return (rect(1, 1, 14, 14, p["ink"]) + sigil(8, 8, 6, p["blue"])
            + rect(0.5, 0.5, 15, 15, None, p["line"], rx=1))


# id, file name, drawing; pairs give (normal id, hot id).
SINGLE = [
    (100, "app", i_app),
    (105, "property-window", i_property),
    (115, "folder-chooser", i_folder_chooser),
    (118, "default-button", i_default_button),
    (200, "status-description", i_description),
    (201, "status-display-size", i_display_size),
]
PAIRS = [
    (202, 203, "exit", i_exit),
    (204, 205, "close-file", i_close_file),
    (206, 207, "customize-toolbar", i_toolbar_setup),
    (208, 209, "recent-files", i_recent),
    (210, 211, "missing-file", i_missing),
    (212, 213, "folder", i_folder),
    (214, 215, "open-file", i_open_file),
    (216, 217, "open-folder", i_open_folder),
    (218, 219, "settings", i_settings),
    (220, 221, "save-library", i_save),
    (222, 223, "save-as", i_save_as),
    (224, 225, "save-all-as-icons", i_save_all_icons),
    (226, 227, "snap-all", i_snap_all),
    (228, 229, "edit-in-editor", i_edit),
    (230, 231, "copy-device", i_copy),
    (232, 233, "paste", i_paste),
    (234, 235, "add", i_add),
    (236, 237, "delete", i_delete),
    (238, 239, "duplicate", i_duplicate),
    (240, 241, "rename", i_rename),
    (242, 243, "snap", i_snap),
    (244, 245, "save-as-icon", i_save_icon),
    (246, 247, "bulk-delete-devices", i_bulk_delete),
    (248, 249, "delete-identical", i_delete_same),
    (250, 251, "show-property", i_property),
    (253, 252, "shortcut-list", i_shortcuts),
    (254, 255, "view-16", i_size(16, 5)),
    (256, 257, "view-32", i_size(32, 7)),
    (258, 259, "view-48", i_size(48, 9)),
    (260, 261, "view-72", i_size(72, 11)),
    (262, 263, "view-128", i_size(128, 14)),
    (264, 265, "other-size", i_other_size),
    (266, 267, "help", i_help),
    (268, 269, "about", i_about),
    (270, 271, "add-device", i_add_device),
    (272, 273, "delete-device", i_delete_device),
    (274, 275, "open-bitmap", i_open_bitmap),
    (276, 277, "copy", i_copy),
    (278, 279, "paste-device", i_paste),
    (280, 281, "zoom", i_zoom),
    (283, 282, "view-normal", i_mode_normal),
    (284, 285, "view-mask", i_mode_mask),
    (286, 287, "view-image", i_mode_image),
]


def svg(body, width=16, height=16, view="0 0 16 16"):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" viewBox="{view}">\n'
            f"{body}\n</svg>\n")


# The name, as outlines so the logo does not depend on the fonts installed.
from logo_text import LOGO_SCOPE, LOGO_SIGIL  # noqa: E402


def logo():
    p = VIVID
    mark = group("translate(6 6) scale(3)", i_app(p))
    name = group("translate(64 0)", path(LOGO_SIGIL, p["ink"]), path(LOGO_SCOPE, p["blue"]))
    return svg(mark + name, 300, 60, "0 0 300 60")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else HERE
    written = {}
    for number, name, draw in SINGLE:
        written[f"{number}-{name}.svg"] = svg(draw(VIVID))
    for normal, hot, name, draw in PAIRS:
        written[f"{normal}-{name}.svg"] = svg(draw(CALM))
        written[f"{hot}-{name}-hot.svg"] = svg(draw(VIVID))
    written["117-logo.svg"] = logo()
    for old in os.listdir(out):
        if old.endswith(".svg") and old not in written:
            os.remove(os.path.join(out, old))
    for name, text in written.items():
        with open(os.path.join(out, name), "w", encoding="utf-8") as f:
            f.write(text)
    print(f"{len(written)} files in {out}")


if __name__ == "__main__":
    main()
