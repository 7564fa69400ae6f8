#!/usr/bin/env python3
"""Writes mutated copies of a settings file for the fault campaign.

usage: settings_mutate.py BASE_FILE OUT_DIR COUNT [SEED]

Each copy applies one to four mutations chosen at random (a fixed seed makes
the set repeatable): a flipped or replaced byte, a deleted, duplicated or
swapped line, a value replaced by an extreme or malformed one, a truncation,
inserted garbage, a broken group header.
"""
import os
import random
import sys

EXTREME_VALUES = [b"100000", b"-100000", b"2147483648", b"-1", b"0", b"1e308", b"nan", b"", b"true",
                  b"@Variant(\\0\\0\\0\\x7f)", b"@ByteArray(\\xff)", b"@Invalid()", b"\"unterminated",
                  b"a, b, c", b"\\", b"\xff\xfe", b"9" * 400]


def mutate(data, rng):
    lines = data.split(b"\n")
    kind = rng.randrange(9)
    if kind == 0 and data:  # flip bits of one byte
        i = rng.randrange(len(data))
        return data[:i] + bytes([data[i] ^ (1 << rng.randrange(8))]) + data[i + 1:]
    if kind == 1 and data:  # replace a byte
        i = rng.randrange(len(data))
        return data[:i] + bytes([rng.randrange(256)]) + data[i + 1:]
    if kind == 2 and len(lines) > 1:  # delete a line
        del lines[rng.randrange(len(lines))]
    elif kind == 3:  # duplicate a line
        i = rng.randrange(len(lines))
        lines.insert(i, lines[i])
    elif kind == 4 and len(lines) > 1:  # swap two lines
        i, j = rng.randrange(len(lines)), rng.randrange(len(lines))
        lines[i], lines[j] = lines[j], lines[i]
    elif kind == 5:  # an extreme or malformed value
        i = rng.randrange(len(lines))
        if b"=" in lines[i]:
            lines[i] = lines[i].split(b"=", 1)[0] + b"=" + rng.choice(EXTREME_VALUES)
    elif kind == 6 and data:  # truncate
        return data[:rng.randrange(len(data))]
    elif kind == 7:  # insert garbage
        i = rng.randrange(len(data) + 1)
        return data[:i] + bytes(rng.randrange(256) for _ in range(rng.randrange(1, 32))) + data[i:]
    elif kind == 8:  # break the group header
        return data.replace(b"[orfe009801]", rng.choice([b"[orfe009801", b"orfe009801]", b"[]", b"["]), 1)
    return b"\n".join(lines)


def main():
    base, out, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    data = open(base, "rb").read()
    os.makedirs(out, exist_ok=True)
    for n in range(count):
        mutated = data
        for _ in range(rng.randrange(1, 5)):
            mutated = mutate(mutated, rng)
        with open(os.path.join(out, "%04d.conf" % n), "wb") as f:
            f.write(mutated)


if __name__ == "__main__":
    main()
