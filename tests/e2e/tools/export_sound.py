#!/usr/bin/env python3
"""Song files for the export tool and measurements of what it rendered.

  export_sound.py song FILE SPEED EVENTS...
        writes a song file; EVENTS are "POS:ROW:NOTE:INSTR:OCT" (channel 1,
        volume 8) and "i=N:WAV:PWM:ENV" (instrument N's values, SWP/ARP 0);
        position POS plays pattern POS, the song is as long as the highest POS
  export_sound.py notes WAV FROM:TO...
        per time span (seconds): "FUNDAMENTAL_HZ RMS_DBFS", channels mixed
  export_sound.py sweep WAV FROM TO HZ
        how far the shape of 40 ms windows (magnitudes of the first eight
        harmonics of HZ, as a vector of unit length) strays from the first one
  export_sound.py peak WAV...
        peak level in dBFS of the whole file
"""
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wav_sound import fundamental, read_wav  # noqa: E402


def write_song(path, speed, events):
    notes = {}
    params = [0] * 249
    last_pos = 0
    for event in events:
        if event.startswith("i="):
            number, wav, pwm, env = (int(v) for v in event[2:].split(":"))
            params[number * 8 + 0] = wav
            params[number * 8 + 1] = pwm
            params[number * 8 + 4] = env
            continue
        pos, row, note, instrument, octave = event.split(":")
        notes[(int(pos), int(row))] = (note, instrument, octave)
        last_pos = max(last_pos, int(pos))
    patterns = last_pos + 1
    columns = [["."] * (32 * patterns)] + [["."] * (32 * patterns) for _ in range(3)]
    columns += [["0"] * (32 * patterns) for _ in range(12)]
    for (pos, row), (note, instrument, octave) in notes.items():
        cell = pos * 32 + row
        columns[0][cell], columns[4][cell], columns[8][cell], columns[12][cell] = note, "8", instrument, octave
    text = "ZRB1" + chr(patterns) + chr(speed) + chr(patterns)
    text += "".join("".join(column) for column in columns)
    order = [0] * 256
    for pos in range(patterns):
        order[pos] = pos
    text += "".join(chr(p) for p in order) + "".join(chr(p) for p in params) + " " * (31 * 21)
    open(path, "wb").write(text.encode("utf-8"))


def span(rate, samples, text):
    begin, end = (float(v) for v in text.split(":"))
    return samples[int(begin * rate):int(end * rate)].mean(axis=1)


def harmonic_shape(rate, signal, base):
    """Magnitudes of the first eight harmonics of `base`, unit length."""
    window = signal * np.hanning(len(signal))
    spectrum = np.abs(np.fft.rfft(window, 1 << 16))
    bins = [int(round(base * k * (1 << 16) / rate)) for k in range(1, 9)]
    mags = np.array([spectrum[b - 3:b + 4].max() for b in bins])
    return mags / max(np.linalg.norm(mags), 1e-12)


def main(argv):
    if len(argv) < 3:
        raise SystemExit(__doc__)
    command = argv[1]
    if command == "song":
        write_song(argv[2], int(argv[3]), argv[4:])
        return 0
    if command == "peak":
        for path in argv[2:]:
            _, samples = read_wav(path)
            print("%.3f" % (20 * np.log10(max(np.abs(samples).max(), 1e-12))))
        return 0
    rate, samples = read_wav(argv[2])
    if command == "notes":
        for text in argv[3:]:
            signal = span(rate, samples, text)
            rms = np.sqrt(np.mean(signal ** 2))
            print("%.2f %.2f" % (fundamental(rate, signal), 20 * np.log10(max(rms, 1e-12))))
    elif command == "sweep":
        signal = span(rate, samples, argv[3] + ":" + argv[4])
        base = float(argv[5])
        step = int(0.04 * rate)
        first = harmonic_shape(rate, signal[:step], base)
        stray = max(np.linalg.norm(harmonic_shape(rate, signal[i:i + step], base) - first)
                    for i in range(0, len(signal) - step, step // 2))
        print("%.3f" % stray)
    else:
        raise SystemExit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
