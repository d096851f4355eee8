#!/usr/bin/python3
"""Judges a stretch of the captured game sound against the decoded music and two effect waves.

  sound_analysis.py COMMAND CAPTURE FROM TO MUSIC REFERENCES CHECK...

CAPTURE is raw stereo at CAPTURE_RATE Hz (48000 by default) in CAPTURE_SAMPLE samples (f32, the
default, or s16), both from the environment, and FROM, TO byte offsets into it; MUSIC is the loop
decoded twice in one piece as 32-bit float stereo at the same rate, REFERENCES a folder with
rotate.raw and attach.raw (mono). The test device's own gaps are cut out first and counted as rig_gaps and
rig_gap_ms: whenever its mixer is late, Wine's ALSA driver writes periods (480 frames each) of exact
zeros to the null device, and the music goes on where it was. Mostly one period, but runs of 2 and 9
were seen on a quiet machine, so every run of exact zeros inside the sound that is shorter than a
pause is cut: music lost across it still shows, because the music on both sides must then join.
CAPTURE_DEVICE_GAPS=no says the device writes all it is given (SDL's disk driver, the page's
recorder): nothing is cut, since 16-bit music has frames of exact zeros of its own, and cutting
those would shift the music by a frame each time.
The COMMAND gives, besides those, jumps (music skipped or repeated) and silent_blocks_inside
(10 ms blocks of silence inside the music):
  music    seconds, sound_from, sound_to, music_seconds, worst_correlation, gain_db,
           loud_residual_blocks, residual_peak_db
  effects  music_seconds, gain_db, rotate, attach (the plays of each effect)
  resumes  stretches_matched, worst_resume_offset (music broken by pauses)
Each CHECK is a Python expression over the figures. Prints the figures and the failed checks;
the exit status is 1 when a check fails.
"""
import os
import sys

import numpy as np

RATE = int(os.environ.get("CAPTURE_RATE", "48000"))
SAMPLE = {"f32": ("<f4", 1.0), "s16": ("<i2", 1 / 32768)}[os.environ.get("CAPTURE_SAMPLE", "f32")]
DEVICE_GAPS = os.environ.get("CAPTURE_DEVICE_GAPS", "yes") != "no"
BLOCK = RATE // 100     # 10 ms: the grain of the dropout test, and one period of Wine's ALSA driver
WINDOW = RATE // 4      # 250 ms: the grain of the alignment tracking
RIG_GAP = 19 * BLOCK    # the longest run of zeros taken for the device's; 200 ms make a pause
SILENT = 1e-4           # mixed silence is exact zeros; anything above this is sound
MATCH = 0.9             # normalised correlation that counts as "the same music"
RESAMPLER_SLACK = 2     # samples: Wine's mixer and sox resample with different phases


def load(path, channels, start=0, end=None, sample=("<f4", 1.0)):
    size = np.dtype(sample[0]).itemsize
    start -= start % (2 * size)
    count = -1 if end is None else (end - end % (2 * size) - start) // size
    data = np.fromfile(path, dtype=sample[0], count=count, offset=start).astype(np.float64) * sample[1]
    return data.reshape(-1, channels) if channels > 1 else data


def runs(mask):
    """(start, end) of each run of True."""
    return np.flatnonzero(np.diff(np.concatenate(([0], mask.astype(np.int8), [0])))).reshape(-1, 2)


def cut_rig_gaps(capture):
    """The capture without runs of exact-zero frames shorter than a pause between sound; their count
    and length in ms."""
    gaps = [(a, b) for a, b in runs(~capture.any(axis=1)) if 0 < a and b < len(capture) and b - a <= RIG_GAP]
    keep = np.ones(len(capture), dtype=bool)
    for a, b in gaps:
        keep[a:b] = False
    return capture[keep], len(gaps), 1000.0 * sum(b - a for a, b in gaps) / RATE


def correlate(signal, template):
    """The template against every lag of the signal: raw, and normalised to [-1, 1]."""
    size = 1 << int(np.ceil(np.log2(len(signal) + len(template))))
    spectrum = np.fft.rfft(signal, size) * np.conj(np.fft.rfft(template, size))
    raw = np.fft.irfft(spectrum, size)[: len(signal) - len(template) + 1]
    energy = np.concatenate(([0.0], np.cumsum(signal * signal)))
    n = len(template)
    return raw, raw / np.sqrt(np.maximum(energy[n:] - energy[:-n], 1e-20) * np.dot(template, template))


