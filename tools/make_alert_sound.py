#!/usr/bin/env python3
"""Writes the client's alert chime, OndrixClient/Resources/alert.wav.

Two soft tones, the second a fourth above the first, each with a short
attack and a long decay so neither clicks at its edges. The result is
committed; run this again only after changing the sound.
"""
import math
import os
import struct
import wave

RATE = 22050
# The loudest sample, of full scale: room for the player's volume above it.
PEAK = 0.7
# (start s, length s, frequency Hz)
TONES = ((0.00, 0.42, 880.0), (0.22, 0.50, 1174.66))
LENGTH = 0.75
ATTACK = 0.012
RELEASE = 0.04


def envelope(t, length):
    """Rises over ATTACK, decays exponentially, and falls to zero over RELEASE."""
    if t < 0 or t >= length:
        return 0.0
    rise = min(1.0, t / ATTACK)
    fall = min(1.0, (length - t) / RELEASE)
    return rise * fall * math.exp(-4.0 * t / length)


def sample(i):
    t = i / RATE
    value = 0.0
    for start, length, frequency in TONES:
        local = t - start
        # A quiet octave above gives the tone its bell-like edge.
        value += envelope(local, length) * (
            math.sin(2 * math.pi * frequency * local) + 0.25 * math.sin(4 * math.pi * frequency * local))
    return value


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "OndrixClient", "Resources", "alert.wav")
    samples = [sample(i) for i in range(int(LENGTH * RATE))]
    scale = PEAK * 32767 / max(abs(value) for value in samples)
    frames = b"".join(struct.pack("<h", int(round(value * scale))) for value in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)
    print(os.path.normpath(path))


if __name__ == "__main__":
    main()
