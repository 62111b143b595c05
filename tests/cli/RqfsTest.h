// A fixture that runs the real rqfs binary in a fresh temporary directory and captures its
// exit status, standard output and standard error.
#pragma once

#include "rq540/DiskFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// How a run of rqfs differs from a plain one.
struct RunOptions {
    std::string input;                 // standard input
    std::filesystem::path inputFile;   // standard input from this file instead (/dev/zero)
    bool ordinaryUser = false;         // as the user nobody when the tests run as root
    long fileSizeLimit = 0;            // most bytes any file rqfs writes may hold; 0 for no limit
    std::string dir;                   // a folder of the test's directory to run in, UTF-8
};

struct RqfsResult {
    int status = -1;
    std::string out;
    std::string err;
};

class RqfsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs rqfs with args in the test's directory, feeding input on standard input. Runs
    // may go on in parallel.
    RqfsResult Run(const std::vector<std::string>& args, const std::string& input = "") const;
    RqfsResult RunWith(const std::vector<std::string>& args, const RunOptions& options) const;
    // Runs rqfs and fails the test unless it exits 0; answers its standard output.
    std::string RunOk(const std::vector<std::string>& args, const std::string& input = "") const;

    // A file in the test's directory; name is UTF-8, as on rqfs's command line.
    std::filesystem::path PathOf(const std::string& name) const
    {
        return m_dir / RQ540::DiskFile::PathFromUtf8(name);
    }
    std::vector<uint8_t> ReadBytes(const std::string& name) const;
    void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) const;
    void WriteText(const std::string& name, const std::string& text) const;

    // Overwrites width bytes at offset of a file with value, little-endian.
    void Patch(const std::string& name, std::size_t offset, uint32_t value, int width) const;

    // "card.rqfs", freshly made by rqfs new.
    const std::string m_image = "card.rqfs";

private:
    std::filesystem::path m_dir;
};
