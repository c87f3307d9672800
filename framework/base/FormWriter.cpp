#include "framework/base/FormWriter.h"

#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"

namespace zorp::fw {

namespace {

bool IsPrintable(unsigned char c) {
    return c >= 32 && c != 127;
}

class TFormWriter {
public:
    TFormWriter(TComponent& Root) : FRoot(Root) {}

    void WriteObject(TComponent& Component, int Depth) {
        const std::string indent(static_cast<size_t>(Depth) * 2, ' ');
        FText += indent + "object " + Component.Name() + ": " + Component.ClassName() + "\n";
        const TPropertyList properties = Component.PublishedProperties();
        for (const TPropertyInfo& info : properties.Items())
            if (info.IsStored())
                FText += indent + "  " + info.Name + " = " + ValueText(Component, info) + "\n";
        for (int i = 0; i < FRoot.ComponentCount(); ++i) {
            TComponent* child = FRoot.Components(i);
            if (!child->Name().empty() && PlacedUnder(*child) == &Component)
                WriteObject(*child, Depth + 1);
        }
        FText += indent + "end\n";
    }

    const std::string& Text() const { return FText; }

private:
    // The block a component of the root is written in.
    TComponent* PlacedUnder(TComponent& Component) const {
        return Component.HasParent() ? Component.GetParentComponent() : &FRoot;
    }

    std::string ValueText(TComponent& Component, const TPropertyInfo& Info) const {
        switch (Info.Kind) {
        case TPropertyKind::Integer:
            return std::to_string(Info.GetOrdinal());
        case TPropertyKind::Boolean:
            return Info.GetOrdinal() != 0 ? "True" : "False";
        case TPropertyKind::Enumeration: {
            const int64_t ordinal = Info.GetOrdinal();
            if (ordinal < 0 || ordinal >= static_cast<int64_t>(Info.EnumNames.size()))
                throw EWriteError("Error writing " + Component.Name() + "." + Info.Name +
                                  ": Invalid property value");
            return Info.EnumNames[static_cast<size_t>(ordinal)];
        }
        case TPropertyKind::String:
            return QuoteFormString(Info.GetString());
        case TPropertyKind::Event:
            return Info.GetMethodName();
        case TPropertyKind::Component: {
            TComponent& target = *Info.GetComponent();
            if (target.Name().empty()) // no name: nothing could find it again
                throw EWriteError("Error writing " + Component.Name() + "." + Info.Name +
                                  ": the component it refers to has no name");
            return ReferenceText(target);
        }
        }
        return {};
    }

    // A component of the form by its name; one of another owner as
    // Owner.Name, which reading resolves only when that owner is the form.
    std::string ReferenceText(TComponent& Target) const {
        if (&Target == &FRoot || Target.Owner() == &FRoot || Target.Owner() == nullptr)
            return Target.Name();
        return Target.Owner()->Name() + "." + Target.Name();
    }

    TComponent& FRoot;
    std::string FText;
};

} // namespace

std::string QuoteFormString(const std::string& Value) {
    if (Value.empty())
        return "''";
    std::string text;
    bool quoted = false;
    for (const char ch : Value) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsPrintable(c)) {
            if (!quoted)
                text += '\'';
            quoted = true;
            text += ch;
            if (ch == '\'')
                text += '\'';
        } else {
            if (quoted)
                text += '\'';
            quoted = false;
            text += "#" + std::to_string(c);
        }
    }
    if (quoted)
        text += '\'';
    return text;
}

std::string FormToText(TComponent& Root) {
    TFormWriter writer(Root);
    writer.WriteObject(Root, 0);
    return writer.Text();
}

void WriteFormText(TStream& Stream, TComponent& Root) {
    const std::string text = FormToText(Root);
    Stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void SaveFormToFile(const std::string& FileName, TComponent& Root) {
    const std::string text = FormToText(Root); // nothing is created when writing fails
    TFileStream file(FileName, fmCreate);
    file.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

} // namespace zorp::fw
