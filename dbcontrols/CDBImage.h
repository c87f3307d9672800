// TCDBImage, the compressed data-aware picture control, and its border styles.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/CustomControl.h"
#include "../framework/controls/Picture.h"
#include "FieldBinding.h"

namespace zorp {

/// The border drawn around a TCDBImage.
enum TImageBorderStyle : uint8_t {
    bsNone = 0,  ///< No border.
    bsSingle = 1 ///< A sunken client edge with new-style 3D controls, else a plain line.
};

/// TCDBImage: the picture held in one column of a data set's current record,
/// replaceable through the clipboard. With a CompressSource it loads the
/// picture expanded and saves it compressed through a TCGraphicField;
/// pictures are saved as bitmaps. With AutoDisplay off it shows the
/// column's label until the user asks for the picture.
class ZORP_API TCDBImage : public fw::TCustomControl {
public:
    /// The name the class registry and form files know this class by.
    static constexpr const char* StaticClassName = "TCDBImage";
    /// Starts unbound, 105 by 105 pixels, as a tab stop with a single border; the first one
    /// made registers TCGraphicField so form files can name it.
    explicit TCDBImage(fw::TComponent* AOwner);
    /// Stops following the data link's and the picture's events.
    ~TCDBImage() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The component that compresses and expands the column's values. Setting it passes it on
    /// to a compressed field already bound; it does not bind again.
    /// @{
    TZorp* CompressSource() const { return FBinding.CompressSource(); }
    void SetCompressSource(TZorp* Value) { FBinding.SetCompressSource(Value); }
    /// @}
    /// The method pictures are compressed with; setting it passes it on to the compressed field.
    /// @{
    TZorpMethod CompressionMethod() const { return FBinding.CompressionMethod(); }
    void SetCompressionMethod(TZorpMethod Value) { FBinding.SetCompressionMethod(Value); }
    /// @}
    /// The data source whose current record the control shows; setting it binds again, and
    /// while loading a data source the data link has fixed is left alone.
    /// @{
    fw::TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(fw::TDataSource* Value);
    /// @}
    /// The name of the column the control shows; setting it binds again.
    /// @{
    const std::string& DataField() const { return FDataLink.FieldName(); }
    void SetDataField(const std::string& Value) { FBinding.SetDataField(Value); }
    /// @}
    /// The data link's read-only flag: when set, cutting and pasting leave the record alone.
    /// @{
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink.SetReadOnly(Value); }
    /// @}
    /// Whether a new record's picture loads at once; with it off the column's label shows until
    /// LoadPicture runs (Enter or a double-click). Turning it on loads the picture.
    /// @{
    bool AutoDisplay() const { return FAutoDisplay; }
    void SetAutoDisplay(bool Value);
    /// @}
    /// The border around the control; a change recreates the window.
    /// @{
    TImageBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TImageBorderStyle Value);
    /// @}
    /// Whether a picture that is not stretched is drawn centred (a larger one cut on all sides)
    /// rather than at the top-left corner; a change repaints.
    /// @{
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    /// @}
    /// Whether the picture is stretched to fill the control; a change repaints.
    /// @{
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    /// @}
    /// Whether the copies painted for a grid of controls draw their bitmaps ignoring the
    /// palette, which is quicker.
    /// @{
    bool QuickDraw() const { return FQuickDraw; }
    void SetQuickDraw(bool Value) { FQuickDraw = Value; }
    /// @}

    /// The picture shown. Once loaded, a change of it marks the record's value modified and
    /// repaints; setting it copies Value.
    /// @{
    fw::TPicture& Picture() { return FPicture; }
    void SetPicture(const fw::TPicture& Value) { FPicture.Assign(Value); }
    /// @}
    /// The data link's field.
    fw::TField* Field() const { return FDataLink.Field(); }
    /// The compressed field the control is bound to, or nullptr without one.
    TCBlobField* CompressedField() const { return FBinding.CompressedField(); }
    /// The link to the data source that the control reads and writes the column through.
    fw::TFieldDataLink& DataLink() { return FDataLink; }
    /// Whether the picture holds the current record's value rather than the label.
    bool PictureLoaded() const { return FPictureLoaded; }

    /// Where Paint puts a picture of PictureWidth by PictureHeight pixels in Client: the whole of
    /// Client when stretched; else at its own size, centred (offset (client - picture) / 2,
    /// truncating toward zero, so a larger picture is cut on all sides) or at the top-left
    /// corner. Paint fills only what lies outside it; toolkit layers draw with the same rule.
    static fw::TRect PictureRect(const fw::TRect& Client, int32_t PictureWidth,
                                 int32_t PictureHeight, bool Stretch, bool Center);
    /// What Paint shows until the picture is loaded: the field's display label, or the control's
    /// Name without a field, in parentheses.
    std::string PlaceholderText() const;

    /// Loads the current record's picture unless it is loaded: through the compressed field
    /// when there is one, else from a plain BLOB column (past a graphic header).
    void LoadPicture();
    /// Puts the picture on the clipboard, when there is one.
    void CopyToClipboard();
    /// Copies the picture to the clipboard and clears it, when there is one and the record
    /// can be edited.
    void CutToClipboard();
    /// Replaces the picture with the clipboard's bitmap, when the clipboard holds one and the
    /// record can be edited.
    void PasteFromClipboard();

    /// The control's own handling, else the data link's.
    /// @{
    bool ExecuteAction(fw::TBasicAction* Action) override;
    bool UpdateAction(fw::TBasicAction* Action) override;
    /// @}

