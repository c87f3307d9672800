#include "dbcontrols/CDBImage.h"

#include "framework/base/ClassRegistry.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Canvas.h"
#include "framework/controls/Clipboard.h"
#include "framework/controls/Forms.h"

namespace zorp {

namespace {

bool GraphicFieldRegistered = false;

// A plain BLOB field's bytes as a bitmap, past a graphic header if there is
// one; an empty value clears the picture.
void LoadPlainPicture(fw::TField& Field, fw::TPicture& Picture) {
    const std::string value = Field.AsString();
    if (value.empty()) {
        Picture.SetGraphic(nullptr);
        return;
    }
    fw::TMemoryStream stream;
    stream.WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
    size_t skip = 0;
    if (value.size() >= 8) {
        const auto* b = reinterpret_cast<const uint8_t*>(value.data());
        const uint32_t size = b[4] | b[5] << 8 | b[6] << 16 | static_cast<uint32_t>(b[7]) << 24;
        if (b[0] == 1 && b[1] == 0 && b[2] == 0 && b[3] == 1 && size == value.size() - 8)
            skip = 8;
    }
    stream.SetPosition(static_cast<int64_t>(skip));
    Picture.Bitmap().LoadFromStream(stream);
}

// A bitmap into a plain BLOB field, behind a graphic header on graphic fields.
void StorePlainPicture(fw::TField& Field, const fw::TBitmap& Bitmap) {
    fw::TMemoryStream bmp;
    Bitmap.SaveToStream(bmp);
    std::string value = bmp.DataString();
    if (Field.DataType() == fw::ftGraphic || Field.DataType() == fw::ftTypedBinary) {
        const auto n = static_cast<uint32_t>(value.size());
        value.insert(0, std::string{1, 0, 0, 1, static_cast<char>(n), static_cast<char>(n >> 8),
                                    static_cast<char>(n >> 16), static_cast<char>(n >> 24)});
    }
    Field.SetAsString(value);
}

} // namespace

TCDBImage::TCDBImage(fw::TComponent* AOwner)
    : fw::TCustomControl(AOwner),
      FBinding(
          *this, FDataLink, [](fw::TComponent* owner) { return new TCGraphicField(owner); },
          [](fw::TField* f) { return dynamic_cast<TCGraphicField*>(f) != nullptr; }) {
    fw::TControlStyle style = ControlStyle() | fw::csOpaque | fw::csReplicatable;
    if (!fw::NewStyleControls())
        style |= fw::csFramed;
    SetControlStyle(style);
    SetBounds(Left(), Top(), 105, 105);
    SetTabStop(true);
    SetParentColor(false);
    FPicture.OnChange = [this] { PictureChanged(); };
    FDataLink.SetControl(this);
    FDataLink.OnDataChange = [this] { DataChange(); };
    FDataLink.OnUpdateData = [this] { UpdateData(); };
    if (!GraphicFieldRegistered) {
        GraphicFieldRegistered = true;
        fw::RegisterClass(fw::ClassOf<TCGraphicField>());
    }
}

TCDBImage::~TCDBImage() {
    FDataLink.OnDataChange = nullptr;
    FDataLink.OnUpdateData = nullptr;
    FPicture.OnChange = nullptr;
}

void TCDBImage::Loaded() {
    fw::TCustomControl::Loaded();
    FBinding.CheckCompressedField();
}

void TCDBImage::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    fw::TCustomControl::Notification(AComponent, Operation);
    FBinding.Notification(AComponent, Operation);
}

void TCDBImage::SetDataSource(fw::TDataSource* Value) {
    const bool loading = (ComponentState() & fw::csLoading) != 0;
    FBinding.SetDataSource(Value, FDataLink.DataSourceFixed() && loading);
}

bool TCDBImage::ExecuteAction(fw::TBasicAction* Action) {
    return fw::TCustomControl::ExecuteAction(Action) || FDataLink.ExecuteAction(Action);
}

bool TCDBImage::UpdateAction(fw::TBasicAction* Action) {
    return fw::TCustomControl::UpdateAction(Action) || FDataLink.UpdateAction(Action);
}

void TCDBImage::SetAutoDisplay(bool Value) {
    if (FAutoDisplay == Value)
        return;
    FAutoDisplay = Value;
    if (Value)
        LoadPicture();
}

