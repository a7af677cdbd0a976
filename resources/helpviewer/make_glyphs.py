#!/usr/bin/env python3
"""Builds the help viewer's button glyphs into its form resource, the same way and from the
same sources as the editor's (resources/glyphs/make_glyphs.py).

Needs: tango-icon-theme and imagemagick. Run from anywhere:
    python3 resources/helpviewer/make_glyphs.py
"""
import importlib.util
import pathlib

HERE = pathlib.Path(__file__).resolve().parent
_spec = importlib.util.spec_from_file_location("editor_glyphs", HERE.parent / "glyphs" / "make_glyphs.py")
glyphs = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(glyphs)

glyphs.FORM = HERE / "forms" / "TfrmHelpMain.form"
glyphs.GLYPHS = [
    ("btBack", "actions/go-previous"),
    ("btForward", "actions/go-next"),
    ("btPrint", "actions/document-print"),
    ("btPreview", "actions/document-print-preview"),
    ("btPageSetup", "actions/document-properties"),
    ("btCopy", "actions/edit-copy"),
    ("btSelectAll", "actions/edit-select-all"),
    ("btExit", "actions/system-log-out"),
    ("btLinkCreate", "actions/document-new"),
    ("btLinkOpen", "actions/document-open"),
    ("btLinkParser", "apps/accessories-text-editor"),
    ("btLinkInsert", "drawn/paragraph"),
    ("btLinkAdvance", "categories/preferences-system"),
    ("btLinkHTMLTut", "mimetypes/text-html"),
    ("btLinkCSSTut", "apps/preferences-desktop-theme"),
]

if __name__ == "__main__":
    glyphs.main()
