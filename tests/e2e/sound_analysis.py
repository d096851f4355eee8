#!/usr/bin/python3
"""Compares a stretch of the captured game sound with the decoded music and the effect waves.

The capture is raw 32-bit float stereo at 48000 Hz; a stretch is given by byte offsets into it.
References are raw 32-bit float stereo (music) or mono (effects) at 48000 Hz, made with sox.
Every command prints its figures as key=value lines; the shell script judges them.

  silence  CAPTURE FROM TO
  music    CAPTURE FROM TO MUSIC
  effects  CAPTURE FROM TO MUSIC NAME=WAVE...
  resumes  CAPTURE FROM TO MUSIC
"""
import sys

import numpy as np

RATE = 48000
BLOCK = 480             # 10 ms: the grain of the dropout test
WINDOW = RATE // 4      # 250 ms: the grain of the alignment tracking
SILENT = 1e-4           # mixed silence is exact zeros; anything above this is sound
MATCH = 0.9             # normalised correlation that counts as "the same music"


def load_capture(path, start, end):
    start -= start % 8
    end -= end % 8
    with open(path, "rb") as f:
        f.seek(start)
        data = f.read(end - start)
    return np.frombuffer(data, dtype="<f4").reshape(-1, 2).astype(np.float64)


def load_reference(path, channels):
    data = np.fromfile(path, dtype="<f4").astype(np.float64)
    return data.reshape(-1, channels) if channels > 1 else data


def db(value):
    return 10 * np.log10(max(value, 1e-30))


def correlate_all(signal, template):
    """Unnormalised cross-correlation of template against every lag of signal."""
    size = 1 << int(np.ceil(np.log2(len(signal) + len(template))))
    spectrum = np.fft.rfft(signal, size) * np.conj(np.fft.rfft(template, size))
    return np.fft.irfft(spectrum, size)[: len(signal) - len(template) + 1]


def normalised_correlation(signal, template):
    raw = correlate_all(signal, template)
    energy = np.concatenate(([0.0], np.cumsum(signal * signal)))
    n = len(template)
    window_energy = energy[n:] - energy[:-n]
    norm = np.sqrt(np.maximum(window_energy, 1e-20) * np.dot(template, template))
    return raw / norm


def sound_span(capture):
    loud = np.nonzero(np.abs(capture).max(axis=1) > SILENT)[0]
    if len(loud) == 0:
        return None
    return loud[0], loud[-1] + 1


RESAMPLER_SLACK = 2   # samples at 48 kHz


class Alignment:
    """Where each window of the capture lies in the reference: capture index + lag."""

    def __init__(self, capture, reference):
        self.mono = capture.mean(axis=1)
        self.ref = reference.mean(axis=1)
        self.windows = []   # (start, lag, correlation)

    def search(self, start, centre=None, reach=None):
        piece = self.mono[start:start + WINDOW]
        if centre is None:
            lo, hi = 0, len(self.ref)
        else:
            lo = max(0, start + centre - reach)
            hi = min(len(self.ref), start + centre + reach + WINDOW)
        if hi - lo < WINDOW or np.dot(piece, piece) < 1e-12:
            return None, 0.0
        corr = normalised_correlation(self.ref[lo:hi], piece)
        best = int(np.argmax(corr))
        return lo + best - start, float(corr[best])

    def track(self, first, last):
        lag = None
        for start in range(first, last - WINDOW + 1, WINDOW):
            found, corr = (None, 0.0)
            if lag is not None:
                found, corr = self.search(start, lag, 480)
            if found is None or corr < MATCH:
                found, corr = self.search(start)
            self.windows.append((start, found, corr))
            if found is not None and corr >= MATCH:
                lag = found
        return self.windows

    def matched(self):
        return [w for w in self.windows if w[1] is not None and w[2] >= MATCH]

    def same_audio(self, start, lag_a, lag_b):
        """A tiled reference holds the same audio at several lags: moving between them is no jump."""
        lo_a, lo_b = start + lag_a, start + lag_b
        if min(lo_a, lo_b) < 0 or max(lo_a, lo_b) + WINDOW > len(self.ref):
            return False
        a, b = self.ref[lo_a:lo_a + WINDOW], self.ref[lo_b:lo_b + WINDOW]
        energy = float(np.sqrt(np.dot(a, a) * np.dot(b, b)))
        return energy > 0 and float(np.dot(a, b)) / energy > 0.999

    def jumps(self):
        # Wine's mixer and sox resample with different phases, so the best lag may flip by a
        # sample where the two sit half a sample apart; a skip or a gap moves it by far more.
        good = self.matched()
        return sum(1 for a, b in zip(good, good[1:])
                   if abs(a[1] - b[1]) > RESAMPLER_SLACK and not self.same_audio(b[0], a[1], b[1]))

    def bridge(self):
        """Windows drowned by effects take the lag of matched neighbours that agree."""
        good = [i for i, w in enumerate(self.windows) if w[1] is not None and w[2] >= MATCH]
        for a, b in zip(good, good[1:]):
            lag = self.windows[a][1]
            if b > a + 1 and self.windows[b][1] == lag:
                for i in range(a + 1, b):
                    self.windows[i] = (self.windows[i][0], lag, MATCH)

    def music_estimate(self, capture):
        """The reference laid under the capture window by window, and the fitted gain."""
        estimate = np.zeros_like(capture)
        covered = np.zeros(len(capture), dtype=bool)
        reference = self.full_reference
        for start, lag, corr in self.matched():
            lo, hi = start + lag, start + lag + WINDOW
            if lo < 0 or hi > len(reference):
                continue
            estimate[start:start + WINDOW] = reference[lo:hi]
            covered[start:start + WINDOW] = True
        ref_energy = float(np.sum(estimate[covered] ** 2))
        gain = float(np.sum(capture[covered] * estimate[covered]) / ref_energy) if ref_energy > 0 else 0.0
        return estimate, covered, gain


