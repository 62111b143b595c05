#include "ScriptLine.h"

#include "CliError.h"

namespace RQ540::Cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

std::vector<std::string> SplitScriptLine(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t position = 0;
    for (;;) {
        while (position < line.size() && IsBlank(line[position]))
            ++position;
        if (position == line.size() || line[position] == '#')
            return words;

        std::string word;
        while (position < line.size() && !IsBlank(line[position])) {
            const char c = line[position++];
            if (c != '\'' && c != '"') {
                word += c;
                continue;
            }
            // A quoted stretch, possibly empty, is part of the current word.
            for (;;) {
                if (position == line.size())
                    throw CCliError::Usage(std::string("unterminated ") + c + " quote");
                const char inside = line[position++];
                if (inside == c)
                    break;
                if (c == '"' && inside == '\\' && position < line.size() &&
                    (line[position] == '"' || line[position] == '\\')) {
                    word += line[position++];
                    continue;
                }
                word += inside;
            }
        }
        words.push_back(std::move(word));
    }
}

}  // namespace RQ540::Cli
