// TQuorvelImage: the enter and exit events, pointer and button events, and falling through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/quorvel_image.h"

using platform::TQuorvelImage;

namespace {

class TwoImages : public platform::Form {
public:
    TwoImages() : Form("TwoImages") {}
    TQuorvelImage imgA, imgB;
    std::vector<std::string> events;

protected:
    void buildWindow(HWND owner) override {
        platform::FormSpec spec;
        spec.clientWidth = 200;
        spec.clientHeight = 100;
        createWindow(spec, owner);
        add(imgA, "imgA", TQuorvelImage::ClassName(), "", WS_CLIPSIBLINGS, {0, 0, 100, 100});
        add(imgB, "imgB", TQuorvelImage::ClassName(), "", WS_CLIPSIBLINGS, {100, 0, 100, 100});
        for (auto* image : {&imgA, &imgB}) {
            std::string n = image == &imgA ? "A" : "B";
            image->OnMouseEnter = [this, n] { events.push_back("enter " + n); };
            image->OnMouseExit = [this, n] { events.push_back("exit " + n); };
            image->OnMouseMove = [this, n](int x, int y) {
                events.push_back("move " + n + " " + std::to_string(x) + "," + std::to_string(y));
            };
            image->OnMouseDown = [this, n](int x, int y) {
                events.push_back("down " + n + " " + std::to_string(x) + "," + std::to_string(y));
            };
            image->OnMouseUp = [this, n](int x, int y) {
                events.push_back("up " + n + " " + std::to_string(x) + "," + std::to_string(y));
            };
        }
    }
};

void Send(const platform::Control& c, UINT msg, int x, int y) {
    SendMessageW(c.hwnd(), msg, 0, MAKELPARAM(x, y));
}

TEST(QuorvelImage, EnterOnceThenMovesAndExitBeforeTheNextEnter) {
    TwoImages form;
    form.create();
    Send(form.imgA, WM_MOUSEMOVE, 5, 6);
    Send(form.imgA, WM_MOUSEMOVE, 7, 8);
    EXPECT_TRUE(form.imgA.pointerInside());
    Send(form.imgB, WM_MOUSEMOVE, 1, 2);
    EXPECT_FALSE(form.imgA.pointerInside());
    EXPECT_TRUE(form.imgB.pointerInside());
    EXPECT_EQ(form.events,
              (std::vector<std::string>{"enter A", "move A 5,6", "move A 7,8", "exit A", "enter B", "move B 1,2"}));
}

TEST(QuorvelImage, LeavingRaisesExitOnce) {
    TwoImages form;
    form.create();
    Send(form.imgB, WM_MOUSEMOVE, 3, 3);
    SendMessageW(form.imgB.hwnd(), WM_MOUSELEAVE, 0, 0);
    SendMessageW(form.imgB.hwnd(), WM_MOUSELEAVE, 0, 0);
    Send(form.imgB, WM_MOUSEMOVE, 4, 4);
    EXPECT_EQ(form.events, (std::vector<std::string>{"enter B", "move B 3,3", "exit B", "enter B", "move B 4,4"}));
}

TEST(QuorvelImage, ButtonEventsCarryTheirPoint) {
    TwoImages form;
    form.create();
    Send(form.imgA, WM_LBUTTONDOWN, 10, 20);
    EXPECT_EQ(GetCapture(), form.imgA.hwnd()) << "a press keeps the mouse until its release";
    Send(form.imgA, WM_LBUTTONUP, 150, 20);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(form.events, (std::vector<std::string>{"down A 10,20", "up A 150,20"}));
}

TEST(QuorvelImage, HitTransparentLetsThePointerThrough) {
    TwoImages form;
    form.create();
    RECT r;
    GetWindowRect(form.imgA.hwnd(), &r);
    LPARAM inside = MAKELPARAM(r.left + 5, r.top + 5);
    EXPECT_EQ(SendMessageW(form.imgA.hwnd(), WM_NCHITTEST, 0, inside), HTCLIENT);
    form.imgA.setHitTransparent(true);
    EXPECT_EQ(SendMessageW(form.imgA.hwnd(), WM_NCHITTEST, 0, inside), HTTRANSPARENT);
}

TEST(QuorvelImage, PaintsItsPicture) {
    TwoImages form;
    form.create();
    platform::Dib picture(100, 100);
    platform::FillRect(picture, {0, 0, 100, 100}, 0xFF3366CC);
    form.imgA.setPicture(std::move(picture));
    EXPECT_EQ(form.imgA.picture().pixel(50, 50), 0xFF3366CCu);
    // WM_PRINTCLIENT draws into our own DC, which works without a display.
    platform::Dib target(100, 100);
    {
        platform::DibDC dc(target);
        SendMessageW(form.imgA.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    }
    EXPECT_EQ(target.pixel(50, 50) & 0xFFFFFF, 0x3366CCu);
}

} // namespace
