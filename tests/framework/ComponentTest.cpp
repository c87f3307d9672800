// Components: ownership, names, removal notices, loading, registries.
#include "framework/base/Component.h"
#include "framework/base/ClassRegistry.h"
#include "framework/base/Exceptions.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace zorp::fw {
namespace {

// Records the removal notices and Loaded calls it receives.
class Probe : public TComponent {
public:
    static constexpr const char* StaticClassName = "TProbe";
    explicit Probe(TComponent* AOwner, std::vector<std::string>* Log = nullptr)
        : TComponent(AOwner), FLog(Log) {}
    ~Probe() override {
        if (FLog)
            FLog->push_back("freed " + Name());
    }
    std::string ClassName() const override { return StaticClassName; }
    std::vector<uintptr_t> Removed; // addresses: the removed are gone when looked at
    int LoadedCalls = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            Removed.push_back(reinterpret_cast<uintptr_t>(AComponent));
    }
    void Loaded() override {
        TComponent::Loaded();
        ++LoadedCalls;
    }

private:
    std::vector<std::string>* FLog;
};

TEST(TComponent, OwnerFreesItsComponents) {
    std::vector<std::string> log;
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* a = new Probe(owner.get(), &log);
    a->SetName("A");
    auto* b = new Probe(owner.get(), &log);
    b->SetName("B");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(a->Owner(), owner.get());
    owner.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"freed B", "freed A"}));
}

TEST(TComponent, RemovalReachesSiblingsAndThoseWhoAsked) {
    TComponent form(nullptr);
    auto* watcher = new Probe(&form);
    Probe outsider(nullptr);
    auto* doomed = new Probe(&form);
    doomed->FreeNotification(&outsider);
    const auto address = reinterpret_cast<uintptr_t>(doomed);
    delete doomed;
    EXPECT_EQ(watcher->Removed, (std::vector<uintptr_t>{address}));
    EXPECT_EQ(outsider.Removed, (std::vector<uintptr_t>{address}));
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(TComponent, FreeNotificationWorksBothWays) {
    Probe left(nullptr);
    {
        Probe right(nullptr);
        right.FreeNotification(&left);
    }
    ASSERT_EQ(left.Removed.size(), 1u);
    // left no longer refers to the freed one: freeing left notifies no one.
}

TEST(TComponent, NamesAreIdentifiersUniqueWithinTheOwner) {
    TComponent form(nullptr);
    auto* a = new Probe(&form);
    auto* b = new Probe(&form);
    a->SetName("Zorp1");
    EXPECT_THROW(b->SetName("ZORP1"), EComponentError);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("_Zorp2");
    EXPECT_EQ(form.FindComponent("_zorp2"), b);
    EXPECT_EQ(form.FindComponent(""), nullptr);
}

TEST(TComponent, LoadingStateEndsWithLoadedOnEveryComponent) {
    TComponent form(nullptr);
    auto* a = new Probe(&form);
    form.BeginLoading();
    EXPECT_TRUE(a->ComponentState() & csLoading);
    form.EndLoading();
    EXPECT_FALSE(a->ComponentState() & csLoading);
    EXPECT_EQ(a->LoadedCalls, 1);
    form.SetDesigning(true);
    EXPECT_TRUE(a->ComponentState() & csDesigning);
}

TEST(Registries, ClassesByNameAndPalettePages) {
    EXPECT_EQ(GetClass("TProbe"), nullptr);
    EXPECT_THROW(FindClass("TProbe"), EClassNotFound);
    RegisterComponents("Tests", {&ClassOf<Probe>()});
    RegisterClass(ClassOf<Probe>()); // twice is harmless
    EXPECT_EQ(&FindClass("tprobe"), &ClassOf<Probe>());
    const TComponentClass impostor{"TProbe", nullptr};
    EXPECT_THROW(RegisterClass(impostor), EComponentError);
    ASSERT_EQ(PalettePage("Tests").size(), 1u);
    TComponent owner(nullptr);
    TComponent* made = ClassOf<Probe>().Create(&owner);
    EXPECT_EQ(made->Owner(), &owner);
    EXPECT_EQ(made->ClassName(), "TProbe");
    UnRegisterClass(ClassOf<Probe>());
    EXPECT_EQ(GetClass("TProbe"), nullptr);
}

} // namespace
} // namespace zorp::fw
