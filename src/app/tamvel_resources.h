#pragma once
// The program's dialog templates (XRC compiled in with wxrc) and the dialogs' font.

#include <wx/font.h>

namespace tamvel {

/// Registers the XRC handlers, the image handlers the templates need and the embedded
/// templates. Safe to call more than once; only the first call does anything.
void LoadTamvelResources();

/// The dialogs' font: "ＭＳ Ｐゴシック" at 9 points where it is installed, else IPAPGothic
/// (its metric-compatible substitute), else the toolkit's face at 9 points.
wxFont DialogFont();

}  // namespace tamvel
