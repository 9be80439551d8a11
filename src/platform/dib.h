#pragma once
// 32-bit pictures in memory (premultiplied BGRA in top-down DIB sections) and what skinned windows
// do with them: decode the artwork, resample it to the screen's DPI, compose it, and cut a window's
// outline from a key colour.
#include <windows.h>

#include <cstdint>
#include <span>

#include "platform/handles.h"

namespace platform {

// Pixels are 0xAARRGGBB with the colour premultiplied by alpha (what AlphaBlend expects).
class Dib {
public:
    Dib() = default;
    Dib(int width, int height); // fully transparent
    Dib(Dib&& other) noexcept;
    Dib& operator=(Dib&& other) noexcept;
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    int width() const noexcept { return m_width; }
    int height() const noexcept { return m_height; }
    bool empty() const noexcept { return m_bits == nullptr; }
    HBITMAP bitmap() const noexcept { return static_cast<HBITMAP>(m_bitmap.get()); }
    uint32_t* bits() noexcept { return m_bits; }
    const uint32_t* bits() const noexcept { return m_bits; }
    uint32_t pixel(int x, int y) const { return m_bits[static_cast<size_t>(y) * m_width + x]; }
    void setPixel(int x, int y, uint32_t value) { m_bits[static_cast<size_t>(y) * m_width + x] = value; }
    // Hands the bitmap to a new owner (for example the shared pictures form); the Dib becomes empty.
    HBITMAP release() noexcept;

    Dib copy() const;
    // The part of the picture at (x, y); parts outside it stay transparent.
    Dib crop(int x, int y, int width, int height) const;

private:
    UniqueGdiObject m_bitmap;
    uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};

inline constexpr uint32_t Opaque(COLORREF c) {
    return 0xFF000000u | (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}

// Decodes a PNG (or any format the Windows Imaging Component reads). Throws when it cannot.
Dib DecodeImage(std::span<const unsigned char> bytes);
// Area-averaging resample: every target pixel is the mean of the source area it covers, which keeps
// thin lines and edges smooth when the double-size artwork is brought down to the screen's size.
Dib Resample(const Dib& source, int width, int height);
// Composes source over target with its top-left corner at (x, y), scaled by opacity (0-255).
void DrawOver(Dib& target, const Dib& source, int x, int y, uint8_t opacity = 255);
// Fills a rectangle with a colour (alpha included, premultiplied).
void FillRect(Dib& target, const RECT& r, uint32_t premultiplied);
// Makes every pixel opaque: partly transparent pixels are composed over the given colour.
void Flatten(Dib& dib, COLORREF under);
// Makes the picture a window outline: pixels less than half covered become exactly the key colour,
// the others are composed over edgeColour and made opaque; an opaque pixel that happens to be the
// key colour is nudged by one step of blue so that it does not punch a hole into the window.
void CutOutline(Dib& dib, COLORREF key, COLORREF edgeColour);
// The region of all pixels that are not the key colour, in pixels of the picture.
UniqueGdiObject RegionWithout(const Dib& dib, COLORREF key);

// A memory DC with the picture selected, for GDI drawing (text) onto it.
class DibDC {
public:
    explicit DibDC(Dib& dib);
    ~DibDC();
    DibDC(const DibDC&) = delete;
    DibDC& operator=(const DibDC&) = delete;
    HDC get() const noexcept { return m_dc; }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

} // namespace platform
