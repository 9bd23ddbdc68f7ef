// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sstream>
#include <string>
#include <string_view>

namespace tintaro::soundgen {

// Walks a source text line by line, drops comments after '#' and blank lines,
// and hands each directive its first word, the rest of the line and a
// "file:line" label for error messages.
//   directive(const std::string& head, std::istringstream& words, const std::string& where, int lineNo)
template <class Directive>
void forEachDirective(std::string_view text, const std::string& sourceName, Directive directive) {
    std::istringstream lines{std::string(text)};
    std::string line;
    int lineNo = 0;
    while (std::getline(lines, line)) {
        ++lineNo;
        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string head;
        if (!(words >> head))
            continue;
        directive(head, words, sourceName + ":" + std::to_string(lineNo), lineNo);
    }
}

} // namespace tintaro::soundgen
