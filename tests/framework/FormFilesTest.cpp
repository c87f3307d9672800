// Form files: writing a component tree as text and reading it back into
// components of registered classes, with references, nesting and errors.
#include "framework/base/ClassRegistry.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FormReader.h"
#include "framework/base/FormWriter.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace zorp::fw {
namespace {

// A form: it publishes two handler methods for events to be bound to.
class TTestRoot : public TComponent {
public:
    static constexpr const char* StaticClassName = "TTestRoot";
    explicit TTestRoot(TComponent* AOwner) : TComponent(AOwner) {
        PublishMethod("Form1Shout", &TTestRoot::Shout);
        PublishMethod("Form1Whisper", &TTestRoot::Whisper);
    }
    std::string ClassName() const override { return StaticClassName; }

    void Shout(int& Volume) {
        Volume += 10;
        ++Shouts;
    }
    void Whisper(std::string&) {}
    int Shouts = 0;
};

// A component with one property of every kind. It records what it saw of
// the loading state in its setters and in Loaded.
class TTestShape : public TComponent {
public:
    static constexpr const char* StaticClassName = "TTestShape";
    using TComponent::TComponent;
    std::string ClassName() const override { return StaticClassName; }

    int32_t Size = 10;
    bool Visible = true;
    int Kind = 0;
    std::string Label;
    TTestShape* Partner = nullptr;
    std::function<void(int&)> OnShout;
    bool SetWhileLoading = false;
    bool PartnerSetAtLoaded = false;
    int LoadedCalls = 0;

protected:
    void DefineProperties(TPropertyList& Properties) override {
        TComponent::DefineProperties(Properties);
        Properties.AddInteger(
            "Size", [this] { return Size; },
            [this](int64_t Value) {
                Size = static_cast<int32_t>(Value);
                SetWhileLoading = (ComponentState() & csLoading) != 0;
            },
            10);
        Properties.AddBoolean(
            "Visible", [this] { return Visible; }, [this](bool Value) { Visible = Value; }, true);
        Properties.AddEnumeration(
            "Kind", {"skRound", "skSquare"}, [this] { return Kind; },
            [this](int64_t Value) { Kind = static_cast<int>(Value); });
        Properties.AddString(
            "Label", [this] { return Label; }, [this](const std::string& Value) { Label = Value; });
        Properties.AddComponent<TTestShape>(
            "Partner", [this] { return Partner; }, [this](TTestShape* Value) { Partner = Value; });
        Properties.AddEvent("OnShout", *this, OnShout);
    }
    void Loaded() override {
        TComponent::Loaded();
        ++LoadedCalls;
        PartnerSetAtLoaded = Partner != nullptr;
    }
};

// Nested under a shape in form files, as a field is under its data set.
class TTestPart : public TComponent {
public:
    static constexpr const char* StaticClassName = "TTestPart";
    using TComponent::TComponent;
    std::string ClassName() const override { return StaticClassName; }

    TTestShape* Shape = nullptr;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return Shape; }
    void SetParentComponent(TComponent* Value) override {
        Shape = dynamic_cast<TTestShape*>(Value);
    }
};

class FormFiles : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClass(ClassOf<TTestShape>());
        RegisterClass(ClassOf<TTestPart>());
    }

    // Reads Text into Root and returns the message of the exception it
    // raised, or "" when it read cleanly.
    template <class E> std::string ReadError(const std::string& Text, TComponent& Root) {
        try {
            TextToForm(Text, Root);
        } catch (const E& e) {
            return e.Message();
        }
        return "";
    }
};

TEST_F(FormFiles, WritesPropertiesInOrderSkippingDefaultsAndNestsByParent) {
    TTestRoot root(nullptr);
    root.SetName("Form1");
    auto* first = new TTestShape(&root);
    first->SetName("Shape1");
    first->Size = 42;
    first->Kind = 1;
    first->Label = "it's";
    auto* second = new TTestShape(&root);
    second->SetName("Shape2");
    second->Visible = false;
    second->Partner = first;
    auto* part = new TTestPart(&root);
    part->SetName("Part1");
    part->Shape = second;
    auto* orphan = new TTestPart(&root); // its parent is not written, so neither is it
    orphan->SetName("Orphan");
    new TTestShape(&root); // unnamed: left out

    EXPECT_EQ(FormToText(root), "object Form1: TTestRoot\n"
                                "  object Shape1: TTestShape\n"
                                "    Size = 42\n"
                                "    Kind = skSquare\n"
                                "    Label = 'it''s'\n"
                                "  end\n"
                                "  object Shape2: TTestShape\n"
                                "    Visible = False\n"
                                "    Kind = skRound\n"
                                "    Partner = Shape1\n"
                                "    object Part1: TTestPart\n"
                                "    end\n"
                                "  end\n"
                                "end\n");
}

