// The framework's exception classes. The classes tell the kind of failure
// apart; all carry a message.
#pragma once

#include "Export.h"

#include <exception>
#include <string>

namespace zorp::fw {

/// The base of the library's exception classes; it carries the message.
class ZORP_API Exception : public std::exception {
public:
    /// Takes the message as given.
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    /// The message, as a C string valid while the exception lives.
    const char* what() const noexcept override { return FMessage.c_str(); }
    /// The message.
    const std::string& Message() const noexcept { return FMessage; }

private:
    std::string FMessage;
};

/// Streams: a short ReadBuffer/WriteBuffer, a bad seek or size.
class ZORP_API EStreamError : public Exception {
public:
    /// Takes the message as given.
    using Exception::Exception;
};
/// A stream could not deliver the bytes asked for: a short ReadBuffer, or a
/// read the system refused.
class ZORP_API EReadError : public EStreamError {
public:
    /// Takes the message as given.
    using EStreamError::EStreamError;
};
/// A stream could not take the bytes given: a short WriteBuffer, or a write
/// the system refused.
class ZORP_API EWriteError : public EStreamError {
public:
    /// Takes the message as given.
    using EStreamError::EStreamError;
};

/// A form file's text is not well formed: "<what> on line <n>".
class ZORP_API EParserError : public EReadError {
public:
    /// Takes the message as given.
    using EReadError::EReadError;
};

/// A file stream could not be opened or created; the message names the file.
class ZORP_API EFileStreamError : public EStreamError {
public:
    /// Takes the message as given.
    using EStreamError::EStreamError;
};
/// An existing file could not be opened ("Cannot open file ...").
class ZORP_API EFOpenError : public EFileStreamError {
public:
    /// Takes the message as given.
    using EFileStreamError::EFileStreamError;
};
/// A file could not be created or replaced ("Cannot create file ...").
class ZORP_API EFCreateError : public EFileStreamError {
public:
    /// Takes the message as given.
    using EFileStreamError::EFileStreamError;
};

/// An operating-system input/output failure (directory creation, for one).
class ZORP_API EInOutError : public Exception {
public:
    /// Takes the message and the system's error code.
    EInOutError(std::string message, int errorCode)
        : Exception(std::move(message)), ErrorCode(errorCode) {}
    /// The system's error code (an errno value).
    int ErrorCode;
};

/// Index out of range in a list.
class ZORP_API EListError : public Exception {
public:
    /// Takes the message as given.
    using Exception::Exception;
};

/// Component names and ownership.
class ZORP_API EComponentError : public Exception {
public:
    /// Takes the message as given.
    using Exception::Exception;
};

/// A class looked up by name is not registered.
class ZORP_API EClassNotFound : public Exception {
public:
    /// Takes the message as given.
    using Exception::Exception;
};

/// A resource of the requested name and type is not in the module.
class ZORP_API EResNotFound : public Exception {
public:
    /// Takes the message as given.
    using Exception::Exception;
};

/// A module file that cannot be read as an executable or shared library:
/// not ELF, another byte order, or a damaged header or section table.
class ZORP_API EModuleError : public Exception {
public:
    /// Takes the message as given.
    using Exception::Exception;
};

/// A module file that is not a sound ELF file; Reason says what is wrong.
class ZORP_API EInvalidModuleFile : public EModuleError {
public:
    /// Names FileName and Reason in the message.
    EInvalidModuleFile(const std::string& FileName, std::string Reason)
        : EModuleError("Invalid module file \"" + FileName + "\": " + Reason),
          FReason(std::move(Reason)) {}
    /// What is wrong with the file.
    const std::string& Reason() const noexcept { return FReason; }

private:
    std::string FReason;
};

/// Image data that cannot be read (damaged or unsupported), or a bad image
/// operation.
class ZORP_API EInvalidGraphic : public Exception {
public:
    /// Takes the message as given.
    using Exception::Exception;
};

} // namespace zorp::fw
