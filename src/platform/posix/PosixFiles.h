// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

#include <string>

namespace tintaro {

class PosixFiles final : public Files {
  public:
    std::optional<Bytes> read(const std::string& path) override;
    std::optional<std::uint64_t> length(const std::string& path) override;
    bool writeAtomically(const std::string& path, std::span<const std::uint8_t> data) override;
    bool isWritableDirectory(const std::string& path) override;
    bool makeDirectories(const std::string& path) override;
    bool setCurrentDirectory(const std::string& path) override;
    std::string executableDirectory() override;
    std::string userCacheDirectory() override;
};

} // namespace tintaro