TEST_F(FormFiles, ReadsBackWhatWasWritten) {
    TTestRoot source(nullptr);
    source.SetName("Form1");
    auto* a = new TTestShape(&source);
    a->SetName("A");
    a->Size = -2147483647 - 1;
    a->Label = std::string("\0\x01 tab\tquote' high\xC3\xA9 end\x7F", 24);
    auto* b = new TTestShape(&source);
    b->SetName("B");
    b->Partner = a;
    b->Visible = false;
    auto* part = new TTestPart(&source);
    part->SetName("P");
    part->Shape = b;

    TTestRoot target(nullptr);
    TextToForm(FormToText(source), target);
    EXPECT_EQ(target.Name(), "Form1");
    ASSERT_EQ(target.ComponentCount(), 3);
    auto* ra = dynamic_cast<TTestShape*>(target.FindComponent("A"));
    auto* rb = dynamic_cast<TTestShape*>(target.FindComponent("B"));
    auto* rp = dynamic_cast<TTestPart*>(target.FindComponent("P"));
    ASSERT_TRUE(ra && rb && rp);
    EXPECT_EQ(ra->Size, a->Size);
    EXPECT_EQ(ra->Label, a->Label);
    EXPECT_EQ(rb->Partner, ra);
    EXPECT_FALSE(rb->Visible);
    EXPECT_EQ(rp->Shape, rb);
    EXPECT_EQ(FormToText(target), FormToText(source));
}

TEST_F(FormFiles, ResolvesLaterReferencesBeforeLoadedAndSetsWhileLoading) {
    TTestRoot root(nullptr);
    TextToForm("object F: TTestRoot\n"
               "  object A: TTestShape\n"
               "    Size = 3\n"
               "    Partner = B\n"
               "  end\n"
               "  object B: TTestShape\n"
               "    Partner = F.Nothing\n"
               "    Partner = nil\n"
               "  end\n"
               "end\n",
               root);
    auto* a = dynamic_cast<TTestShape*>(root.FindComponent("A"));
    auto* b = dynamic_cast<TTestShape*>(root.FindComponent("B"));
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->SetWhileLoading);
    EXPECT_TRUE(a->PartnerSetAtLoaded);
    EXPECT_EQ(a->Partner, b);
    EXPECT_EQ(b->Partner, nullptr);
    EXPECT_EQ(a->LoadedCalls, 1);
    EXPECT_EQ(a->ComponentState() & (csLoading | csReading), 0u);
    EXPECT_EQ(root.ComponentState() & (csLoading | csReading), 0u);
}

TEST_F(FormFiles, KeepsEventsBoundToTheFormsMethods) {
    TTestRoot source(nullptr);
    source.SetName("Form1");
    auto* shape = new TTestShape(&source);
    shape->SetName("A");
    shape->BindEvent("OnShout", source, "Form1Shout");
    int volume = 1;
    shape->OnShout(volume);
    EXPECT_EQ(volume, 11);
    const std::string text = FormToText(source);
    EXPECT_NE(text.find("    OnShout = Form1Shout\n"), std::string::npos) << text;

    // Read back, the event calls the method of the form it was read into.
    TTestRoot target(nullptr);
    TextToForm(text, target);
    auto* read = dynamic_cast<TTestShape*>(target.FindComponent("A"));
    ASSERT_NE(read, nullptr);
    ASSERT_TRUE(read->OnShout);
    read->OnShout(volume);
    EXPECT_EQ(target.Shouts, 1);
    EXPECT_EQ(source.Shouts, 1);
    EXPECT_EQ(read->EventHandlerName("OnShout"), "Form1Shout");

    const std::string head = "object F: TTestRoot object A: TTestShape OnShout = ";
    EXPECT_EQ(ReadError<EReadError>(head + "Form1Nothing end end", target),
              "Error reading A.OnShout: Method Form1Nothing not found");
    EXPECT_EQ(ReadError<EReadError>(head + "Form1Whisper end end", target),
              "Error reading A.OnShout: Invalid property value");
    TextToForm(head + "nil end end", target);
    EXPECT_FALSE(read->OnShout);
    EXPECT_EQ(FormToText(target).find("OnShout"), std::string::npos);
    EXPECT_THROW(shape->BindEvent("OnWhatever", source, "Form1Shout"), EComponentError);
    EXPECT_THROW(shape->BindEvent("OnShout", source, "Form1Nothing"), EComponentError);
    EXPECT_THROW(shape->BindEvent("OnShout", source, "Form1Whisper"), EReadError);
}

TEST_F(FormFiles, ReusesAComponentTheRootAlreadyOwns) {
    TTestRoot root(nullptr);
    auto* existing = new TTestShape(&root);
    existing->SetName("A");
    TextToForm("object F: TTestRoot object A: TTestShape Size = 7 end end", root);
    EXPECT_EQ(root.ComponentCount(), 1);
    EXPECT_EQ(existing->Size, 7);
    EXPECT_EQ(existing->LoadedCalls, 1);

    // Same name, other class: the name clash is reported, nothing is added.
    EXPECT_EQ(ReadError<EComponentError>("object F: TTestRoot object A: TTestPart end end", root),
              "A component named A already exists");
    EXPECT_EQ(root.ComponentCount(), 1);
}

