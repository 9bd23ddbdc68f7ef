// SPDX-License-Identifier: GPL-3.0-or-later

#include "Template.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace artgen {

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string fillTemplate(const std::string& text, const Vars& vars, const std::string& sourceName) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t open = text.find("{{", pos);
        if (open == std::string::npos) {
            out.append(text, pos, std::string::npos);
            return out;
        }
        const std::size_t close = text.find("}}", open);
        if (close == std::string::npos) {
            throw std::runtime_error(sourceName + ": unclosed {{ placeholder");
        }
        out.append(text, pos, open - pos);
        const std::string name = text.substr(open + 2, close - open - 2);
        bool found = false;
        for (const auto& [key, value] : vars) {
            if (key == name) {
                out += value;
                found = true;
                break;
            }
        }
        if (!found) {
            throw std::runtime_error(sourceName + ": no value for {{" + name + "}}");
        }
        pos = close + 2;
    }
}

} // namespace artgen
