#!/usr/bin/env python3
"""Draws Vorn's editor artwork as SVG files, one per image.

Usage: artwork.py OUTDIR
Writes back.svg, back2.svg, handle.svg, knob.svg, smallknob.svg, button.svg,
midilearn.svg and midiunlearn.svg; render.sh turns them into the PNGs.

The look: dark graphite panels with an amber accent; captions in light grey
capitals; the areas under value texts (pale yellow, drawn by the editor) stay
plain panel colour so the texts read well. Both views share the header, the
panel style and the bottom-right program panel.
"""

import math
import os
import sys

import layout as L

FONT = "Liberation Sans"

BODY = "#17191c"
HEADER = "#0f1012"
PANEL = "#24282e"
PANEL_EDGE = "#3a4049"
TITLE_BAR = "#2e333a"
ACCENT = "#f2a541"
CAPTION = "#d3d8df"
MUTED = "#98a0aa"
WELL = "#08090a"
WELL_EDGE = "#454c56"

KNOB_FRAMES = 63
SWEEP_START, SWEEP = -135.0, 270.0


def svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" '
            f'height="{height}" viewBox="0 0 {width} {height}">\n'
            f'<defs>{DEFS}</defs>\n{body}</svg>\n')


DEFS = """
<linearGradient id="panel" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#272b31"/><stop offset="1" stop-color="#212429"/>
</linearGradient>
<linearGradient id="face" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#4c525b"/><stop offset="1" stop-color="#363a41"/>
</linearGradient>
<linearGradient id="faceon" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#a82b25"/><stop offset="1" stop-color="#801c18"/>
</linearGradient>
<linearGradient id="learnon" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#a82b25"/><stop offset="1" stop-color="#801c18"/>
</linearGradient>
<radialGradient id="cap" cx="0.4" cy="0.35" r="0.75">
  <stop offset="0" stop-color="#5d636c"/><stop offset="0.7" stop-color="#33373d"/>
  <stop offset="1" stop-color="#25282d"/>
</radialGradient>
<linearGradient id="handle" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#6a717b"/><stop offset="0.45" stop-color="#474c54"/>
  <stop offset="0.55" stop-color="#3b4047"/><stop offset="1" stop-color="#2a2e33"/>
</linearGradient>
<linearGradient id="header" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#15171a"/><stop offset="1" stop-color="#0d0e10"/>
</linearGradient>
"""


# Every text drawn, as (x, baseline, words, size, colour, anchor), for the
# contrast check; WITH_TEXT off draws the same images without their texts.
DRAWN = []
WITH_TEXT = True


def text(x, y, s, size, colour, anchor="middle", weight="bold", spacing=0.0):
    DRAWN.append((x, y, s, size, colour, anchor))
    if not WITH_TEXT:
        return ""
    return (f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" '
            f'font-weight="{weight}" fill="{colour}" text-anchor="{anchor}" '
            f'letter-spacing="{spacing}">{s}</text>\n')


def rect(x0, y0, x1, y1, fill, stroke=None, radius=0, width=1):
    line = f' stroke="{stroke}" stroke-width="{width}"' if stroke else ""
    return (f'<rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" '
            f'rx="{radius}" fill="{fill}"{line}/>\n')


# ---------------------------------------------------------------- sections

def section(x0, y0, x1, y1, title):
    out = rect(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, "url(#panel)", PANEL_EDGE, 5)
    if title:
        out += (f'<path d="M{x0 + 1} {y0 + 15} V{y0 + 5} Q{x0 + 1} {y0 + 1} '
                f'{x0 + 5} {y0 + 1} H{x1 - 5} Q{x1 - 1} {y0 + 1} {x1 - 1} {y0 + 5} '
                f'V{y0 + 15} Z" fill="{TITLE_BAR}"/>\n')
        out += rect(x0 + 1, y0 + 15, x1 - 1, y0 + 16, ACCENT)
        out += text(x0 + 9, y0 + 12, title, 11, ACCENT, "start", spacing=1.2)
    return out


def caption_for(kind, x, y, words, where):
    w, h = L.FRAME_SIZE[kind]
    if where == "above":
        return text(x + w / 2, y - 4, words, 10, CAPTION, spacing=0.4)
    if where == "below":
        return text(x + w / 2, y + h + 13, words, 10, CAPTION, spacing=0.4)
    return text(x + w + 5, y + h / 2 + 4, words, 10, CAPTION, "start", spacing=0.4)


def controls(table):
    out = ""
    for kind, x, y, words, where in table:
        out += caption_for(kind, x, y, words, where)
    return out



# ---------------------------------------------------------------- panels

def header(view_name):
    out = rect(0, 0, L.WIDTH, 34, "url(#header)")
    out += rect(0, 34, L.WIDTH, 35, "#2b3037")
    out += text(14, 25, "VORN", 22, "#eef1f4", "start", spacing=4)
    out += text(96, 24, "POLYPHONIC SYNTHESIZER", 10, ACCENT, "start", spacing=1.6)
    out += text(L.WIDTH - 14, 24, view_name, 10, MUTED, "end", spacing=1.6)
    return out


