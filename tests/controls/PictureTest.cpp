// Pictures: holding, copying and replacing graphics, Bitmap() conversion,
// change notification from the picture and from its graphic, and files.
#include "framework/controls/Picture.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

// A graphic of another class: a size and a text body, saved as the text.
class TextGraphic : public TGraphic {
public:
    std::string ClassName() const override { return "TTextGraphic"; }
    int32_t Width() const override { return FWidth; }
    int32_t Height() const override { return 1; }
    void SetWidth(int32_t Value) override {
        FWidth = Value;
        Changed();
    }
    void SetHeight(int32_t) override {}
    bool Empty() const override { return FText.empty(); }
    void LoadFromStream(TStream& Stream) override {
        FText.resize(static_cast<size_t>(Stream.Size() - Stream.Position()));
        Stream.ReadBuffer(FText.data(), static_cast<int32_t>(FText.size()));
        Changed();
    }
    void SaveToStream(TStream& Stream) const override {
        Stream.WriteBuffer(FText.data(), static_cast<int32_t>(FText.size()));
    }
    void Assign(const TGraphic& Source) override {
        const auto* s = dynamic_cast<const TextGraphic*>(&Source);
        if (!s)
            AssignError(Source);
        FText = s->FText;
        FWidth = s->FWidth;
        Changed();
    }
    std::unique_ptr<TGraphic> Clone() const override {
        auto c = std::make_unique<TextGraphic>();
        c->FText = FText;
        c->FWidth = FWidth;
        return c;
    }
    std::string FText;
    int32_t FWidth = 7;
};

struct Counted {
    TPicture Picture;
    int Changes = 0;
    Counted() {
        Picture.OnChange = [this] { ++Changes; };
    }
};

TEST(TPicture, BitmapCreatesOnceAndFiresOnce) {
    Counted c;
    TBitmap& b = c.Picture.Bitmap();
    EXPECT_EQ(c.Changes, 1);
    EXPECT_EQ(c.Picture.Graphic(), &b);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(&c.Picture.Bitmap(), &b); // already a bitmap: same one, no change
    EXPECT_EQ(c.Changes, 1);
}

TEST(TPicture, ChangesOfTheGraphicReachThePicture) {
    Counted c;
    TBitmap& b = c.Picture.Bitmap();
    b.SetSize(4, 3);
    b.SetPixel(1, 1, clRed);
    EXPECT_EQ(c.Changes, 3);
    EXPECT_EQ(c.Picture.Width(), 4);
    EXPECT_EQ(c.Picture.Height(), 3);
}

TEST(TPicture, BitmapReplacesAnotherGraphicClass) {
    Counted c;
    auto text = std::make_unique<TextGraphic>();
    text->FText = "abc";
    TextGraphic* held = text.get();
    c.Picture.AdoptGraphic(std::move(text));
    EXPECT_EQ(c.Picture.Graphic(), held);
    EXPECT_EQ(c.Picture.Width(), 7);
    EXPECT_EQ(c.Changes, 1);
    held->SetWidth(9);
    EXPECT_EQ(c.Changes, 2);

    TBitmap& b = c.Picture.Bitmap();
    EXPECT_EQ(c.Changes, 3);
    EXPECT_EQ(c.Picture.Graphic(), &b);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(c.Picture.Width(), 0);
}

TEST(TPicture, SetGraphicHoldsACopy) {
    Counted c;
    TBitmap source;
    source.SetSize(2, 2);
    source.SetPixel(0, 1, clBlue);
    c.Picture.SetGraphic(&source);
    EXPECT_EQ(c.Changes, 1);
    ASSERT_NE(c.Picture.Graphic(), &source);
    source.SetPixel(0, 1, clLime); // the copy is unaffected, and no event
    EXPECT_EQ(c.Changes, 1);
    EXPECT_EQ(c.Picture.Bitmap().Pixel(0, 1), clBlue);
    c.Picture.SetGraphic(nullptr);
    EXPECT_EQ(c.Picture.Graphic(), nullptr);
    EXPECT_EQ(c.Changes, 2);
    // The source's own handler is not taken over by the picture.
    int sourceChanges = 0;
    source.OnChange = [&] { ++sourceChanges; };
    c.Picture.Assign(source);
    source.SetPixel(1, 1, clRed);
    EXPECT_EQ(sourceChanges, 1);
    EXPECT_EQ(c.Changes, 3);
}

