// The published SHA-256 test vectors, whole and fed in uneven pieces.
#include "Sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using RQ540::Cli::CSha256;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct Vector {
    const char* name;
    std::string message;
    const char* digest;
};

void PrintTo(const Vector& value, std::ostream* os) { *os << value.name; }

class Sha256Vectors : public ::testing::TestWithParam<Vector> {};

TEST_P(Sha256Vectors, GivesThePublishedDigest)
{
    EXPECT_EQ(CSha256::Hex(Bytes(GetParam().message)), GetParam().digest);
}

TEST_P(Sha256Vectors, PiecesOfAnySizeGiveTheSameDigest)
{
    const std::vector<uint8_t> bytes = Bytes(GetParam().message);
    CSha256 sha;
    std::size_t next = 0;
    for (std::size_t piece = 1; next < bytes.size(); piece = piece * 3 % 97 + 1) {
        const std::size_t take = std::min(piece, bytes.size() - next);
        sha.Update(std::span(bytes).subspan(next, take));
        next += take;
    }
    EXPECT_EQ(sha.Finish(), [&] {
        CSha256 whole;
        whole.Update(bytes);
        return whole.Finish();
    }());
}

INSTANTIATE_TEST_SUITE_P(
    Published, Sha256Vectors,
    ::testing::Values(
        Vector{"Empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        Vector{"Abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        Vector{"Bits448", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
               "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        Vector{"Bits896",
               "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqkl"
               "mnopqrlmnopqrsmnopqrstnopqrstu",
               "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        Vector{"MillionA", std::string(1000000, 'a'),
               "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}),
    [](const ::testing::TestParamInfo<Vector>& info) { return info.param.name; });

}  // namespace
