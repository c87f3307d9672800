#include "support/LoadedLibrary.h"

#include <link.h>

namespace zorp::test {

std::string LoadedLibraryFile(const std::string& Name) {
    struct TSearch {
        std::string Prefix;
        std::string Found;
    } search{Name + ".so", ""};
    dl_iterate_phdr(
        [](dl_phdr_info* Info, size_t, void* Data) {
            auto& s = *static_cast<TSearch*>(Data);
            const std::string path = Info->dlpi_name != nullptr ? Info->dlpi_name : "";
            const std::string file = path.substr(path.rfind('/') + 1);
            if (file.rfind(s.Prefix, 0) != 0)
                return 0;
            s.Found = path;
            return 1;
        },
        &search);
    return search.Found;
}

} // namespace zorp::test