def search(mono, ref, start, expected=None, reach=480):
    """Where in the loop a window of the capture starts, near `expected` if given. The reference
    holds the loop twice: windows start in the first copy and run on into the second."""
    loop, piece = len(ref) / 2, mono[start:start + WINDOW]
    if len(piece) < WINDOW or np.dot(piece, piece) < 1e-12:
        return None, 0.0
    lo, hi = 0, int(loop) + WINDOW
    if expected is not None:
        lo = int(expected) - reach + (int(loop) if expected < reach else 0)
        hi = lo + 2 * reach + WINDOW
    corr = correlate(ref[lo:hi], piece)[1]
    best = int(np.argmax(corr))
    return (lo + best) % loop, float(corr[best])


def track(mono, ref, first, last):
    """(start, place in the loop, correlation) of each window: where the last match leads, else anywhere."""
    windows, anchor = [], None
    for start in range(first, last - WINDOW + 1, WINDOW):
        found = (None, 0.0) if anchor is None else search(mono, ref, start, follows(anchor, start, ref))
        if found[1] < MATCH:
            found = search(mono, ref, start)
        windows.append((start,) + found)
        anchor = (start, found[0]) if found[1] >= MATCH else anchor
    return windows


def follows(window, start, ref):
    """The place in the loop that music going on from a window reaches at `start`."""
    return (window[1] + start - window[0]) % (len(ref) / 2)


def matched(windows):
    return [w for w in windows if w[2] >= MATCH]


def jumps(windows, ref):
    """Matched windows that are not where the one before leads: music skipped or repeated."""
    loop = len(ref) / 2
    good = matched(windows)
    return sum(1 for a, b in zip(good, good[1:])
               if RESAMPLER_SLACK < abs(b[1] - follows(a, b[0], ref)) < loop - RESAMPLER_SLACK)


def blocks(signal):
    n = len(signal) // BLOCK
    return signal[: n * BLOCK].reshape(n, BLOCK, -1)


def music(capture, ref, effects=False):
    """The music's figures, the reference laid under the capture where it matched, its gain."""
    figures = {"seconds": len(capture) / RATE, "sound_to": 0.0, "music_seconds": 0, "gain_db": -180.0,
               "jumps": 0, "silent_blocks_inside": 0}
    estimate, covered = np.zeros_like(capture), np.zeros(len(capture), dtype=bool)
    loud = np.nonzero(np.abs(capture).max(axis=1) > SILENT)[0]
    if len(loud) == 0:
        return figures, estimate, covered, 0.0
    first, last = loud[0], loud[-1] + 1
    mono_ref = ref.mean(axis=1)
    windows = track(capture.mean(axis=1), mono_ref, first, last)
    if effects:
        # Windows drowned by effects take the place of matched neighbours that agree.
        good = [i for i, w in enumerate(windows) if w[2] >= MATCH]
        for a, b in zip(good, good[1:]):
            if b > a + 1 and jumps([windows[a], windows[b]], mono_ref) == 0:
                windows[a + 1:b] = [(w[0], follows(windows[a], w[0], mono_ref), MATCH) for w in windows[a + 1:b]]
    good = matched(windows)
    figures.update(sound_from=first / RATE, sound_to=last / RATE, music_seconds=len(good) * WINDOW / RATE,
                   worst_correlation=min((w[2] for w in windows), default=0.0), jumps=jumps(windows, mono_ref))
    if good:
        inside = blocks(capture[good[0][0]:good[-1][0] + WINDOW])
        figures["silent_blocks_inside"] = int((np.abs(inside).max(axis=(1, 2)) <= SILENT).sum())
    for start, place, _ in good:
        at = int(round(place))
        estimate[start:start + WINDOW] = ref[at:at + WINDOW]
        covered[start:start + WINDOW] = True
    energy = float(np.sum(estimate[covered] ** 2))
    gain = float(np.sum(capture[covered] * estimate[covered]) / energy) if energy > 0 else 0.0
    figures["gain_db"] = 20 * np.log10(max(gain, 1e-9))
    return figures, estimate, covered, gain


