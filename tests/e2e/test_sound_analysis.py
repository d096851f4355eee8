#!/usr/bin/python3
"""sound_analysis.py on hand-made captures of a 5.3 s loop: the test device's own gaps are cut
and counted; every fault of the game's stream moves real music and shows as a jump."""
import sys

import numpy as np

from sound_analysis import RATE, analyse

LOOP = int(5.3 * RATE)
# Noise under a tone, so that every stretch of the loop differs from every other.
mono = 0.05 * np.random.default_rng(7).standard_normal(LOOP) + 0.2 * np.sin(np.arange(LOOP) * 0.06)
LOOPED = np.stack([mono, 0.8 * mono], axis=1)


def music(at, seconds):
    """The loop played on from second `at`."""
    return LOOPED[(int(at * RATE) + np.arange(int(seconds * RATE))) % LOOP]


def silence(frames):
    return np.zeros((frames, 2))


def joins_early(seconds):
    """A decoder that goes back to the start 0.1 s before the end of the stream."""
    return np.concatenate([LOOPED[:LOOP - RATE // 10]] * int(seconds * RATE / LOOP + 1))[:int(seconds * RATE)]


# Name, capture, then rig_gaps, jumps and whether silence is left inside the music.
CASES = [
    ("clean, across three loop points", music(2, 18), 0, 0, False),
    ("the test device's gaps of one period and less", np.concatenate(
        [music(1, 4), silence(480), music(5, 3), silence(77), music(8, 3), silence(480), music(11, 4)]), 3, 0, False),
    ("a 50 ms gap", np.concatenate([music(1, 6), silence(2400), music(7, 6)]), 0, 1, True),
    ("two periods of the test device at once", np.concatenate([music(1, 6), silence(960), music(7, 6)]), 0, 1, True),
    ("a 1 s skip", np.concatenate([music(1, 6), music(8, 6)]), 0, 1, False),
    ("a lapped ring: 3 s again", np.concatenate([music(1, 6), music(4, 6)]), 0, 1, False),
    ("a bad loop join, 0.1 s early", joins_early(18), 0, 3, False),
]

failed = 0
for name, capture, *expected in CASES:
    figures = analyse("music", capture, np.concatenate([LOOPED, LOOPED]), None)
    found = [figures["rig_gaps"], figures["jumps"], figures["silent_blocks_inside"] > 0]
    failed += found != expected
    print("%-4s %s: rig_gaps=%d jumps=%d silence inside=%s" % ("ok" if found == expected else "FAIL", name, *found))
sys.exit(1 if failed else 0)
