// The component object: properties, ownership, palette.
#include "component/Zorp.h"
#include "framework/base/ClassRegistry.h"
#include "framework/base/Resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace zorp::test {
namespace {

TEST(TZorp, TargetPathGetsATrailingSeparator) {
    TZorp zorp(nullptr);
    zorp.SetTargetPath("/tmp/out");
    EXPECT_EQ(zorp.TargetPath(), "/tmp/out/");
    zorp.SetTargetPath("/tmp/out/");
    EXPECT_EQ(zorp.TargetPath(), "/tmp/out/");
    zorp.SetTargetPath("");
    EXPECT_EQ(zorp.TargetPath(), "");
}

TEST(TZorp, IsFreedByItsOwner) {
    struct Watcher : fw::TComponent {
        using fw::TComponent::TComponent;
        uintptr_t Removed = 0; // an address: the component is gone when looked at
        void Notification(fw::TComponent* c, fw::TOperation op) override {
            fw::TComponent::Notification(c, op);
            if (op == fw::opRemove)
                Removed = reinterpret_cast<uintptr_t>(c);
        }
    };
    auto form = std::make_unique<fw::TComponent>(nullptr);
    Watcher watcher(nullptr);
    auto* zorp = new TZorp(form.get()); // belongs to form
    zorp->SetName("Zorp1");
    zorp->FreeNotification(&watcher);
    EXPECT_EQ(form->FindComponent("zorp1"), zorp);
    const auto address = reinterpret_cast<uintptr_t>(zorp);
    form.reset(); // frees the component (the leak checker sees it otherwise)
    EXPECT_EQ(watcher.Removed, address);
}

TEST(TZorp, RegisterPutsItOnTheCompressPage) {
    Register();
    const auto page = fw::PalettePage("Compress");
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0]->ClassName, "TZorp");
    const fw::TComponentClass& found = fw::FindClass("TZORP");
    fw::TComponent owner(nullptr);
    fw::TComponent* made = found.Create(&owner);
    EXPECT_EQ(made->ClassName(), "TZorp");
    EXPECT_NE(dynamic_cast<TZorp*>(made), nullptr);
    // The package carries the class's palette image, and no other.
    const auto images = fw::EnumResources(ZORP_CORE_FILE, "BITMAP");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].Name, "TZORP");
    EXPECT_EQ(images[0].Size, 406u); // a 24 x 24 bitmap with 16 colours
}

} // namespace
} // namespace zorp::test
