#!/usr/bin/env python3
"""Measures how well the editor's texts stand out from the artwork.

Usage: contrast.py IMGDIR [--all]

Value texts: for every box the editor prints a value into (knobs, faders,
switches in both of their frames, the program display, the version), the
WCAG contrast ratio between the text colour and each artwork pixel inside
the box; the worst pixel counts.
Captions and other texts drawn into the artwork: the images are drawn once
more without their texts (rsvg-convert); the pixels that differ locate each
text, and its colour is measured against the text-free pixels under it.

Prints the worst and median figures per group (every box with --all) and
exits with 1 when any figure is below 4.5:1, the WCAG AA level.
"""

import os
import statistics
import subprocess
import sys
import tempfile

import artwork
import layout as L
import pngio

VALUE_TEXT = (255, 255, 192)
PROGRAM_TEXT = (255, 255, 255, 192)
VERSION_TEXT = (128, 128, 128)
REQUIRED = 4.5


def luminance(rgb):
    def channel(v):
        c = v / 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in rgb[:3])
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def over(colour, alpha, under):
    return tuple((c * alpha + u * (255 - alpha)) // 255 for c, u in zip(colour, under))


def worst_in_box(image, box, colour, alpha=255):
    x0, y0, x1, y1 = box
    return min(ratio(over(colour, alpha, image.pixels[y][x]), image.pixels[y][x])
               for y in range(y0, y1) for x in range(x0, x1))


def with_switch_frame(background, strips, x, y, frame):
    image = pngio.Image(background.width, background.height,
                        [list(row) for row in background.pixels])
    image.paste_over(strips["button"].crop(0, 20 * frame, 48, 20), x, y)
    return image


def value_boxes(background, strips, controls, faders):
    """(name, image, box) for every value text of one view."""
    out = []
    for kind, x, y, words, _ in controls:
        box = L.value_text_box(kind, x, y)
        if kind == L.SWITCH:
            for frame, state in enumerate(("off", "on")):
                out.append((f"{words} ({state})",
                            with_switch_frame(background, strips, x, y, frame), box))
        else:
            out.append((words, background, box))
    for x, words in faders:
        out.append((words, background, L.fader_text_box(x)))
    return out


def texts_drawn(image_name):
    artwork.DRAWN.clear()
    artwork.WITH_TEXT = True
    artwork.IMAGES[image_name]()
    return list(artwork.DRAWN)


def render_without_text(names, scratch):
    artwork.WITH_TEXT = False
    images = artwork.all_images()
    artwork.WITH_TEXT = True
    out = {}
    for name in names:
        svg = os.path.join(scratch, name + ".svg")
        png = os.path.join(scratch, name + ".png")
        with open(svg, "w", encoding="utf-8") as f:
            f.write(images[name])
        subprocess.run(["rsvg-convert", "--format=png", f"--output={png}", svg], check=True)
        out[name] = pngio.read(png)
    return out


def hex_rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def drawn_text_figures(name, with_text, without_text):
    """(words, worst ratio) for each text drawn into one image."""
    out = []
    for x, baseline, words, size, colour, anchor in texts_drawn(name):
        width = 0.72 * size * len(words) + 6
        left = {"middle": x - width / 2, "start": x - 2, "end": x - width + 2}[anchor]
        region = (max(0, int(left)), max(0, int(baseline - size - 1)),
                  min(with_text.width, int(left + width) + 1),
                  min(with_text.height, int(baseline + size * 0.3) + 1))
        changed = [(px, py) for py in range(region[1], region[3])
                   for px in range(region[0], region[2])
                   if max(abs(a - b) for a, b in zip(with_text.pixels[py][px][:3],
                                                     without_text.pixels[py][px][:3])) > 24]
        if not changed:
            out.append((words, 0.0))
            continue
        xs, ys = [p[0] for p in changed], [p[1] for p in changed]
        box = (min(xs), min(ys), max(xs) + 1, max(ys) + 1)
        out.append((words, worst_in_box(without_text, box, hex_rgb(colour))))
    return out


def report(title, figures, show_all):
    values = [f for _, f in figures]
    worst_name, worst = min(figures, key=lambda item: item[1])
    print(f"{title}: {len(values)} texts, worst {worst:.2f}:1 ({worst_name}), "
          f"median {statistics.median(values):.2f}:1")
    if show_all:
        for words, figure in figures:
            print(f"    {figure:6.2f}:1  {words}")
    return [(title, words, figure) for words, figure in figures if figure < REQUIRED]


def main():
    folder = sys.argv[1]
    show_all = "--all" in sys.argv[2:]
    names = ["back", "back2", "midilearn", "midiunlearn", "button", "handle"]
    strips = {n: pngio.read(os.path.join(folder, n + ".png")) for n in names}
    back, back2 = strips["back"], strips["back2"]
    failures = []

    for title, background, controls, faders in (
            ("view one value texts", back, L.VIEW_ONE, []),
            ("view two value texts", back2, L.VIEW_TWO,
             list(zip(L.FADER_X, L.FADER_CAPTIONS)))):
        figures = [(n, worst_in_box(image, box, VALUE_TEXT))
                   for n, image, box in value_boxes(background, strips, controls, faders)]
        failures += report(title, figures, show_all)

    panel = []
    for view, background in (("one", back), ("two", back2)):
        panel.append((f"program number, view {view}",
                      worst_in_box(background, L.PROGRAM_NUMBER, PROGRAM_TEXT[:3], PROGRAM_TEXT[3])))
        panel.append((f"program name, view {view}",
                      worst_in_box(background, L.PROGRAM_NAME, PROGRAM_TEXT[:3], PROGRAM_TEXT[3])))
        # The learn switch is drawn over the right end of the version's box.
        version = L.VERSION_TEXT[:2] + (L.LEARN_SWITCH[0], L.VERSION_TEXT[3])
        panel.append((f"version, view {view}", worst_in_box(background, version, VERSION_TEXT)))
    failures += report("shared panel texts", panel, show_all)

    with tempfile.TemporaryDirectory() as scratch:
        plain = render_without_text(["back", "back2", "midilearn", "midiunlearn"], scratch)
        for name, title in (("back", "view one captions"), ("back2", "view two captions"),
                            ("midilearn", "learn switch label"),
                            ("midiunlearn", "unlearn switch label")):
            failures += report(title, drawn_text_figures(name, strips[name], plain[name]), show_all)

    for title, words, figure in failures:
        print(f"BELOW {REQUIRED}:1: {title}: {words} {figure:.2f}:1")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
