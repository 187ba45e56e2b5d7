// A window held in memory: fields, check boxes and two surfaces that check
// every coordinate as the window's surfaces do. Used by the headless runner
// and by tests, which may record the drawing.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/frame.h"
#include "app/port.h"

namespace app {

// Logical sizes of the window's pictures in pixels (twips / 15).
inline constexpr int kPicture1Width = 293, kPicture1Height = 293;
inline constexpr int kPicture2Width = 577, kPicture2Height = 241;

struct DrawOp {
    enum Kind { kScale, kLine, kCircle, kPoint, kCls, kBackground, kNoBackground } kind;
    float a = 0, b = 0, c = 0, d = 0;
    Rgb colour{0, 0, 0};
};

class MemorySurface : public Surface {
public:
    MemorySurface(int width, int height) {
        frame.width = width;
        frame.height = height;
    }

    void Scale(float x1, float y1, float x2, float y2) override;
    void Line(float x1, float y1, float x2, float y2, Rgb c) override;
    void Circle(float x, float y, float radius, Rgb c) override;
    void PSet(float x, float y, Rgb c) override;
    void Cls() override;
    PictureFile SetBackgroundFromFile(const std::string& fileName) override;
    void ClearBackground() override;

    FrameMapper frame;
    bool record = false;       // keep every operation in ops
    std::vector<DrawOp> ops;
    PictureFile background = PictureFile::kLoaded;  // what SetBackgroundFromFile answers

private:
    void CheckPoint(float x, float y) const;
    void Add(DrawOp op) {
        if (record) ops.push_back(op);
    }
};

class MemoryPort : public WindowPort {
public:
    MemoryPort();

    std::string GetText(int textNo) override { return text.at(static_cast<std::size_t>(textNo)); }
    void SetText(int textNo, std::string_view t) override { text.at(static_cast<std::size_t>(textNo)).assign(t); }
    int CheckValue(int checkNo) override { return check.at(static_cast<std::size_t>(checkNo)); }
    Surface& Picture(int pictureNo) override { return pictureNo == 1 ? picture1 : picture2; }
    void MessageBox(std::string_view t) override { messages.emplace_back(t); }
    int ProcessEvents() override { return onEvents ? onEvents() : windows; }
    int OpenWindowCount() override { return windows; }
    void CloseWindows() override { windows = 0; }
    void ShowHelp() override {}
    void Present() override {}
    char DecimalSeparator() override { return separator; }

    std::array<std::string, 61> text;  // Text1..Text60 (index 0 unused)
    std::array<int, 17> check{};       // Check1..Check16
    MemorySurface picture1{kPicture1Width, kPicture1Height};
    MemorySurface picture2{kPicture2Width, kPicture2Height};
    std::vector<std::string> messages;
    char separator = ',';
    int windows = 1;
    // Runs at each event processing of a run; returns the open window count.
    std::function<int()> onEvents;
};

}  // namespace app