def analyse_music(capture, reference, bridge=False):
    figures = {"seconds": len(capture) / RATE}
    span = sound_span(capture)
    if span is None:
        figures["music_seconds"] = 0
        return figures, None, None, None, 0.0
    first, last = span
    align = Alignment(capture, reference)
    align.full_reference = reference
    windows = align.track(first, last)
    if bridge:
        align.bridge()
    good = align.matched()
    figures["sound_from"] = first / RATE
    figures["sound_to"] = last / RATE
    figures["windows"] = len(windows)
    figures["windows_matched"] = len(good)
    figures["worst_correlation"] = min((w[2] for w in windows), default=0.0)
    figures["music_seconds"] = len(good) * WINDOW / RATE
    figures["jumps"] = align.jumps()
    figures["lag_changes"] = ",".join("%d@%.2f:%.3f" % (b[1] - a[1], b[0] / RATE, b[2]) for a, b in zip(good, good[1:]) if a[1] != b[1])
    if good:
        figures["reference_at"] = (good[0][0] + good[0][1]) / RATE
    estimate, covered, gain = align.music_estimate(capture)
    figures["gain_db"] = 20 * np.log10(max(gain, 1e-9))
    return figures, align, estimate, covered, gain


def command_silence(args):
    capture = load_capture(args[0], int(args[1]), int(args[2]))
    peak = np.abs(capture).max(axis=1) if len(capture) else np.zeros(1)
    loud = np.nonzero(peak > SILENT)[0]
    print("seconds=%.3f" % (len(capture) / RATE))
    print("peak=%.6f" % float(peak.max()))
    # The last sound: whatever was mixed before the stop took effect.
    print("sound_until=%.3f" % ((loud[-1] + 1) / RATE if len(loud) else 0.0))


def command_music(args):
    capture = load_capture(args[0], int(args[1]), int(args[2]))
    reference = load_reference(args[3], 2)
    figures, align, estimate, covered, gain = analyse_music(capture, reference)
    if align is not None and covered.any():
        # Dropouts and clicks: 10 ms blocks where capture and fitted music differ.
        residual = capture - gain * estimate
        n = len(capture) // BLOCK
        res = (residual[: n * BLOCK] ** 2).sum(axis=1).reshape(n, BLOCK).sum(axis=1)
        ref = ((gain * estimate[: n * BLOCK]) ** 2).sum(axis=1).reshape(n, BLOCK).sum(axis=1)
        cov = covered[: n * BLOCK].reshape(n, BLOCK).all(axis=1)
        # Blocks where the music itself is near silence say nothing about the match.
        judged = cov & (ref > BLOCK * 2 * 1e-5)
        ratios = np.array([db(r / f) for r, f in zip(res[judged], ref[judged])])
        figures["blocks_judged"] = int(judged.sum())
        figures["residual_median_db"] = float(np.median(ratios)) if len(ratios) else 0.0
        figures["residual_worst_db"] = float(ratios.max()) if len(ratios) else 0.0
        figures["blocks_above_-10db"] = int((ratios > -10).sum())
        # A click is one loud sample: the residual's peak against the music's RMS in its block.
        peaks = np.abs(residual[: n * BLOCK]).max(axis=1).reshape(n, BLOCK).max(axis=1)
        rms = np.sqrt(ref / (2 * BLOCK))
        figures["residual_peak_db"] = float(max((20 * np.log10(max(p, 1e-15) / r)
                                                 for p, r in zip(peaks[judged], rms[judged])), default=0.0))
        # Sound-free blocks inside the music: a gap in the stream.
        inner = np.abs(capture[: n * BLOCK]).max(axis=1).reshape(n, BLOCK).max(axis=1) <= SILENT
        lo, hi = int(figures["sound_from"] * RATE) // BLOCK, int(figures["sound_to"] * RATE) // BLOCK
        figures["silent_blocks_inside"] = int(inner[lo:hi].sum())
    for key, value in figures.items():
        print("%s=%s" % (key, ("%.3f" % value) if isinstance(value, float) else value))


