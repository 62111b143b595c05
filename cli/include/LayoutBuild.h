// rqfs build: a card rebuilt from its layout through the card's own operations, so every
// rule of the card applies to a hand-edited manifest, and a refusal names the JSON
// location of what the card refused.
#pragma once

#include "CardSession.h"
#include "LayoutManifest.h"

#include <string>

namespace RQ540::Cli {

class CLayoutBuilder {
public:
    // where begins every refusal ("build DIR/card.json"). Without allowRedacted a redacted
    // password is refused; with it the field is stored as zeros.
    CLayoutBuilder(CCardSession& session, std::string where, bool allowRedacted);

    // Builds root's passwords and subtree on the session's fresh card. Each list is built
    // from its tail, since the card puts every new entry at the head. A folder whose free
    // space comes out other than the manifest says is refused.
    void Build(const LayoutEntry& root);

private:
    void BuildChildren(const LayoutEntry& folder, const CCardPath& path);
    CCardSession::Passwords GetPasswords(const LayoutEntry& folder) const;
    std::optional<std::string> GetPassword(const LayoutPassword& password,
                                           const std::string& location) const;
    // Runs one change of the card; a refusal is reported at the key of entry the card's
    // result points to (the size for missing space, the ID for one in use, ...).
    template <typename Change>
    void Attempt(const LayoutEntry& entry, Change change);
    std::string Where(const std::string& location) const;

    CCardSession& m_session;
    std::string m_where;
    bool m_allowRedacted;
};

}  // namespace RQ540::Cli