TEST(TPicture, AssignFromPicture) {
    TPicture a;
    a.Bitmap().SetPixelFormat(pf8bit);
    a.Bitmap().SetSize(3, 1);
    a.Bitmap().SetPixelIndex(2, 0, 200);
    Counted c;
    c.Picture.Assign(a);
    EXPECT_EQ(c.Changes, 1);
    auto* copy = dynamic_cast<TBitmap*>(c.Picture.Graphic());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, &a.Bitmap());
    EXPECT_EQ(copy->PixelFormat(), pf8bit);
    EXPECT_EQ(copy->PixelIndex(2, 0), 200);
    // A picture of another class copies that class.
    TPicture t;
    auto text = std::make_unique<TextGraphic>();
    text->FText = "xyz";
    t.AdoptGraphic(std::move(text));
    c.Picture.Assign(t);
    auto* held = dynamic_cast<TextGraphic*>(c.Picture.Graphic());
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->FText, "xyz");
    // An empty picture empties the copy.
    TPicture none;
    c.Picture.Assign(none);
    EXPECT_EQ(c.Picture.Graphic(), nullptr);
    c.Picture.Assign(c.Picture);
    EXPECT_EQ(c.Changes, 3);
}

TEST(TPicture, FilesByExtension) {
    TempDir dir;
    TPicture p;
    p.Bitmap().SetSize(3, 2);
    p.Bitmap().SetPixel(2, 1, clFuchsia);
    p.SaveToFile(dir / "pic.bmp");
    EXPECT_EQ(ReadWholeFile(dir / "pic.bmp").substr(0, 2), "BM");

    Counted c;
    c.Picture.LoadFromFile(dir / "pic.bmp");
    EXPECT_EQ(c.Changes, 1);
    auto* b = dynamic_cast<TBitmap*>(c.Picture.Graphic());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Pixel(2, 1), clFuchsia);

    WriteWholeFile(dir / "UPPER.BMP", ReadWholeFile(dir / "pic.bmp"));
    c.Picture.LoadFromFile(dir / "UPPER.BMP");
    EXPECT_EQ(c.Changes, 2);

    // Unknown extensions, damaged and missing files leave the picture as it was.
    WriteWholeFile(dir / "pic.xyz", "data");
    EXPECT_THROW(c.Picture.LoadFromFile(dir / "pic.xyz"), EInvalidGraphic);
    WriteWholeFile(dir / "bad.bmp", "BM not really");
    EXPECT_THROW(c.Picture.LoadFromFile(dir / "bad.bmp"), EInvalidGraphic);
    EXPECT_THROW(c.Picture.LoadFromFile(dir / "gone.bmp"), EFOpenError);
    EXPECT_THROW(c.Picture.LoadFromFile(dir / "noextension"), EInvalidGraphic);
    EXPECT_EQ(c.Changes, 2);
    EXPECT_EQ(c.Picture.Width(), 3);

    // Nothing is written without a graphic.
    TPicture empty;
    empty.SaveToFile(dir / "none.bmp");
    EXPECT_FALSE(std::filesystem::exists(dir / "none.bmp"));
}

TEST(TPicture, RegisteredFormatsLoadTheirOwnClass) {
    TempDir dir;
    EXPECT_EQ(TPicture::FileFormatDescription("BMP"), "Bitmaps");
    EXPECT_EQ(TPicture::FileFormatDescription("txtpic"), "");
    TPicture::RegisterFileFormat("TxtPic", "Text pictures",
                                 [] { return std::make_unique<TextGraphic>(); });
    EXPECT_EQ(TPicture::FileFormatDescription("txtpic"), "Text pictures");
    WriteWholeFile(dir / "a.txtpic", "hello");
    TPicture p;
    p.LoadFromFile(dir / "a.txtpic");
    auto* t = dynamic_cast<TextGraphic*>(p.Graphic());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->FText, "hello");
    p.SaveToFile(dir / "b.txtpic");
    EXPECT_EQ(ReadWholeFile(dir / "b.txtpic"), "hello");
}

} // namespace
} // namespace zorp::fw
