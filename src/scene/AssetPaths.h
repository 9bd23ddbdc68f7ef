// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace tintaro {

// Every file the program reads or writes is named by a fixed path relative to
// the application directory, written with backslashes as the program's own
// tables have it: "\PICTURE\01.GIF". These build them all; the scene and
// SceneContext::localPath turn one into a local path (platform/AppPath.h).
enum class AssetFolder {
    Root,      // the companion program
    Picture,   // pictures, cursors, drawings
    Sound,     // the effects
    Music,     // the tune
    MyPicture, // the printing snapshot
};

// The folder itself, without a trailing separator; empty for Root.
inline std::string_view assetFolder(AssetFolder folder) {
    switch (folder) {
    case AssetFolder::Picture:
        return "\\PICTURE";
    case AssetFolder::Sound:
        return "\\SOUND";
    case AssetFolder::Music:
        return "\\MUSIC";
    case AssetFolder::MyPicture:
        return "\\MY_PICTURE";
    case AssetFolder::Root:
        break;
    }
    return "";
}

inline std::string assetPath(AssetFolder folder, std::string_view file) {
    return std::string(assetFolder(folder)) + "\\" + std::string(file);
}

inline std::string picturePath(std::string_view file) {
    return assetPath(AssetFolder::Picture, file);
}

inline constexpr std::string_view kCompanionFile = "COLORS.EXE";
inline constexpr std::string_view kTuneFile = "001.MID";
inline constexpr std::string_view kSnapshotFile = "01.GIF";
inline constexpr std::string_view kBlankPageFile = "00.GIF";

} // namespace tintaro
