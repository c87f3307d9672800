// The compressed image control on a real SQLite table: loading, pasting,
// saving, and what it paints.
#include "dbcontrols/CDBImage.h"
#include "BoundForm.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Canvas.h"
#include "framework/controls/Clipboard.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Memo.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/Icon.h"
#include "support/TestFiles.h"
#include "support/UserInput.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

using namespace zorp::fw;

std::unique_ptr<TBitmap> Solid(int32_t w, int32_t h, TColor color) {
    auto made = std::make_unique<TBitmap>();
    TBitmap& b = *made;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            b.SetPixel(x, y, color);
    return made;
}

class ImageForm : public BoundForm<TCDBImage> {
protected:
    void SetUp() override {
        Build({"CREATE TABLE pics (id INTEGER, pic GRAPHIC)",
               "INSERT INTO pics (id) VALUES (1), (2)", "pics", "pic", "", "Image1", coLZH5, true});
        Image = Control;
    }
    TCDBImage* Image = nullptr;
};

TEST_F(ImageForm, PastedPictureIsSavedCompressedWhenLeaving) {
    EXPECT_EQ(Image->Width(), 105);
    Clipboard().Assign(*Solid(8, 6, clRed));
    Form->SetActiveControl(Image);
    PressKey(*Image, VK_INSERT, ssShift);
    EXPECT_EQ(Table->State(), dsEdit);
    Form->SetActiveControl(Other); // leaving writes the picture
    Table->Post();
    const std::string stored = Stored();
    EXPECT_EQ(stored.substr(0, 8), std::string("WELM\x1ALH5", 8));
    const std::string expanded = Zorp->ExpandString(stored);
    EXPECT_EQ(expanded.substr(0, 4), std::string("\x01\x00\x00\x01", 4)); // graphic header
    Table->Next();
    Table->First();
    auto* shown = dynamic_cast<TBitmap*>(Image->Picture().Graphic());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Width(), 8);
    EXPECT_EQ(shown->Pixel(3, 3), clRed);
}

TEST_F(ImageForm, AutoDisplayOffShowsTheLabelUntilEnter) {
    Table->Edit();
    Image->CompressedField()->Assign(*Solid(4, 4, clBlue));
    Table->Post();
    Image->SetAutoDisplay(false);
    Table->Next();
    Table->First();
    EXPECT_FALSE(Image->PictureLoaded());
    EXPECT_EQ(Image->Picture().Graphic(), nullptr);
    Form->SetActiveControl(Image);
    PressKey(*Image, VK_RETURN);
    ASSERT_NE(Image->Picture().Graphic(), nullptr);
    EXPECT_EQ(Image->Picture().Graphic()->Width(), 4);
}

TEST_F(ImageForm, WidePictureIsCentredAndCut) {
    Image->Picture().Assign(*Solid(200, 100, clLime));
    Image->SetColor(clBlack);
    TBitmap painted;
    Image->PaintToBitmap(painted);
    ASSERT_EQ(painted.Width(), 105);
    // Drawn at x = -47, y = 2: rows 2 to 101 are the picture, the rest is filled.
    EXPECT_EQ(painted.Pixel(0, 1), clBlack);
    EXPECT_EQ(painted.Pixel(0, 2), clLime);
    EXPECT_EQ(painted.Pixel(104, 101), clLime);
    EXPECT_EQ(painted.Pixel(50, 102), clBlack);
}

TEST_F(ImageForm, IconsAreSavedEmptyAndCutWithoutPictureDoesNothing) {
    Image->SetAutoDisplay(false);
    Table->Next(); // nothing loaded: no picture at all
    Table->First();
    Form->SetActiveControl(Image);
    PressKey(*Image, VK_DELETE, ssShift); // nothing to cut
    EXPECT_EQ(Table->State(), dsBrowse);
    Table->Edit();
    TIcon icon;
    Image->Picture().Assign(icon);
    Form->SetActiveControl(Other);
    Table->Post();
    EXPECT_EQ(Stored(), "");
}

TEST_F(ImageForm, FocusFrameOnlyForTheActiveControl) {
    Image->SetColor(clWhite);
    TBitmap painted;
    Image->PaintToBitmap(painted);
    EXPECT_EQ(painted.Pixel(0, 0), clWhite);
    Form->SetActiveControl(Image);
    Image->PaintToBitmap(painted);
    EXPECT_EQ(painted.Pixel(0, 0), clBlack); // the window frame colour
}

TEST_F(ImageForm, FocusedImageSelectsAndRealizesThePicturePalette) {
    auto picture = Solid(20, 10, clRed);
    picture->SetPixelFormat(pf8bit); // a colour table to select
    Image->Picture().Assign(*picture);
    TControl& control = *Image;
    const HPALETTE palette = control.GetPalette();
    ASSERT_NE(palette, 0u);
    EXPECT_EQ(palette, PaletteHandleOf(Image->Picture().Graphic()));
    TCanvas& canvas = Image->Canvas();

    TBitmap painted;
    Image->PaintToBitmap(painted); // not focused: the palette is left alone
    EXPECT_TRUE(canvas.PaletteSelections().empty());
    EXPECT_EQ(canvas.RealizeCount(), 0);

    Form->SetActiveControl(Image);
    Image->PaintToBitmap(painted);
    ASSERT_EQ(canvas.PaletteSelections().size(), 2u);
    EXPECT_EQ(canvas.PaletteSelections()[0].Palette, palette);
    EXPECT_FALSE(canvas.PaletteSelections()[0].ForceBackground);
    EXPECT_EQ(canvas.RealizeCount(), 1);
    // The canvas's own palette is put back, in the background.
    EXPECT_EQ(canvas.PaletteSelections()[1].Palette, DEFAULT_PALETTE);
    EXPECT_TRUE(canvas.PaletteSelections()[1].ForceBackground);
    EXPECT_EQ(canvas.SelectedPalette(), DEFAULT_PALETTE);
    EXPECT_EQ(painted.Pixel(52, 52), clRed); // the picture itself, centred

    // A picture without a colour table selects nothing, focused or not.
    Image->Picture().Assign(*Solid(20, 10, clBlue));
    EXPECT_EQ(control.GetPalette(), 0u);
    Image->PaintToBitmap(painted);
    EXPECT_EQ(canvas.PaletteSelections().size(), 2u);
    EXPECT_EQ(canvas.RealizeCount(), 1);
    EXPECT_EQ(painted.Pixel(52, 52), clBlue);
}

} // namespace
} // namespace zorp::test