void TCDBImage::SetBorderStyle(TImageBorderStyle Value) {
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCDBImage::SetCenter(bool Value) {
    if (FCenter != Value) {
        FCenter = Value;
        Invalidate();
    }
}

void TCDBImage::SetStretch(bool Value) {
    if (FStretch != Value) {
        FStretch = Value;
        Invalidate();
    }
}

void TCDBImage::LoadPicture() {
    if (FPictureLoaded)
        return;
    if (TCBlobField* compressed = FBinding.CompressedField()) {
        compressed->SaveToBitmap(FPicture.Bitmap());
        return;
    }
    fw::TField* field = FDataLink.Field();
    if (field == nullptr)
        FPicture.SetGraphic(nullptr);
    else if (field->IsBlob())
        LoadPlainPicture(*field, FPicture);
}

void TCDBImage::DataChange() {
    FPicture.SetGraphic(nullptr);
    FPictureLoaded = false;
    if (FAutoDisplay)
        LoadPicture();
}

void TCDBImage::PictureChanged() {
    if (FPictureLoaded)
        FDataLink.Modified();
    FPictureLoaded = true;
    Invalidate();
}

void TCDBImage::UpdateData() {
    fw::TField* field = FBinding.Field();
    auto* bitmap = dynamic_cast<fw::TBitmap*>(FPicture.Graphic());
    if (bitmap == nullptr) {
        field->Clear(); // no picture, or one that is not a bitmap
    } else if (auto* compressed = dynamic_cast<TCBlobField*>(field)) {
        compressed->Assign(*bitmap);
    } else {
        StorePlainPicture(*field, *bitmap);
    }
}

void TCDBImage::CopyToClipboard() {
    if (FPicture.Graphic() != nullptr)
        fw::Clipboard().Assign(FPicture);
}

void TCDBImage::CutToClipboard() {
    if (FPicture.Graphic() != nullptr && FDataLink.Edit()) {
        CopyToClipboard();
        FPicture.SetGraphic(nullptr);
    }
}

void TCDBImage::PasteFromClipboard() {
    if (fw::Clipboard().HasFormat(fw::CF_BITMAP) && FDataLink.Edit()) {
        fw::TBitmap pasted;
        fw::Clipboard().AssignTo(pasted);
        FPicture.Bitmap().Assign(pasted);
    }
}

void TCDBImage::KeyPress(char& Key) {
    fw::TCustomControl::KeyPress(Key);
    switch (Key) {
    case 3:
        CopyToClipboard();
        break;
    case '\r':
        LoadPicture();
        break;
    case 22:
        PasteFromClipboard();
        break;
    case 24:
        CutToClipboard();
        break;
    case 27:
        FDataLink.Reset();
        break;
    default:
        break;
    }
}

void TCDBImage::KeyDown(uint16_t& Key, fw::TShiftState Shift) {
    fw::TCustomControl::KeyDown(Key, Shift);
    const bool shift = (Shift & fw::ssShift) != 0;
    if (Key == fw::VK_INSERT && shift)
        PasteFromClipboard();
    else if (Key == fw::VK_INSERT && (Shift & fw::ssCtrl) != 0)
        CopyToClipboard();
    else if (Key == fw::VK_DELETE && shift)
        CutToClipboard();
}

void TCDBImage::WMLButtonDown(fw::TMessage& Message) {
    if (TabStop() && CanFocus())
        SetFocus();
    fw::TCustomControl::WMLButtonDown(Message);
}

void TCDBImage::WMLButtonDblClk(fw::TMessage& Message) {
    LoadPicture();
    fw::TCustomControl::WMLButtonDblClk(Message);
}

void TCDBImage::CMEnter(fw::TMessage& Message) {
    Invalidate();
    fw::TCustomControl::CMEnter(Message);
}

void TCDBImage::CMExit(fw::TMessage& Message) {
    try {
        FDataLink.UpdateRecord();
    } catch (...) {
        SetFocus();
        throw;
    }
    Invalidate();
    fw::TCustomControl::CMExit(Message);
}

void TCDBImage::CMGetDataLink(fw::TMessage& Message) {
    Message.Result = reinterpret_cast<fw::LRESULT>(&FDataLink);
}

void TCDBImage::WMCut(fw::TMessage&) {
    CutToClipboard();
}

void TCDBImage::WMCopy(fw::TMessage&) {
    CopyToClipboard();
}

void TCDBImage::WMPaste(fw::TMessage&) {
    PasteFromClipboard();
}

void TCDBImage::WMSize(fw::TMessage& Message) {
    fw::TCustomControl::WMSize(Message);
    Invalidate();
}

void TCDBImage::CMTextChanged(fw::TMessage& Message) {
    fw::TCustomControl::CMTextChanged(Message);
    if (!FPictureLoaded)
        Invalidate();
}

void TCDBImage::CreateParams(fw::TCreateParams& Params) {
    fw::TCustomControl::CreateParams(Params);
    if (FBorderStyle == bsSingle) {
        if (fw::NewStyleControls() && Ctl3D())
            Params.ExStyle |= fw::WS_EX_CLIENTEDGE;
        else
            Params.Style |= fw::WS_BORDER;
    }
    Params.WindowClassStyle &= ~(fw::CS_VREDRAW | fw::CS_HREDRAW);
}

fw::HPALETTE TCDBImage::GetPalette() {
    const fw::TGraphic* graphic = FPicture.Graphic();
    return dynamic_cast<const fw::TBitmap*>(graphic) != nullptr ? fw::PaletteHandleOf(graphic) : 0;
}

namespace {

// Draws Graphic (null: none) in Client where PictureRect puts it, the rest
// of Client filled with the brush.
void DrawPicture(fw::TCanvas& Canvas, const fw::TGraphic* Graphic, const fw::TRect& Client,
                 bool Stretch, bool Center) {
    const int32_t width = Graphic != nullptr ? Graphic->Width() : 0;
    const int32_t height = Graphic != nullptr ? Graphic->Height() : 0;
    const fw::TRect r = TCDBImage::PictureRect(Client, width, height, Stretch, Center);
    if (Stretch) {
        if (Graphic == nullptr || Graphic->Empty())
            Canvas.FillRect(Client);
        else
            Canvas.StretchDraw(r, *Graphic);
        return;
    }
    if (Graphic != nullptr)
        Canvas.Draw(r.Left, r.Top, *Graphic);
    Canvas.ExcludeClipRect(r);
    Canvas.FillRect(Client);
    Canvas.SelectClipRgn(nullptr);
}

} // namespace

fw::TRect TCDBImage::PictureRect(const fw::TRect& Client, int32_t PictureWidth,
                                 int32_t PictureHeight, bool Stretch, bool Center) {
    if (Stretch)
        return Client;
    int32_t left = Client.Left;
    int32_t top = Client.Top;
    if (Center) {
        // Truncating division: a larger picture is centred and cut.
        left += (Client.Width() - PictureWidth) / 2;
        top += (Client.Height() - PictureHeight) / 2;
    }
    return fw::Rect(left, top, left + PictureWidth, top + PictureHeight);
}

std::string TCDBImage::PlaceholderText() const {
    const fw::TField* field = FDataLink.Field();
    return "(" + (field != nullptr ? field->DisplayLabel() : Name()) + ")";
}

void TCDBImage::Paint() {
    fw::TCanvas& canvas = Canvas();
    canvas.Brush().SetStyle(fw::bsSolid);
    canvas.Brush().SetColor(Color());
    const fw::TRect client = ClientRect();
    const bool paintCopy = (ControlState() & fw::csPaintCopy) != 0;
    if (FPictureLoaded || paintCopy) {
        fw::TPicture shown;
        fw::HPALETTE saved = 0;
        fw::TField* field = FDataLink.Field();
        if (paintCopy && field != nullptr && field->IsBlob()) {
            if (TCBlobField* compressed = FBinding.CompressedField())
                compressed->SaveToBitmap(shown.Bitmap());
            else
                LoadPlainPicture(*field, shown);
            if (auto* bitmap = dynamic_cast<fw::TBitmap*>(shown.Graphic()))
                bitmap->SetIgnorePalette(FQuickDraw);
        } else {
            shown.Assign(FPicture);
            const fw::TGraphic* graphic = shown.Graphic();
            if (Focused() && graphic != nullptr && graphic->HasPalette()) {
                saved = canvas.SelectPalette(fw::PaletteHandleOf(graphic), false);
                canvas.RealizePalette();
            }
        }
        DrawPicture(canvas, shown.Graphic(), client, FStretch, FCenter);
        if (saved != 0)
            canvas.SelectPalette(saved, true);
    } else {
        const std::string label = PlaceholderText();
        canvas.Font().Assign(Font());
        const int32_t x = (client.Right - canvas.TextWidth(label)) / 2;
        const int32_t y = (client.Bottom - canvas.TextHeight(label)) / 2;
        canvas.TextRect(client, x, y, label);
    }
    fw::TCustomForm* form = fw::GetParentForm(this);
    if (form != nullptr && form->ActiveControl() == this &&
        (ComponentState() & fw::csDesigning) == 0 && !paintCopy) {
        canvas.Brush().SetColor(fw::clWindowFrame);
        canvas.FrameRect(client);
    }
}

} // namespace zorp
