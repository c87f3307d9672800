// File streams on a real file system: the four open modes, sharing between
// handles, and errors that name the file.
#include "framework/base/FileStream.h"
#include "framework/base/Exceptions.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

TEST(TFileStream, CreateTruncatesAndWrites) {
    TempDir dir;
    const std::string name = dir / "out.bin";
    WriteWholeFile(name, "old content that is longer");
    {
        TFileStream f(name, fmCreate);
        EXPECT_EQ(f.Size(), 0);
        f.WriteBuffer("new", 3);
    }
    EXPECT_EQ(ReadWholeFile(name), "new");
}

TEST(TFileStream, ReadModesReadSeekAndSize) {
    TempDir dir;
    const std::string name = dir / "in.txt";
    WriteWholeFile(name, "abcdefgh");
    TFileStream f(name, fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(f.Size(), 8);
    f.Seek(-3, soEnd);
    char buf[10];
    EXPECT_EQ(f.Read(buf, 10), 3);
    EXPECT_EQ(std::string(buf, 3), "fgh");
    EXPECT_EQ(f.Read(buf, 10), 0);
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError); // opened for reading only
}

TEST(TFileStream, ReadWriteExtendsAnExistingFile) {
    TempDir dir;
    const std::string name = dir / "arc";
    WriteWholeFile(name, "head");
    {
        TFileStream f(name, fmOpenReadWrite | fmShareDenyWrite);
        f.Seek(0, soEnd);
        f.WriteBuffer("tail", 4);
        f.SetPosition(0);
        char buf[4];
        f.ReadBuffer(buf, 4);
        EXPECT_EQ(std::string(buf, 4), "head");
        f.SetSize(6);
    }
    EXPECT_EQ(ReadWholeFile(name), "headta");
}

TEST(TFileStream, FailedOpenAndCreateNameTheFile) {
    TempDir dir;
    const std::string missing = dir / "missing.txt";
    try {
        TFileStream f(missing, fmOpenRead | fmShareDenyWrite);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + missing + "\".", 0), 0u)
            << e.what();
    }
    const std::string noDir = dir / "no/such/dir/file";
    try {
        TFileStream f(noDir, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + noDir + "\".", 0), 0u)
            << e.what();
    }
    EXPECT_THROW(TFileStream(dir.Path().string(), fmOpenRead), EFOpenError); // a directory
}

TEST(TFileStream, SharingRulesBetweenHandles) {
    TempDir dir;
    const std::string name = dir / "shared";
    WriteWholeFile(name, "data");
    {
        // Readers that deny writers live together, and refuse a writer.
        TFileStream reader1(name, fmOpenRead | fmShareDenyWrite);
        TFileStream reader2(name, fmOpenRead | fmShareDenyWrite);
        EXPECT_THROW(TFileStream(name, fmOpenReadWrite | fmShareDenyWrite), EFOpenError);
        EXPECT_THROW(TFileStream(name, fmCreate), EFCreateError);
        TFileStream unrestricted(name, fmOpenRead | fmShareDenyNone);
    }
    EXPECT_EQ(ReadWholeFile(name), "data"); // the refused create truncated nothing
    {
        TFileStream writer(name, fmOpenReadWrite | fmShareDenyWrite);
        EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareDenyWrite), EFOpenError);
        TFileStream unrestricted(name, fmOpenRead | fmShareDenyNone);
    }
    // Closing releases the locks.
    EXPECT_NO_THROW(TFileStream(name, fmCreate));
}

} // namespace
} // namespace zorp::fw
