// The value-type forms of TZorp: strings read where they are, byte spans,
// paths, the constant-name CompressFile and ExpandFile, listings by value,
// and moving a component.
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <span>
#include <string_view>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::byte> Bytes(std::string_view S) {
    const auto* b = reinterpret_cast<const std::byte*>(S.data());
    return {b, b + S.size()};
}

std::string Text(size_t Size) {
    std::string text;
    while (text.size() < Size)
        text += "the value of a view is the bytes it shows. ";
    return text.substr(0, Size);
}

TEST(StringForms, ViewsAndSpansGiveTheBytesOfTheStringForm) {
    struct Case {
        std::string Data;
        TZorpMethod Method;
        int32_t Key;
    };
    const std::vector<Case> cases = {
        {"", coLZH, 0},
        {Text(20), coLZH5, 0},
        {Text(1000), coLZH, 0},
        {Text(1000), coRLE, 7},
        {RandomBytes(3000, 1), coLZH5, 0},
        {Text(5000), coLZH5, 0x5EED},
    };
    for (const Case& c : cases) {
        TZorp zorp(nullptr);
        zorp.SetKey(c.Key);
        const std::string packed = zorp.CompressString(c.Data, c.Method);
        // A view into the middle of a larger buffer takes only its own bytes.
        const std::string framed = "<<" + c.Data + ">>";
        const std::string_view view(framed.data() + 2, c.Data.size());
        EXPECT_EQ(zorp.CompressString(view, c.Method), packed);
        const std::vector<std::byte> input = Bytes(c.Data);
        const std::vector<std::byte> bytes = zorp.CompressString(input, c.Method);
        EXPECT_EQ(bytes, Bytes(packed));
        EXPECT_EQ(zorp.ExpandString(bytes), input);
        EXPECT_EQ(zorp.ExpandString(std::string_view(packed)), c.Data);
    }
}

class PathForms : public testing::Test {
protected:
    PathForms() {
        Zorp.SetTargetPath(Dir.Path()); // a path
        WriteWholeFile(Dir / "a.txt", Text(3000));
        WriteWholeFile(Dir / "b.txt", Text(100));
    }
    TempDir Dir;
    TZorp Zorp{nullptr};
};

TEST_F(PathForms, ConstantNamesGoInAndComeOut) {
    const fs::path archive = Dir.Path() / "x.zrp";
    const std::string a = Dir / "a.txt";
    EXPECT_EQ(Zorp.CompressFile(archive, a, coLZH5), "a.txt");
    EXPECT_EQ(Zorp.CompressFile(archive.string(), Dir.Path() / "b.txt", coLZH), "b.txt");
    std::string inOut = Dir / "b.txt"; // a modifiable string still takes the in/out form
    Zorp.CompressFile(archive, inOut, coLZH);
    EXPECT_EQ(inOut, "b.txt");

    const TempDir out;
    Zorp.SetTargetPath(out.Path());
    EXPECT_EQ(Zorp.ExpandFile(std::string_view("a.txt"), archive), out.Path() / "a.txt");
    EXPECT_EQ(ReadWholeFile(out / "a.txt"), Text(3000));
    EXPECT_THROW(Zorp.ExpandFile(fs::path("missing.txt"), archive), EEntryNotFound);
}

TEST_F(PathForms, ASkippedFileGivesAnEmptyName) {
    Zorp.OnCheckFile = [](std::string& Name, TCProcessMode) { Name.clear(); };
    EXPECT_EQ(Zorp.CompressFile(Dir.Path() / "x.zrp", Dir.Path() / "a.txt", coLZH), "");
}