def command_effects(args):
    capture = load_capture(args[0], int(args[1]), int(args[2]))
    reference = load_reference(args[3], 2)
    figures, align, estimate, covered, gain = analyse_music(capture, reference, bridge=True)
    for key in ("music_seconds", "gain_db"):
        if key in figures:
            value = figures[key]
            print("%s=%s" % (key, ("%.3f" % value) if isinstance(value, float) else value))
    # What is left once the music is taken away is the effects.
    residual = capture - gain * estimate if estimate is not None else capture
    residual = residual.mean(axis=1)
    for pair in args[4:]:
        name, path = pair.split("=", 1)
        template = load_reference(path, 1)
        if len(residual) <= len(template):
            print("%s=0" % name)
            continue
        corr = normalised_correlation(residual, template)
        # The effect's own level in the mix: played at full volume, so about 1.
        level = correlate_all(residual, template) / np.dot(template, template)
        hits = []
        at = 0
        # Peaks above 0.6, at least one effect length apart, at the effect's level.
        while True:
            above = np.nonzero(corr[at:] > 0.6)[0]
            if len(above) == 0:
                break
            lo = at + above[0]
            hi = min(len(corr), lo + len(template))
            peak = lo + int(np.argmax(corr[lo:hi]))
            hits.append((peak / RATE, float(corr[peak]), float(level[peak])))
            at = hi
        print("%s=%d" % (name, sum(1 for h in hits if 0.5 <= h[2] <= 2)))
        print("%s_at=%s" % (name, ",".join("%.3f:%.3f:%.2f" % h for h in hits)))


def command_resumes(args):
    """Music broken by pauses: where each stretch of sound starts in the loop against where the
    one before it ended. Music that goes on from where it stopped gives offsets near 0."""
    capture = load_capture(args[0], int(args[1]), int(args[2]))
    reference = load_reference(args[3], 2)
    n = len(capture) // BLOCK
    loud = np.abs(capture[: n * BLOCK]).max(axis=1).reshape(n, BLOCK).max(axis=1) > SILENT
    stretches, start, quiet = [], None, 0
    for i, is_loud in enumerate(loud):
        if is_loud:
            start = i if start is None else start
            quiet = 0
        elif start is not None:
            quiet += 1
            if quiet == 20:   # 200 ms of silence ends a stretch
                stretches.append((start * BLOCK, (i - quiet + 1) * BLOCK))
                start = None
    if start is not None:
        stretches.append((start * BLOCK, n * BLOCK))
    ends, jumps = [], 0
    for lo, hi in stretches:
        align = Alignment(capture[lo:hi], reference)
        good = [w for w in align.track(0, hi - lo) if w[1] is not None and w[2] >= MATCH]
        jumps += align.jumps()
        if good:
            ends.append((good[0][1], hi - lo + good[-1][1]))
    loop = len(reference)
    offsets = [((b[0] - a[1] + loop // 2) % loop - loop // 2) / RATE for a, b in zip(ends, ends[1:])]
    print("stretches=%d" % len(stretches))
    print("stretches_matched=%d" % len(ends))
    print("jumps=%d" % jumps)
    print("resume_offsets=%s" % ",".join("%.3f" % o for o in offsets))
    print("worst_resume_offset=%.3f" % max((abs(o) for o in offsets), default=0.0))


def main():
    commands = {"silence": command_silence, "music": command_music, "effects": command_effects,
                "resumes": command_resumes}
    if len(sys.argv) < 2 or sys.argv[1] not in commands:
        sys.stderr.write(__doc__)
        return 2
    commands[sys.argv[1]](sys.argv[2:])
    return 0


if __name__ == "__main__":
    sys.exit(main())
