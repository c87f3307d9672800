// TZorp: the compression component. It owns one engine object, carries the
// settings every operation shares (Key, TargetPath and three switches) and
// the application's event handlers, and runs every compression and
// expansion through the stream driver ProcessStreams.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/Errors.h"
#include "engine/ZorpTypes.h"
#include "framework/base/Component.h"
#include "framework/base/Stream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorp {

class TZorp : public fw::TComponent {
public:
    static constexpr const char* StaticClassName = "TZorp";

    explicit TZorp(fw::TComponent* AOwner);
    ~TZorp() override;
    std::string ClassName() const override { return StaticClassName; }

    // Events (published, in this order).
    TZorpEvent OnCompress;
    TExpandEvent OnExpand;
    TFilenameCheckEvent OnCheckFile;
    TRecognizeEvent OnRecognize;
    TShowProgressEvent OnShowProgress;

    // Published properties.
    const std::string& TargetPath() const { return FTargetPath; }
    // Stores the directory with a trailing "/" (an empty value stays empty).
    void SetTargetPath(const std::string& Value);
    bool MakeDirectories() const { return FMakeDirectories; }
    void SetMakeDirectories(bool Value) { FMakeDirectories = Value; }
    bool ExceptionOnFileError() const { return FExceptionOnFileError; }
    void SetExceptionOnFileError(bool Value) { FExceptionOnFileError = Value; }
    int32_t Key() const { return FKey; }
    void SetKey(int32_t Value) { FKey = Value; }
    bool CheckSpaceBeforeExpand() const { return FCheckSpaceBeforeExpand; }
    void SetCheckSpaceBeforeExpand(bool Value) { FCheckSpaceBeforeExpand = Value; }

    // Size of the last compression result as a percentage of the input.
    int32_t LastRatio() const { return FLastRatio; }
    // Milliseconds taken by the last compression or expansion run.
    int32_t LastDuration() const { return FLastDuration; }

    // Bytes written (or to be written) in front of the compressed data, which
    // the compressed data must leave room for: 21 behind a stream header,
    // otherwise 0.
    int32_t HeaderReserve() const { return FHeaderReserve; }
    void SetHeaderReserve(int32_t Value) { FHeaderReserve = Value; }

    // The stream driver: runs exactly one codec from Source (SourceSize bytes
    // from its position) into Dest. Returns the number of bytes written (0
    // when the run was cancelled at the opening progress event) and stores
    // the byte sum of the uncompressed data in Checksum. ExpandedSize is the
    // output size the LZH and LZH5 decoders must produce; Scrambled says the
    // data to expand was stored with a key.
    int32_t ProcessStreams(fw::TStream& Dest, fw::TStream& Source, int32_t SourceSize,
                           int32_t ExpandedSize, TZorpMethod Method, int32_t& Checksum,
                           TCProcessMode Mode, bool Scrambled);

protected:
    // The engine object of this component.
    TCompThreadSafety& Engine() { return *FEngine; }

    int32_t FLastRatio = 0;
    int32_t FLastDuration = 0;

private:
    std::unique_ptr<TCompThreadSafety> FEngine;
    std::string FTargetPath;
    bool FMakeDirectories = false;
    int32_t FKey = 0;
    bool FExceptionOnFileError = false;
    bool FCheckSpaceBeforeExpand = false;
    int32_t FHeaderReserve = 0;
};

// Puts TZorp on the component palette page "Compress".
void Register();

} // namespace zorp
