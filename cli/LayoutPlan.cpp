#include "LayoutPlan.h"

#include "ByteFiles.h"
#include "CardSession.h"
#include "CliError.h"
#include "LayoutDiff.h"
#include "Listing.h"
#include "OptionValues.h"

#include "rq540/CardModel.h"
#include "rq540/PasswordField.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace RQ540::Cli {

namespace {

using Json = nlohmann::ordered_json;

// Stretches of equal bytes shorter than this between two differing ones are written with
// them: a line of its own costs more text than that many bytes in hexadecimal, and this
// bounds a plan's length whatever the changes (the script limit holds a whole card's).
constexpr uint32_t kJoinGap = 16;

// Room on a line for everything but the bytes: "add /0001/0002/0003 --type internal-exec
// --size 4294967295 --hex " and the line end take well under this.
constexpr std::size_t kLineOverhead = 192;

// Most bytes one add or write step carries, so that its batch line, with the bytes in
// hexadecimal, stays within the script's line limit.
constexpr uint32_t kMaxStepBytes = (MAX_SCRIPT_LINE_BYTES - kLineOverhead) / 2;

const char* GetOpName(PlanStep::Op op)
{
    switch (op) {
    case PlanStep::Op::RM:
        return "rm";
    case PlanStep::Op::MKDIR:
        return "mkdir";
    case PlanStep::Op::ADD:
        return "add";
    case PlanStep::Op::WRITE:
        return "write";
    case PlanStep::Op::PASSWD:
        return "passwd";
    }
    return "";
}

uint8_t ByteAt(std::span<const uint8_t> bytes, uint32_t offset)
{
    return offset < bytes.size() ? bytes[offset] : 0;
}

std::string Number(uint32_t value) { return std::to_string(value); }

// Whether path is within, or is, folder.
bool IsWithin(const CCardPath& path, const CCardPath& folder)
{
    const std::vector<uint16_t>& ids = path.GetIds();
    const std::vector<uint16_t>& outer = folder.GetIds();
    return ids.size() >= outer.size() && std::equal(outer.begin(), outer.end(), ids.begin());
}

// What keeps before from staying in place as after; empty when nothing does.
std::string GetRecreateReason(const LayoutEntry& before, const LayoutEntry& after)
{
    if (before.folder != after.folder)
        return after.folder ? "a file becomes a folder" : "a folder becomes a file";
    if (after.folder) {
        if (before.size != after.size)
            return "its created size changes " + Number(before.size) + " -> " + Number(after.size);
        return {};
    }
    if (before.type != after.type)
        return "its type changes " + GetFileTypeName(before.type) + " -> " +
               GetFileTypeName(after.type) + ", which the card fixes at creation";
    if (before.size != after.size)
        return "its size changes " + Number(before.size) + " -> " + Number(after.size);
    return {};
}

class CPlanner {
public:
    explicit CPlanner(int32_t model)
        : m_defaultUser(DefaultField(GetDefaultUserPassword(model), GetUserPasswordLength(model))),
          m_defaultDeveloper(DefaultField(GetDefaultDeveloperPassword(model),
                                          GetDeveloperPasswordLength(model)))
    {
    }

    std::vector<PlanStep> Run(const LayoutEntry& from, const LayoutEntry& to)
    {
        ChangeFolder(from, to, CCardPath());
        return std::move(m_steps);
    }

private:
    static std::string DefaultField(const char* text, uint32_t length)
    {
        const PasswordBuffer field = PasswordField(text, length);
        return std::string(field.begin(), field.begin() + length);
    }

    PlanStep& Add(PlanStep::Op op, const CCardPath& path, std::string reason = {})
    {
        PlanStep& step = m_steps.emplace_back();
        step.op = op;
        step.path = path;
        step.reason = std::move(reason);
        return step;
    }

