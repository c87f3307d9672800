// zorp compress / zorp expand: files as single compressed streams, as gzip
// and zstd users expect. FILE becomes FILE.zrp beside it and back, the input
// is kept, an existing output is overwritten only with -f, and the output
// keeps the input's permission bits and modification time. With no file, or
// "-", standard input goes to standard output. Each file is handled on its
// own: a failure is reported with its name and the others go on.
#include "component/Zorp.h"
#include "tools/zorp/Commands.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"
#include "tools/zorp/ProgressBar.h"
#include "tools/zorp/SingleStream.h"
#include "tools/zorp/ToolMain.h"
#include "tools/zorp/UsageErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zorp::tool {

namespace {

constexpr std::string_view Suffix = ".zrp";

// A failure of one file whose message names the file already.
class FileFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct StreamOptions {
    bool Compress = true;
    std::string Method = "lh5";
    std::string Key = "0";
    bool Quiet = false;
    bool ToStdout = false;
    bool Force = false;
    bool Raw = false;
    std::string Output;
    std::vector<std::string> Files;
};

// What the messages call a file: "-" is standard input or output.
std::string Shown(const std::string& Name, const char* Standard) {
    return Name == "-" ? Standard : Name;
}

// Where Input's result goes: a file name, or "-" for standard output.
std::string OutputName(const StreamOptions& o, const std::string& Input) {
    if (o.ToStdout)
        return "-";
    if (!o.Output.empty())
        return o.Output;
    if (Input == "-")
        return "-";
    if (o.Compress)
        return Input + std::string(Suffix);
    const size_t base = Input.rfind('/') + 1; // 0 without a directory
    if (Input.ends_with(Suffix) && Input.size() - base > Suffix.size())
        return Input.substr(0, Input.size() - Suffix.size());
    throw FileFailure(Input + ": unknown suffix (" + std::string(Suffix) +
                      " expected); name the output with -o, or use -c");
}

// Refuses an input that is missing or a directory before anything is made,
// with the system's reason.
void CheckInput(const std::string& Input) {
    struct stat st {};
    if (Input == "-")
        return;
    if (stat(Input.c_str(), &st) != 0)
        throw FileFailure(Input + ": " + std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        throw FileFailure(Input + ": " + std::strerror(EISDIR));
}

void CheckOutput(const StreamOptions& o, const std::string& Output) {
    struct stat st {};
    if (Output != "-" && !o.Force && lstat(Output.c_str(), &st) == 0)
        throw FileFailure(Output + " already exists; use -f to overwrite");
}

void Process(const StreamOptions& o, TZorpMethod Method, int32_t Key, const std::string& Input,
             const std::string& Output) {
    CheckInput(Input);
    CheckOutput(o, Output);
    InputFile input(Input);
    if (!o.Compress && !o.Raw && input.Stream().Size() > 0 && !BeginsWithHeader(input.Stream()))
        throw FileFailure(Shown(Input, "standard input") +
                          ": not a zorp stream (--raw takes it as stored data)");
    OutputFile output(Output);
    if (const auto stamp = input.Stamp(); stamp && Output != "-")
        output.SetStamp(*stamp);
    TZorp zorp(nullptr);
    zorp.SetKey(Key);
    {
        ProgressBar bar(o.Compress ? "compressing" : "expanding", o.Quiet);
        zorp.OnShowProgress = [&bar](int32_t& percent) { bar.Show(percent); };
        if (o.Compress)
            CompressStream(zorp, output.Stream(), input.Stream(), Method, o.Raw);
        else
            zorp.Expand(output.Stream(), input.Stream());
    }
    output.Commit();
}

// The message for the failure E of Input, naming the file: file errors
// already name theirs (or the output's), the others (damaged data, a wrong
// key) get Input's.
std::string FailureMessage(const std::string& Input, const std::string& Output,
                           const std::exception& E) {
    std::string message = ErrorMessage(E);
    if (dynamic_cast<const FileFailure*>(&E) != nullptr)
        return message;
    const std::string input = Shown(Input, "standard input");
    for (const std::string& name : {input, Shown(Output, "standard output")})
        if (!name.empty() && (message.starts_with(name + ": ") ||
                              message.find('"' + name + '"') != std::string::npos))
            return message;
    return input + ": " + message;
}

void Run(StreamOptions o) {
    if (o.Files.empty())
        o.Files.push_back("-");
    if (o.Files.size() > 1 && !o.Output.empty())
        throw UsageError("-o names one output, but " + std::to_string(o.Files.size()) +
                         " files were given");
    if (o.Files.size() > 1 && o.Compress && o.ToStdout)
        throw UsageError("-c takes one file: streams written one after another cannot be told "
                         "apart");
    const TZorpMethod method = ParseMethod(o.Method);
    const int32_t key = ParseKey(o.Key);
    const bool readsStdin = std::find(o.Files.begin(), o.Files.end(), "-") != o.Files.end();
    const bool toStdout = o.ToStdout || o.Output == "-" || (o.Output.empty() && readsStdin);
    if (o.Compress && toStdout && !o.Force && isatty(STDOUT_FILENO))
        throw std::runtime_error("compressed data not written to a terminal; use -f to force");

    bool failed = false;
    for (const std::string& file : o.Files) {
        std::string output;
        try {
            output = OutputName(o, file);
            Process(o, method, key, file, output);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "zorp: %s\n", FailureMessage(file, output, e).c_str());
            failed = true;
        }
    }
    if (failed)
        throw EarlierErrors();
}

void AddOptions(CLI::App& Command, StreamOptions& o) {
    Command
        .add_option("-k,--key", o.Key,
                    "Lock key: a 32-bit number in decimal (negative allowed) or 0x hexadecimal; "
                    "0 means no lock")
        ->type_name("KEY")
        ->default_str("0");
    CLI::Option* toStdout =
        Command.add_flag("-c,--stdout", o.ToStdout, "Write to standard output; keep the files");
    Command
        .add_option("-o,--output", o.Output, "Write to FILE (one input only; - is standard output)")
        ->type_name("FILE")
        ->excludes(toStdout);
    Command.add_flag("-f,--force", o.Force,
                     "Overwrite existing outputs" +
                         std::string(o.Compress ? "; write compressed data to a terminal" : ""));
    Command.add_flag("-q,--quiet", o.Quiet, "No progress bar");
    Command.add_flag("--raw", o.Raw,
                     o.Compress ? "Store data that do not shrink without a header, as the "
                                  "library does (only --raw expands them)"
                                : "Take data without a stream header as stored data");
    Command
        .add_option("FILE", o.Files,
                    o.Compress ? "Files to compress into FILE.zrp; none or - for standard input"
                               : "Files to expand (FILE.zrp into FILE); none or - for standard "
                                 "input")
        ->type_name("");
}

} // namespace

void AddStreamCommands(CLI::App& App) {
    auto compressOptions = std::make_shared<StreamOptions>();
    CLI::App* compress = App.add_subcommand(
        "compress", "Compress each FILE into FILE.zrp, one compressed stream (21-byte header and "
                    "data; data that do not shrink are stored)");
    compress
        ->add_option("-m,--method", compressOptions->Method,
                     "Method: none, rle, lzh or lh5 (any case)")
        ->type_name("METHOD")
        ->default_str("lh5");
    AddOptions(*compress, *compressOptions);
    compress->callback([compressOptions] { Run(*compressOptions); });

    auto expandOptions = std::make_shared<StreamOptions>();
    expandOptions->Compress = false;
    CLI::App* expand = App.add_subcommand(
        "expand", "Expand each FILE.zrp into FILE, verifying its checksum and key");
    AddOptions(*expand, *expandOptions);
    expand->callback([expandOptions] { Run(*expandOptions); });
}

} // namespace zorp::tool
