// The work of each rqfs command, once its command line has been parsed. Commands that
// act on a loaded card take the session; the caller loads it and, for a command that
// changes the card, saves it afterwards, so a batch script can run many of them against
// one loaded card.
#pragma once

#include "CardSession.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace RQ540::Cli {

// Everything an rqfs command line can carry; each command reads the members it declares.
// Numbers and types stay text here, so that a bad one is reported by the command itself.
struct CommandArguments {
    std::string image;
    std::string path;         // PATH, or SOURCE for cp
    std::string folder = "/"; // FOLDER, or DEST_FOLDER for cp
    std::string outputFile;   // FILE for export
    std::string script;       // SCRIPT for batch; empty or "-" for standard input
    std::string layoutDir;    // DIR for dump and build
    std::string compared[2];  // A and B for diff
    std::optional<std::string> lockTimeout;  // seconds a changing command waits for the lock
    std::optional<std::string> from;
    std::optional<std::string> type;
    std::optional<std::string> size;
    std::optional<std::string> offset;
    CCardSession::Passwords passwords;
    bool json = false;
    bool force = false;
    bool redactPasswords = false;
    bool allowRedacted = false;
    bool create = false;      // --new for batch
};

class CCommands {
public:
    CCommands(std::istream& in, std::ostream& out, std::ostream& err);

    // Set while a batch script is read from standard input, which is then no file source.
    void SetStandardInputTaken(bool taken) { m_standardInputTaken = taken; }

    // A fresh card for the image, not yet written; refused when the image exists, unless
    // forced.
    CCardSession NewCard(const CommandArguments& args);
    // Without a session: new writes a fresh card; check answers its own exit status,
    // having printed the verdict.
    void New(const CommandArguments& args);
    int Check(const CommandArguments& args);

    void List(CCardSession& session, const CommandArguments& args);
    void Tree(CCardSession& session, const CommandArguments& args);
    void Info(CCardSession& session, const CommandArguments& args);
    void MakeFolder(CCardSession& session, const CommandArguments& args);
    void Add(CCardSession& session, const CommandArguments& args);
    void Write(CCardSession& session, const CommandArguments& args);
    void Cat(CCardSession& session, const CommandArguments& args);
    void Export(CCardSession& session, const CommandArguments& args);
    void Remove(CCardSession& session, const CommandArguments& args);
    void Copy(CCardSession& session, const CommandArguments& args);
    void Passwd(CCardSession& session, const CommandArguments& args);
    void Format(CCardSession& session, const CommandArguments& args);

private:
    // Up to limit bytes of FILE or standard input; with whole, a longer input is refused.
    std::vector<uint8_t> ReadInput(const std::string& name, uint64_t limit, bool whole) const;

    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_standardInputTaken = false;
};

}  // namespace RQ540::Cli
