#include "tools/zorp/ToolMain.h"

#include "framework/base/TemporaryNames.h"
#include "tools/zorp/UsageErrors.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

namespace zorp::tool {

namespace {

void RemoveAndEnd(int Signal) {
    fw::RemoveTemporaryNames();
    std::signal(Signal, SIG_DFL);
    std::raise(Signal);
}

} // namespace

std::string ErrorMessage(const std::exception& E) {
    try {
        std::rethrow_if_nested(E);
    } catch (const std::exception& inner) {
        return ErrorMessage(inner);
    } catch (...) {
    }
    return E.what();
}

std::unique_ptr<CLI::App> MakeApp() {
    auto app =
        std::make_unique<CLI::App>("zorp: compress and expand files with the Zorp library", "zorp");
    app->require_subcommand(1);
    app->set_version_flag("--version", std::string("zorp ") + ZORP_VERSION);
    return app;
}

int RunApp(CLI::App& App, int argc, char** argv) {
    if (const std::string reflex = ReflexMessage(App, {argv + 1, argv + argc}); !reflex.empty()) {
        std::fprintf(stderr, "zorp: %s\n", reflex.c_str());
        return 2;
    }
    try {
        App.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return App.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return App.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return App.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "zorp: %s\n", UsageErrorMessage(App, e).c_str());
        return 2;
    } catch (const std::invalid_argument& e) { // a bad option value
        std::fprintf(stderr, "zorp: %s\n", e.what());
        return 2;
    } catch (const EarlierErrors&) {
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorp: %s\n", ErrorMessage(e).c_str());
        return 1;
    }
    return 0;
}

void RemoveTemporaryFilesOnSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue; // ignored by whoever started us (nohup, for one): stays so
        struct sigaction action {};
        action.sa_handler = RemoveAndEnd;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

} // namespace zorp::tool
