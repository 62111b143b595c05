// A fixture for dump, build and diff: the real rqfs on images the tests make. Every manifest
// it dumps is kept for the schema check that runs after the tests (RQFS_DUMP_ARCHIVE names
// the folder).
#pragma once

#include "RqfsTest.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

class LayoutTest : public RqfsTest {
protected:
    // rqfs dump IMAGE DIR with extra options; fails the test unless it succeeds.
    void Dump(const std::string& image, const std::string& dir,
              const std::vector<std::string>& extra = {});
    // Keeps the manifest of dir, or the one-file manifest dir names, under "dumps" or, when
    // rqfs build refused it for its shape, under "refused".
    void Keep(const std::string& dir, const char* kind);

    nlohmann::ordered_json ReadManifest(const std::string& dir) const;
    void WriteManifest(const std::string& dir, const nlohmann::ordered_json& manifest) const;

private:
    int m_kept = 0;
};
