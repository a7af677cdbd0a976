#!/usr/bin/env python3
"""Builds the extended bar items' bitmaps as PNG files beside this script.

- TRUETYPEFONT and NONTRUETYPEFONT: the 12x12 markers the font-name list draws before each
  family, telling outline fonts from the others; drawn here with ImageMagick.
- COLORCOMBO, DATECOMBO, FONTNAMECOMBO, IMAGECOMBO, TREEVIEWCOMBO: the 16x16 glyphs of the
  combo item kinds; from the Tango icon theme (Debian package tango-icon-theme, public
  domain) where it has one, else drawn here.

Needs: tango-icon-theme and imagemagick. Run from anywhere:
    python3 resources/extitems/make_glyphs.py
"""
import pathlib
import subprocess

HERE = pathlib.Path(__file__).resolve().parent
TANGO = pathlib.Path("/usr/share/icons/Tango/16x16")

INK = "#204a87"      # Tango sky blue, dark
LINE = "#555753"     # Tango aluminium, dark
FONT = "DejaVu-Sans-Bold"
SERIF = "DejaVu-Serif"

DRAWN = {
    # Two overlapping outline letters, the second lower and to the right.
    "TRUETYPEFONT": ("12x12", ["-fill", LINE, "-font", FONT, "-pointsize", "9", "-draw", "text 0,8 'T'",
                               "-fill", INK, "-draw", "text 4,11 'T'"]),
    # One small serif letter on its own.
    "NONTRUETYPEFONT": ("12x12", ["-fill", LINE, "-font", SERIF, "-pointsize", "11", "-gravity", "center",
                                  "-annotate", "+0+0", "a"]),
    # Four swatches in a frame.
    "COLORCOMBO": ("16x16", ["+antialias", "-stroke", LINE, "-fill", "white", "-draw", "rectangle 1,1 14,14",
                             "-stroke", "none",
                             "-fill", "#ef2929", "-draw", "rectangle 3,3 7,7",
                             "-fill", "#8ae234", "-draw", "rectangle 8,3 12,7",
                             "-fill", "#729fcf", "-draw", "rectangle 3,8 7,12",
                             "-fill", "#fce94f", "-draw", "rectangle 8,8 12,12"]),
    # A root with two branches.
    "TREEVIEWCOMBO": ("16x16", ["+antialias", "-stroke", LINE, "-fill", "none",
                                "-draw", "line 3,4 3,12", "-draw", "line 3,8 8,8", "-draw", "line 3,12 8,12",
                                "-stroke", INK, "-fill", "#729fcf",
                                "-draw", "rectangle 1,1 5,4", "-draw", "rectangle 8,6 12,10",
                                "-draw", "rectangle 8,11 12,14"]),
}

TANGO_GLYPHS = {
    "DATECOMBO": "apps/office-calendar",
    "FONTNAMECOMBO": "apps/preferences-desktop-font",
    "IMAGECOMBO": "mimetypes/image-x-generic",
}


def main():
    for name, (size, args) in DRAWN.items():
        subprocess.run(["convert", "-size", size, "xc:none", *args, "+repage", "-strip", f"PNG32:{HERE / (name + '.png')}"],
                       check=True)
    for name, source in TANGO_GLYPHS.items():
        subprocess.run(["convert", str(TANGO / f"{source}.png"), "-background", "none", "-gravity", "center",
                        "-extent", "16x16", "+repage", "-strip", f"PNG32:{HERE / (name + '.png')}"], check=True)


if __name__ == "__main__":
    main()
