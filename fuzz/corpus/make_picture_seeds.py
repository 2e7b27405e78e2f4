#!/usr/bin/env python3
"""Writes the vector seeds of fuzz_picture: the metafile test pictures and a small drawing, each
behind the target's five leading bytes (the picture name's index, the drawn width and height).

    tests/fixtures/make_metafiles.py && fuzz/corpus/make_picture_seeds.py

Run after make_metafiles.py, which writes the metafiles these seeds start from.
"""
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "fuzz", "corpus", "picture")
# Indices into fuzz_picture's list of names.
EMF, WMF, SVG = 7, 8, 9

SVG_SEED = (b'<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            b'width="40" height="20" viewBox="0 0 40 20"><defs><rect id="r" width="4" height="4"/>'
            b'</defs><path fill-rule="evenodd" d="M0 0H12V8H0Z"/><use xlink:href="#r" x="20"/>'
            b'<g transform="rotate(10)"><circle cx="30" cy="10" r="5" fill="#c01414"/></g></svg>')


def seed(name, index, body):
    # Drawn 300 x 200, not turned (the top bit of the third byte clear).
    with open(os.path.join(OUT, name), "wb") as out:
        out.write(struct.pack("<BHH", index, 300, 200) + body)


def main():
    os.makedirs(OUT, exist_ok=True)
    fixtures = os.path.join(ROOT, "tests", "fixtures", "metafile")
    for name, index in (("crest.emf", EMF), ("text.emf", EMF), ("placeable.wmf", WMF),
                        ("plain.wmf", WMF)):
        with open(os.path.join(fixtures, name), "rb") as f:
            seed("seed-" + name, index, f.read())
    seed("seed.svg", SVG, SVG_SEED)


if __name__ == "__main__":
    main()
