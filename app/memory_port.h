// A window held in memory: fields, check boxes and two surfaces that draw
// nothing but refuse every coordinate the window's surfaces refuse. The
// headless runner's window, and the tests'.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/frame.h"
#include "app/port.h"

namespace app {

class MemorySurface : public Surface {
public:
    explicit MemorySurface(app::Picture picture);

    void SetFrame(float x1, float y1, float x2, float y2) override;
    void Line(float x1, float y1, float x2, float y2, Rgb c) override;
    void Circle(float x, float y, float radius, Rgb c) override;
    void Point(float x, float y, Rgb c) override;
    void Clear() override {}
    // Nothing is read: the picture would not show anywhere.
    PictureFile SetBackgroundFromFile(const std::string&) override { return PictureFile::kLoaded; }
    void ClearBackground() override {}

    FrameMapper frame;

private:
    void CheckPoint(float x, float y) const;
};

class MemoryPort : public WindowPort {
public:
    MemoryPort();

    std::string& Text(Field f) { return text_[Slot(f)]; }
    int& Check(Series s) { return series_[Slot(s)]; }
    int& Check(Box b) { return boxes_[Slot(b)]; }

    std::string GetText(Field f) override { return Text(f); }
    void SetText(Field f, std::string_view t) override { Text(f).assign(t); }
    int CheckValue(Series s) override { return Check(s); }
    int CheckValue(Box b) override { return Check(b); }
    Surface& Picture(app::Picture p) override { return p == Picture::ConstructionView ? view : plot; }
    void MessageBox(Message m) override { messages.push_back(m); }
    int OpenWindowCount() override { return windows; }
    void CloseWindows() override { windows = 0; }
    void ShowHelp() override {}  // no help window in memory
    void Present() override {}
    char DecimalSeparator() override { return separator; }

    MemorySurface view{Picture::ConstructionView};
    MemorySurface plot{Picture::Plot};
    std::vector<Message> messages;
    char separator = ',';
    int windows = 1;

private:
    // The fields start empty: only the window shows texts before the first
    // write, and nothing here reads a readout back.
    std::array<std::string, kFieldCount> text_;
    std::array<int, kSeriesCount> series_{};
    std::array<int, kBoxCount> boxes_{};
};

}  // namespace app
