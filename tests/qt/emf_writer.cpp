// SPDX-License-Identifier: MIT
// Writes an enhanced metafile through libEMF, Windows' GDI calls on Linux, as a Windows
// program draws one: a rectangle in one solid colour.
// Usage: emf_writer OUTPUT.emf RED GREEN BLUE
#include <emf.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    const RECT frame{0, 0, 2381, 1588};  // 90 x 60 pixels at 96 dots an inch, in 0.01 mm
    HDC dc = CreateEnhMetaFileA(0, argv[1], &frame, nullptr);
    if (!dc)
        return 1;
    SelectObject(dc,
                 CreateSolidBrush(RGB(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]))));
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 0, 0, 91, 61);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    return 0;
}
