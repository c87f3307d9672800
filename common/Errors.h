// The system's exception classes. Each carries only its message; the fixed
// messages are given by the functions that raise them.
#pragma once

#include "../framework/base/Exceptions.h"
#include "../framework/base/Export.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zorp {

// The LZH5 decoder met a table it cannot decode.
class ZORP_API ELZHBadDecodeTable : public fw::Exception {
public:
    ELZHBadDecodeTable() : fw::Exception("Bad decode table in archive!") {}
};

// Raised as fw::EReadError when a source delivers nothing while bytes of its
// stated size are still to come: a file cut short while it is read.
inline constexpr const char* SDataEndedEarly =
    "Stream read error: the data ended before its stated size";

// The output budget is used up; the component stores the data instead.
class ZORP_API EUnableToCompress : public fw::Exception {
public:
    EUnableToCompress() : fw::Exception("Could not compress data, will store instead") {}
};

class ZORP_API EInsufficientDiskSpace : public fw::Exception {
public:
    using fw::Exception::Exception;
};

class ZORP_API EUnrecognizedCompressionMethod : public fw::Exception {
public:
    explicit EUnrecognizedCompressionMethod(const std::string& CompressID)
        : fw::Exception("Unrecognized compression method: \"" + CompressID + "\" in header") {}

protected:
    // A derived class's whole message, told apart from a method ID.
    struct TMessage {
        std::string Text;
    };
    explicit EUnrecognizedCompressionMethod(TMessage Message)
        : fw::Exception(std::move(Message.Text)) {}
};

// Data of a method that cannot be expanded here: a method number above the
// built-in ones, or the application's own method without an OnExpand handler.
// Raised before anything is read or written.
class ZORP_API EUnsupportedMethod : public EUnrecognizedCompressionMethod {
public:
    explicit EUnsupportedMethod(int Method)
        : EUnrecognizedCompressionMethod(
              TMessage{"Unsupported compression method " + std::to_string(Method)}) {}
    explicit EUnsupportedMethod(const std::string& MethodID)
        : EUnrecognizedCompressionMethod(TMessage{"Unsupported compression method \"" + MethodID +
                                                  "\": no OnExpand handler"}) {}
};

class ZORP_API EInvalidHeaderArchiveType : public fw::Exception {
public:
    using fw::Exception::Exception;
};
inline constexpr const char* SExpandCantHandleMulti =
    "Expand can't handle caMulti archive type in compressed header";
inline constexpr const char* SArchiveTypeMustBeMulti = "Archive type must be caMulti";

class ZORP_API EInvalidHeader : public fw::Exception {
public:
    EInvalidHeader() : fw::Exception("Can't recognize compressed file header") {}
};

// An archive whose entries do not run cleanly to its end: an entry cut off
// or with sizes that cannot be true, or a total that disagrees with the
// entries. EntriesRead is the number of sound entries in front of the damage.
class ZORP_API EArchiveDamaged : public fw::Exception {
public:
    explicit EArchiveDamaged(int EntriesRead)
        : fw::Exception("Archive damaged after entry " + std::to_string(EntriesRead)),
          FEntriesRead(EntriesRead) {}
    int EntriesRead() const { return FEntriesRead; }

private:
    int FEntriesRead;
};

class ZORP_API EBadChecksum : public fw::Exception {
public:
    EBadChecksum() : fw::Exception("Bad checksum during expansion -- data may be invalid") {}

protected:
    explicit EBadChecksum(std::string Message) : fw::Exception(std::move(Message)) {}
};

// The expansion produced more or fewer bytes than the header says: damaged
// data, caught wherever a bad checksum is.
class ZORP_API EExpandedSizeMismatch : public EBadChecksum {
public:
    EExpandedSizeMismatch(int64_t Produced, int32_t Expected)
        : EBadChecksum("Expanded size differs from header (" + std::to_string(Produced) +
                       " bytes, header says " + std::to_string(Expected) +
                       ") -- data may be invalid") {}
};

class ZORP_API EInvalidKey : public fw::Exception {
public:
    EInvalidKey() : fw::Exception("File locked -- valid key required") {}
};

// A progress handler answered -1: the operation stopped and took back what
// it had written (see TZorp::OnShowProgress).
class ZORP_API EOperationCancelled : public fw::Exception {
public:
    EOperationCancelled() : fw::Exception("Operation cancelled") {}
};

// Entries asked for by name that the archive does not hold; Names() lists
// them in the order they were asked for.
class ZORP_API EEntryNotFound : public fw::Exception {
public:
    explicit EEntryNotFound(std::vector<std::string> Names)
        : fw::Exception(
              (Names.size() == 1 ? "File not found in archive: " : "Files not found in archive: ") +
              Joined(Names)),
          FNames(std::move(Names)) {}
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

// An archive entry name longer than its 16-bit length field can hold.
class ZORP_API EFileNameTooLong : public fw::Exception {
public:
    explicit EFileNameTooLong(const std::string& Name)
        : fw::Exception("File name too long for an archive entry (32767 bytes at most): " +
                        Name.substr(0, 80) + "...") {}
};

// Data of 2 GiB or more: the stored size fields are 32-bit.
class ZORP_API EDataTooLarge : public fw::Exception {
public:
    EDataTooLarge()
        : fw::Exception("Data too large: 2 GiB or more cannot be held in a compressed stream") {}
};

} // namespace zorp
