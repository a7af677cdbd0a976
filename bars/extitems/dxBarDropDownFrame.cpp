#include "dxBarDropDownFrame.h"

#include "Painting.h"
#include "Window.h"
#include "dxBarCustomControl.h"
#include "dxBarEditControls.h"
#include "dxBarItem.h"
#include "dxBarItemLink.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

void DrawSizeGrip(QPainter& p, const TRect& r, TdxCorner corner)
{
    const TRect box = dxSizeGripBox(r, corner, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
    if (box.IsEmpty()) return;
    FillRect(p, box, SysBrush(COLOR_BTNFACE));
    const TRect face = dxSizeGripFace(box, corner);
    if (face.IsEmpty()) return;
    // The ridges run into the bottom-right corner: drawn aside, then turned to face the grip's
    // corner.
    QImage grip(face.Width(), face.Height(), QImage::Format_RGB32);
    {
        QPainter q(&grip);
        DrawFrameControl(q, {0, 0, face.Width(), face.Height()}, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
    p.drawImage(face.Left, face.Top, grip.mirrored(!dxIsRightCorner(corner), dxIsTopCorner(corner)));
}

void DrawDropDownCloseButton(QPainter& p, const TRect& r, bool framed, TdxCorner corner, bool flat, bool pressed)
{
    const int size = GetSystemMetrics(SM_CXSIZE);
    const TRect button = dxCloseButtonBounds(r, corner, size);
    if (button.IsEmpty()) return;
    if (framed && !flat)
        DrawEdge(p, button, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    else
        FrameRect(p, button, SysBrush(COLOR_BTNFACE));
    const TRect inner = button.Inflated(-1, -1);
    FrameRect(p, inner, SysBrush(COLOR_BTNFACE));
    p.save();
    p.setClipRect(inner.Inflated(-1, -1).ToQRect(), Qt::IntersectClip);
    unsigned state = DFCS_CAPTIONCLOSE | DFCS_FLAT;
    if (pressed && !flat) state |= DFCS_PUSHED;
    DrawFrameControl(p, dxCloseGlyphRect(button, size), DFC_CAPTION, state);
    p.restore();
}

void CalcDropDownNCSize(const TWindow& window, TRect& rect, TdxCorner& corner, bool showStrip, TdxBarItem* item)
{
    corner = dxcBottomRight;
    TdxBarItemLink* link = showStrip && item ? item->FindLiveLink() : nullptr;
    auto* control = link ? dynamic_cast<TdxBarWinControl*>(link->Control()) : nullptr;
    if (TCustomdxBarControl* bar = control ? control->Parent() : nullptr) {
        const TPoint origin = bar->ClientToScreen({0, 0});
        corner = GetCornerForRects(control->EditRect, window.WindowRect().Offset(-origin.x(), -origin.y()));
    }
    const TdxDropDownFrameLayout frame(rect.Width(), rect.Height(), corner, showStrip);
    rect = frame.Client().Offset(rect.TopLeft());
}

void PaintDropDownNC(QPainter& p, const TdxDropDownFrameLayout& frame, bool flat, bool hot, bool pressed,
                     TRect& closeRect, TRect& gripRect)
{
    const QBrush border = SysBrush(flat ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME);
    FrameRect(p, frame.Window(), border);
    closeRect = {};
    gripRect = {};
    const TRect face = frame.StripFace();
    if (face.IsEmpty()) return;
    FillRect(p, frame.StripLine(), border);
    DrawSizeGrip(p, face, frame.Corner);
    gripRect = frame.GripBox();
    DrawDropDownCloseButton(p, face.Inflated(2, 2).Intersected(frame.Window()), hot || pressed, frame.Corner, flat,
                            hot && pressed);
    closeRect = frame.CloseButton();
    const QRegion rest = QRegion(face.ToQRect()) - QRegion(gripRect.ToQRect()) - QRegion(closeRect.ToQRect());
    for (const QRect& r : rest) p.fillRect(r, SysBrush(COLOR_BTNFACE));
}
