#include "framework/base/ClassRegistry.h"

#include "framework/base/Exceptions.h"
#include "framework/base/TextUtils.h"

#include <algorithm>
#include <mutex>

namespace zorp::fw {

namespace {

struct TRegistries {
    std::mutex Lock;
    std::vector<const TComponentClass*> Classes;
    std::vector<TPaletteEntry> Palette;
};

TRegistries& Registries() {
    static TRegistries registries;
    return registries;
}

const TComponentClass* Lookup(TRegistries& r, const std::string& ClassName) {
    for (const TComponentClass* c : r.Classes)
        if (SameText(c->ClassName, ClassName))
            return c;
    return nullptr;
}

void RegisterLocked(TRegistries& r, const TComponentClass& AClass) {
    const TComponentClass* existing = Lookup(r, AClass.ClassName);
    if (existing == &AClass)
        return;
    if (existing != nullptr)
        throw EComponentError("A class named " + AClass.ClassName + " already exists");
    r.Classes.push_back(&AClass);
}

} // namespace

void RegisterClass(const TComponentClass& AClass) {
    TRegistries& r = Registries();
    std::lock_guard guard(r.Lock);
    RegisterLocked(r, AClass);
}

void UnRegisterClass(const TComponentClass& AClass) {
    TRegistries& r = Registries();
    std::lock_guard guard(r.Lock);
    std::erase(r.Classes, &AClass);
}

const TComponentClass* GetClass(const std::string& ClassName) {
    TRegistries& r = Registries();
    std::lock_guard guard(r.Lock);
    return Lookup(r, ClassName);
}

const TComponentClass& FindClass(const std::string& ClassName) {
    const TComponentClass* c = GetClass(ClassName);
    if (c == nullptr)
        throw EClassNotFound("Class " + ClassName + " not found");
    return *c;
}

void RegisterComponents(const std::string& Page,
                        const std::vector<const TComponentClass*>& Classes) {
    TRegistries& r = Registries();
    std::lock_guard guard(r.Lock);
    for (const TComponentClass* c : Classes) {
        RegisterLocked(r, *c);
        const bool onPage = std::any_of(r.Palette.begin(), r.Palette.end(), [&](const auto& e) {
            return e.ComponentClass == c && SameText(e.Page, Page);
        });
        if (!onPage)
            r.Palette.push_back({Page, c});
    }
}

std::vector<TPaletteEntry> PaletteEntries() {
    TRegistries& r = Registries();
    std::lock_guard guard(r.Lock);
    return r.Palette;
}

std::vector<const TComponentClass*> PalettePage(const std::string& Page) {
    std::vector<const TComponentClass*> classes;
    for (const TPaletteEntry& e : PaletteEntries())
        if (SameText(e.Page, Page))
            classes.push_back(e.ComponentClass);
    return classes;
}

} // namespace zorp::fw
