// The qt-notes example in a real window: started under Xvfb, it saves a
// screenshot of itself and says where its widgets are; the picture must show
// the first note's text in the memo and its picture, centred, in the image.
// The screenshot stays in the build directory (qt-notes.png).
#include "support/ExternalTool.h"
#include "support/TestFiles.h"

#include <QColor>
#include <QImage>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace zorp::test {
namespace {

struct TPlace {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

// Runs Command and returns its standard output.
std::string Output(const std::string& Command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(Command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    size_t n = 0;
    while (pipe && (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        out.append(buffer, n);
    return out;
}

TEST(QtNotesExample, ScreenshotUnderXvfbShowsTheNoteTextAndItsPicture) {
    ZORP_REQUIRE_TOOL("xvfb-run");
    TempDir dir;
    const std::string shot = QT_NOTES_SCREENSHOT;
    std::remove(shot.c_str());
    // Leak checking is off for this process: Qt's X11 plugins keep their caches to the end.
    const std::string out =
        Output("ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 "
               "1024x768x24' '" QT_NOTES_EXE "' '" +
               (dir / "notes.db") + "' --screenshot '" + shot + "' 2>&1");
    std::map<std::string, TPlace> places;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name;
        TPlace place;
        if (fields >> name >> place.X >> place.Y >> place.Width >> place.Height)
            places[name] = place;
    }
    ASSERT_TRUE(places.count("memo") && places.count("image")) << out;

    QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull()) << out;
    image = image.convertToFormat(QImage::Format_RGB32);

    // The memo shows text: dark pixels where the glyphs are.
    const TPlace& memo = places["memo"];
    int ink = 0;
    for (int y = memo.Y; y < memo.Y + memo.Height; ++y)
        for (int x = memo.X; x < memo.X + memo.Width; ++x)
            ink += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(ink, 300) << "the memo shows no text";

    // The first note's picture, 96 x 64, red and blue in a black frame, centred.
    const TPlace& box = places["image"];
    const int left = box.X + (box.Width - 96) / 2;
    const int top = box.Y + (box.Height - 64) / 2;
    EXPECT_EQ(QColor(image.pixel(left, top)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(image.pixel(left + 95, top + 63)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(image.pixel(left + 20, top + 32)), QColor(220, 30, 30));
    EXPECT_EQ(QColor(image.pixel(left + 70, top + 32)), QColor(30, 60, 220));
}

} // namespace
} // namespace zorp::test
