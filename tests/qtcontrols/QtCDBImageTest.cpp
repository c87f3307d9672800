// The compressed image widget driven with Qt's keys, clicks, focus and
// clipboard over a real SQLite table, and what it paints.
#include "qtcontrols/QtCDBImage.h"
#include "QtForm.h"
#include "dbcontrols/CompressedFields.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Clipboard.h"
#include "qtcontrols/ImageConversion.h"

#include <QClipboard>
#include <functional>
#include <memory>

namespace zorp::test {
namespace {

using namespace zorp::fw;
using qt::FromQImage;
using qt::ToQImage;

// A 24-bit bitmap whose pixel (x, y) is Color(x, y).
std::unique_ptr<TBitmap> Painted(int32_t W, int32_t H,
                                 const std::function<TColor(int32_t, int32_t)>& Color) {
    auto made = std::make_unique<TBitmap>();
    TBitmap& b = *made;
    b.SetPixelFormat(pf24bit);
    b.SetSize(W, H);
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x)
            b.SetPixel(x, y, Color(x, y));
    return made;
}

std::unique_ptr<TBitmap> Solid(int32_t W, int32_t H, TColor Color) {
    return Painted(W, H, [Color](int32_t, int32_t) { return Color; });
}

QRgb ToRgb(TColor C) {
    return qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
}

// What the headless layer stores for B in a graphic column, before compression.
std::string GraphicValue(const TBitmap& B) {
    TMemoryStream bmp;
    B.SaveToStream(bmp);
    const std::string bytes = bmp.DataString();
    const auto header = GraphicHeader(static_cast<int32_t>(bytes.size()));
    return std::string(header.begin(), header.end()) + bytes;
}

TEST(ImageConversion, RoundTripKeepsEveryPixel) {
    for (const auto& [w, h] : {std::pair{1, 1}, {2, 3}, {3, 2}, {5, 7}, {8, 4}, {13, 1}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        const auto source = Painted(w, h, [](int32_t x, int32_t y) {
            return RGB(static_cast<uint8_t>(x * 37 + 1), static_cast<uint8_t>(y * 53 + 2),
                       static_cast<uint8_t>(x * y * 11 + 3));
        });
        const QImage image = ToQImage(*source);
        ASSERT_EQ(image.size(), QSize(w, h));
        TBitmap back;
        FromQImage(image, back);
        ASSERT_EQ(back.PixelFormat(), pf24bit);
        ASSERT_EQ(back.Width(), w);
        ASSERT_EQ(back.Height(), h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                EXPECT_EQ(image.pixel(x, y), ToRgb(source->Pixel(x, y)));
                EXPECT_EQ(back.Pixel(x, y), source->Pixel(x, y));
            }
    }
    EXPECT_TRUE(ToQImage(TBitmap()).isNull());
}

TEST(ImageConversion, IndexedPicturesTakeTheirTableColours) {
    TBitmap mono; // 1 bit: a chequer of two table colours
    mono.SetPixelFormat(pf1bit);
    mono.SetSize(9, 3);
    mono.SetPalette({ColorToRGBQuad(RGB(200, 10, 20)), ColorToRGBQuad(RGB(5, 100, 250))});
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 9; ++x)
            mono.SetPixelIndex(x, y, static_cast<uint8_t>((x + y) % 2));
    QImage image = ToQImage(mono);
    EXPECT_EQ(image.pixel(0, 0), qRgb(200, 10, 20));
    EXPECT_EQ(image.pixel(8, 1), qRgb(5, 100, 250));

    TBitmap indexed; // 8 bits over the default colour cube
    indexed.SetPixelFormat(pf8bit);
    indexed.SetSize(5, 2);
    for (uint8_t i = 0; i < 10; ++i)
        indexed.SetPixelIndex(i % 5, i / 5, static_cast<uint8_t>(i * 25));
    image = ToQImage(indexed);
    for (uint8_t i = 0; i < 10; ++i)
        EXPECT_EQ(image.pixel(i % 5, i / 5), ToRgb(RGBQuadToColor(indexed.Palette()[i * 25])));

    QImage qtIndexed(3, 1, QImage::Format_Indexed8); // and an indexed Qt image the other way
    qtIndexed.setColorTable({qRgb(1, 2, 3), qRgb(250, 128, 7)});
    qtIndexed.setPixel(0, 0, 1);
    qtIndexed.setPixel(1, 0, 0);
    qtIndexed.setPixel(2, 0, 1);
    TBitmap fromQt;
    FromQImage(qtIndexed, fromQt);
    EXPECT_EQ(fromQt.PixelFormat(), pf24bit);
    EXPECT_EQ(fromQt.Pixel(0, 0), RGB(250, 128, 7));
    EXPECT_EQ(fromQt.Pixel(1, 0), RGB(1, 2, 3));
}

class QtImage : public QtForm<qt::TQtCDBImage> {
protected:
    void SetUp() override {
        Build("CREATE TABLE notes (id INTEGER, image BLOB)",
              "INSERT INTO notes (id) VALUES (1), (2)", "image", coLZH5);
        Widget->setFixedSize(105, 105);
        Focus(Other); // the window gave the widget the focus: no frame to start with
        Table->Open();
    }
    TCDBImage& Image() { return Widget->Control(); }
    // Stores B as the current record's picture through the compressed field.
    void Store(TBitmap& B) {
        Table->Edit();
        Image().CompressedField()->Assign(B);
        Table->Post();
    }
    QRgb Shown(int X, int Y) { return Widget->grab().toImage().pixel(X, Y); }
    TColor PictureAt(int32_t X, int32_t Y) {
        auto* shown = dynamic_cast<TBitmap*>(Image().Picture().Graphic());
        return shown != nullptr && !shown->Empty() ? shown->Pixel(X, Y) : clNone;
    }
    void Press(Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QTest::keyClick(Widget, Key, Modifiers);
    }
};

TEST_F(QtImage, PastingTheQtClipboardImageEditsAndPostStoresItAsTheHeadlessLayerDoes) {
    ASSERT_NE(Image().CompressedField(), nullptr);
    Focus(Widget);
    QApplication::clipboard()->setText("no picture"); // a headless bitmap is not pasted
    Clipboard().Assign(*Solid(3, 3, clBlue));
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Table->State(), dsBrowse);

