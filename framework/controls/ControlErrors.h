// Exceptions of the controls layer.
#pragma once

#include "../base/Exceptions.h"
#include "../base/Export.h"

namespace zorp::fw {

/// An operation the control cannot do in its current state: focusing a
/// hidden or disabled control, text beyond an edit control's capacity.
class ZORP_API EInvalidOperation : public Exception {
public:
    /// Takes the message as Exception does.
    using Exception::Exception;
};

/// A window-system resource ran out; the rich edit control raises it for
/// text beyond its capacity.
class ZORP_API EOutOfResources : public Exception {
public:
    /// Takes the message as Exception does.
    using Exception::Exception;
};

} // namespace zorp::fw
