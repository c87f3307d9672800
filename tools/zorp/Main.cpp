// zorp: compression from the shell. Errors are reported as one line
// "zorp: <message>" with exit status 1 (2 for a wrong command line).
#include "framework/base/Exceptions.h"
#include "tools/zorp/Commands.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

int main(int argc, char** argv) {
    CLI::App app("zorp: compress and expand files with the Zorp library", "zorp");
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("zorp ") + ZORP_VERSION);
    zorp::tool::AddStreamCommands(app);
    zorp::tool::AddArchiveCommands(app);
    zorp::tool::AddResourceCommands(app);
    zorp::tool::AddDbCommands(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
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
