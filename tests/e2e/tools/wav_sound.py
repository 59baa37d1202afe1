#!/usr/bin/env python3
"""Reads a WAV captured from the program's audio and reports on it.

A capture from the sound library's wave writer keeps placeholder sizes in its
header, so the samples are read from the "data" chunk to the end of the file.

  wav_sound.py layout WAV         "DATA_OFFSET BYTES_PER_SECOND", so that a
                                  script can turn the growing file's size into
                                  the length of sound captured so far
  wav_sound.py segments WAV       one line per sounding stretch:
                                  "START_S END_S PEAK" (seconds, peak level)
  wav_sound.py pitch WAV [FROM_S [TO_S]]
                                  fundamental of the first sounding stretch that
                                  starts at or after FROM_S (and before TO_S), in Hz
  wav_sound.py peak WAV FROM_S [TO_S]
                                  largest absolute sample level in the time span

A stretch is sound above SILENCE_LEVEL with no gap longer than 10 ms.
"""
import struct
import sys

import numpy as np

SILENCE_LEVEL = 1e-4
LONGEST_GAP_S = 0.010


def read_wav(path):
    """Returns (rate, samples as float array of shape frames x channels)."""
    rate, samples, _, _ = read_wav_layout(path)
    return rate, samples


def read_wav_layout(path):
    """Returns (rate, samples, offset of the first sample, bytes per second)."""
    data = open(path, "rb").read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit("%s: not a RIFF/WAVE file" % path)
    pos = 12
    fmt = None
    while pos + 8 <= len(data):
        tag = data[pos:pos + 4]
        size = struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if tag == b"fmt ":
            code, channels, rate, _, _, bits = struct.unpack("<HHIIHH", data[pos + 8:pos + 24])
            if code == 0xFFFE and size >= 40:  # extensible: the sub-format's first field
                code = struct.unpack("<H", data[pos + 32:pos + 34])[0]
            fmt = (code, channels, rate, bits)
        elif tag == b"data":
            if fmt is None:
                raise SystemExit("%s: data before fmt" % path)
            body = data[pos + 8:]
            offset = pos + 8
            break
        pos += 8 + size
    else:
        raise SystemExit("%s: no data chunk" % path)
    code, channels, rate, bits = fmt
    if code == 3 and bits == 32:
        dtype, scale = "<f4", 1.0
    elif code == 1 and bits == 16:
        dtype, scale = "<i2", 32768.0
    elif code == 1 and bits == 32:
        dtype, scale = "<i4", 2147483648.0
    elif code == 1 and bits == 8:
        body = bytes((b - 128) & 0xFF for b in body)
        dtype, scale = "i1", 128.0
    else:
        raise SystemExit("%s: unsupported sample format %d/%d bits" % (path, code, bits))
    frame = channels * np.dtype(dtype).itemsize
    body = body[:len(body) // frame * frame]  # a capture may end mid-frame
    samples = np.frombuffer(body, dtype=dtype).astype(np.float64) / scale
    return rate, samples.reshape(-1, channels), offset, frame * rate


def segments(rate, samples):
    """Sounding stretches as (first frame, end frame, peak)."""
    level = np.abs(samples).max(axis=1) if len(samples) else np.zeros(0)
    loud = np.nonzero(level > SILENCE_LEVEL)[0]
    if len(loud) == 0:
        return []
    breaks = np.nonzero(np.diff(loud) > LONGEST_GAP_S * rate)[0]
    starts = np.concatenate(([loud[0]], loud[breaks + 1]))
    ends = np.concatenate((loud[breaks], [loud[-1]])) + 1
    return [(int(s), int(e), float(level[s:e].max())) for s, e in zip(starts, ends)]


def fundamental(rate, signal):
    """Fundamental frequency by the cumulative-mean-normalised difference
    (robust against strong harmonics and a decaying level), refined by a
    parabola through the chosen minimum."""
    signal = signal - signal.mean()
    n = len(signal)
    max_lag = min(n // 2, int(rate / 50.0))  # nothing below 50 Hz is expected
    if max_lag < 4:
        return 0.0
    window = n - max_lag
    # Difference function d(lag) = sum (x[i] - x[i+lag])^2 over a fixed window.
    energy = np.cumsum(np.concatenate(([0.0], signal ** 2)))
    head = signal[:window]
    corr = np.array([np.dot(head, signal[lag:lag + window]) for lag in range(max_lag + 1)])
    diff = energy[window] + (energy[np.arange(max_lag + 1) + window] - energy[np.arange(max_lag + 1)]) - 2 * corr
    normalised = np.ones_like(diff)
    running = np.cumsum(diff[1:])
    lags = np.arange(1, max_lag + 1)
    normalised[1:] = diff[1:] * lags / np.maximum(running, 1e-30)
    lag = 0
    for candidate in range(2, max_lag):
        if normalised[candidate] < 0.15:
            # walk down to the bottom of this dip
            while candidate + 1 < max_lag and normalised[candidate + 1] < normalised[candidate]:
                candidate += 1
            lag = candidate
            break
    if lag == 0:
        lag = int(np.argmin(normalised[2:max_lag])) + 2
    a, b, c = normalised[lag - 1], normalised[lag], normalised[lag + 1]
    bend = a - 2 * b + c
    offset = 0.5 * (a - c) / bend if bend > 0 else 0.0
    return rate / (lag + offset)


def main(argv):
    if len(argv) < 3:
        raise SystemExit(__doc__)
    command, path = argv[1], argv[2]
    rate, samples, offset, bytes_per_second = read_wav_layout(path)
    if command == "layout":
        print(offset, bytes_per_second)
    elif command == "segments":
        for start, end, peak in segments(rate, samples):
            print("%.4f %.4f %.6f" % (start / rate, end / rate, peak))
    elif command == "pitch":
        begin = float(argv[3]) * rate if len(argv) > 3 else 0
        limit = float(argv[4]) * rate if len(argv) > 4 else float("inf")
        for start, end, _ in segments(rate, samples):
            if begin <= start < limit:
                # Leave out the attack and the fade-out tail, mix to mono.
                trim = (end - start) // 10
                print("%.2f" % fundamental(rate, samples[start + trim:end - trim].mean(axis=1)))
                return 0
        print("none")
        return 1
    elif command == "peak":
        begin = int(float(argv[3]) * rate)
        end = int(float(argv[4]) * rate) if len(argv) > 4 else len(samples)
        part = samples[begin:end]
        print("%.6f" % (float(np.abs(part).max()) if len(part) else 0.0))
    else:
        raise SystemExit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