    // Writes that turn the bytes base into target's, base standing for zeros past its end.
    void AddWrites(const CCardPath& path, std::span<const uint8_t> base, const LayoutEntry& target)
    {
        const auto differs = [&](uint32_t offset) {
            return ByteAt(base, offset) != ByteAt(target.data, offset);
        };
        for (uint32_t offset = 0; offset < target.size;) {
            if (!differs(offset)) {
                ++offset;
                continue;
            }
            uint32_t end = offset + 1;  // one past the last differing byte
            for (uint32_t next = end; next < target.size && next - end < kJoinGap &&
                                      next - offset < kMaxStepBytes;
                 ++next) {
                if (differs(next))
                    end = next + 1;
            }
            PlanStep& step = Add(PlanStep::Op::WRITE, path);
            step.offset = offset;
            for (uint32_t at = offset; at < end; ++at)
                step.bytes.push_back(ByteAt(target.data, at));
            offset = end;
        }
    }

    void Create(const LayoutEntry& entry, const CCardPath& path, const std::string& reason)
    {
        if (entry.folder) {
            PlanStep& step = Add(PlanStep::Op::MKDIR, path, reason);
            step.size = entry.size;
            if (entry.userPassword.bytes != m_defaultUser)
                step.userPassword = entry.userPassword.bytes;
            if (entry.developerPassword.bytes != m_defaultDeveloper)
                step.developerPassword = entry.developerPassword.bytes;
            // The card puts each new entry at the head: the list is made from its tail.
            for (auto child = entry.children.rbegin(); child != entry.children.rend(); ++child)
                Create(*child, path.GetChild(child->id), {});
            return;
        }
        const std::size_t at = m_steps.size();
        Add(PlanStep::Op::ADD, path, reason);
        m_steps[at].type = entry.type;
        m_steps[at].size = entry.size;
        // The file starts as zeros; its first write, when it starts the file, goes in the add.
        AddWrites(path, {}, entry);
        if (m_steps.size() > at + 1 && m_steps[at + 1].offset == 0) {
            m_steps[at].bytes = std::move(m_steps[at + 1].bytes);
            m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(at) + 1);
        }
    }

    void ChangePasswords(const LayoutEntry& from, const LayoutEntry& to, const CCardPath& path)
    {
        const bool user = from.userPassword.bytes != to.userPassword.bytes;
        const bool developer = from.developerPassword.bytes != to.developerPassword.bytes;
        if (!user && !developer)
            return;
        PlanStep& step = Add(PlanStep::Op::PASSWD, path);
        if (user)
            step.userPassword = to.userPassword.bytes;
        if (developer)
            step.developerPassword = to.developerPassword.bytes;
    }

    // from and to are the same folder, kept in place: the same ID and created size.
    void ChangeFolder(const LayoutEntry& from, const LayoutEntry& to, const CCardPath& path)
    {
        ChangePasswords(from, to, path);
        std::map<uint16_t, std::size_t> fromIndex;
        for (std::size_t i = 0; i < from.children.size(); ++i)
            fromIndex.emplace(from.children[i].id, i);
        const auto before = [&](const LayoutEntry& entry) -> const LayoutEntry* {
            const auto found = fromIndex.find(entry.id);
            return found == fromIndex.end() ? nullptr : &from.children[found->second];
        };

        // The kept tail of to's list, walked from its end: each entry must stand before the
        // one kept after it in from's list as well.
        const std::vector<LayoutEntry>& list = to.children;
        std::size_t kept = list.size();
        const LayoutEntry* limit = from.children.data() + from.children.size();
        while (kept > 0) {
            const LayoutEntry* old = before(list[kept - 1]);
            if (!old || old >= limit || !GetRecreateReason(*old, list[kept - 1]).empty())
                break;
            limit = old;
            --kept;
        }

        std::map<uint16_t, std::string> reasons;
        for (std::size_t i = 0; i < kept; ++i) {
            const LayoutEntry* old = before(list[i]);
            if (!old)
                continue;
            std::string reason = GetRecreateReason(*old, list[i]);
            if (reason.empty() && i + 1 == kept)
                reason = "list order: it comes after " + path.GetChild(list[kept].id).ToString() +
                         " in the old list and before it in the new one";
            else if (reason.empty())
                reason = "list order: it stands before " +
                         path.GetChild(list[kept - 1].id).ToString() +
                         ", which is created, and the card puts new entries at the head";
            reasons.emplace(old->id, std::move(reason));
        }

        std::set<uint16_t> keptIds;
        for (std::size_t i = kept; i < list.size(); ++i)
            keptIds.insert(list[i].id);
        // Deletions first, so that the space they free is there for what is created.
        for (const LayoutEntry& child : from.children) {
            if (keptIds.contains(child.id))
                continue;
            const auto reason = reasons.find(child.id);
            Add(PlanStep::Op::RM, path.GetChild(child.id),
                reason == reasons.end() ? std::string() : reason->second);
        }
        for (std::size_t i = kept; i < list.size(); ++i) {
            const LayoutEntry& old = *before(list[i]);
            const CCardPath childPath = path.GetChild(list[i].id);
            if (list[i].folder)
                ChangeFolder(old, list[i], childPath);
            else
                AddWrites(childPath, old.data, list[i]);
        }
        for (std::size_t i = kept; i-- > 0;) {
            const auto reason = reasons.find(list[i].id);
            Create(list[i], path.GetChild(list[i].id),
                   reason == reasons.end() ? std::string() : reason->second);
        }
    }