    const auto pasted = Painted(7, 5, [](int32_t x, int32_t y) {
        return RGB(static_cast<uint8_t>(x * 30), static_cast<uint8_t>(y * 40), 99);
    });
    QApplication::clipboard()->setImage(ToQImage(*pasted));
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(PictureAt(6, 4), pasted->Pixel(6, 4));
    Table->Post();
    const std::string stored = Stored();
    EXPECT_EQ(stored.substr(0, 8), std::string("WELM\x1ALH5", 8));
    EXPECT_EQ(Zorp->ExpandString(stored), GraphicValue(*pasted));

    QApplication::clipboard()->setImage(ToQImage(*Solid(2, 2, clRed)));
    Press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(PictureAt(1, 1), clRed);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(QtImage, CopyingAndCuttingPutThePictureOnTheQtClipboard) {
    const auto picture = Painted(6, 3, [](int32_t x, int32_t y) {
        return RGB(static_cast<uint8_t>(x * 40), 7, static_cast<uint8_t>(y * 90));
    });
    Store(*picture);
    Focus(Widget);
    QApplication::clipboard()->clear();
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Table->State(), dsBrowse);
    const auto sameAsPicture = [&](const QImage& image) {
        ASSERT_EQ(image.size(), QSize(6, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(image.pixel(x, y), ToRgb(picture->Pixel(x, y)));
    };
    sameAsPicture(QApplication::clipboard()->image());
    QApplication::clipboard()->clear();
    Widget->CopyToClipboard(); // as an Edit menu would
    sameAsPicture(QApplication::clipboard()->image());

    QApplication::clipboard()->clear();
    Press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Table->State(), dsEdit);
    EXPECT_EQ(Image().Picture().Graphic(), nullptr);
    sameAsPicture(QApplication::clipboard()->image());
}

TEST_F(QtImage, AReadOnlyLinkRefusesPastingAndCutting) {
    Store(*Solid(4, 4, clGreen));
    Image().SetReadOnly(true);
    Focus(Widget);
    QApplication::clipboard()->setImage(ToQImage(*Solid(4, 4, clRed)));
    Press(Qt::Key_V, Qt::ControlModifier);
    Press(Qt::Key_X, Qt::ControlModifier);
    Widget->PasteFromClipboard();
    Widget->CutToClipboard();
    EXPECT_EQ(Table->State(), dsBrowse);
    EXPECT_EQ(PictureAt(0, 0), clGreen);
    EXPECT_EQ(QApplication::clipboard()->image().pixel(0, 0), ToRgb(clRed)); // not cut
    Press(Qt::Key_C, Qt::ControlModifier); // copying is still allowed
    EXPECT_EQ(QApplication::clipboard()->image().pixel(0, 0), ToRgb(clGreen));
}

TEST_F(QtImage, AutoDisplayOffShowsNoPictureUntilEnterOrADoubleClick) {
    Store(*Solid(30, 30, clRed));
    Table->Next();
    Store(*Solid(30, 30, clBlue));
    Image().SetAutoDisplay(false);
    Table->First();
    const auto count = [this](QRgb Colour) {
        const QImage shot = Widget->grab().toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.pixel(x, y) == Colour ? 1 : 0;
        return n;
    };
    EXPECT_FALSE(Image().PictureLoaded());
    EXPECT_EQ(count(ToRgb(clRed)), 0); // the label shows
    Focus(Widget);
    Press(Qt::Key_Return);
    EXPECT_EQ(count(ToRgb(clRed)), 30 * 30);
    Table->Next();
    EXPECT_EQ(count(ToRgb(clBlue)), 0);
    QTest::mouseDClick(Widget, Qt::LeftButton);
    EXPECT_EQ(count(ToRgb(clBlue)), 30 * 30);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(QtImage, PicturesAreDrawnWhereTheHeadlessControlPutsThem) {
    ASSERT_EQ(Image().Width(), 105); // the control's bounds follow the widget
    Image().SetColor(clYellow);
    Store(*Painted(6, 4, [](int32_t x, int32_t y) {
        return x == 0 && y == 0 ? clRed : x == 5 && y == 3 ? clBlue : clLime;
    }));
    // Centred: (105 - 6) / 2 = 49, (105 - 4) / 2 = 50.
    EXPECT_EQ(Shown(49, 50), ToRgb(clRed));
    EXPECT_EQ(Shown(54, 53), ToRgb(clBlue));
    EXPECT_EQ(Shown(48, 50), ToRgb(clYellow));
    EXPECT_EQ(Shown(55, 53), ToRgb(clYellow));
    Image().SetCenter(false);
    EXPECT_EQ(Shown(0, 0), ToRgb(clRed));
    EXPECT_EQ(Shown(6, 4), ToRgb(clYellow));
    Image().SetStretch(true); // the corners of the picture at the corners of the widget
    EXPECT_EQ(Shown(0, 0), ToRgb(clRed));
    EXPECT_EQ(Shown(104, 104), ToRgb(clBlue));
    Image().SetStretch(false);
    Image().SetCenter(true);

    // Wider than the widget: at x = -47, y = 2, cut on both sides.
    Store(*Painted(200, 100, [](int32_t x, int32_t y) {
        return x == 47 && y == 0 ? clRed : x == 151 && y == 99 ? clBlue : clLime;
    }));
    EXPECT_EQ(Shown(0, 2), ToRgb(clRed));
    EXPECT_EQ(Shown(1, 2), ToRgb(clLime));
    EXPECT_EQ(Shown(104, 101), ToRgb(clBlue));
    EXPECT_EQ(Shown(0, 1), ToRgb(clYellow));
    EXPECT_EQ(Shown(50, 102), ToRgb(clYellow));
}

TEST_F(QtImage, TheFocusFrameShowsOnlyWhileFocused) {
    Image().SetColor(clWhite);
    EXPECT_EQ(Shown(0, 0), ToRgb(clWhite));
    Focus(Widget);
    EXPECT_EQ(Shown(0, 0), ToRgb(clBlack)); // the window frame colour
    EXPECT_EQ(Shown(104, 104), ToRgb(clBlack));
    EXPECT_EQ(Shown(1, 1), ToRgb(clWhite));
    Focus(Other);
    EXPECT_EQ(Shown(0, 0), ToRgb(clWhite));
}

TEST_F(QtImage, EscapeAfterAPasteRestoresTheStoredPicture) {
    Store(*Solid(8, 8, clGreen));
    Focus(Widget);
    QApplication::clipboard()->setImage(ToQImage(*Solid(8, 8, clRed)));
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shown(52, 52), ToRgb(clRed));
    Press(Qt::Key_Escape);
    EXPECT_EQ(PictureAt(0, 0), clGreen);
    EXPECT_EQ(Shown(52, 52), ToRgb(clGreen));
}

} // namespace
} // namespace zorp::test
