// What a console is given of text that may end inside a character.
#include "rq540/ProcessIo.h"

#include <gtest/gtest.h>

using RQ540::ProcessIo::CompleteUtf8Length;

TEST(ProcessIo, TextIsHeldBackOnlyWhereACharacterHasNotEnded)
{
    const struct {
        const char* bytes;
        std::size_t complete;
    } cases[] = {
        {"", 0},
        {"ascii", 5},
        {"\xE5\x8D\xA1\xE7\x89\x87", 6},      // 卡片, whole
        {"\xE5\x8D\xA1\xE7\x89", 3},          // the second character lacks its last byte
        {"\xE5\x8D\xA1\xE7", 3},              // and its last two
        {"a\xF0\x9F\x98", 1},                 // four bytes, three here
        {"a\xF0\x9F\x98\x80", 5},             // four bytes, all here
        {"\xC3", 0},                          // a lead byte alone
        {"\x80\x80\x80", 3},                  // no lead byte: shown, not held back
        {"a\xFF", 2},                         // a byte no character starts with
        {"\xE5\x8D\xA1\x41\x42", 5},          // a complete character, then ASCII
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompleteUtf8Length(c.bytes), c.complete) << c.bytes;
}
