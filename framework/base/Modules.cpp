#include "framework/base/Modules.h"

#include "framework/base/Exceptions.h"

#include <dlfcn.h>
#include <link.h>

namespace zorp::fw {

namespace {

// The main program's link map entry has an empty name; its file is found
// through /proc, whatever name it was started by.
std::string FileOfLinkMap(const link_map* Map) {
    if (Map->l_name == nullptr || Map->l_name[0] == '\0')
        return MainProgramFileName();
    return Map->l_name;
}

} // namespace

std::string MainProgramFileName() {
    return "/proc/self/exe";
}

TLoadedLibrary::TLoadedLibrary(const std::string& Name) {
    FHandle = dlopen(Name.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (FHandle == nullptr) {
        const char* why = dlerror();
        FError = why != nullptr ? why : "unknown error";
    }
}

TLoadedLibrary::~TLoadedLibrary() {
    if (FHandle != nullptr)
        dlclose(FHandle);
}

std::string GetModuleFileName(HMODULE Module) {
    link_map* map = nullptr;
    if (Module == nullptr || dlinfo(Module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr)
        throw EModuleError("Invalid module handle");
    return FileOfLinkMap(map);
}

std::string ModuleFileNameOfAddress(const void* Address) {
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr1(Address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 ||
        map == nullptr)
        throw EModuleError("No module holds the given address");
    return FileOfLinkMap(map);
}

} // namespace zorp::fw