TEST_F(FormFiles, ReportsBadPropertiesAndValuesAndFreesWhatItMade) {
    TTestRoot root(nullptr);
    auto* kept = new TTestShape(&root);
    kept->SetName("Kept");
    const std::string head = "object F: TTestRoot\n  object A: TTestShape\n";
    struct Case {
        std::string Body;
        std::string Message;
    };
    const Case cases[] = {
        {"    Colour = 3\n", "Error reading A.Colour: Property Colour does not exist (line 3)"},
        {"    Size = 'big'\n", "Error reading A.Size: Invalid property value"},
        {"    Size = 2147483648\n", "Error reading A.Size: Invalid property value"},
        {"    Visible = Yes\n", "Error reading A.Visible: Invalid property value"},
        {"    Kind = skOval\n", "Error reading A.Kind: Invalid property value"},
        {"    Label = Shape\n", "Error reading A.Label: Invalid property value"},
        {"    Partner = Nobody\n", "Error reading A.Partner: Component Nobody not found"},
        {"    Partner = F\n", "Error reading A.Partner: Invalid property value"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadError<EReadError>(head + c.Body + "  end\nend\n", root), c.Message) << c.Body;
        EXPECT_EQ(root.ComponentCount(), 1) << c.Body;
        EXPECT_EQ(root.FindComponent("Kept"), kept);
        EXPECT_EQ(root.ComponentState() & (csLoading | csReading), 0u);
    }
    EXPECT_EQ(ReadError<EClassNotFound>("object F: TTestRoot object A: TNope end end", root),
              "Class TNope not found");
    EXPECT_EQ(ReadError<EReadError>("object F: TTestShape end", root),
              "Cannot read a TTestShape into a TTestRoot");
}

TEST_F(FormFiles, ReportsMalformedTextWithItsLine) {
    TTestRoot root(nullptr);
    const std::pair<std::string, std::string> cases[] = {
        {"", "'object' expected on line 1"},
        {"object F TTestRoot end", "':' expected on line 1"},
        {"object F: TTestRoot\n  Size 3\nend", "'=' expected on line 2"},
        {"object F: TTestRoot\n  object A: TTestShape\n    Label = 'open\n  end\nend",
         "Unterminated string on line 3"},
        {"object F: TTestRoot\n  object A: TTestShape\n    Label = #300\n  end\nend",
         "Invalid string on line 3"},
        {"object F: TTestRoot\n  object A: TTestShape\n    Size = 12ab\n  end\nend",
         "Invalid number on line 3"},
        {"object F: TTestRoot\n  object A: TTestShape\n    Size =\n",
         "Property value expected on line 4"},
        {"object F: TTestRoot\nend\nextra", "End of file expected on line 3"},
        {"object F: TTestRoot\n  object A: TTestShape\n", "Identifier expected on line 3"},
        {"object F: TTestRoot\n  ! = 1\nend", "Invalid character on line 2"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(ReadError<EParserError>(text, root), message) << text;
        EXPECT_EQ(root.ComponentCount(), 0) << text;
    }
}

TEST_F(FormFiles, RefusesNestingDeeperThanAnyForm) {
    TTestRoot root(nullptr);
    std::string text = "object F: TTestRoot\n";
    for (int i = 0; i < 100000; ++i)
        text += "object P" + std::to_string(i) + ": TTestPart\n";
    EXPECT_EQ(ReadError<EParserError>(text, root), "Objects nested too deeply on line 66");
    EXPECT_EQ(root.ComponentCount(), 0);
}

TEST_F(FormFiles, SavesAndLoadsFilesAndWritesNothingWhenAValueCannotBeWritten) {
    test::TempDir dir;
    TTestRoot source(nullptr);
    source.SetName("Form1");
    auto* shape = new TTestShape(&source);
    shape->SetName("A");
    shape->Size = 5;
    SaveFormToFile(dir / "form.txt", source);
    TTestRoot target(nullptr);
    LoadFormFromFile(dir / "form.txt", target);
    auto* read = dynamic_cast<TTestShape*>(target.FindComponent("A"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Size, 5);

    shape->Kind = 9; // no identifier for it
    EXPECT_THROW(SaveFormToFile(dir / "bad.txt", source), EWriteError);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.txt"));

    shape->Kind = 0;
    TTestShape unnamed(nullptr); // a reference nothing could resolve
    shape->Partner = &unnamed;
    try {
        FormToText(source);
        ADD_FAILURE() << "a reference to an unnamed component was written";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Error writing A.Partner: the component it refers to has no name");
    }
}

} // namespace
} // namespace zorp::fw
