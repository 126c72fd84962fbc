"""Where the editor's controls sit, as far as the artwork needs to know.

The positions mirror the editor layout in product/editor/ (both views and the
shared panel); the artwork draws captions, section frames and button faces
around them, and contrast.py measures the value texts drawn over them.
Boxes are (left, top, right, bottom) in pixels of the 832 x 376 editor.
"""

WIDTH, HEIGHT = 832, 376

LARGE_KNOB, SMALL_KNOB, SWITCH = "knob", "smallknob", "switch"

# Size of one frame of each strip.
FRAME_SIZE = {LARGE_KNOB: (48, 48), SMALL_KNOB: (24, 24), SWITCH: (48, 20)}


def value_text_box(kind, x, y):
    """The box a control prints its value text into."""
    w, h = FRAME_SIZE[kind]
    if kind == SWITCH:
        return (x, y + 4, x + w, y + h)
    return (x, y + h + 2, x + w, y + h + 16)


def fader_text_box(x):
    return (x - 8, 204, x + 40, 220)


# Shared panel (both views).
PREVIOUS_ARROW = (536, 244, 556, 268)
NEXT_ARROW = (584, 244, 604, 268)
PROGRAM_NUMBER = (558, 248, 582, 268)
PROGRAM_NAME = (606, 248, 816, 268)
OPTIONS_BUTTON = (752, 276, 816, 300)
VERSION_TEXT = (594, 281, 690, 295)
LEARN_SWITCH = (680, 275, 746, 301)

# View one: (kind, x, y, caption, where the caption goes).
# "above" centres the caption over the control, "below" under it, "right"
# beside it; section titles are in SECTIONS_ONE.
SWITCH_VIEW_BUTTON = (320, 236, 416, 276)
VIEW_ONE = [
    (SWITCH, 16, 92, "MONO", "below"),
    (SWITCH, 16, 172, "WAVE", "below"),
    (SMALL_KNOB, 28, 234, "BEND", "above"),
    (LARGE_KNOB, 72, 80, "GLIDE", "above"),
    (LARGE_KNOB, 72, 160, "FM", "above"),
    (SWITCH, 72, 236, "FM SOURCE", "below"),
    (LARGE_KNOB, 148, 80, "OSC2 SEMI", "above"),
    (LARGE_KNOB, 148, 160, "OSC2 FINE", "above"),
    (SWITCH, 148, 236, "SYNC", "below"),
    (LARGE_KNOB, 236, 80, "CUTOFF", "above"),
    (LARGE_KNOB, 236, 160, "RESONANCE", "above"),
    (SWITCH, 236, 236, "MODE", "below"),
    (LARGE_KNOB, 312, 80, "ENV AMT", "above"),
    (LARGE_KNOB, 380, 80, "KEY TRACK", "above"),
    (LARGE_KNOB, 312, 160, "LFO AMT", "above"),
    (LARGE_KNOB, 380, 160, "VELOCITY", "above"),
    (LARGE_KNOB, 456, 80, "ATTACK", "above"),
    (LARGE_KNOB, 456, 160, "DECAY", "above"),
    (SWITCH, 456, 236, "SUSTAIN", "below"),
    (LARGE_KNOB, 540, 80, "RATE", "above"),
    (SWITCH, 540, 172, "WAVE", "below"),
    (LARGE_KNOB, 622, 80, "ATTACK", "above"),
    (LARGE_KNOB, 622, 160, "DECAY", "above"),
    (LARGE_KNOB, 690, 80, "RELEASE", "above"),
    (SWITCH, 690, 172, "SUSTAIN", "below"),
    (LARGE_KNOB, 762, 80, "VOLUME", "above"),
    (SMALL_KNOB, 774, 172, "VELOCITY", "above"),
    (SWITCH, 148, 322, "ENABLE", "below"),
    (SMALL_KNOB, 248, 322, "RATE 1", "right"),
    (SMALL_KNOB, 346, 322, "RATE 2", "right"),
    (SMALL_KNOB, 444, 322, "DEPTH", "right"),
]

# (left, top, right, bottom, title, title position)
SECTIONS_ONE = [
    (8, 42, 208, 288, "OSCILLATORS"),
    (218, 42, 516, 288, "FILTER"),
    (526, 42, 602, 226, "LFO"),
    (612, 42, 824, 226, "AMPLIFIER"),
    (136, 296, 516, 370, "CHORUS"),
]

# View two.
FADER_X = [24, 80, 136, 192, 248, 304, 360, 416, 472]
FADER_CAPTIONS = ["CUTOFF", "RESO", "ATTACK", "DECAY", "ATTACK", "DECAY",
                  "RELEASE", "RATE", "VOLUME"]
VIEW_TWO = [
    (LARGE_KNOB, 544, 68, "FM", "above"),
    (LARGE_KNOB, 616, 68, "SEMI", "above"),
    (LARGE_KNOB, 688, 68, "ENV AMT", "above"),
    (LARGE_KNOB, 760, 68, "KEY TRACK", "above"),
    (LARGE_KNOB, 544, 154, "GLIDE", "above"),
    (LARGE_KNOB, 616, 154, "FINE", "above"),
    (LARGE_KNOB, 688, 154, "LFO AMT", "above"),
    (LARGE_KNOB, 760, 154, "VELOCITY", "above"),
    (SWITCH, 16, 264, "MONO", "above"),
    (SWITCH, 72, 264, "WAVE", "above"),
    (SWITCH, 128, 264, "FM SRC", "above"),
    (SWITCH, 184, 264, "SYNC", "above"),
    (SWITCH, 240, 264, "FLT MODE", "above"),
    (SWITCH, 296, 264, "FLT SUS", "above"),
    (SWITCH, 352, 264, "AMP SUS", "above"),
    (SWITCH, 408, 264, "LFO WAVE", "above"),
    (SWITCH, 466, 264, "CHORUS", "above"),
    (SMALL_KNOB, 20, 326, "BEND", "above"),
    (SMALL_KNOB, 124, 326, "VELOCITY", "above"),
    (SMALL_KNOB, 228, 326, "CHO RATE 1", "above"),
    (SMALL_KNOB, 332, 326, "CHO RATE 2", "above"),
    (SMALL_KNOB, 436, 326, "CHO DEPTH", "above"),
]

SECTIONS_TWO = [
    (8, 38, 123, 228, "FILTER"),
    (127, 38, 235, 228, "FILTER ENV."),
    (239, 38, 403, 228, "AMP ENV."),
    (407, 38, 459, 228, "LFO"),
    (463, 38, 516, 228, "AMP"),
    (526, 38, 598, 226, "PITCH"),
    (602, 38, 670, 226, "OSC 2"),
    (674, 38, 824, 226, "FILTER MOD"),
]

SHARED_PANEL = (526, 234, 824, 370)
