// The class registry (RegisterClass / FindClass), which lets form files name
// the component classes they hold, and the component palette
// (RegisterComponents), which lists classes by page for a form designer.
#pragma once

#include "Component.h"
#include "Export.h"

#include <string>
#include <vector>

namespace zorp::fw {

/// A component class: its name and how to make one. The new component
/// belongs to Owner; with no owner the caller owns it.
struct ZORP_API TComponentClass {
    std::string ClassName;                    ///< The name form files give the class
    TComponent* (*Create)(TComponent* Owner); ///< Makes a component of the class
};

/// The class descriptor of a component class T, which has a constructor
/// taking the owner and a StaticClassName.
template <class T> ZORP_API const TComponentClass& ClassOf() {
    static const TComponentClass descriptor{
        T::StaticClassName, [](TComponent* Owner) -> TComponent* { return new T(Owner); }};
    return descriptor;
}

/// Registers AClass under its name, so that form files can name it.
/// Registering a class twice is harmless; registering another class under a
/// name already taken raises EComponentError.
ZORP_API void RegisterClass(const TComponentClass& AClass);
/// Takes AClass out of the registry; its palette entries stay.
ZORP_API void UnRegisterClass(const TComponentClass& AClass);
/// The class registered under ClassName (ignoring case), or nullptr.
ZORP_API const TComponentClass* GetClass(const std::string& ClassName);
/// As GetClass, but raises EClassNotFound ("Class X not found").
ZORP_API const TComponentClass& FindClass(const std::string& ClassName);

/// A class on a page of the component palette.
struct ZORP_API TPaletteEntry {
    std::string Page;                      ///< The palette page
    const TComponentClass* ComponentClass; ///< The class on it
};

/// Puts the classes on the palette page Page (in this order) and registers them.
ZORP_API void RegisterComponents(const std::string& Page,
                                 const std::vector<const TComponentClass*>& Classes);
/// Every palette entry, in registration order.
ZORP_API std::vector<TPaletteEntry> PaletteEntries();
/// The classes on one page, in registration order.
ZORP_API std::vector<const TComponentClass*> PalettePage(const std::string& Page);

} // namespace zorp::fw
