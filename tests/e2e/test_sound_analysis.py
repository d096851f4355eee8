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


def silence(ms):
    return np.zeros((RATE * ms // 1000, 2))


# Name, capture, then rig_gaps, jumps and whether silence is left inside the music.
CASES = [
    ("clean, across three loop points", music(2, 18), 0, 0, False),
    ("the test device's gaps, nothing lost", np.concatenate([music(1, 4), silence(10), music(5, 3), np.zeros((77, 2)),
     music(8, 3), silence(90), music(11, 2), silence(20), music(13, 4)]), 4, 0, False),
    ("50 ms of music replaced by silence", np.concatenate([music(1, 6), silence(50), music(7.05, 6)]), 1, 1, False),
    ("10 ms of music replaced by silence", np.concatenate([music(1, 6), silence(10), music(7.01, 6)]), 1, 1, False),
    ("300 ms of silence inserted", np.concatenate([music(1, 6), silence(300), music(7, 6)]), 0, 1, True),
    ("a 1 s skip", np.concatenate([music(1, 6), music(8, 6)]), 0, 1, False),
    ("a lapped ring: 3 s again", np.concatenate([music(1, 6), music(4, 6)]), 0, 1, False),
    ("a loop joined 0.1 s early", np.concatenate([music(0, 5.2)] * 3 + [music(0, 2)]), 0, 3, False),
]

# 16-bit music has frames of exact zeros of its own: a device without gaps of its own keeps them.
QUIET = LOOPED.copy()
QUIET[np.arange(50) * (LOOP // 50)] = 0
ON_A_GAPLESS_DEVICE = [
    ("single zero frames in the music", QUIET[(2 * RATE + np.arange(18 * RATE)) % LOOP], 0, 0, False),
    ("a 10 ms dropout", np.concatenate([music(1, 6), silence(10), music(7.01, 6)]), 0, 0, True),
]

failed = 0
for (name, capture, *expected), loop, device_gaps in [(case, LOOPED, True) for case in CASES] + [
        (case, QUIET, False) for case in ON_A_GAPLESS_DEVICE]:
    figures = analyse("music", capture, np.concatenate([loop, loop]), None, device_gaps)
    found = [figures["rig_gaps"], figures["jumps"], figures["silent_blocks_inside"] > 0]
    failed += found != expected
    print("%-4s %s: rig_gaps=%d jumps=%d silence inside=%s" % ("ok" if found == expected else "FAIL", name, *found))
sys.exit(1 if failed else 0)
