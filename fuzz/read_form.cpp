// Reads arbitrary bytes as form text into a component: malformed text must
// raise, never crash, and whatever reads cleanly must write back as text
// that reads again to the same text.
#include "component/Zorp.h"
#include "framework/base/ClassRegistry.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FormReader.h"
#include "framework/base/FormWriter.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zorp::fw::RegisterClass(zorp::fw::ClassOf<zorp::TZorp>());
    const std::string text(reinterpret_cast<const char*>(data), size);
    zorp::fw::TComponent root(nullptr);
    try {
        zorp::fw::TextToForm(text, root);
    } catch (const zorp::fw::Exception&) {
        return 0; // refused: that is what malformed text must do
    }
    const std::string written = zorp::fw::FormToText(root);
    zorp::fw::TComponent again(nullptr);
    zorp::fw::TextToForm(written, again);
    if (zorp::fw::FormToText(again) != written)
        std::abort();
    return 0;
}
