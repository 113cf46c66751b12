#pragma once

// The windows are laid out, pixel by pixel, for "MS Sans Serif", which a
// Linux desktop does not have. Left to itself, fontconfig puts a far wider
// face in its place and the header's texts run into each other. The faces
// registered here keep the widths the layout was made for: Liberation Sans
// and its kin share Arial's metrics, close to the original's.
//
// Called once, before the first window is built, by the program and by the
// tests (so both lay out with the same faces).
void RegistrarFontesSistema();
