// Splitting one line of a batch script into words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace RQ540::Cli {

// Words are separated by blanks (space, tab, carriage return). Single quotes keep every
// character up to the next single quote; double quotes do the same, except that \" and
// \\ stand for a double quote and a backslash. Outside quotes a backslash is an ordinary
// character, so "\0001\0002" stays a card path. A '#' that begins a word starts a comment
// that runs to the end of the line. An unterminated quote is a usage CCliError. A blank or
// comment line gives no words.
std::vector<std::string> SplitScriptLine(std::string_view line);

}  // namespace RQ540::Cli
