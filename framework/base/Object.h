#pragma once

#include "Export.h"

#include <string>

namespace zorp::fw {

/// The root of the framework's class tree. Objects attached to string-list
/// lines and the component classes derive from it.
class ZORP_API TObject {
public:
    /// Holds nothing; derived classes add their state.
    TObject() = default;
    /// Objects are not copied.
    /// @{
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    /// @}
    /// Virtual, so that an object is freed through a TObject pointer.
    virtual ~TObject() = default;

    /// The class's name as the framework's registries know it.
    virtual std::string ClassName() const { return "TObject"; }
};

} // namespace zorp::fw
