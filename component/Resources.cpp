// Compressed resources of type "TZORP" carried by modules.
#include "component/Resources.h"

#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/Modules.h"
#include "framework/base/ResourceStream.h"

namespace zorp {

namespace {

// A function of this module, so that the module can be found from its code.
void ModuleAnchor() {}

} // namespace

std::string ComponentModuleFileName() {
    return fw::ModuleFileNameOfAddress(reinterpret_cast<const void*>(&ModuleAnchor));
}

std::unique_ptr<fw::TStream> TZorp::LoadCompressedResource(const std::string& ResourceName,
                                                           const std::string& ModuleName) {
    if (ModuleName.empty())
        return std::make_unique<fw::TResourceStream>(ComponentModuleFileName(), ResourceName,
                                                     ZorpResourceType);
    if (ModuleName == MainProgramModule)
        return std::make_unique<fw::TResourceStream>(fw::MainProgramFileName(), ResourceName,
                                                     ZorpResourceType);
    // The stream holds a copy of the bytes: the library is released on return.
    const fw::TLoadedLibrary library(ModuleName);
    if (library.Handle() == nullptr)
        throw fw::Exception("Could not load " + ModuleName + " DLL");
    return std::make_unique<fw::TResourceStream>(library.Handle(), ResourceName, ZorpResourceType);
}

std::unique_ptr<fw::TMemoryStream> TZorp::LoadExpandedResource(const std::string& ResourceName,
                                                               const std::string& ModuleName) {
    auto result = std::make_unique<fw::TMemoryStream>();
    const std::unique_ptr<fw::TStream> resource = LoadCompressedResource(ResourceName, ModuleName);
    if (!resource || resource->Size() == 0)
        throw fw::EResNotFound("Could not load resource: " + ResourceName);
    Expand(*result, *resource);
    result->SetPosition(0);
    return result;
}

} // namespace zorp
