#include "tests/pg/PGServer.h"

#include "framework/db/Database.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

// The newest of Debian's /usr/lib/postgresql/<version>/bin, else the
// directory on PATH holding initdb; "" when there is none.
std::string FindBinDir() {
    std::vector<std::pair<int, std::string>> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", error)) {
        const fs::path bin = entry.path() / "bin";
        if (fs::exists(bin / "initdb") && fs::exists(bin / "pg_ctl"))
            found.emplace_back(std::atoi(entry.path().filename().c_str()), bin.string());
    }
    if (!found.empty())
        return std::max_element(found.begin(), found.end())->second;
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path != nullptr ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && fs::exists(fs::path(dir) / "initdb"))
            return dir;
    return "";
}

// Runs Argv in Cwd with its output appended to Log; the exit status, or -1.
int Run(const std::vector<std::string>& Argv, const std::string& Cwd, const std::string& Log) {
    std::vector<char*> argv;
    argv.reserve(Argv.size() + 1);
    for (const std::string& arg : Argv)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, Log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addchdir_np(&actions, Cwd.c_str());
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// util-linux's runuser, by its full path when it is in an sbin directory, which a
// root shell's PATH may lack.
std::string Runuser() {
    for (const char* path : {"/usr/sbin/runuser", "/sbin/runuser"})
        if (access(path, X_OK) == 0)
            return path;
    return "runuser";
}

std::string Tail(const std::string& FileName) {
    std::ifstream in(FileName);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

} // namespace

PGServer& PGServer::Shared() {
    static PGServer server;
    return server;
}

PGServer::PGServer() {
    FRunning = Start();
}

PGServer::~PGServer() {
    // The watchdog sees end of file, stops the server and removes the directory.
    if (FWatchdogPipe >= 0)
        close(FWatchdogPipe);
    if (FWatchdog > 0)
        waitpid(FWatchdog, nullptr, 0);
}

std::string PGServer::ConnectionString() const {
    return "host=" + FDir + " port=" + FPort + " user=zorp dbname=postgres";
}

bool PGServer::StartWatchdog() {
    // The shell reads until the pipe's write end is closed everywhere; the end is
    // close-on-exec, so neither the watchdog nor the server holds it.
    std::array<int, 2> fds{};
    if (pipe2(fds.data(), O_CLOEXEC) != 0)
        return false;
    const std::string stop = (FAsNobody ? "'" + Runuser() + "' -u nobody -- '" : "'") + FBinDir +
                             "/pg_ctl' -D '" + FDir + "/data' -m immediate -w stop";
    const std::string script =
        "while read -r line; do :; done; " + stop + " >/dev/null 2>&1; rm -rf '" + FDir + "'";
    std::vector<std::string> args{"/bin/sh", "-c", script};
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addchdir_np(&actions, "/");
    const int rc = posix_spawn(&FWatchdog, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (rc != 0) {
        close(fds[1]);
        FWatchdog = -1;
        return false;
    }
    FWatchdogPipe = fds[1];
    return true;
}

bool PGServer::Start() {
    FBinDir = FindBinDir();
    if (FBinDir.empty()) {
        FError = "initdb and pg_ctl not found (Debian: apt-get install postgresql)";
        return false;
    }
    std::string pattern = "/tmp/zorp-pg-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        FError = "cannot make a temporary directory";
        return false;
    }
    FDir = pattern;
    FPort = std::to_string(20000 + getpid() % 20000);
    std::vector<std::string> prefix;
    if (geteuid() == 0) {
        // PostgreSQL refuses to run as root: the server runs as nobody in a directory it owns.
        const passwd* nobody = getpwnam("nobody");
        if (nobody == nullptr || chown(FDir.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) {
            FError = "cannot hand " + FDir + " to the user nobody";
            std::error_code ignored;
            fs::remove_all(FDir, ignored);
            return false;
        }
        FAsNobody = true;
        prefix = {Runuser(), "-u", "nobody", "--"};
    }
    if (!StartWatchdog()) {
        FError = "cannot start the watchdog process";
        std::error_code ignored;
        fs::remove_all(FDir, ignored);
        return false;
    }
    const std::string log = FDir + "/setup.log";
    std::vector<std::string> initdb = prefix;
    initdb.insert(initdb.end(), {FBinDir + "/initdb", "-D", FDir + "/data", "-U", "zorp", "-A",
                                 "trust", "-E", "UTF8", "--no-locale", "-N"});
    if (Run(initdb, FDir, log) != 0) {
        FError = "initdb failed: " + Tail(log);
        return false;
    }
    std::vector<std::string> start = prefix;
    start.insert(start.end(), {FBinDir + "/pg_ctl", "-D", FDir + "/data", "-l",
                               FDir + "/server.log", "-w", "-t", "60", "-o",
                               "-c listen_addresses='' -c unix_socket_directories='" + FDir +
                                   "' -p " + FPort + " -c fsync=off",
                               "start"});
    if (Run(start, FDir, log) != 0) {
        FError = "pg_ctl start failed: " + Tail(log) + Tail(FDir + "/server.log");
        return false;
    }
    return true;
}

void PGTest::SetUp() {
    const PGServer& server = PGServer::Shared();
    if (!server.Running()) {
        if (std::getenv("CI") != nullptr)
            FAIL() << "a PostgreSQL server is required on CI but did not start: " << server.Error();
        GTEST_SKIP() << "no PostgreSQL server: " << server.Error();
    }
    Db.SetConnectionString(server.ConnectionString());
}

void PGTest::Recreate(const std::string& Name, const std::string& Definition) {
    Db.ExecSQL("DROP TABLE IF EXISTS " + fw::QuoteIdentifier(Name));
    Db.ExecSQL(Definition);
}

} // namespace zorp::test
