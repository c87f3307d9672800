// A throwaway PostgreSQL server for the tests of this program: initdb into a
// temporary directory, listening only on a Unix socket there. Run as root,
// the server runs as the user nobody, since PostgreSQL refuses root. A
// watchdog process stops the server and removes the directory once this
// program closes its end of a pipe: at the end of the run, or when the
// program dies.
#pragma once

#include "framework/db/PGDatabase.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/types.h>

namespace zorp::test {

class PGServer {
public:
    // The server of this program, started on first use.
    static PGServer& Shared();
    ~PGServer();
    PGServer(const PGServer&) = delete;
    PGServer& operator=(const PGServer&) = delete;

    bool Running() const { return FRunning; }
    // Why the server is not running.
    const std::string& Error() const { return FError; }
    // A libpq connection string for the database postgres as its superuser.
    std::string ConnectionString() const;

private:
    PGServer();
    bool Start();
    bool StartWatchdog();

    std::string FDir;
    std::string FBinDir;
    std::string FError;
    std::string FPort;
    bool FAsNobody = false;
    bool FRunning = false;
    int FWatchdogPipe = -1;
    pid_t FWatchdog = -1;
};

// Connects Db to the shared server; without one the test fails on CI
// (environment variable CI set) and is skipped elsewhere. Subclasses call
// it first in their SetUp and return when IsSkipped() or HasFatalFailure().
class PGTest : public testing::Test {
protected:
    void SetUp() override;
    // Drops the table Name and creates it by Definition, a CREATE TABLE statement.
    void Recreate(const std::string& Name, const std::string& Definition);

    fw::TPGDatabase Db{nullptr};
};

} // namespace zorp::test
