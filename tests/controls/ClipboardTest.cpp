// Clipboard formats, pictures on the clipboard, icons, and the replaceable
// message box and beep.
#include "framework/controls/Clipboard.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Picture.h"
#include "support/Icon.h"

#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

TEST(Clipboard, HoldsOneContentInItsFormats) {
    Clipboard().SetAsText("words");
    EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_FALSE(Clipboard().HasFormat(CF_BITMAP));
    TPicture picture;
    picture.Bitmap().SetSize(3, 2);
    picture.Bitmap().SetPixel(1, 1, clRed);
    Clipboard().Assign(picture);
    EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard().AsText(), "");
    EXPECT_TRUE(Clipboard().HasFormat(CF_BITMAP));
    EXPECT_TRUE(Clipboard().HasFormat(CF_PICTURE));
    TBitmap bitmap;
    Clipboard().AssignTo(bitmap);
    EXPECT_EQ(bitmap.Pixel(1, 1), clRed);
    picture.Bitmap().SetPixel(1, 1, clBlue); // the clipboard holds a copy
    Clipboard().AssignTo(bitmap);
    EXPECT_EQ(bitmap.Pixel(1, 1), clRed);

    Clipboard().Assign(test::TIcon());
    EXPECT_FALSE(Clipboard().HasFormat(CF_BITMAP));
    EXPECT_TRUE(Clipboard().HasFormat(CF_PICTURE));
    EXPECT_THROW(Clipboard().AssignTo(bitmap), EInvalidGraphic);
    Clipboard().Clear();
    EXPECT_EQ(Clipboard().FormatCount(), 0);
}

TEST(Icon, ReadsItsSizeAndKeepsItsBytes) {
    std::string ico("\0\0\1\0\1\0", 6);
    ico += std::string("\x20\x10\0\0\1\0\x20\0\0\0\0\0\x16\0\0\0", 16);
    TMemoryStream in;
    in.WriteBuffer(ico.data(), static_cast<int32_t>(ico.size()));
    in.SetPosition(0);
    test::TIcon icon;
    icon.LoadFromStream(in);
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_FALSE(icon.Empty());
    TMemoryStream out;
    icon.SaveToStream(out);
    EXPECT_EQ(out.DataString(), ico);
    EXPECT_THROW(icon.SetWidth(3), EInvalidGraphic);
    TMemoryStream bad;
    bad.WriteBuffer("BM", 2);
    bad.SetPosition(0);
    EXPECT_THROW(icon.LoadFromStream(bad), EInvalidGraphic);
    EXPECT_EQ(icon.Width(), 32);
}

TEST(Dialogs, HandlersReplaceTheMessageBoxAndTheBeep) {
    std::string shown;
    std::vector<uint32_t> beeps;
    auto oldShow = SetShowMessageHandler([&](const std::string& Msg) { shown = Msg; });
    auto oldBeep = SetMessageBeepHandler([&](uint32_t Type) { beeps.push_back(Type); });
    ShowMessage("Can't find field: X");
    MessageBeep(0);
    EXPECT_EQ(shown, "Can't find field: X");
    EXPECT_EQ(beeps, std::vector<uint32_t>{0});
    SetShowMessageHandler(oldShow);
    SetMessageBeepHandler(oldBeep);
    testing::internal::CaptureStderr();
    ShowMessage("to standard error");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "to standard error\n");
}

} // namespace
} // namespace zorp::fw
