// The framework's exception classes. Every exception of the system carries
// only a message; the classes tell the kind of failure apart.
#pragma once

#include "Export.h"

#include <exception>
#include <string>

namespace zorp::fw {

class ZORP_API Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const noexcept { return FMessage; }

private:
    std::string FMessage;
};

// Streams: a short ReadBuffer/WriteBuffer, a bad seek or size.
class ZORP_API EStreamError : public Exception {
public:
    using Exception::Exception;
};
class ZORP_API EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class ZORP_API EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A form file's text is not well formed: "<what> on line <n>".
class ZORP_API EParserError : public EReadError {
public:
    using EReadError::EReadError;
};

// A file stream could not be opened or created; the message names the file.
class ZORP_API EFileStreamError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class ZORP_API EFOpenError : public EFileStreamError {
public:
    using EFileStreamError::EFileStreamError;
};
class ZORP_API EFCreateError : public EFileStreamError {
public:
    using EFileStreamError::EFileStreamError;
};

// An operating-system input/output failure (directory creation, for one).
class ZORP_API EInOutError : public Exception {
public:
    EInOutError(std::string message, int errorCode)
        : Exception(std::move(message)), ErrorCode(errorCode) {}
    int ErrorCode;
};

// Index out of range in a list.
class ZORP_API EListError : public Exception {
public:
    using Exception::Exception;
};

// Component names and ownership.
class ZORP_API EComponentError : public Exception {
public:
    using Exception::Exception;
};

// A class looked up by name is not registered.
class ZORP_API EClassNotFound : public Exception {
public:
    using Exception::Exception;
};

// A resource of the requested name and type is not in the module.
class ZORP_API EResNotFound : public Exception {
public:
    using Exception::Exception;
};

// A module file that cannot be read as an executable or shared library:
// not ELF, another byte order, or a damaged header or section table.
class ZORP_API EModuleError : public Exception {
public:
    using Exception::Exception;
};

// A module file that is not a sound ELF file; Reason says what is wrong.
class ZORP_API EInvalidModuleFile : public EModuleError {
public:
    EInvalidModuleFile(const std::string& FileName, std::string Reason)
        : EModuleError("Invalid module file \"" + FileName + "\": " + Reason),
          FReason(std::move(Reason)) {}
    const std::string& Reason() const noexcept { return FReason; }

private:
    std::string FReason;
};

// Image data that cannot be read (damaged or unsupported), or a bad image
// operation.
class ZORP_API EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

} // namespace zorp::fw
