#include "platform/dib.h"

#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/error.h"

namespace platform {

Dib::Dib(int width, int height) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("a picture needs a positive size");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) ThrowLastError("CreateDIBSection");
    m_bitmap.reset(bitmap);
    m_bits = static_cast<uint32_t*>(bits);
    m_width = width;
    m_height = height;
    std::memset(m_bits, 0, static_cast<size_t>(width) * height * 4);
}

Dib::Dib(Dib&& other) noexcept
    : m_bitmap(std::move(other.m_bitmap)), m_bits(std::exchange(other.m_bits, nullptr)),
      m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)) {}

Dib& Dib::operator=(Dib&& other) noexcept {
    if (this != &other) {
        m_bitmap = std::move(other.m_bitmap);
        m_bits = std::exchange(other.m_bits, nullptr);
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
    }
    return *this;
}

HBITMAP Dib::release() noexcept {
    m_bits = nullptr;
    m_width = m_height = 0;
    return static_cast<HBITMAP>(m_bitmap.release());
}

Dib Dib::copy() const {
    Dib out(m_width, m_height);
    std::memcpy(out.m_bits, m_bits, static_cast<size_t>(m_width) * m_height * 4);
    return out;
}

Dib Dib::crop(int x, int y, int width, int height) const {
    Dib out(width, height);
    for (int row = 0; row < height; ++row) {
        int sy = y + row;
        if (sy < 0 || sy >= m_height) continue;
        int from = std::max(0, -x), to = std::min(width, m_width - x);
        if (from >= to) continue;
        std::memcpy(out.m_bits + static_cast<size_t>(row) * width + from,
                    m_bits + static_cast<size_t>(sy) * m_width + x + from, static_cast<size_t>(to - from) * 4);
    }
    return out;
}

Dib DecodeImage(std::span<const unsigned char> bytes) {
    // WIC needs COM on this thread; an apartment that already exists is reused.
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ScopeExit uninit([init] {
        if (SUCCEEDED(init)) CoUninitialize();
    });
    ComPtr<IWICImagingFactory> factory;
    ThrowIfFailed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   factory.putVoid()),
                  "CoCreateInstance(WICImagingFactory)");
    ComPtr<IWICStream> stream;
    ThrowIfFailed(factory->CreateStream(stream.put()), "IWICImagingFactory::CreateStream");
    ThrowIfFailed(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())),
                  "IWICStream::InitializeFromMemory");
    ComPtr<IWICBitmapDecoder> decoder;
    ThrowIfFailed(
        factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()),
        "IWICImagingFactory::CreateDecoderFromStream");
    ComPtr<IWICBitmapFrameDecode> frame;
    ThrowIfFailed(decoder->GetFrame(0, frame.put()), "IWICBitmapDecoder::GetFrame");
    ComPtr<IWICFormatConverter> converter;
    ThrowIfFailed(factory->CreateFormatConverter(converter.put()), "IWICImagingFactory::CreateFormatConverter");
    ThrowIfFailed(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeCustom),
                  "IWICFormatConverter::Initialize");
    UINT width = 0, height = 0;
    ThrowIfFailed(converter->GetSize(&width, &height), "IWICFormatConverter::GetSize");
    Dib out(static_cast<int>(width), static_cast<int>(height));
    ThrowIfFailed(converter->CopyPixels(nullptr, width * 4, width * height * 4, reinterpret_cast<BYTE*>(out.bits())),
                  "IWICFormatConverter::CopyPixels");
    return out;
}

namespace {
struct Tap {
    int index;
    float weight;
};

// For each target index, the source indexes it covers and their share.
std::vector<std::vector<Tap>> Taps(int source, int target) {
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(target));
    double scale = static_cast<double>(source) / target;
    for (int t = 0; t < target; ++t) {
        auto& list = taps[static_cast<size_t>(t)];
        if (scale <= 1.0) {
            // Enlarging: linear interpolation between the two nearest source pixels.
            double centre = (t + 0.5) * scale - 0.5;
            int i0 = static_cast<int>(std::floor(centre));
            float f = static_cast<float>(centre - i0);
            list.push_back({std::clamp(i0, 0, source - 1), 1.0f - f});
            list.push_back({std::clamp(i0 + 1, 0, source - 1), f});
            continue;
        }
        double lo = t * scale, hi = (t + 1) * scale;
        for (int i = static_cast<int>(std::floor(lo)); i < static_cast<int>(std::ceil(hi)) && i < source; ++i) {
            double cover = std::min(hi, i + 1.0) - std::max(lo, static_cast<double>(i));
            if (cover > 0) list.push_back({i, static_cast<float>(cover / scale)});
        }
    }
    return taps;
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(v + 0.5f), 0, 255));
}
} // namespace

