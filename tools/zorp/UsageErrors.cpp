#include "tools/zorp/UsageErrors.h"

#include <algorithm>
#include <cctype>

namespace zorp::tool {

namespace {

bool IsOption(const std::string& Arg) {
    return Arg.size() > 1 && Arg[0] == '-';
}

// gzip's -1 ... -9 (and --fast, --best): compression levels.
bool IsLevel(const std::string& Arg) {
    return (Arg.size() > 1 && Arg[0] == '-' &&
            std::all_of(Arg.begin() + 1, Arg.end(),
                        [](unsigned char c) { return std::isdigit(c); })) ||
           Arg == "--fast" || Arg == "--best";
}

bool IsDecompress(const std::string& Arg) {
    return Arg == "-d" || Arg == "--decompress" || Arg == "--uncompress";
}

// The option Name of App or of any of its commands, or null.
const CLI::Option* FindOption(const CLI::App& App, const std::string& Name) {
    if (const CLI::Option* option = App.get_option_no_throw(Name))
        return option;
    for (const CLI::App* command : App.get_subcommands([](const CLI::App*) { return true; }))
        if (const CLI::Option* option = FindOption(*command, Name))
            return option;
    return nullptr;
}

// True when Arg is an option that takes the next argument as its value.
bool TakesValue(const CLI::App& App, const std::string& Arg) {
    if (!IsOption(Arg) || Arg.find('=') != std::string::npos)
        return false;
    const CLI::Option* option = FindOption(App, Arg);
    return option != nullptr && option->get_type_size() != 0;
}

// The command that was being parsed: the last subcommand selected, or App.
const CLI::App& Command(const CLI::App& App) {
    const CLI::App* command = &App;
    for (auto selected = command->get_subcommands(); !selected.empty();
         selected = command->get_subcommands())
        command = selected.back();
    return *command;
}

// "zorp resource add" for the command add of resource.
std::string Path(const CLI::App& Command) {
    std::string path = Command.get_name();
    for (const CLI::App* app = Command.get_parent(); app != nullptr; app = app->get_parent())
        path.insert(0, app->get_name() + " ");
    return path;
}

// "usage: zorp extract [OPTIONS] ARCHIVE [NAME...]", as the help shows it.
std::string Usage(const CLI::App& Command) {
    std::string usage = CLI::Formatter().make_usage(&Command, Path(Command));
    usage = usage.substr(usage.find(':') + 2);
    while (!usage.empty() && usage.back() == '\n')
        usage.pop_back();
    return "usage: " + usage;
}

// CLI11's message as part of a sentence: "Could not ..." as "could not ...",
// while a name at its start ("ARCHIVE: ...") stays as it is.
std::string LowerFirst(std::string Text) {
    if (Text.size() > 1 && std::islower(static_cast<unsigned char>(Text[1])))
        Text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(Text[0])));
    return Text;
}

// The type tells what the error is (its name can be the command's).
template <typename Error> bool Is(const CLI::ParseError& E) {
    return dynamic_cast<const Error*>(&E) != nullptr;
}

// What is wrong, in words, from CLI11's error; Unexpected are the arguments
// that no option or argument of Command took.
std::string Problem(const CLI::App& Command, const CLI::ParseError& E,
                    const std::vector<std::string>& Unexpected) {
    const bool extras = Is<CLI::ExtrasError>(E);
    const bool required = Is<CLI::RequiredError>(E);
    const bool mismatch = Is<CLI::ArgumentMismatch>(E);
    const std::string message = E.what();
    if (!Unexpected.empty() && (extras || required)) {
        const std::string& first = Unexpected.front();
        if (IsOption(first))
            return "unknown option " + first;
        if (Command.get_subcommands([](const CLI::App*) { return true; }).empty())
            return "too many arguments";
        return "unknown command \"" + first + "\"";
    }
    if (required) {
        if (message.starts_with("A subcommand"))
            return "missing command";
        const auto end = message.rfind(" is required");
        if (end != std::string::npos)
            return "missing " + message.substr(0, end);
    }
    if (mismatch && message.ends_with(" missing"))
        return message.substr(0, message.find(':')) + " needs a value";
    if (mismatch && message.find(": At Most ") != std::string::npos)
        return "too many arguments";
    if (const auto middle = message.find(" excludes ");
        Is<CLI::ExcludesError>(E) && middle != std::string::npos)
        return message.substr(0, middle) + " and " + message.substr(middle + 10) +
               " cannot be given together";
    return LowerFirst(message);
}

} // namespace

std::string ReflexMessage(const CLI::App& App, const std::vector<std::string>& Args) {
    for (size_t i = 0; i < Args.size() && Args[i] != "--"; ++i) {
        const std::string& arg = Args[i];
        if ((i > 0 && TakesValue(App, Args[i - 1])) || FindOption(App, arg) != nullptr)
            continue;
        if (IsDecompress(arg))
            return "unknown option " + arg + "; to expand a file, use: zorp expand FILE.zrp";
        if (IsLevel(arg))
            return "unknown option " + arg +
                   "; zorp has no levels: choose a method with -m (none, rle, lzh, lh5)";
    }
    return "";
}

std::string UsageErrorMessage(const CLI::App& App, const CLI::ParseError& E) {
    const CLI::App& command = Command(App);
    const std::string problem = Problem(command, E, App.remaining(true));
    if (&command == &App)
        return problem + "; see " + App.get_name() + " --help";
    return Path(command).substr(App.get_name().size() + 1) + ": " + problem + "; " + Usage(command);
}

} // namespace zorp::tool
