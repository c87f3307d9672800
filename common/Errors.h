// The library's exception classes and the messages some of them are raised with.
#pragma once

#include "../framework/base/Exceptions.h"
#include "../framework/base/Export.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zorp {

/// The LZH5 decoder met a table it cannot decode.
class ZORP_API ELZHBadDecodeTable : public fw::Exception {
public:
    /// Carries the fixed message "Bad decode table in archive!".
    ELZHBadDecodeTable() : fw::Exception("Bad decode table in archive!") {}
};

/// Raised as fw::EReadError when a source delivers nothing while bytes of its
/// stated size are still to come: a file cut short while it is read.
inline constexpr const char* SDataEndedEarly =
    "Stream read error: the data ended before its stated size";

/// The output budget is used up; the component stores the data instead.
class ZORP_API EUnableToCompress : public fw::Exception {
public:
    /// Carries the fixed message saying that the data will be stored instead.
    EUnableToCompress() : fw::Exception("Could not compress data, will store instead") {}
};

/// The disk cannot take the output: too little free space to expand an entry,
/// or a write error while an archive is written (that error is nested inside).
class ZORP_API EInsufficientDiskSpace : public fw::Exception {
public:
    /// Takes the message as given.
    using fw::Exception::Exception;
};

/// A method ID in a header that is neither a built-in method nor one the
/// OnRecognize handler accepts.
class ZORP_API EUnrecognizedCompressionMethod : public fw::Exception {
public:
    /// Names the unrecognized ID CompressID in the message.
    explicit EUnrecognizedCompressionMethod(const std::string& CompressID)
        : fw::Exception("Unrecognized compression method: \"" + CompressID + "\" in header") {}

protected:
    /// A derived class's whole message, told apart from a method ID.
    struct TMessage {
        std::string Text; ///< The message as it is to be shown.
    };
    /// Takes a derived class's whole message instead of building one from an ID.
    explicit EUnrecognizedCompressionMethod(TMessage Message)
        : fw::Exception(std::move(Message.Text)) {}
};

/// Data of a method that cannot be expanded here: a method number above the
/// built-in ones, or the application's own method without an OnExpand handler.
/// Raised before anything is read or written.
class ZORP_API EUnsupportedMethod : public EUnrecognizedCompressionMethod {
public:
    /// Names the method number above the built-in ones.
    explicit EUnsupportedMethod(int Method)
        : EUnrecognizedCompressionMethod(
              TMessage{"Unsupported compression method " + std::to_string(Method)}) {}
    /// Names the application's own method ID that has no OnExpand handler to expand it.
    explicit EUnsupportedMethod(const std::string& MethodID)
        : EUnrecognizedCompressionMethod(TMessage{"Unsupported compression method \"" + MethodID +
                                                  "\": no OnExpand handler"}) {}
};

/// A compressed header of the wrong archive type: a multi-file archive given
/// to a single-stream expansion, or the reverse. The message is one of the two
/// constants below.
class ZORP_API EInvalidHeaderArchiveType : public fw::Exception {
public:
    /// Takes the message as given.
    using fw::Exception::Exception;
};
/// Message of EInvalidHeaderArchiveType when a single-stream expansion meets a
/// multi-file archive.
inline constexpr const char* SExpandCantHandleMulti =
    "Expand can't handle caMulti archive type in compressed header";
/// Message of EInvalidHeaderArchiveType when an archive operation meets a
/// header that is not of a multi-file archive.
inline constexpr const char* SArchiveTypeMustBeMulti = "Archive type must be caMulti";

/// Data that does not begin with the compressed header's magic number where
/// an archive is expected.
class ZORP_API EInvalidHeader : public fw::Exception {
public:
    /// Carries the fixed message "Can't recognize compressed file header".
    EInvalidHeader() : fw::Exception("Can't recognize compressed file header") {}
};

/// An archive whose entries do not run cleanly to its end: an entry cut off
/// or with sizes that cannot be true, or a total that disagrees with the
/// entries. EntriesRead is the number of sound entries in front of the damage.
class ZORP_API EArchiveDamaged : public fw::Exception {
public:
    /// Names the entry after which the damage begins.
    explicit EArchiveDamaged(int EntriesRead)
        : fw::Exception("Archive damaged after entry " + std::to_string(EntriesRead)),
          FEntriesRead(EntriesRead) {}
    /// Returns the number of sound entries in front of the damage.
    int EntriesRead() const { return FEntriesRead; }

private:
    int FEntriesRead;
};

/// The checksum of expanded data disagrees with the one its header carries.
class ZORP_API EBadChecksum : public fw::Exception {
public:
    /// Carries the fixed message warning that the data may be invalid.
    EBadChecksum() : fw::Exception("Bad checksum during expansion -- data may be invalid") {}

protected:
    /// Takes a derived class's whole message.
    explicit EBadChecksum(std::string Message) : fw::Exception(std::move(Message)) {}
};

/// The expansion produced more or fewer bytes than the header says: damaged
/// data, caught wherever a bad checksum is.
class ZORP_API EExpandedSizeMismatch : public EBadChecksum {
public:
    /// Names the bytes Produced and the size Expected by the header.
    EExpandedSizeMismatch(int64_t Produced, int32_t Expected)
        : EBadChecksum("Expanded size differs from header (" + std::to_string(Produced) +
                       " bytes, header says " + std::to_string(Expected) +
                       ") -- data may be invalid") {}
};

/// Locked data met without a key, or with a key that does not open it.
class ZORP_API EInvalidKey : public fw::Exception {
public:
    /// Carries the fixed message "File locked -- valid key required".
    EInvalidKey() : fw::Exception("File locked -- valid key required") {}
};

/// A progress handler answered -1: the operation stopped and took back what
/// it had written (see TZorp::OnShowProgress).
class ZORP_API EOperationCancelled : public fw::Exception {
public:
    /// Carries the fixed message "Operation cancelled".
    EOperationCancelled() : fw::Exception("Operation cancelled") {}
};

/// Entries asked for by name that the archive does not hold; Names() lists
/// them in the order they were asked for.
class ZORP_API EEntryNotFound : public fw::Exception {
public:
    /// Lists the missing Names, comma-separated, in the message.
    explicit EEntryNotFound(std::vector<std::string> Names)
        : fw::Exception(
              (Names.size() == 1 ? "File not found in archive: " : "Files not found in archive: ") +
              Joined(Names)),
          FNames(std::move(Names)) {}
    /// Returns the missing names in the order they were asked for.
    const std::vector<std::string>& Names() const { return FNames; }

private:
    static std::string Joined(const std::vector<std::string>& Names) {
        std::string text;
        for (const std::string& name : Names)
            text += (text.empty() ? "" : ", ") + name;
        return text;
    }

    std::vector<std::string> FNames;
};

/// An archive entry name longer than its 16-bit length field can hold.
class ZORP_API EFileNameTooLong : public fw::Exception {
public:
    /// Quotes the first 80 bytes of Name in the message.
    explicit EFileNameTooLong(const std::string& Name)
        : fw::Exception("File name too long for an archive entry (32767 bytes at most): " +
                        Name.substr(0, 80) + "...") {}
};

/// Data of 2 GiB or more: the stored size fields are 32-bit.
class ZORP_API EDataTooLarge : public fw::Exception {
public:
    /// Carries the fixed message saying that 2 GiB or more cannot be held.
    EDataTooLarge()
        : fw::Exception("Data too large: 2 GiB or more cannot be held in a compressed stream") {}
};

} // namespace zorp
