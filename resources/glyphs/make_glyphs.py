#!/usr/bin/env python3
"""Builds the editor's button glyphs into its form resource.

Each command button gets a 16x16 glyph: most come from the Tango icon theme (Debian package
tango-icon-theme, public domain), the rest are drawn here with ImageMagick. The glyphs go,
side by side as one PNG strip, into the image list of resources/forms/TfrmMain.form
(its "Bitmap" value), and every button listed below gets its ImageIndex there.

Needs: tango-icon-theme and imagemagick. Run from anywhere:
    python3 resources/glyphs/make_glyphs.py
"""
import pathlib
import re
import subprocess
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
FORM = HERE.parent / "forms" / "TfrmMain.form"
TANGO = pathlib.Path("/usr/share/icons/Tango/16x16")

INK = "#204a87"      # Tango sky blue, dark
LINE = "#555753"     # Tango aluminium, dark
MARK = "#729fcf"     # Tango sky blue, light
TEXT_FONT = "DejaVu-Sans-Bold"


def text(glyph, size=15, colour=INK):
    return ["-fill", colour, "-font", TEXT_FONT, "-pointsize", str(size), "-gravity", "center",
            "-annotate", "+0+0", glyph]


def table(highlight):
    cells = {"column": "rectangle 6,3 9,12", "row": "rectangle 2,7 13,9", "none": None}[highlight]
    args = ["+antialias", "-stroke", LINE, "-fill", "white", "-draw", "rectangle 1,2 14,13"]
    if cells:
        args += ["-stroke", "none", "-fill", MARK, "-draw", cells]
    args += ["-stroke", LINE, "-fill", "none", "-draw", "line 1,6 14,6", "-draw", "line 1,10 14,10",
             "-draw", "line 5,2 5,13", "-draw", "line 10,2 10,13"]
    return args


DRAWN = {
    "linebreak": text("\u21b5"),
    "paragraph": text("\u00b6"),
    "tablecolumn": table("column"),
    "tablerow": table("row"),
    "link": ["-fill", "none", "-stroke", INK, "-strokewidth", "2",
             "-draw", "roundrectangle 1,5 9,11 3,3", "-draw", "roundrectangle 6,4 14,10 3,3"],
    "anchor": text("#", 14),
    "comment": ["-fill", "#fce94f", "-stroke", "#c4a000", "-draw", "roundrectangle 1,2 14,11 3,3",
                "-draw", "polygon 4,11 4,14 8,11"] + text("!", 9, "#5c3566"),
    "hrule": ["+antialias", "-fill", LINE, "-draw", "rectangle 1,7 14,8",
              "-fill", "#babdb6", "-draw", "rectangle 3,3 12,3", "-draw", "rectangle 3,12 12,12"],
}

# Button, glyph: a Tango file (folder/name) or one of the drawn glyphs above.
GLYPHS = [
    ("btNew", "actions/document-new"),
    ("btOpen", "actions/document-open"),
    ("btSave", "actions/document-save"),
    ("btSaveAs", "actions/document-save-as"),
    ("btView", "mimetypes/text-html"),
    ("btDynamic", "actions/media-playback-start"),
    ("btBack", "actions/go-previous"),
    ("btForward", "actions/go-next"),
    ("btStop", "actions/process-stop"),
    ("btRefresh", "actions/view-refresh"),
    ("btPrint", "actions/document-print"),
    ("btPreview", "actions/document-print-preview"),
    ("btPageSetup", "actions/document-properties"),
    ("btUndo", "actions/edit-undo"),
    ("btRedo", "actions/edit-redo"),
    ("btCut", "actions/edit-cut"),
    ("btCopy", "actions/edit-copy"),
    ("btPaste", "actions/edit-paste"),
    ("btClear", "actions/edit-clear"),
    ("btSelectAll", "actions/edit-select-all"),
    ("btFind", "actions/edit-find"),
    ("btFindNext", "actions/system-search"),
    ("btBold", "actions/format-text-bold"),
    ("btItalic", "actions/format-text-italic"),
    ("btUnderline", "actions/format-text-underline"),
    ("btIndent", "actions/format-indent-more"),
    ("btCenter", "actions/format-justify-center"),
    ("btLeft", "actions/format-justify-left"),
    ("btRight", "actions/format-justify-right"),
    ("btJustify", "actions/format-justify-fill"),
    ("btImage", "mimetypes/image-x-generic"),
    ("btTableTemp", "drawn/table"),
    ("btEmailLink", "actions/mail-message-new"),
    ("btHelp", "apps/help-browser"),
    ("btAbout", "status/dialog-information"),
    ("btBrowserInfo", "apps/internet-web-browser"),
    ("btParse", "apps/accessories-text-editor"),
    ("btExit", "actions/system-log-out"),
    ("btLineBreak", "drawn/linebreak"),
    ("btParagraph", "drawn/paragraph"),
    ("btTableColumn", "drawn/tablecolumn"),
    ("btTableRow", "drawn/tablerow"),
    ("btLink", "drawn/link"),
    ("btAnchor", "drawn/anchor"),
    ("btMiscComment", "drawn/comment"),
    ("btHorRule", "drawn/hrule"),
]
DRAWN["table"] = table("none")


def make_glyph(source, out):
    folder, name = source.split("/")
    if folder == "drawn":
        subprocess.run(["convert", "-size", "16x16", "xc:none", *DRAWN[name], f"PNG32:{out}"], check=True)
    else:
        subprocess.run(["convert", str(TANGO / folder / f"{name}.png"), "-background", "none",
                        "-gravity", "center", "-extent", "16x16", f"PNG32:{out}"], check=True)


def build_strip(workdir):
    files = []
    for index, (_, source) in enumerate(GLYPHS):
        out = workdir / f"{index:02d}.png"
        make_glyph(source, out)
        files.append(str(out))
    strip = workdir / "strip.png"
    subprocess.run(["convert", "-background", "none", *files, "+append", "-strip", f"PNG32:{strip}"], check=True)
    return strip.read_bytes()


def patch_form(strip):
    form = FORM.read_text(encoding="utf-8")
    hexdata = strip.hex().upper()
    lines = "\n".join("      " + hexdata[i:i + 64] for i in range(0, len(hexdata), 64))
    block = f"  object ImageList: TImageList\n    Bitmap = {{\n{lines}}}\n  end\n"
    form, count = re.subn(r"  object ImageList: TImageList\n(?:    .*\n|      .*\n)*  end\n", block, form, count=1)
    if count != 1:
        raise SystemExit("no image list in the form")
    for index, (button, _) in enumerate(GLYPHS):
        pattern = rf"(    object {button}: TdxBarButton\n)(.*?)(\n    end\n)"
        match = re.search(pattern, form, flags=re.S)
        if not match:
            raise SystemExit(f"no button {button} in the form")
        body = [line for line in match.group(2).split("\n") if not line.startswith("      ImageIndex = ")]
        at = next((i + 1 for i, line in enumerate(body) if line.startswith("      Category = ")), 0)
        body.insert(at, f"      ImageIndex = {index}")
        form = form[:match.start(2)] + "\n".join(body) + form[match.end(2):]
    FORM.write_text(form, encoding="utf-8")


def main():
    with tempfile.TemporaryDirectory() as tmp:
        patch_form(build_strip(pathlib.Path(tmp)))


if __name__ == "__main__":
    main()
