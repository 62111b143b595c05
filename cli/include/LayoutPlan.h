// rqfs plan: the steps that turn one card into another through the card's own operations,
// as a batch script that needs no file beside it. The plan deletes only what cannot be
// kept, writes only the byte ranges that differ, and deletes before it creates, so that it
// is fit for a real key. The card puts every new entry at the head of its folder's list,
// so the entries kept in place are the longest tail of the new list that the old list
// holds in the same order; a kept file keeps its type and size, a kept folder its created
// size. Everything else is deleted and created again, with the reason given.
#pragma once

#include "CardSession.h"
#include "CliError.h"
#include "LayoutManifest.h"

#include "rq540/CardPath.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace RQ540::Cli {

struct PlanStep {
    enum class Op { RM, MKDIR, ADD, WRITE, PASSWD };
    Op op = Op::RM;
    CCardPath path;
    // Why an entry both cards hold is deleted and created again; empty for any other step.
    std::string reason;
    uint8_t type = 0;     // add: the file's type
    uint32_t size = 0;    // mkdir: the created size; add: the file's size
    uint32_t offset = 0;  // write: where the bytes go
    // add: the file's first bytes (the rest stays zero); write: the bytes at offset.
    std::vector<uint8_t> bytes;
    // The stored bytes of the fields; absent, mkdir gives the card's default and passwd
    // leaves the field as it is.
    std::optional<std::string> userPassword;
    std::optional<std::string> developerPassword;
};

// The steps that turn from into to. The entries named by keep, with everything in them,
// are never deleted, written or given passwords; a to that needs that is a failure
// CCliError naming the kept entry, and so is a kept path from does not hold. The steps are
// run on fromCard (a copy of from the caller may spend) before they are answered, so a
// step the card would refuse (a reserved ID, a folder too deep) is a failure CCliError too.
std::vector<PlanStep> PlanLayouts(const CardLayout& from, const CardLayout& to,
                                  std::span<const CCardPath> keep, CCardSession& fromCard);

// The steps as batch lines, a recreate's reason on a '#' line before each of its steps.
std::string PlanToScript(std::span<const PlanStep> steps);

// {"operations": [{"op": "write", "path": "/0001", "offset": 0, "hex": "00FF"}, ...]}.
nlohmann::ordered_json PlanToJson(std::span<const PlanStep> steps);

struct PlanRequest {
    std::string from;  // image file or dump folder, as given
    std::string to;
    std::vector<std::string> keep;  // card paths
    bool json = false;
    std::optional<std::string> output;  // a disk file for the plan instead of out
};

// Reads both cards, refuses a redacted password in either, and writes the plan.
ExitStatus PrintPlan(const PlanRequest& request, std::ostream& out);

}  // namespace RQ540::Cli
