// zorp compress / zorp expand: one file (or standard input) as one
// compressed stream, exactly as TZorp::Compress writes it.
#include "component/Zorp.h"
#include "tools/zorp/Commands.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"
#include "tools/zorp/ProgressBar.h"

#include <memory>

namespace zorp::tool {

namespace {

struct StreamOptions {
    std::string Method = "lh5";
    std::string Key = "0";
    bool Quiet = false;
    std::string Input;
    std::string Output;
};

void Run(const StreamOptions& o, bool compress) {
    const TZorpMethod method = ParseMethod(o.Method);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    ProgressBar bar(compress ? "compressing" : "expanding", o.Quiet);
    zorp.OnShowProgress = [&bar](int32_t& percent) { bar.Show(percent); };
    InputFile input(o.Input);
    OutputFile output(o.Output);
    if (compress)
        zorp.Compress(output.Stream(), input.Stream(), method);
    else
        zorp.Expand(output.Stream(), input.Stream());
    output.Commit();
}

void AddInputOutput(CLI::App& command, StreamOptions& o) {
    command.add_option("INPUT", o.Input, "File to read, or - for standard input")->required();
    command.add_option("OUTPUT", o.Output, "File to write, or - for standard output")->required();
    command
        .add_option("-k,--key", o.Key,
                    "Lock key: a 32-bit number in decimal (negative allowed) or 0x hexadecimal; "
                    "0 means no lock")
        ->default_str("0");
    command.add_flag("-q,--quiet", o.Quiet, "No progress bar");
}

} // namespace

void AddStreamCommands(CLI::App& App) {
    auto options = std::make_shared<StreamOptions>();

    CLI::App* compress = App.add_subcommand(
        "compress", "Compress a file into one compressed stream (21-byte header and data; "
                    "data that do not shrink are stored)");
    compress->add_option("-m,--method", options->Method, "Method: none, rle, lzh or lh5")
        ->default_str("lh5");
    AddInputOutput(*compress, *options);
    compress->callback([options] { Run(*options, true); });

    CLI::App* expand =
        App.add_subcommand("expand", "Expand a compressed stream, verifying its checksum and key");
    AddInputOutput(*expand, *options);
    expand->callback([options] { Run(*options, false); });
}

} // namespace zorp::tool
