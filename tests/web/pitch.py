#!/usr/bin/env python3
"""Pitches of the same song passages in two recordings of the demo.

  pitch.py DESKTOP_WAV PAGE_WAV SECONDS

Both recordings are taken from their first sound on. Analysis windows (8192
frames) are chosen in the desktop's render alone, so they are the same on
every run: windows whose strongest peak (150 to 4000 Hz) keeps its frequency
within 0.3 cents when the window moves 10 and 20 ms either way, i.e. a steady
note. The page's tap can drop or jitter, so each window is found again in the
page's recording by the best matching spectrum within 40 ms of the same song
time, and the page's peak near the desktop's frequency is taken at five
offsets around it (median). One line per window:
  "SECONDS HZ CENTS"  (song time, desktop peak, page minus desktop)
"""
import sys
import wave

import numpy as np

FRAMES = 8192
PADDING = 8
STEADY_CENTS = 0.3


def read_from_first_sound(path):
    with wave.open(path) as w:
        rate = w.getframerate()
        data = np.frombuffer(w.readframes(w.getnframes()), "<i2").astype(np.float64) / 32768.0
        mono = data.reshape(-1, w.getnchannels()).sum(axis=1)
    loud = np.nonzero(np.abs(mono) > 1e-4)[0]
    return rate, mono[loud[0]:] if len(loud) else mono[:0]


def main():
    desktop_path, page_path, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    rate, desktop = read_from_first_sound(desktop_path)
    page_rate, page = read_from_first_sound(page_path)
    if page_rate != rate:  # the page's context may run at another rate: compare at the desktop's
        page = np.interp(np.arange(0, len(page), page_rate / rate), np.arange(len(page)), page)
    size = FRAMES * PADDING
    window = np.hanning(FRAMES)
    ms = rate // 1000
    low, high = int(150 * size / rate), int(4000 * size / rate)

    def spectrum(x, start):
        part = x[start:start + FRAMES]
        if start < 0 or len(part) < FRAMES:
            return None
        return np.abs(np.fft.rfft(part * window, size))

    def peak_hz(s, i):  # parabola through the log magnitudes around bin i
        a, b, c = np.log(s[i - 1:i + 2] + 1e-12)
        return (i + 0.5 * (a - c) / (a - 2 * b + c)) * rate / size

    def strongest(s):
        return peak_hz(s, low + int(np.argmax(s[low:high])))

    def near(s, hz, cents=30):
        a = int(hz * 2 ** (-cents / 1200) * size / rate)
        b = int(hz * 2 ** (cents / 1200) * size / rate) + 1
        return peak_hz(s, a + int(np.argmax(s[a:b])))

    candidates = []
    for start in range(20 * ms, int(seconds * rate) - FRAMES - 20 * ms, 10 * ms):
        shifted = [spectrum(desktop, start + k * 10 * ms) for k in (-2, -1, 0, 1, 2)]
        if any(s is None for s in shifted):
            break
        hz = [strongest(s) for s in shifted]
        spread = np.ptp(1200 * np.log2(np.array(hz) / hz[2]))
        if spread <= STEADY_CENTS:
            candidates.append((spread, start, hz[2]))
    chosen = []
    for spread, start, hz in sorted(candidates):
        if all(abs(start - other) >= FRAMES for _, other, _ in chosen):
            chosen.append((spread, start, hz))

    band = slice(low, high)
    for _, start, hz in sorted(chosen, key=lambda c: c[1]):
        reference = np.log(spectrum(desktop, start)[band] + 1e-9)

        def match(offset):
            s = spectrum(page, start + offset * ms)
            return -2.0 if s is None else np.corrcoef(reference, np.log(s[band] + 1e-9))[0, 1]

        offset = max(range(-40, 41, 2), key=match)
        found = [spectrum(page, start + (offset + k) * ms) for k in (-10, -5, 0, 5, 10)]
        cents = [1200 * np.log2(near(s, hz) / hz) for s in found if s is not None]
        if cents:
            print("%.3f %.2f %.2f" % (start / rate, hz, float(np.median(cents))))


if __name__ == "__main__":
    main()
