// TCDBImage: the picture held in one column of a data set's current record,
// replaceable through the clipboard. With a CompressSource it loads the
// picture expanded and saves it compressed through a TCGraphicField;
// pictures are saved as bitmaps. With AutoDisplay off it shows the
// column's label until the user asks for the picture.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/CustomControl.h"
#include "../framework/controls/Picture.h"
#include "FieldBinding.h"

namespace zorp {

enum TImageBorderStyle : uint8_t { bsNone = 0, bsSingle = 1 };

class ZORP_API TCDBImage : public fw::TCustomControl {
public:
    static constexpr const char* StaticClassName = "TCDBImage";
    explicit TCDBImage(fw::TComponent* AOwner);
    ~TCDBImage() override;
    std::string ClassName() const override { return StaticClassName; }

    TZorp* CompressSource() const { return FBinding.CompressSource(); }
    void SetCompressSource(TZorp* Value) { FBinding.SetCompressSource(Value); }
    TZorpMethod CompressionMethod() const { return FBinding.CompressionMethod(); }
    void SetCompressionMethod(TZorpMethod Value) { FBinding.SetCompressionMethod(Value); }
    fw::TDataSource* DataSource() const { return FDataLink.DataSource(); }
    // Left alone while loading when the data link's data source is fixed.
    void SetDataSource(fw::TDataSource* Value);
    const std::string& DataField() const { return FDataLink.FieldName(); }
    void SetDataField(const std::string& Value) { FBinding.SetDataField(Value); }
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink.SetReadOnly(Value); }
    bool AutoDisplay() const { return FAutoDisplay; }
    void SetAutoDisplay(bool Value);
    TImageBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TImageBorderStyle Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool QuickDraw() const { return FQuickDraw; }
    void SetQuickDraw(bool Value) { FQuickDraw = Value; }

    fw::TPicture& Picture() { return FPicture; }
    void SetPicture(const fw::TPicture& Value) { FPicture.Assign(Value); }
    fw::TField* Field() const { return FDataLink.Field(); }
    TCBlobField* CompressedField() const { return FBinding.CompressedField(); }
    fw::TFieldDataLink& DataLink() { return FDataLink; }
    bool PictureLoaded() const { return FPictureLoaded; }

    void LoadPicture();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // The control's own handling, else the data link's.
    bool ExecuteAction(fw::TBasicAction* Action) override;
    bool UpdateAction(fw::TBasicAction* Action) override;

protected:
    // What form files keep of the control (dbcontrols/PublishedProperties.cpp).
    void DefineProperties(fw::TPropertyList& Properties) override;
    void Loaded() override;
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    void CreateParams(fw::TCreateParams& Params) override;
    void Paint() override;
    fw::HPALETTE GetPalette() override;
    void KeyDown(uint16_t& Key, fw::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void CMEnter(fw::TMessage& Message) override;
    void CMExit(fw::TMessage& Message) override;
    void CMGetDataLink(fw::TMessage& Message) override;
    void WMLButtonDown(fw::TMessage& Message) override;
    void WMLButtonDblClk(fw::TMessage& Message) override;
    void WMCut(fw::TMessage& Message) override;
    void WMCopy(fw::TMessage& Message) override;
    void WMPaste(fw::TMessage& Message) override;
    void WMSize(fw::TMessage& Message) override;
    void CMTextChanged(fw::TMessage& Message) override;

private:
    void DataChange();
    void UpdateData();
    void PictureChanged();

    fw::TFieldDataLink FDataLink;
    TFieldBinding FBinding;
    fw::TPicture FPicture;
    TImageBorderStyle FBorderStyle = bsSingle;
    bool FAutoDisplay = true;
    bool FStretch = false;
    bool FCenter = true;
    bool FPictureLoaded = false;
    bool FQuickDraw = true;
};

} // namespace zorp
