// An empty module name reads the resources of the library that holds the
// component. This program runs against a copy of zorpcore that carries the
// resource OWN (the compressed sample text); the program itself carries a
// different OWN (the source of the test library, stored), which
// MainProgramModule reads, and HOSTONLY, which the library does not carry.
#include "component/Resources.h"
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/ResourceStream.h"
#include "support/LoadedLibrary.h"
#include "support/TestFiles.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

TEST(OwnModule, EmptyModuleNameReadsTheComponentsLibrary) {
    const std::string own = LoadedLibraryFile("libzorpcore");
    ASSERT_EQ(own.rfind(std::string(ZORP_OWN_MODULE_DIR) + "/", 0), 0u)
        << "not running against the copy of zorpcore: " << own;

    TZorp zorp(nullptr);
    EXPECT_EQ(zorp.LoadExpandedResource("own", "")->DataString(), ReadWholeFile(ZORP_TEST_SAMPLE));
    EXPECT_EQ(zorp.LoadCompressedResource("OWN", "")->Size(),
              static_cast<int64_t>(fw::TResourceStream(own, "OWN", "TZORP").Size()));

    // The program's own resource of that name is another one.
    void* self = dlopen(nullptr, RTLD_NOW);
    fw::TResourceStream program(self, "OWN", ZorpResourceType);
    dlclose(self);
    EXPECT_EQ(std::string(program.Memory(), static_cast<size_t>(program.Size())),
              ReadWholeFile(ZORP_TEST_EXE_RESOURCE));
}

TEST(OwnModule, MainProgramModuleReadsTheProgramsOwnResources) {
    TZorp zorp(nullptr);
    EXPECT_EQ(zorp.LoadExpandedResource("own", TZorp::MainProgramModule)->DataString(),
              ReadWholeFile(ZORP_TEST_EXE_RESOURCE));
    EXPECT_THROW(zorp.LoadCompressedResource("TEXT", TZorp::MainProgramModule), fw::EResNotFound);
}

// The program's own HOSTONLY resource is not found through an empty name.
TEST(LoadResource, EmptyModuleNameMeansTheComponentsLibrary) {
    void* self = dlopen(nullptr, RTLD_NOW);
    EXPECT_EQ(fw::TResourceStream(self, "HOSTONLY", ZorpResourceType).Size(),
              static_cast<int64_t>(ReadWholeFile(ZORP_TEST_SAMPLE).size()));
    dlclose(self);
    TZorp zorp(nullptr);
    EXPECT_THROW(zorp.LoadCompressedResource("HOSTONLY", ""), fw::EResNotFound);
    EXPECT_THROW(zorp.LoadExpandedResource("HOSTONLY", ""), fw::EResNotFound);
}

} // namespace
} // namespace zorp::test
