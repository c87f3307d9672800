// Compresses and expands a string and a stream with TZorp, with every method
// and with a key, the way an application would through the installed
// headers and libraries. Built with CMake, it also reads back the resource
// its build embedded with zorp_add_resource (ZORP_CONSUMER_RESOURCE names
// the file it was made from). Prints what it checked; exits 1 if anything
// failed.
#include <zorp/zorp.h>

#include <cstdio>
#include <string>

#ifdef ZORP_CONSUMER_RESOURCE
#include <dlfcn.h>
#include <fstream>
#include <sstream>
#endif

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok)
        ++failures;
}

std::string Sample() {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "Line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog.\n";
    return text;
}

} // namespace

int main() {
    const std::string text = Sample();
    try {
        zorp::TZorp zorp(nullptr);
        int32_t lastPercent = -1;
        zorp.OnShowProgress = [&lastPercent](int32_t& percent) { lastPercent = percent; };

        const std::string plain = zorp.CompressString(text, zorp::coNone);
        Check(plain == text && zorp.ExpandString(plain) == text, "none: stored as it is");
        const std::string runs = std::string(1000, 'a') + text;
        const std::string rle = zorp.CompressString(runs, zorp::coRLE);
        Check(rle.size() < runs.size() && zorp.ExpandString(rle) == runs, "rle round trip");
        const std::string lzh = zorp.CompressString(text, zorp::coLZH);
        Check(lzh.size() < text.size() / 2 && zorp.ExpandString(lzh) == text, "lzh round trip");
        const std::string lh5 = zorp.CompressString(text, zorp::coLZH5);
        Check(lh5.size() < text.size() / 2 && zorp.ExpandString(lh5) == text, "lh5 round trip");
        Check(lastPercent >= 0, "progress reported");
        Check(zorp.GetSavedPercentage() > 50, "saved percentage");

        zorp.SetKey(0x1234ABCD);
        const std::string locked = zorp.CompressString(text, zorp::coLZH5);
        Check(zorp.ExpandString(locked) == text, "locked string round trip");
        zorp.SetKey(0);
        bool refused = false;
        try {
            zorp.ExpandString(locked);
        } catch (const zorp::EInvalidKey&) {
            refused = true;
        }
        Check(refused, "locked data refused without the key");

        zorp::fw::TMemoryStream source;
        source.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
        source.SetPosition(0);
        zorp::fw::TMemoryStream packed;
        zorp.Compress(packed, source, zorp::coLZH);
        packed.SetPosition(0);
        zorp::fw::TMemoryStream back;
        zorp.Expand(back, packed);
        const std::string expanded(static_cast<const char*>(back.Memory()),
                                   static_cast<size_t>(back.Size()));
        Check(packed.Size() < source.Size() && expanded == text, "stream round trip");

#ifdef ZORP_CONSUMER_RESOURCE
        std::ifstream file(ZORP_CONSUMER_RESOURCE, std::ios::binary);
        std::ostringstream original;
        original << file.rdbuf();
        void* self = dlopen(nullptr, RTLD_NOW);
        zorp::fw::TResourceStream embedded(self, "OWN_SOURCE", "TZORP");
        dlclose(self);
        zorp.SetKey(0x5EED);
        zorp::fw::TMemoryStream resource;
        zorp.Expand(resource, embedded);
        zorp.SetKey(0);
        Check(!original.str().empty() && resource.DataString() == original.str(),
              "resource embedded by zorp_add_resource");
#endif
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
        return 1;
    }
    std::printf("%s\n",
                failures == 0 ? "zorp_consumer: all checks passed" : "zorp_consumer: failed");
    return failures == 0 ? 0 : 1;
}