def well(box, radius=3):
    x0, y0, x1, y1 = box
    return rect(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, WELL, WELL_EDGE, radius)


def arrow_button(box, pointing_left):
    x0, y0, x1, y1 = box
    out = rect(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, "url(#face)", "#5a616b", 3)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    d = -1 if pointing_left else 1
    out += (f'<path d="M{cx - 3 * d} {cy - 5} L{cx + 4 * d} {cy} L{cx - 3 * d} {cy + 5} Z" '
            f'fill="{CAPTION}"/>\n')
    return out


def face_button(box, label, size=10):
    x0, y0, x1, y1 = box
    out = rect(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, "url(#face)", "#5a616b", 4)
    out += rect(x0 + 2, y0 + 1.5, x1 - 2, y0 + 2.5, "#6a717b", radius=0.5)
    out += text((x0 + x1) / 2, (y0 + y1) / 2 + size * 0.36, label, size, "#f1f3f5", spacing=0.8)
    return out


def logo(x, y):
    """The kite emblem and the name."""
    out = (f'<path d="M{x + 16} {y} L{x + 30} {y + 18} L{x + 16} {y + 44} L{x + 2} {y + 18} Z" '
           f'fill="none" stroke="{ACCENT}" stroke-width="2.2" stroke-linejoin="round"/>\n')
    out += (f'<path d="M{x + 2} {y + 18} H{x + 30} M{x + 16} {y} V{y + 44}" '
            f'stroke="{ACCENT}" stroke-width="1.2" opacity="0.8"/>\n')
    out += text(x + 42, y + 27, "VORN", 30, "#eef1f4", "start", spacing=6)
    out += text(x + 43, y + 42, "PAPERKITE SOUNDS", 9, MUTED, "start", spacing=2.2)
    return out


def shared_panel():
    x0, y0, x1, y1 = L.SHARED_PANEL
    out = rect(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, "url(#panel)", PANEL_EDGE, 5)
    out += arrow_button(L.PREVIOUS_ARROW, True)
    out += arrow_button(L.NEXT_ARROW, False)
    out += well(L.PROGRAM_NUMBER)
    out += well(L.PROGRAM_NAME)
    vx0, vy0, vx1, vy1 = L.VERSION_TEXT
    out += text(vx0 - 6, vy1 - 3, "VERSION", 10, CAPTION, "end", spacing=0.4)
    out += rect(vx0 - 2, vy0 - 2, L.LEARN_SWITCH[0] + 2, vy1 + 2, WELL, radius=2)
    out += face_button(L.OPTIONS_BUTTON, "OPTIONS")
    out += rect(x0 + 10, 310, x1 - 10, 311, PANEL_EDGE)
    out += logo(x0 + 20, 318)
    return out


def hints(box):
    x0, y0, x1, y1 = box
    out = rect(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, "url(#panel)", PANEL_EDGE, 5)
    lines = [("DRAG", "to adjust"), ("DOUBLE-CLICK", "for the default")]
    for i, (key, what) in enumerate(lines):
        y = y0 + 24 + i * 28
        out += text(x0 + 10, y, key, 9, MUTED, "start", spacing=0.4)
        out += text(x0 + 10, y + 12, what, 10, CAPTION, "start", "normal")
    return out


# ---------------------------------------------------------------- views

def view_one():
    out = rect(0, 0, L.WIDTH, L.HEIGHT, BODY)
    out += header("KNOB VIEW")
    for x0, y0, x1, y1, title in L.SECTIONS_ONE:
        out += section(x0, y0, x1, y1, title)
    # The filter's envelope column gets its own heading and a divider.
    out += text(480, 54, "ENVELOPE", 9, MUTED, spacing=1.0)
    out += rect(440, 62, 441, 280, PANEL_EDGE)
    # The amplifier's envelope apart from its output.
    out += rect(748, 62, 749, 218, PANEL_EDGE)
    out += controls(L.VIEW_ONE)
    out += face_button(L.SWITCH_VIEW_BUTTON, "SWITCH VIEW", 11)
    out += hints((8, 296, 128, 370))
    out += shared_panel()
    return svg(L.WIDTH, L.HEIGHT, out)


def fader_track(x, words):
    cx = x + 16
    out = text(cx, 66, words, 10, CAPTION, spacing=0.4)
    for i in range(11):
        ty = 84 + i * 10.4
        length = 6 if i % 5 == 0 else 3
        colour = MUTED if i % 5 == 0 else "#5d646e"
        out += rect(cx - 9 - length, ty - 0.5, cx - 9, ty + 0.5, colour)
        out += rect(cx + 9, ty - 0.5, cx + 9 + length, ty + 0.5, colour)
    out += rect(cx - 2.5, 80, cx + 2.5, 192, WELL, WELL_EDGE, 2.5)
    return out


