#pragma once
#include <windows.h>

#include "app/form.h"

// The face-colour marker becomes the system's 3-D face colour as it is now.
inline COLORREF resolveColour(Colour c)
{
    return c == kFaceColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(c);
}

// Fills with a colour through the DC brush: nothing to create, nothing to free.
inline void fillWithColour(HDC dc, const RECT& rect, Colour c)
{
    SetDCBrushColor(dc, resolveColour(c));
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A font made from a stored description, with the quality and charset settings fixed.
inline HFONT createFont(const FontSpec& stored)
{
    LOGFONTW lf{};
    lf.lfHeight = stored.height;
    lf.lfWeight = stored.weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, std::wstring(stored.face).c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}