    std::string m_defaultUser;
    std::string m_defaultDeveloper;
    std::vector<PlanStep> m_steps;
};

// What step does to the kept entry, as the end of the refusal naming it.
std::string DescribeTouch(const PlanStep& step)
{
    const std::string path = step.path.ToString();
    switch (step.op) {
    case PlanStep::Op::RM:
        return step.reason.empty()
                   ? "the new card can be reached only by deleting " + path +
                         ", which it does not hold"
                   : "the new card can be reached only by deleting and re-creating " + path +
                         ": " + step.reason;
    case PlanStep::Op::PASSWD:
        return "the new card can be reached only by setting the passwords of " + path;
    case PlanStep::Op::WRITE:
        return "the new card can be reached only by writing " + path;
    case PlanStep::Op::MKDIR:
    case PlanStep::Op::ADD:
        return "the new card can be reached only by creating " + path;
    }
    return {};
}

bool Holds(const LayoutEntry& root, const CCardPath& path)
{
    const LayoutEntry* entry = &root;
    for (uint16_t id : path.GetIds()) {
        const auto found = std::find_if(entry->children.begin(), entry->children.end(),
                                        [id](const LayoutEntry& child) { return child.id == id; });
        if (found == entry->children.end())
            return false;
        entry = &*found;
    }
    return true;
}

void CheckKept(const LayoutEntry& from, std::span<const PlanStep> steps,
               std::span<const CCardPath> keep)
{
    for (const CCardPath& kept : keep) {
        const std::string where = "plan: --keep " + kept.ToString() + ": ";
        if (!Holds(from, kept))
            throw CCliError::Failure(where + "the old card holds no such entry");
        for (const PlanStep& step : steps) {
            if (IsWithin(step.path, kept) ||
                (step.op == PlanStep::Op::RM && IsWithin(kept, step.path)))
                throw CCliError::Failure(where + DescribeTouch(step));
        }
    }
}

CCardSession::Passwords StepPasswords(const PlanStep& step)
{
    return {step.userPassword, step.developerPassword};
}

// Runs the steps on card as a batch of their lines would.
void RunSteps(std::span<const PlanStep> steps, CCardSession& card)
{
    try {
        for (const PlanStep& step : steps) {
            const std::string operation =
                std::string(GetOpName(step.op)) + " " + step.path.ToString();
            switch (step.op) {
            case PlanStep::Op::RM:
                card.Remove(step.path, operation);
                break;
            case PlanStep::Op::MKDIR:
                card.MakeFolder(step.path, step.size, StepPasswords(step), operation);
                break;
            case PlanStep::Op::ADD:
                card.AddFile(step.path, step.type, step.size, step.bytes, operation);
                break;
            case PlanStep::Op::WRITE:
                card.WriteFile(step.path, step.offset, step.bytes, operation);
                break;
            case PlanStep::Op::PASSWD:
                card.SetPasswords(step.path, StepPasswords(step), operation);
                break;
            }
        }
    } catch (const CCliError& error) {
        throw CCliError::Failure("plan: the card would refuse a step the new card needs: " +
                                 error.GetMessage());
    }
}

