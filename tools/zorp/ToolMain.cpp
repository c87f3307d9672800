#include "tools/zorp/ToolMain.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace zorp::tool {

std::unique_ptr<CLI::App> MakeApp() {
    auto app =
        std::make_unique<CLI::App>("zorp: compress and expand files with the Zorp library", "zorp");
    app->require_subcommand(1);
    app->set_version_flag("--version", std::string("zorp ") + ZORP_VERSION);
    return app;
}

int RunApp(CLI::App& App, int argc, char** argv) {
    try {
        App.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return App.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return App.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return App.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "zorp: %s (see zorp --help)\n", e.what());
        return 2;
    } catch (const std::invalid_argument& e) { // a bad option value
        std::fprintf(stderr, "zorp: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorp: %s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace zorp::tool