def view_two():
    out = rect(0, 0, L.WIDTH, L.HEIGHT, BODY)
    out += header("FADER VIEW")
    for x0, y0, x1, y1, title in L.SECTIONS_TWO:
        out += section(x0, y0, x1, y1, title)
    for x, words in zip(L.FADER_X, L.FADER_CAPTIONS):
        out += fader_track(x, words)
    out += section(8, 236, 516, 370, "")
    out += rect(18, 306, 506, 307, PANEL_EDGE)
    out += controls(L.VIEW_TWO)
    out += shared_panel()
    return svg(L.WIDTH, L.HEIGHT, out)


# ---------------------------------------------------------------- strips

def polar(cx, cy, r, degrees):
    a = math.radians(degrees)
    return cx + r * math.sin(a), cy - r * math.cos(a)


def arc(cx, cy, r, a0, a1):
    x0, y0 = polar(cx, cy, r, a0)
    x1, y1 = polar(cx, cy, r, a1)
    large = 1 if a1 - a0 > 180 else 0
    return f"M{x0:.3f} {y0:.3f} A{r} {r} 0 {large} 1 {x1:.3f} {y1:.3f}"


def knob_frame(size, frame):
    """One frame: the pointer and the lit arc at frame / (frames - 1)."""
    c = size / 2
    s = size / 48
    ring, body = 21 * s, 15 * s
    angle = SWEEP_START + SWEEP * frame / (KNOB_FRAMES - 1)
    out = (f'<path d="{arc(c, c, ring, SWEEP_START, SWEEP_START + SWEEP)}" fill="none" '
           f'stroke="{WELL}" stroke-width="{3.5 * s}" stroke-linecap="round"/>\n')
    if frame > 0:
        out += (f'<path d="{arc(c, c, ring, SWEEP_START, angle)}" fill="none" '
                f'stroke="{ACCENT}" stroke-width="{2.5 * s}" stroke-linecap="round"/>\n')
    out += f'<circle cx="{c}" cy="{c + 1.2 * s}" r="{body + 0.8 * s}" fill="#000" opacity="0.45"/>\n'
    out += f'<circle cx="{c}" cy="{c}" r="{body}" fill="url(#cap)" stroke="#5f6670" stroke-width="{0.8 * s}"/>\n'
    x0, y0 = polar(c, c, body * 0.3, angle)
    x1, y1 = polar(c, c, body * 0.92, angle)
    out += (f'<line x1="{x0:.3f}" y1="{y0:.3f}" x2="{x1:.3f}" y2="{y1:.3f}" '
            f'stroke="#f4f6f8" stroke-width="{max(2.4 * s, 1.8)}" stroke-linecap="round"/>\n')
    return out


def knob_strip(size):
    out = ""
    for f in range(KNOB_FRAMES):
        out += f'<g transform="translate(0 {f * size})">\n{knob_frame(size, f)}</g>\n'
    return svg(size, size * KNOB_FRAMES, out)


def button_strip():
    out = ""
    for f, fill in enumerate(("url(#face)", "url(#faceon)")):
        y = f * 20
        edge = "#5a616b" if f == 0 else "#c0463c"
        out += rect(0.5, y + 0.5, 47.5, y + 19.5, fill, edge, 3.5)
        out += rect(3, y + 1.5, 45, y + 2.5, "#6a717b" if f == 0 else "#e06a5f", radius=0.5)
    return svg(48, 40, out)


def learn_strip(label):
    out = ""
    for f, fill in enumerate(("url(#face)", "url(#learnon)")):
        y = f * 26
        edge = "#5a616b" if f == 0 else "#c0463c"
        out += rect(0.5, y + 0.5, 65.5, y + 25.5, fill, edge, 4)
        lamp = "#1a1c1f" if f == 0 else "#ffe08a"
        out += f'<circle cx="9" cy="{y + 13}" r="3" fill="{lamp}" stroke="#101113" stroke-width="0.8"/>\n'
        out += text(37, y + 17, label, 10 if len(label) < 6 else 9, "#f4f6f8", spacing=0.4)
    return svg(66, 52, out)


def handle():
    out = rect(0.5, 0.5, 23.5, 15.5, "url(#handle)", "#7b838e", 2.5)
    out += rect(2, 7, 22, 9, ACCENT)
    return svg(24, 16, out)


# The images by name, each with the function that draws it.
IMAGES = {
    "back": view_one,
    "back2": view_two,
    "handle": handle,
    "knob": lambda: knob_strip(48),
    "smallknob": lambda: knob_strip(24),
    "button": button_strip,
    "midilearn": lambda: learn_strip("LEARN"),
    "midiunlearn": lambda: learn_strip("UNLEARN"),
}


def all_images():
    return {name: draw() for name, draw in IMAGES.items()}


def main():
    outdir = sys.argv[1]
    for name, data in all_images().items():
        with open(os.path.join(outdir, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(data)


if __name__ == "__main__":
    main()
