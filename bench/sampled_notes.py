#!/usr/bin/env python3
"""Renders single notes of several instruments from a General MIDI sound bank with
fluidsynth, normalises them, runs aubio's yin on them, and writes the list that
`detector_compare files` reads. Nothing it makes belongs in the repository.

    python3 bench/sampled_notes.py [--out DIR] [--soundfont SF2] [--set dev|check]
    build/bench/detector_compare files DIR/list.txt

Needs fluidsynth and aubio-tools (Debian packages), and a sound bank
(timgm6mb-soundfont by default). The "dev" set takes every fifth semitone of
each instrument's range; the "check" set the notes two semitones higher, at
another velocity, for a look at notes that were not used while tuning.
"""

import argparse
import array
import os
import struct
import subprocess
import sys
import wave

# General MIDI program, name, lowest and highest MIDI note played: from A1
# (55 Hz), the lowest note of the tuner's factory range, up. (No organ: a
# General MIDI organ sounds a stop an octave under the note, which leaves no
# single right answer.)
INSTRUMENTS = [
    (0, "piano", 33, 96),
    (4, "electric-piano", 40, 84),
    (6, "harpsichord", 41, 89),
    (11, "vibraphone", 53, 89),
    (22, "harmonica", 60, 84),
    (24, "nylon-guitar", 40, 76),
    (32, "acoustic-bass", 33, 55),
    (40, "violin", 55, 96),
    (42, "cello", 36, 72),
    (52, "choir", 48, 79),
    (56, "trumpet", 55, 82),
    (57, "trombone", 40, 72),
    (58, "tuba", 33, 58),
    (60, "french-horn", 41, 77),
    (65, "alto-sax", 49, 80),
    (68, "oboe", 58, 91),
    (70, "bassoon", 34, 72),
    (71, "clarinet", 50, 91),
    (73, "flute", 60, 96),
    (74, "recorder", 72, 96),
    (48, "strings", 36, 84),
]

DIVISION = 480  # ticks per quarter note; the default tempo gives 0.5 s per quarter


def var_len(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, (n & 0x7F) | 0x80)
        n >>= 7
    return bytes(out)


def midi_file(program, note, velocity, seconds_on, seconds_tail):
    """A format-0 MIDI file: program change, one note, silence for the tail."""
    on_ticks = int(seconds_on * 2 * DIVISION)
    tail_ticks = int(seconds_tail * 2 * DIVISION)
    track = b""
    track += var_len(0) + bytes([0xC0, program])
    track += var_len(0) + bytes([0x90, note, velocity])
    track += var_len(on_ticks) + bytes([0x80, note, 0])
    track += var_len(tail_ticks) + b"\xff\x2f\x00"
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, DIVISION)
    return header + b"MTrk" + struct.pack(">I", len(track)) + track


def normalise_to_mono(src, dst):
    """First channel of a 16-bit WAV file, scaled to a peak of full scale."""
    with wave.open(src, "rb") as w:
        channels, width, rate = w.getnchannels(), w.getsampwidth(), w.getframerate()
        data = w.readframes(w.getnframes())
    if width != 2:
        raise SystemExit(f"{src}: expected 16-bit samples")
    samples = array.array("h", data)
    if sys.byteorder == "big":
        samples.byteswap()
    mono = samples[::channels]
    peak = max((abs(x) for x in mono), default=0)
    if peak == 0:
        return False
    scale = 32767.0 / peak
    out = array.array("h", (int(round(x * scale)) for x in mono))
    if sys.byteorder == "big":
        out.byteswap()
    with wave.open(dst, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(out.tobytes())
    return True


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--out", default="/tmp/orfe-sampled-notes")
    ap.add_argument("--soundfont", default="/usr/share/sounds/sf2/TimGM6mb.sf2")
    ap.add_argument("--set", choices=["dev", "check"], default="dev")
    ap.add_argument("--rate", type=int, default=44100)
    args = ap.parse_args()

    out = os.path.join(args.out, args.set)
    os.makedirs(out, exist_ok=True)
    shift, velocity = (0, 100) if args.set == "dev" else (2, 80)
    lines = []
    for program, name, low, high in INSTRUMENTS:
        for note in range(low + shift, high + 1, 5):
            base = os.path.join(out, f"{name}-{note}")
            with open(base + ".mid", "wb") as f:
                f.write(midi_file(program, note, velocity, 1.5, 0.6))
            subprocess.run(["fluidsynth", "-ni", "-q", "-r", str(args.rate), "-F", base + ".raw.wav",
                            args.soundfont, base + ".mid"], check=True, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            if not normalise_to_mono(base + ".raw.wav", base + ".wav"):
                print(f"{base}: silent, skipped", file=sys.stderr)
                continue
            os.remove(base + ".raw.wav")
            # aubio's yin at its usual settings, frames under -60 dB reported as 0.
            res = subprocess.run(["aubio", "pitch", "-m", "yin", "-u", "Hz", "-s", "-60", base + ".wav"],
                                 check=True, capture_output=True, text=True)
            with open(base + ".aubio.txt", "w") as f:
                f.write(res.stdout)
            lines.append(f"{base}.wav {note} {base}.aubio.txt")
    with open(os.path.join(out, "list.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")
    print(f"{len(lines)} notes in {out}/list.txt")


if __name__ == "__main__":
    main()