std::string Hex(const std::string& bytes)
{
    return FormatHexBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

// Fails for the first redacted password under folder, naming the card it is in (as given).
void RequireStoredPasswords(const LayoutEntry& folder, const CCardPath& path,
                            const std::string& card)
{
    for (const auto& [password, name] : {std::pair{&folder.userPassword, "user"},
                                         std::pair{&folder.developerPassword, "developer"}}) {
        if (password->source != LayoutPassword::Source::BYTES)
            throw CCliError::Failure("plan: " + card + ": " + path.ToString() + ": the " + name +
                                     " password is redacted; a plan needs its stored bytes");
    }
    for (const LayoutEntry& child : folder.children) {
        if (child.folder)
            RequireStoredPasswords(child, path.GetChild(child.id), card);
    }
}

}  // namespace

std::vector<PlanStep> PlanLayouts(const CardLayout& from, const CardLayout& to,
                                  std::span<const CCardPath> keep, CCardSession& fromCard)
{
    std::vector<PlanStep> steps = CPlanner(to.model).Run(from.root, to.root);
    CheckKept(from.root, steps, keep);
    RunSteps(steps, fromCard);
    return steps;
}

std::string PlanToScript(std::span<const PlanStep> steps)
{
    std::ostringstream script;
    for (const PlanStep& step : steps) {
        if (!step.reason.empty())
            script << (step.op == PlanStep::Op::RM ? "# deleted to be created again: "
                                                   : "# created again: ")
                   << step.reason << '\n';
        script << GetOpName(step.op) << ' ' << step.path.ToString();
        switch (step.op) {
        case PlanStep::Op::RM:
            break;
        case PlanStep::Op::MKDIR:
            script << " --size " << step.size;
            break;
        case PlanStep::Op::ADD:
            script << " --type " << GetFileTypeName(step.type) << " --size " << step.size;
            break;
        case PlanStep::Op::WRITE:
            script << " --offset " << step.offset;
            break;
        case PlanStep::Op::PASSWD:
            break;
        }
        if (step.userPassword)
            script << " --user-password-hex " << Hex(*step.userPassword);
        if (step.developerPassword)
            script << " --developer-password-hex " << Hex(*step.developerPassword);
        if (!step.bytes.empty())
            script << " --hex " << FormatHexBytes(step.bytes);
        script << '\n';
    }
    return script.str();
}

Json PlanToJson(std::span<const PlanStep> steps)
{
    Json operations = Json::array();
    for (const PlanStep& step : steps) {
        Json operation{{"op", GetOpName(step.op)}, {"path", step.path.ToString()}};
        switch (step.op) {
        case PlanStep::Op::RM:
        case PlanStep::Op::PASSWD:
            break;
        case PlanStep::Op::MKDIR:
            operation["size"] = step.size;
            break;
        case PlanStep::Op::ADD:
            operation["type"] = GetFileTypeName(step.type);
            operation["size"] = step.size;
            break;
        case PlanStep::Op::WRITE:
            operation["offset"] = step.offset;
            break;
        }
        if (step.userPassword)
            operation["userPassword"] = Hex(*step.userPassword);
        if (step.developerPassword)
            operation["developerPassword"] = Hex(*step.developerPassword);
        if (step.op == PlanStep::Op::WRITE || !step.bytes.empty())
            operation["hex"] = FormatHexBytes(step.bytes);
        if (!step.reason.empty())
            operation["reason"] = step.reason;
        operations.push_back(std::move(operation));
    }
    return {{"operations", std::move(operations)}};
}

ExitStatus PrintPlan(const PlanRequest& request, std::ostream& out)
{
    std::vector<CCardPath> keep;
    for (const std::string& text : request.keep)
        keep.push_back(ParseCardPath(text));
    ComparedCard from = ReadComparedCard(DiskPathOf(request.from), "plan");
    const ComparedCard to = ReadComparedCard(DiskPathOf(request.to), "plan");
    RequireStoredPasswords(from.layout.root, CCardPath(), request.from);
    RequireStoredPasswords(to.layout.root, CCardPath(), request.to);

    const std::vector<PlanStep> steps = PlanLayouts(from.layout, to.layout, keep, *from.card);
    std::string text;
    if (request.json) {
        std::ostringstream json;
        WriteJson(json, PlanToJson(steps));
        text = json.str();
    } else {
        text = PlanToScript(steps);
    }
    if (request.output)
        WriteOutputBytes(DiskPathOf(*request.output),
                         std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    else
        out << text;
    return STATUS_SUCCESS;
}

}  // namespace RQ540::Cli
