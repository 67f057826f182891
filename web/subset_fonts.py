#!/usr/bin/env python3
"""Writes the page's fonts: Latin subsets of the Liberation faces the desktop
uses, as WOFF2. A subset is a modified font, and the Liberation licence keeps
that name for the original, so each is renamed, and the licence goes with them.
Usage: subset_fonts.py LIBERATION_DIR COPYRIGHT_FILE OUT_DIR"""
import pathlib
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FACES = {  # ours: (Liberation's file, family, style)
    "tavola-sans": ("LiberationSans-Regular.ttf", "Tavola Sans", "Regular"),
    "tavola-sans-bold": ("LiberationSans-Bold.ttf", "Tavola Sans", "Bold"),
    "tavola-sans-bold-italic": ("LiberationSans-BoldItalic.ttf", "Tavola Sans", "Bold Italic"),
    "tavola-serif-bold": ("LiberationSerif-Bold.ttf", "Tavola Serif", "Bold"),
}
# Latin-1 and the typographic punctuation of Italian texts.
UNICODES = list(range(0x20, 0x7F)) + list(range(0xA0, 0x100)) + [0x2013, 0x2014, 0x2018, 0x2019, 0x201C, 0x201D, 0x2026, 0x2212]


def main(source, copyright_file, out):
    out = pathlib.Path(out)
    out.mkdir(parents=True, exist_ok=True)
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = False
    options.layout_features = ["kern", "liga"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14]
    for name, (file, family, style) in FACES.items():
        font = TTFont(pathlib.Path(source) / file)
        subsetter = subset.Subsetter(options)
        subsetter.populate(unicodes=UNICODES)
        subsetter.subset(font)
        names = font["name"]
        full = f"{family} {style}" if style != "Regular" else family
        for record_id, value in {1: family, 3: f"{full}; subset of Liberation 2",
                                 4: full, 6: full.replace(" ", "-"), 16: family, 17: style}.items():
            names.removeNames(nameID=record_id)
            names.setName(value, record_id, 3, 1, 0x409)
        font.flavor = "woff2"
        font.save(out / f"{name}.woff2")
    # The licence, from Debian's copyright file of the fonts (its first part).
    text = pathlib.Path(copyright_file).read_text(encoding="utf-8")
    licence = text.split("\nFiles: debian/*")[0]
    (out / "LICENSE.txt").write_text(
        "The fonts in this folder are subsets of the Liberation 2 fonts, renamed\n"
        "Tavola Sans and Tavola Serif as the licence asks of modified versions.\n\n" + licence, encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
