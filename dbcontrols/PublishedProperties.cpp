// What form files keep of the three compressed data-aware controls: the
// base control's properties that this control layer has, and the binding's,
// in the order the controls publish them.
#include "dbcontrols/CDBImage.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CDBRichEdit.h"

namespace zorp {

namespace {

const std::vector<std::string> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> BiDiModeNames{"bdLeftToRight", "bdRightToLeft",
                                             "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
const std::vector<std::string> BorderStyleNames{"bsNone", "bsSingle"};

template <class C> void AddBiDiMode(fw::TPropertyList& Properties, C& Control) {
    Properties.AddEnumeration(
        "BiDiMode", BiDiModeNames, [&Control] { return Control.BiDiMode(); },
        [&Control](int64_t Value) { Control.SetBiDiMode(static_cast<fw::TBiDiMode>(Value)); },
        fw::bdLeftToRight);
}

template <class C> void AddAlignment(fw::TPropertyList& Properties, C& Control) {
    Properties.AddEnumeration(
        "Alignment", AlignmentNames, [&Control] { return Control.Alignment(); },
        [&Control](int64_t Value) { Control.SetAlignment(static_cast<fw::TAlignment>(Value)); },
        fw::taLeftJustify);
}

template <class C> void AddAutoDisplay(fw::TPropertyList& Properties, C& Control) {
    Properties.AddBoolean(
        "AutoDisplay", [&Control] { return Control.AutoDisplay(); },
        [&Control](bool Value) { Control.SetAutoDisplay(Value); }, true);
}

// CompressionMethod, CompressSource, Ctl3D, DataField, DataSource and
// Enabled: the same run in all three controls.
template <class C> void AddBinding(fw::TPropertyList& Properties, C& Control) {
    Properties.AddEnumeration(
        "CompressionMethod", ZorpMethodNames(), [&Control] { return Control.CompressionMethod(); },
        [&Control](int64_t Value) {
            Control.SetCompressionMethod(static_cast<TZorpMethod>(Value));
        });
    Properties.AddComponent<TZorp>(
        "CompressSource", [&Control] { return Control.CompressSource(); },
        [&Control](TZorp* Value) { Control.SetCompressSource(Value); });
    Properties.AddBoolean(
        "Ctl3D", [&Control] { return Control.Ctl3D(); },
        [&Control](bool Value) { Control.SetCtl3D(Value); }, true);
    Properties.AddString(
        "DataField", [&Control] { return Control.DataField(); },
        [&Control](const std::string& Value) { Control.SetDataField(Value); });
    Properties.AddComponent<fw::TDataSource>(
        "DataSource", [&Control] { return Control.DataSource(); },
        [&Control](fw::TDataSource* Value) { Control.SetDataSource(Value); });
    Properties.AddBoolean(
        "Enabled", [&Control] { return Control.Enabled(); },
        [&Control](bool Value) { Control.SetEnabled(Value); }, true);
}

template <class C> void AddMaxLength(fw::TPropertyList& Properties, C& Control) {
    Properties.AddInteger(
        "MaxLength", [&Control] { return Control.MaxLength(); },
        [&Control](int64_t Value) { Control.SetMaxLength(static_cast<int32_t>(Value)); }, 0);
}

template <class C> void AddReadOnly(fw::TPropertyList& Properties, C& Control) {
    Properties.AddBoolean(
        "ReadOnly", [&Control] { return Control.ReadOnly(); },
        [&Control](bool Value) { Control.SetReadOnly(Value); }, false);
}

// TabStop and Visible.
template <class C> void AddTabStopAndVisible(fw::TPropertyList& Properties, C& Control) {
    Properties.AddBoolean(
        "TabStop", [&Control] { return Control.TabStop(); },
        [&Control](bool Value) { Control.SetTabStop(Value); });
    Properties.AddBoolean(
        "Visible", [&Control] { return Control.Visible(); },
        [&Control](bool Value) { Control.SetVisible(Value); }, true);
}

template <class C> void AddWantTabs(fw::TPropertyList& Properties, C& Control) {
    Properties.AddBoolean(
        "WantTabs", [&Control] { return Control.WantTabs(); },
        [&Control](bool Value) { Control.SetWantTabs(Value); }, false);
}

} // namespace

void TCDBMemo::DefineProperties(fw::TPropertyList& Properties) {
    fw::TCustomMemo::DefineProperties(Properties);
    AddBiDiMode(Properties, *this);
    AddAlignment(Properties, *this);
    AddAutoDisplay(Properties, *this);
    AddBinding(Properties, *this);
    AddMaxLength(Properties, *this);
    AddReadOnly(Properties, *this);
    AddTabStopAndVisible(Properties, *this);
    AddWantTabs(Properties, *this);
}

void TCDBRichEdit::DefineProperties(fw::TPropertyList& Properties) {
    fw::TCustomRichEdit::DefineProperties(Properties);
    AddBiDiMode(Properties, *this);
    AddAlignment(Properties, *this);
    AddAutoDisplay(Properties, *this);
    AddBinding(Properties, *this);
    AddMaxLength(Properties, *this);
    Properties.AddBoolean(
        "PlainText", [this] { return PlainText(); }, [this](bool Value) { SetPlainText(Value); },
        false);
    AddReadOnly(Properties, *this);
    AddTabStopAndVisible(Properties, *this);
    Properties.AddBoolean(
        "WantReturns", [this] { return WantReturns(); },
        [this](bool Value) { SetWantReturns(Value); }, true);
    AddWantTabs(Properties, *this);
}

void TCDBImage::DefineProperties(fw::TPropertyList& Properties) {
    fw::TCustomControl::DefineProperties(Properties);
    AddAutoDisplay(Properties, *this);
    Properties.AddEnumeration(
        "BorderStyle", BorderStyleNames, [this] { return BorderStyle(); },
        [this](int64_t Value) { SetBorderStyle(static_cast<TImageBorderStyle>(Value)); }, bsSingle);
    Properties.AddBoolean(
        "Center", [this] { return Center(); }, [this](bool Value) { SetCenter(Value); }, true);
    AddBinding(Properties, *this);
    AddReadOnly(Properties, *this);
    Properties.AddBoolean(
        "QuickDraw", [this] { return QuickDraw(); }, [this](bool Value) { SetQuickDraw(Value); },
        true);
    Properties.AddBoolean(
        "Stretch", [this] { return Stretch(); }, [this](bool Value) { SetStretch(Value); }, false);
    AddTabStopAndVisible(Properties, *this);
}

} // namespace zorp