TEST_F(PathForms, ListingByValueMatchesTheListOfObjects) {
    const fs::path archive = Dir.Path() / "x.zrp";
    fw::TStringList files{Dir / "a.txt", Dir / "b.txt"};
    Zorp.CompressFiles(archive, files, coLZH5);
    fw::TMemoryStream extra;
    extra.WriteBuffer("locked entry data", 17);
    extra.SetPosition(0);
    Zorp.SetKey(99);
    Zorp.CompressStreamToArchive(archive, extra, std::string_view("sub/c.bin"), coNone);

    fw::TStringList lines;
    Zorp.ScanCompressedFile(archive, lines);
    const std::vector<TZorpFileInfo> entries = Zorp.ScanCompressedFile(archive);
    ASSERT_EQ(entries.size(), 3u);
    for (int i = 0; i < lines.Count(); ++i) {
        const auto& line = dynamic_cast<const TZorpFileInfo&>(*lines.GetObject(i));
        const TZorpFileInfo copy = entries[static_cast<size_t>(i)]; // a copy keeps every field
        EXPECT_EQ(copy.Name, lines.Get(i));
        EXPECT_EQ(line.Name, lines.Get(i));
        EXPECT_EQ(copy.FileDate, line.FileDate);
        EXPECT_EQ(copy.Attributes, line.Attributes);
        EXPECT_EQ(copy.UncompressedSize, line.UncompressedSize);
        EXPECT_EQ(copy.CompressedSize, line.CompressedSize);
        EXPECT_EQ(copy.Method, line.Method);
        EXPECT_EQ(copy.Checksum, line.Checksum);
        EXPECT_EQ(copy.HeaderOffset, line.HeaderOffset);
        EXPECT_EQ(copy.Locked, line.Locked);
    }
    Zorp.FreeFileList(&lines);
    EXPECT_EQ(entries[2].Name, "sub/c.bin");
    EXPECT_TRUE(entries[2].Locked);
    EXPECT_FALSE(entries[0].Locked);

    const std::string raw = ReadWholeFile(archive.string());
    fw::TMemoryStream cut;
    cut.WriteBuffer(raw.data(), static_cast<int32_t>(raw.size()) - 1);
    cut.SetPosition(0);
    EXPECT_THROW(Zorp.ScanCompressedStream(cut), EArchiveDamaged);
}

// A form whose method the component's progress event is bound to by name.
class TBindingRoot : public fw::TComponent {
public:
    TBindingRoot() : fw::TComponent(nullptr) {
        PublishMethod("Form1Progress", &TBindingRoot::Progress);
    }
    void Progress(int32_t&) { ++Calls; }
    int Calls = 0;
};

// The published properties other than events, by name, as text.
std::map<std::string, std::string> Settings(TZorp& Zorp) {
    std::map<std::string, std::string> values;
    const fw::TPropertyList properties = Zorp.PublishedProperties();
    for (const fw::TPropertyInfo& p : properties.Items()) {
        if (p.Kind == fw::TPropertyKind::String)
            values[p.Name] = p.GetString();
        else if (p.Kind != fw::TPropertyKind::Event)
            values[p.Name] = std::to_string(p.GetOrdinal());
    }
    return values;
}

TEST(MovedZorp, TakesEverythingButOwnerAndName) {
    TBindingRoot form;
    auto* original = new TZorp(&form); // freed by the form
    original->SetName("Zorp1");
    original->SetTargetPath("/tmp/moved");
    original->SetMakeDirectories(true);
    original->SetExceptionOnFileError(true);
    original->SetKey(0x5EED);
    original->SetCheckSpaceBeforeExpand(true);
    original->SetIgnoreCase(true);
    original->SetKeepPermissions(true);
    original->BindEvent("OnShowProgress", form, "Form1Progress");
    const std::string locked = original->CompressString(Text(2000), coLZH5);
    const std::map<std::string, std::string> before = Settings(*original);
    const int32_t ratio = original->LastRatio();
    ASSERT_NE(ratio, 0);

    TZorp moved(std::move(*original));
    EXPECT_EQ(moved.Owner(), nullptr);
    EXPECT_EQ(moved.Name(), "");
    EXPECT_EQ(Settings(moved), before);
    EXPECT_EQ(moved.LastRatio(), ratio);
    const int calls = form.Calls;
    EXPECT_EQ(moved.ExpandString(locked), Text(2000));
    EXPECT_GT(form.Calls, calls); // the handler came along

    TZorp fresh(nullptr);
    EXPECT_EQ(original->Owner(), &form);
    EXPECT_EQ(original->Name(), "Zorp1");
    EXPECT_EQ(Settings(*original), Settings(fresh));
    EXPECT_FALSE(original->OnShowProgress);
    EXPECT_EQ(original->EventHandlerName("OnShowProgress"), "");
    EXPECT_EQ(original->LastRatio(), 0);
    EXPECT_EQ(original->ExpandString(original->CompressString(Text(500), coLZH)), Text(500));

    fw::TComponent owner(nullptr);
    auto* target = new TZorp(&owner);
    target->SetName("Zorp2");
    *target = std::move(moved);
    EXPECT_EQ(target->Owner(), &owner);
    EXPECT_EQ(target->Name(), "Zorp2");
    EXPECT_EQ(Settings(*target), before);
    EXPECT_EQ(Settings(moved), Settings(fresh));
}

} // namespace
} // namespace zorp::test
