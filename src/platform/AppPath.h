// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace tintaro {

// The program names each of its files by a directory (the one it was started
// from, or the user's cache) followed by one of its own fixed relative paths,
// written with backslashes: "\PICTURE\01.GIF". Only that relative part is
// turned into the local form. The directory stays exactly as the system
// gave it: on Linux a backslash is an ordinary character of a folder's name.
inline std::string joinPath(std::string_view directory, std::string_view relative) {
    std::string out(directory);
    for (char c : relative) {
        if (c == '\\') {
            c = '/';
        }
        // One separator between the directory and the relative part, and
        // none doubled inside the part.
        if (c == '/' && !out.empty() && out.back() == '/') {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

} // namespace tintaro
