// The root of the framework's class tree. Objects attached to string-list
// lines and the component classes derive from it.
#pragma once

#include "Export.h"

#include <string>

namespace zorp::fw {

class ZORP_API TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The class's name as the framework's registries know it.
    virtual std::string ClassName() const { return "TObject"; }
};

} // namespace zorp::fw
