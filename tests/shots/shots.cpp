// Renders windows of the program for the README: shots.exe OUTPUT_FOLDER writes one BMP per
// window. Run by scripts/screenshots.sh under Xvfb with Wine's X11 driver (a real screen).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/commontools.h"
#include "app/frm_hint.h"
#include "app/hint.h"
#include "app/progress.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/strings.h"
#include "platform/window.h"

namespace {

void LetItPaint(DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        platform::ProcessMessages();
        Sleep(20);
    }
}

// A bitmap saved as a 24-bit bottom-up BMP.
bool SaveBitmap(HBITMAP bmp, int w, int h, const std::string& file) {
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof bi;
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    int stride = ((w * 3) + 3) & ~3;
    std::vector<char> bits(static_cast<size_t>(stride) * static_cast<size_t>(h));
    int lines =
        GetDIBits(mem, bmp, 0, static_cast<UINT>(h), bits.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteDC(mem);
    if (lines != h) return false;

    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(bits.size());
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&bi), sizeof bi);
    bytes.append(bits.data(), bits.size());
    return platform::WriteFileBytes(file, bytes);
}

// What the screen shows of the window.
bool Capture(HWND hwnd, const std::string& file) {
    RECT r;
    GetWindowRect(hwnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    platform::UniqueGdiObject bmp(CreateCompatibleBitmap(screen, w, h));
    HGDIOBJ old = SelectObject(mem, bmp.get());
    BOOL copied = BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return copied && SaveBitmap(static_cast<HBITMAP>(bmp.get()), w, h, file);
}

// The shared form's pictures side by side, as the tool windows will show them.
bool ShotPictures(const std::string& file) {
    auto& tools = app::CommonTools();
    const app::Picture* pictures[] = {&tools.imgConfirm, &tools.imgDelete, &tools.imgMoveTo,
                                      &tools.imgRecycle, &tools.imgMag,    &tools.imgHelp16};
    constexpr int kCell = 40;
    int w = kCell * 6, h = kCell;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HDC src = CreateCompatibleDC(screen);
    platform::UniqueGdiObject bmp(CreateCompatibleBitmap(screen, w, h));
    HGDIOBJ old = SelectObject(mem, bmp.get());
    RECT all{0, 0, w, h};
    FillRect(mem, &all, GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; i < 6; ++i) {
        const app::Picture& p = *pictures[i];
        HGDIOBJ oldSrc = SelectObject(src, p.bitmap());
        BitBlt(mem, i * kCell + (kCell - p.width()) / 2, (kCell - p.height()) / 2, p.width(), p.height(), src, 0, 0,
               SRCCOPY);
        SelectObject(src, oldSrc);
    }
    SelectObject(mem, old);
    DeleteDC(src);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return SaveBitmap(static_cast<HBITMAP>(bmp.get()), w, h, file);
}

bool ShotHint(const std::string& file) {
    bool ok = false;
    auto previous = platform::Form::SetModalHook([&](platform::Form& form) {
        LetItPaint(700);
        ok = Capture(form.hwnd(), file);
        if (auto* hint = dynamic_cast<app::TfrmHint*>(&form))
            hint->cmdOK.click();
        else
            form.setModalResult(IDCANCEL);
    });
    app::ShowHint("Cookies",
                  "Special note: When you erase Internet Cookies, Cache, or History files the data is physically "
                  "erased from your system by Vantrel, however to completely clean all traces of this information "
                  "from memory you will need to restart your computer either by rebooting or shutting down to DOS "
                  "mode and restarting Windows.");
    platform::Form::SetModalHook(previous);
    return ok;
}

bool ShotProgress(const std::string& file) {
    app::TfrmProgress frmProgress;
    frmProgress.create();
    frmProgress.placeBottomRight();
    frmProgress.showInactive();
    LetItPaint(700);
    bool ok = Capture(frmProgress.hwnd(), file);
    frmProgress.close();
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: shots OUTPUT_FOLDER\n");
        return 2;
    }
    platform::ComInit com;
    platform::InitCommonControlsOnce();
    std::string out = platform::IncludeTrailingBackslash(platform::Narrow(argv[1]));
    int failed = 0;
    struct Shot {
        const char* name;
        bool (*render)(const std::string&);
    };
    for (const Shot& shot : {Shot{"hint", ShotHint}, Shot{"progress", ShotProgress}, Shot{"pictures", ShotPictures}}) {
        bool ok = shot.render(out + shot.name + ".bmp");
        std::fprintf(stderr, "%s: %s\n", shot.name, ok ? "written" : "FAILED");
        if (!ok) ++failed;
    }
    return failed == 0 ? 0 : 1;
}