protected:
    /// What form files keep of the control (dbcontrols/PublishedProperties.cpp).
    void DefineProperties(fw::TPropertyList& Properties) override;
    /// Also binds the compressed field once the form file is read.
    void Loaded() override;
    /// Also passes removal notices to the binding, which forgets a removed data source,
    /// CompressSource or compressed field.
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    /// Adds the border BorderStyle asks for and leaves out full redraws on resizing.
    void CreateParams(fw::TCreateParams& Params) override;
    /// Draws the picture (stretched, centred or at the top-left corner) or, until it is loaded,
    /// the column's label in parentheses; a copy for a grid of controls draws that record's
    /// picture. The form's active control gets a frame, except at design time.
    void Paint() override;
    /// Returns the palette of a bitmap picture; 0 for anything else.
    fw::HPALETTE GetPalette() override;
    /// Shift+Insert pastes, Ctrl+Insert copies and Shift+Delete cuts.
    void KeyDown(uint16_t& Key, fw::TShiftState Shift) override;
    /// Ctrl+C copies, Ctrl+V pastes, Ctrl+X cuts, Enter loads the picture and Escape resets
    /// the data link.
    void KeyPress(char& Key) override;
    /// Repaints, for the focus frame.
    void CMEnter(fw::TMessage& Message) override;
    /// Writes the value back into the record (keeping the focus when that fails), then
    /// repaints.
    void CMExit(fw::TMessage& Message) override;
    /// Answers the control's data link in Result.
    void CMGetDataLink(fw::TMessage& Message) override;
    /// Takes the focus when the control can have it, then handles the click as usual.
    void WMLButtonDown(fw::TMessage& Message) override;
    /// Loads the picture, then handles the double-click as usual.
    void WMLButtonDblClk(fw::TMessage& Message) override;
    /// Runs CutToClipboard.
    void WMCut(fw::TMessage& Message) override;
    /// Runs CopyToClipboard.
    void WMCopy(fw::TMessage& Message) override;
    /// Runs PasteFromClipboard.
    void WMPaste(fw::TMessage& Message) override;
    /// Repaints the whole control after a resize.
    void WMSize(fw::TMessage& Message) override;
    /// Repaints as every control does, and asks once more while the label is shown.
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