Dib Resample(const Dib& source, int width, int height) {
    if (source.width() == width && source.height() == height) return source.copy();
    auto xTaps = Taps(source.width(), width);
    auto yTaps = Taps(source.height(), height);
    // Horizontal pass into floats (premultiplied channels average correctly), then vertical.
    std::vector<float> rows(static_cast<size_t>(source.height()) * width * 4, 0.0f);
    for (int y = 0; y < source.height(); ++y) {
        const uint32_t* line = source.bits() + static_cast<size_t>(y) * source.width();
        float* out = rows.data() + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (const Tap& t : xTaps[static_cast<size_t>(x)]) {
                uint32_t p = line[t.index];
                for (int c = 0; c < 4; ++c)
                    acc[c] += static_cast<float>((p >> (8 * c)) & 0xFF) * t.weight;
            }
            std::copy(acc, acc + 4, out + x * 4);
        }
    }
    Dib result(width, height);
    for (int y = 0; y < height; ++y) {
        uint32_t* line = result.bits() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (const Tap& t : yTaps[static_cast<size_t>(y)]) {
                const float* in = rows.data() + (static_cast<size_t>(t.index) * width + x) * 4;
                for (int c = 0; c < 4; ++c)
                    acc[c] += in[c] * t.weight;
            }
            uint8_t a = ToByte(acc[3]);
            uint32_t p = static_cast<uint32_t>(a) << 24;
            for (int c = 0; c < 3; ++c)
                p |= static_cast<uint32_t>(std::min(ToByte(acc[c]), a)) << (8 * c);
            line[x] = p;
        }
    }
    return result;
}

void DrawOver(Dib& target, const Dib& source, int x, int y, uint8_t opacity) {
    for (int row = 0; row < source.height(); ++row) {
        int ty = y + row;
        if (ty < 0 || ty >= target.height()) continue;
        for (int col = 0; col < source.width(); ++col) {
            int tx = x + col;
            if (tx < 0 || tx >= target.width()) continue;
            uint32_t s = source.pixel(col, row);
            if (opacity != 255) {
                uint32_t scaled = 0;
                for (int c = 0; c < 4; ++c)
                    scaled |= ((((s >> (8 * c)) & 0xFF) * opacity + 127) / 255) << (8 * c);
                s = scaled;
            }
            uint32_t sa = s >> 24;
            if (sa == 0) continue;
            uint32_t d = target.pixel(tx, ty), out = 0;
            for (int c = 0; c < 4; ++c) {
                uint32_t sc = (s >> (8 * c)) & 0xFF, dc = (d >> (8 * c)) & 0xFF;
                out |= std::min<uint32_t>(255, sc + (dc * (255 - sa) + 127) / 255) << (8 * c);
            }
            target.setPixel(tx, ty, out);
        }
    }
}

void FillRect(Dib& target, const RECT& r, uint32_t premultiplied) {
    for (int y = std::max<int>(0, r.top); y < std::min<int>(target.height(), r.bottom); ++y)
        for (int x = std::max<int>(0, r.left); x < std::min<int>(target.width(), r.right); ++x)
            target.setPixel(x, y, premultiplied);
}

namespace {
uint32_t OverColour(uint32_t p, COLORREF under) {
    uint32_t a = p >> 24;
    uint32_t u[3] = {GetBValue(under), GetGValue(under), GetRValue(under)};
    uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c)
        out |= std::min<uint32_t>(255, ((p >> (8 * c)) & 0xFF) + (u[c] * (255 - a) + 127) / 255) << (8 * c);
    return out;
}
} // namespace

void Flatten(Dib& dib, COLORREF under) {
    uint32_t* p = dib.bits();
    for (size_t i = 0, n = static_cast<size_t>(dib.width()) * dib.height(); i < n; ++i)
        if ((p[i] >> 24) != 0xFF) p[i] = OverColour(p[i], under);
}

void CutOutline(Dib& dib, COLORREF key, COLORREF edgeColour) {
    uint32_t keyPixel = Opaque(key);
    uint32_t* p = dib.bits();
    for (size_t i = 0, n = static_cast<size_t>(dib.width()) * dib.height(); i < n; ++i) {
        if ((p[i] >> 24) < 128) {
            p[i] = keyPixel;
            continue;
        }
        uint32_t c = (p[i] >> 24) == 0xFF ? p[i] : OverColour(p[i], edgeColour);
        if (c == keyPixel) c = (c & 0xFF) == 0xFF ? c - 1 : c + 1;
        p[i] = c;
    }
}

UniqueGdiObject RegionWithout(const Dib& dib, COLORREF key) {
    uint32_t keyPixel = Opaque(key);
    std::vector<RECT> rects;
    for (int y = 0; y < dib.height(); ++y) {
        const uint32_t* line = dib.bits() + static_cast<size_t>(y) * dib.width();
        int x = 0;
        while (x < dib.width()) {
            while (x < dib.width() && (line[x] | 0xFF000000u) == keyPixel)
                ++x;
            int start = x;
            while (x < dib.width() && (line[x] | 0xFF000000u) != keyPixel)
                ++x;
            if (x > start) rects.push_back({start, y, x, y + 1});
        }
    }
    std::vector<BYTE> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    data->rdh.rcBound = {0, 0, dib.width(), dib.height()};
    if (!rects.empty()) std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
    HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
    if (!region) ThrowLastError("ExtCreateRegion");
    return UniqueGdiObject(region);
}

DibDC::DibDC(Dib& dib) {
    m_dc = CreateCompatibleDC(nullptr);
    if (!m_dc) ThrowLastError("CreateCompatibleDC");
    m_old = SelectObject(m_dc, dib.bitmap());
}

DibDC::~DibDC() {
    GdiFlush();
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
}

} // namespace platform
