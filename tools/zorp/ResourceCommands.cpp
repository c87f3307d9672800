// zorp resource add / list / extract: compressed resources of type "TZORP"
// in executables and shared libraries. Modules are read as files and never
// loaded, so inspecting one runs none of its code; they are changed with
// objcopy ($OBJCOPY, or objcopy from PATH) into a new file beside them that
// then replaces them. A module that cannot be read, and data that cannot
// be expanded, are reported naming the module (and the resource).
#include "component/Resources.h"
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"
#include "framework/base/FileUtils.h"
#include "framework/base/ResourceStream.h"
#include "framework/base/Resources.h"
#include "framework/base/TemporaryNames.h"
#include "framework/base/TextUtils.h"
#include "tools/zorp/Commands.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"
#include "tools/zorp/ProgressBar.h"
#include "tools/zorp/StoredData.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zorp::tool {

namespace {

struct ResourceOptions {
    std::string Method = "lh5";
    std::string Key = "0";
    bool Quiet = false;
    std::string Module;
    std::string Name;
    std::string File;
    std::string Output = "-";
};

// A file made with mkstemp, removed when the object goes unless kept, and
// by the program's signal handlers (see TemporaryNames.h).
class TempFile {
public:
    explicit TempFile(std::string Template) : FName(std::move(Template)) {
        const int fd = mkstemp(FName.data());
        if (fd < 0)
            throw fw::EFCreateError("Cannot create file \"" + FName + "\". " +
                                    std::strerror(errno));
        close(fd);
        FSlot = fw::NoteTemporaryName(AT_FDCWD, FName);
    }
    ~TempFile() {
        if (!FKept)
            unlink(FName.c_str());
        fw::ForgetTemporaryName(FSlot);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Name() const { return FName; }
    void Keep() { FKept = true; }

private:
    std::string FName;
    int FSlot = -1;
    bool FKept = false;
};

// Writes the file Name's data to disk.
void SyncFile(const std::string& Name) {
    const int fd = open(Name.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0)
        close(fd);
    if (!synced)
        throw fw::EWriteError(Name + ": " + std::strerror(error));
}

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return dir != nullptr && *dir != '\0' ? dir : "/tmp";
}

// Runs objcopy with Args; raises with the first line it printed when it fails.
void RunObjcopy(const std::vector<std::string>& Args) {
    const char* fromEnv = std::getenv("OBJCOPY");
    const std::string program = fromEnv != nullptr && *fromEnv != '\0' ? fromEnv : "objcopy";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : Args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const TempFile log(TempDirectory() + "/zorp-objcopy-XXXXXX");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.Name().c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw fw::Exception("Cannot run " + program + ": " + std::strerror(error) +
                            " (install binutils)");
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return;
    std::string message;
    if (FILE* f = std::fopen(log.Name().c_str(), "r")) {
        char line[512] = {};
        if (std::fgets(line, sizeof line, f) != nullptr)
            message = line;
        std::fclose(f);
    }
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    throw fw::Exception(program + " failed" + (message.empty() ? "" : ": " + message));
}

fw::Exception ModuleError(const std::string& Module, const std::string& Reason) {
    return fw::Exception(Module + ": cannot read executable or shared library: " + Reason);
}

// The TZORP resources of a module, which also checks that the module is a
// file that can be read and a sound ELF file.
std::vector<fw::TResourceEntry> ModuleResources(const std::string& Module) {
    const int fd = open(Module.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ModuleError(Module, std::strerror(errno));
    close(fd);
    try {
        return fw::EnumResources(Module, ZorpResourceType);
    } catch (const fw::EInvalidModuleFile& e) {
        throw ModuleError(Module, e.Reason());
    }
}

void Add(const ResourceOptions& o) {
    const TZorpMethod method = ParseMethod(o.Method);
    const std::string section = fw::ResourceSectionName(ZorpResourceType, o.Name);
    const std::vector<fw::TResourceEntry> old = ModuleResources(o.Module);
    struct stat moduleStat {};
    if (stat(o.Module.c_str(), &moduleStat) != 0)
        throw fw::EFOpenError("Cannot open file \"" + o.Module + "\". " + std::strerror(errno));

    // The resource's bytes: the file as "zorp compress" writes it.
    const TempFile packed(TempDirectory() + "/zorp-resource-XXXXXX");
    {
        TZorp zorp(nullptr);
        zorp.SetKey(ParseKey(o.Key));
        ProgressBar bar("compressing", o.Quiet);
        zorp.OnShowProgress = [&bar](int32_t& percent) { bar.Show(percent); };
        InputFile input(o.File);
        fw::TFileStream output(packed.Name(), fw::fmOpenReadWrite);
        fw::TBufferedStream buffered(output, FileBufferSize);
        zorp.Compress(buffered, input.Stream(), method);
        buffered.Flush();
    }

    // The new module, beside the old one, replaces it only when complete.
    TempFile module(o.Module + ".zorp-XXXXXX");
    std::vector<std::string> args;
    for (const fw::TResourceEntry& entry : old)
        if (fw::SameText(entry.Name, o.Name))
            args.push_back("--remove-section=" + entry.SectionName);
    args.push_back("--add-section");
    args.push_back(section + "=" + packed.Name());
    args.push_back(o.Module);
    args.push_back(module.Name());
    RunObjcopy(args);
    chmod(module.Name().c_str(), moduleStat.st_mode & 07777);
    SyncFile(module.Name());
    if (rename(module.Name().c_str(), o.Module.c_str()) != 0)
        throw fw::EFCreateError("Cannot replace \"" + o.Module + "\". " + std::strerror(errno));
    module.Keep();
    const std::string directory = fw::ExtractFilePath(o.Module);
    SyncFile(directory.empty() ? "." : directory);
}

// What the header in front of a resource's bytes tells (read from the
// module file, which lists them before they are looked at).
StoredInfo ResourceInfo(fw::TFileStream& Module, const fw::TResourceEntry& Entry) {
    std::string prefix(std::min<uint64_t>(Entry.Size, TZorpHeader::RecordSize), '\0');
    Module.SetPosition(static_cast<int64_t>(Entry.Offset));
    Module.ReadBuffer(prefix.data(), static_cast<int32_t>(prefix.size()));
    return ReadStoredInfo(prefix, static_cast<int64_t>(Entry.Size));
}

void List(const ResourceOptions& o) {
    const std::vector<fw::TResourceEntry> entries = ModuleResources(o.Module);
    fw::TFileStream module(o.Module, fw::fmOpenRead | fw::fmShareDenyNone);
    std::printf("%12s %12s  %-8s %-6s  %s\n", "stored", "expanded", "method", "locked", "name");
    for (const fw::TResourceEntry& entry : entries) {
        const StoredInfo info = ResourceInfo(module, entry);
        std::printf("%12llu %12lld  %-8s %-6s  %s\n", static_cast<unsigned long long>(entry.Size),
                    static_cast<long long>(info.ExpandedSize), info.Method.c_str(),
                    info.Locked ? "yes" : "no", entry.Name.c_str());
    }
    std::printf("%zu resources\n", entries.size());
}

void Extract(const ResourceOptions& o) {
    ModuleResources(o.Module);
    fw::TResourceStream resource(o.Module, o.Name, ZorpResourceType);
    if (resource.Size() == 0)
        throw fw::EResNotFound("Could not load resource: " + o.Name);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    ProgressBar bar("expanding", o.Quiet);
    zorp.OnShowProgress = [&bar](int32_t& percent) { bar.Show(percent); };
    OutputFile output(o.Output);
    try {
        zorp.Expand(output.Stream(), resource);
    } catch (const std::exception& e) {
        if (!IsDecodeError(e))
            throw;
        throw fw::Exception(o.Module + ": resource " + o.Name + ": " + e.what());
    }
    output.Commit();
}

} // namespace

void AddResourceCommands(CLI::App& App) {
    auto o = std::make_shared<ResourceOptions>();
    CLI::App* resource = App.add_subcommand(
        "resource", "Compressed resources (type TZORP) in executables and shared libraries");
    resource->require_subcommand(1);

    CLI::App* add = resource->add_subcommand(
        "add", "Compress FILE as zorp compress does and embed it in MODULE as resource NAME "
               "(replacing a resource of that name)");
    add->add_option("-m,--method", o->Method, "Method: none, rle, lzh or lh5")
        ->default_str("lh5")
        ->type_name("METHOD");
    add->add_option("-k,--key", o->Key,
                    "Lock key: a 32-bit number in decimal (negative allowed) or 0x hexadecimal; "
                    "0 means no lock")
        ->default_str("0")
        ->type_name("KEY");
    add->add_flag("-q,--quiet", o->Quiet, "No progress bar");
    add->add_option("MODULE", o->Module, "Executable or shared library to change")
        ->required()
        ->type_name("MODULE");
    add->add_option("NAME", o->Name, "Resource name (compared case-insensitively)")
        ->required()
        ->type_name("NAME");
    add->add_option("FILE", o->File, "File to embed, or - for standard input")
        ->required()
        ->type_name("FILE");
    add->callback([o] { Add(*o); });

    CLI::App* list = resource->add_subcommand(
        "list", "List the TZORP resources of a module: stored and expanded size, method, lock");
    list->add_option("MODULE", o->Module, "Executable or shared library")
        ->required()
        ->type_name("MODULE");
    list->callback([o] { List(*o); });

    CLI::App* extract = resource->add_subcommand(
        "extract", "Expand resource NAME of MODULE, verifying its checksum and key");
    extract->add_option("-k,--key", o->Key, "Key: a 32-bit number in decimal or 0x hexadecimal")
        ->default_str("0")
        ->type_name("KEY");
    extract->add_flag("-q,--quiet", o->Quiet, "No progress bar");
    extract->add_option("MODULE", o->Module, "Executable or shared library")
        ->required()
        ->type_name("MODULE");
    extract->add_option("NAME", o->Name, "Resource name (case-insensitive)")
        ->required()
        ->type_name("NAME");
    extract->add_option("OUTPUT", o->Output, "File to write, or - for standard output (default)")
        ->type_name("FILE");
    extract->callback([o] { Extract(*o); });
}

} // namespace zorp::tool