def command_music(capture, ref, refs):
    figures, estimate, covered, gain = music(capture, ref)
    if not covered.any():
        return figures
    # Dropouts and clicks: 10 ms blocks where the capture and the fitted music differ.
    residual = blocks(capture - gain * estimate)
    music_energy = (blocks(gain * estimate) ** 2).sum(axis=(1, 2))
    # Blocks where the music itself is near silence say nothing about the match.
    judged = blocks(covered).all(axis=(1, 2)) & (music_energy > BLOCK * 2 * 1e-5)
    ratios = 10 * np.log10(np.maximum((residual ** 2).sum(axis=(1, 2))[judged] / music_energy[judged], 1e-30))
    figures["loud_residual_blocks"] = int((ratios > -10).sum())
    # A click is one loud sample: the residual's peak against the music's RMS in its block.
    peaks = np.abs(residual).max(axis=(1, 2))[judged] / np.sqrt(music_energy[judged] / (2 * BLOCK))
    figures["residual_peak_db"] = float(20 * np.log10(np.maximum(peaks, 1e-15)).max()) if len(peaks) else 0.0
    return figures


def plays(signal, template):
    """Correlation peaks above 0.6, an effect length apart, at about the effect's full level."""
    if len(signal) <= len(template):
        return 0
    raw, corr = correlate(signal, template)
    level = raw / np.dot(template, template)
    count, at = 0, 0
    while True:
        above = np.nonzero(corr[at:] > 0.6)[0]
        if len(above) == 0:
            return count
        lo = at + above[0]
        at = min(len(corr), lo + len(template))
        count += int(0.5 <= level[lo + int(np.argmax(corr[lo:at]))] <= 2)


def command_effects(capture, ref, refs):
    figures, estimate, _, gain = music(capture, ref, effects=True)
    # What is left once the music is taken away is the effects.
    residual = (capture - gain * estimate).mean(axis=1)
    for name in ("rotate", "attach"):
        figures[name] = plays(residual, load("%s/%s.raw" % (refs, name), 1))
    return figures


def command_resumes(capture, ref, refs):
    """Where each stretch of sound starts in the loop against where the one before it ended:
    music that goes on from where it stopped gives offsets near 0."""
    # 200 ms of silence, or silence at either end, is a pause between stretches.
    quiet = np.abs(blocks(capture)).max(axis=(1, 2)) <= SILENT
    pauses = np.zeros(len(quiet), dtype=bool)
    for a, b in runs(quiet):
        pauses[a:b] = b - a >= 20 or a == 0 or b == len(quiet)
    mono_ref, ends = ref.mean(axis=1), []
    figures = {"jumps": 0, "silent_blocks_inside": int((quiet & ~pauses).sum())}
    for lo, hi in runs(~pauses) * BLOCK:
        windows = track(capture[lo:hi].mean(axis=1), mono_ref, 0, hi - lo)
        good = matched(windows)
        figures["jumps"] += jumps(windows, mono_ref)
        if good:
            ends.append((follows(good[0], 0, mono_ref), follows(good[-1], hi - lo, mono_ref)))
    loop = len(mono_ref) / 2
    offsets = [abs((b[0] - a[1] + loop / 2) % loop - loop / 2) / RATE for a, b in zip(ends, ends[1:])]
    figures.update(stretches_matched=len(ends), worst_resume_offset=max(offsets, default=0.0))
    return figures


def analyse(command, capture, ref, refs, device_gaps=DEVICE_GAPS):
    capture, rig_gaps, rig_gap_ms = cut_rig_gaps(capture) if device_gaps else (capture, 0, 0.0)
    return dict(globals()["command_" + command](capture, ref, refs), rig_gaps=rig_gaps, rig_gap_ms=rig_gap_ms)


def holds(check, figures):
    try:
        return bool(eval(check, {"abs": abs}, dict(figures)))
    except NameError:   # a figure the stretch does not have, as the residual of silence
        return False


def main():
    command, capture, start, end, music_path, refs = sys.argv[1:7]
    figures = analyse(command, load(capture, 2, int(start), int(end), SAMPLE), load(music_path, 2), refs)
    print("   ", " ".join("%s=%s" % (k, "%.3f" % v if isinstance(v, float) else v) for k, v in figures.items()))
    failed = [check for check in sys.argv[7:] if not holds(check, figures)]
    for check in failed:
        print("    failed:", check)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
